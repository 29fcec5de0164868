// The parameter list of a request: the fields of its query text and, for a form POST, of its body.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace engine {

using TFormParams = std::vector<std::pair<std::string, std::string>>;

// Appends the fields of "name=value&name=value" text ("+" and percent escapes decoded). A field
// without "=" has an empty value; a field with a broken escape keeps its raw text.
void AppendFormParams(std::string_view text, TFormParams& params);

// The value of the first field named name (compared with case), or "" when there is none.
std::string FormParamValue(const TFormParams& params, std::string_view name);

}  // namespace engine
