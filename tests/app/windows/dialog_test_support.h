// What the dialog tests answer in place of the user: the folder and file choosers, the message boxes
// (each request recorded, answered from a queue, button 1 when the queue is empty) and the modal shows
// (the dialog is shown, a step fills and presses it, its result is returned).
#pragma once

#include <QDialog>
#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/windows/FileChooser.h"
#include "app/windows/ModalRunner.h"
#include "app/windows/MsgDlgWrappers.h"

namespace fw_test {

class TFakeFileChooser final : public app::IFileChooser {
public:
    std::optional<std::string> BrowseForFolder(QWidget*, const std::string& title, const std::string&) override {
        titles.push_back(title);
        return folder;
    }
    std::optional<std::string> OpenFile(QWidget*, const std::string& title, const std::string&) override {
        titles.push_back(title);
        return file;
    }

    std::optional<std::string> folder;  // the answers; none is a cancelled chooser
    std::optional<std::string> file;
    std::vector<std::string> titles;
};

class ScopedMsgDlgAnswers {
public:
    ScopedMsgDlgAnswers() {
        previous_ = app::SetMsgDlgRunner([this](const app::TMsgDlgRequest& request, bool&) {
            requests.push_back(request);
            if (whileShown) whileShown(request);
            if (answers.empty()) return app::kMsgDlgButton1;
            const int answer = answers.front();
            answers.pop_front();
            return answer;
        });
    }
    ~ScopedMsgDlgAnswers() { app::SetMsgDlgRunner(previous_); }
    ScopedMsgDlgAnswers(const ScopedMsgDlgAnswers&) = delete;
    ScopedMsgDlgAnswers& operator=(const ScopedMsgDlgAnswers&) = delete;

    std::vector<QString> Texts() const {
        std::vector<QString> texts;
        for (const auto& r : requests) texts.push_back(r.Text);
        return texts;
    }

    std::deque<int> answers;
    std::vector<app::TMsgDlgRequest> requests;
    std::function<void(const app::TMsgDlgRequest&)> whileShown;  // runs while the box would be up

private:
    app::TMsgDlgRunner previous_;
};

// Each modal show runs the next step (or, with none left, Cancel); a step presses the dialog's buttons.
class ScopedModalSteps {
public:
    using TStep = std::function<void(QDialog&)>;

    ScopedModalSteps() {
        previous_ = app::SetModalRunner([this](QDialog& dialog) {
            ++shows;
            dialog.setResult(QDialog::Rejected);
            dialog.show();
            if (!steps.empty()) {
                TStep step = std::move(steps.front());
                steps.pop_front();
                step(dialog);
            }
            const bool accepted = dialog.result() == QDialog::Accepted;
            if (dialog.isVisible()) dialog.reject();  // a step that left it open: the user cancelled
            return accepted ? app::kModalOk : app::kModalCancel;
        });
    }
    ~ScopedModalSteps() { app::SetModalRunner(previous_); }
    ScopedModalSteps(const ScopedModalSteps&) = delete;
    ScopedModalSteps& operator=(const ScopedModalSteps&) = delete;

    std::deque<TStep> steps;
    int shows = 0;

private:
    app::TModalRunner previous_;
};

}  // namespace fw_test
