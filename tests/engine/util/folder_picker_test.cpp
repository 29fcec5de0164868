// BrowseForFolder over a picker that answers in place of the dialog: what it is asked to open on and
// below, and what Dir holds afterwards.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "engine/util/folder_picker.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;

class TAnsweringPicker final : public engine::TFolderPicker {
public:
    explicit TAnsweringPicker(std::optional<std::string> answer) : answer_(std::move(answer)) {}
    std::optional<std::string> PickFolder(const std::string& title, const std::string& root,
                                          const std::string& start) override {
        asked.push_back({title, root, start});
        return answer_;
    }
    struct TAsked {
        std::string Title, Root, Start;
    };
    std::vector<TAsked> asked;

private:
    std::optional<std::string> answer_;
};

TEST(BrowseForFolder, OpensOnAnExistingDirBelowAnExistingRootAndEmptiesAMissingDir) {
    fw_test::TempDir temp;
    const std::string root = (temp / "root").string();
    const std::string existing = (temp / "root" / "shares").string();
    const std::string chosen = (temp / "root" / "chosen").string();
    fs::create_directories(existing);
    fs::create_directories(chosen);
    const std::string missing = (temp / "gone").string();
    const struct {
        const char* what;
        std::string root, dir;
        std::optional<std::string> answer;
        bool result;
        std::string askedRoot, askedStart, dirAfter;
    } cases[] = {
        {"existing Dir, cancelled", "", existing, std::nullopt, false, "", existing, existing},
        {"missing Dir, cancelled", "", missing, std::nullopt, false, "", "", ""},
        {"empty Dir, chosen", "", "", chosen, true, "", "", chosen},
        {"missing Dir, chosen", "", missing, chosen, true, "", "", chosen},
        {"Root and Dir below it, chosen", root, existing, chosen, true, root, existing, chosen},
        {"missing Root means none", missing, existing, std::nullopt, false, "", existing, existing},
        {"a file is no folder", "", (temp / "file.txt").string(), std::nullopt, false, "", "", ""},
    };
    fw_test::WriteFile(temp / "file.txt", "not a folder");
    for (const auto& c : cases) {
        TAnsweringPicker picker(c.answer);
        std::string dir = c.dir;
        EXPECT_EQ(engine::BrowseForFolder("Select Log-Directory", c.root, dir, picker), c.result) << c.what;
        ASSERT_EQ(picker.asked.size(), 1u) << c.what;
        EXPECT_EQ(picker.asked[0].Title, "Select Log-Directory") << c.what;
        EXPECT_EQ(picker.asked[0].Root, c.askedRoot) << c.what;
        EXPECT_EQ(picker.asked[0].Start, c.askedStart) << c.what;
        EXPECT_EQ(dir, c.dirAfter) << c.what;
    }
}

}  // namespace
