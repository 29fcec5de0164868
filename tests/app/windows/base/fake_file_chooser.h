// The folder and file choosers of the dialogs' browse buttons, answered by the test (the platform's
// own file dialogs are left out).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/windows/base/FileChooser.h"

namespace fw_test {

class TFakeFileChooser final : public app::IFileChooser {
public:
    std::optional<std::string> PickFolder(const std::string& title, const std::string&,
                                          const std::string& start) override {
        titles.push_back(title);
        starts.push_back(start);
        return folder;
    }
    std::optional<std::string> OpenFile(QWidget*, const std::string& title, const std::string&) override {
        titles.push_back(title);
        return file;
    }

    std::optional<std::string> folder;  // the answers; none is a cancelled chooser
    std::optional<std::string> file;
    std::vector<std::string> titles;
    std::vector<std::string> starts;  // the folder each picker was to open on
};

}  // namespace fw_test
