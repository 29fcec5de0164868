#include "engine/http/form_params.h"

#include "engine/http/request_path_mapper.h"

namespace engine {
namespace {

std::string DecodeFormText(std::string_view raw) {
    std::string decoded;
    return PercentDecode(raw, true, decoded) ? decoded : std::string(raw);
}

}  // namespace

void AppendFormParams(std::string_view text, TFormParams& params) {
    while (!text.empty()) {
        size_t amp = text.find('&');
        std::string_view field = text.substr(0, amp);
        text = amp == std::string_view::npos ? std::string_view() : text.substr(amp + 1);
        if (field.empty()) continue;
        size_t eq = field.find('=');
        std::string_view name = field.substr(0, eq);
        std::string_view value = eq == std::string_view::npos ? std::string_view() : field.substr(eq + 1);
        params.emplace_back(DecodeFormText(name), DecodeFormText(value));
    }
}

std::string FormParamValue(const TFormParams& params, std::string_view name) {
    for (const auto& [key, value] : params) {
        if (key == name) return value;
    }
    return {};
}

}  // namespace engine
