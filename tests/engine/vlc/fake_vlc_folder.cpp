#include "tests/engine/vlc/fake_vlc_folder.h"

#include "engine/vlc/VlcLib.h"

namespace fw_test {

std::string FillFakeVlcFolder(const std::filesystem::path& folder, FakeVlc kind, bool withCore) {
    namespace fs = std::filesystem;
    fs::create_directories(folder);
    const fs::path vlc = kind == FakeVlc::Full ? FAKE_VLC_FULL_PATH : FAKE_VLC_NO_PAUSE_PATH;
    fs::copy_file(vlc, folder / engine::kVlcLibraryFile, fs::copy_options::overwrite_existing);
    if (withCore) fs::copy_file(FAKE_VLCCORE_PATH, folder / engine::kVlcCoreLibraryFile, fs::copy_options::overwrite_existing);
    return folder.string() + "/";
}

}  // namespace fw_test
