#include "engine/util/vlc_version.h"

#include "engine/util/number_strings.h"

namespace engine {

std::string VlcVersionWord(std::string_view versionText) {
    const size_t start = versionText.find_first_not_of(' ');
    if (start == std::string_view::npos) return {};
    const size_t blank = versionText.find(' ', start);
    if (blank == std::string_view::npos) return {};
    return RemoveBlanks(std::string(versionText.substr(start, blank - start)));
}

bool VlcVersionMatches(std::string_view word, std::string_view wanted) {
    if (word.empty() || wanted.empty()) return false;
    if (word == wanted) return true;
    return word.size() > wanted.size() && word.substr(0, wanted.size()) == wanted && word[wanted.size()] == '.';
}

}  // namespace engine
