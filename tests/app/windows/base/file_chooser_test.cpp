// The folder picker of the browse buttons in its real modal loop: where it opens, that with a root it
// returns no folder outside it, and what cancelling gives.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <filesystem>

#include "app/windows/base/FileChooser.h"
#include "tests/common/dialog_test_support.h"
#include "tests/components/widget_test_app.h"
#include "tests/support/test_env.h"

namespace {

namespace fs = std::filesystem;

std::string Clean(const fs::path& path) { return QDir::cleanPath(QString::fromStdString(path.string())).toStdString(); }

TEST(FolderPicker, OpensBelowItsRootAndReturnsNoFolderOutsideIt) {
    fw_test::TempDir temp;
    const fs::path root = temp / "root";
    const fs::path start = root / "start";
    const fs::path inside = root / "inside";
    const fs::path outside = temp / "outside";
    for (const fs::path& folder : {start, inside, outside}) fs::create_directories(folder);
    const struct {
        const char* what;
        std::string root, start;
        std::string opensOn;
        std::vector<std::string> choices;  // tried in order; "" cancels
        std::optional<std::string> result;
    } cases[] = {
        {"no root, the start folder", "", start.string(), Clean(start), {Clean(inside)}, Clean(inside)},
        {"no root, anywhere", "", start.string(), Clean(start), {Clean(outside)}, Clean(outside)},
        {"a start below the root", root.string(), start.string(), Clean(start), {Clean(outside), Clean(inside)},
         Clean(inside)},
        {"a start outside the root", root.string(), outside.string(), Clean(root), {""}, std::nullopt},
        {"no start", root.string(), "", Clean(root), {Clean(root)}, Clean(root)},
    };
    for (const auto& c : cases) {
        std::string openedOn;
        std::vector<std::string> seenAfterRefusal;
        size_t next = 0;
        fw_test::ModalPoller poller([&](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog) return false;
            if (next >= c.choices.size()) {  // still up after the last choice: ended, so the test goes on
                dialog->reject();
                return true;
            }
            if (next == 0) openedOn = QDir::cleanPath(dialog->directory().absolutePath()).toStdString();
            else seenAfterRefusal.push_back(QDir::cleanPath(dialog->directory().absolutePath()).toStdString());
            const std::string choice = c.choices[next++];
            if (choice.empty()) {
                dialog->reject();
            } else {
                // As the user does: into the folder, no name typed, then "Choose".
                dialog->setDirectory(QString::fromStdString(choice));
                if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) name->clear();
                QMetaObject::invokeMethod(dialog, "accept");
            }
            return true;
        });
        app::TQtFileChooser chooser;
        const std::optional<std::string> chosen = chooser.PickFolder("Select Root-Directory", c.root, c.start);
        EXPECT_EQ(openedOn, c.opensOn) << c.what;
        EXPECT_EQ(chosen, c.result) << c.what;
        EXPECT_EQ(next, c.choices.size()) << c.what << ": every choice was tried";
        for (const std::string& folder : seenAfterRefusal)
            EXPECT_EQ(folder, Clean(root)) << c.what << ": a refused folder leads back to the root";
        fw_test::EndModalDialogs();
    }
}

TEST(FolderPicker, FolderBelowByName) {
    const struct {
        const char* path;
        const char* root;
        bool below;
    } cases[] = {
        {"/srv/www", "/srv/www", true},     {"/srv/www/a/b", "/srv/www/", true}, {"/srv/www2", "/srv/www", false},
        {"/srv/www/../etc", "/srv/www", false}, {"/", "/", true},                {"/etc", "/", true},
    };
    for (const auto& c : cases) EXPECT_EQ(app::IsFolderBelow(c.path, c.root), c.below) << c.path << " in " << c.root;
}

}  // namespace
