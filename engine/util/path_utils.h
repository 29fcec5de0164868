// Path text helpers. Folder paths that are joined by appending end with "/" (kPathDelimiter); this is
// the one helper that adds or removes it, so every caller builds paths the same way.
#pragma once

#include <string>
#include <string_view>

namespace engine {

constexpr char kPathDelimiter = '/';

bool HasTrailingPathDelimiter(std::string_view path);
// path with one "/" at its end ("" stays "": an empty folder is the current folder).
std::string IncludeTrailingPathDelimiter(std::string_view path);
// path without "/" at its end ("/" itself stays "/").
std::string ExcludeTrailingPathDelimiter(std::string_view path);

// The text from the last "." of the file name on, dot included; "" when the name has no dot.
std::string ExtractFileExt(std::string_view path);
// The name after the last "/".
std::string ExtractFileName(std::string_view path);
// Everything up to and including the last "/"; "" when there is none.
std::string ExtractFilePath(std::string_view path);

// The running program's own file (/proc/self/exe) and its folder with a trailing "/".
std::string ProgramFilePath();
std::string ProgramFolder();

}  // namespace engine
