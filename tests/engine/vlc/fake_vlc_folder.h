// Library folders for the binding tests, filled with the fake libraries under libVLC's file names.
#pragma once

#include <filesystem>
#include <string>

namespace fw_test {

enum class FakeVlc { Full, WithoutPauseMedia };

// Copies the fake libvlccore (when withCore) and the chosen fake libvlc into folder under the names
// the binding loads; returns folder with a trailing "/".
std::string FillFakeVlcFolder(const std::filesystem::path& folder, FakeVlc kind, bool withCore = true);

}  // namespace fw_test
