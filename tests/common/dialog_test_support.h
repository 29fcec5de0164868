// What the dialog tests answer in place of the user. Every modal dialog runs its real modal loop
// (exec); a timer finds the dialog through QApplication::activeModalWidget() and clicks or types into
// it, as a user would:
// - ModalDriver: steps in order, each for the next modal dialog of its type;
// - ScopedMsgDlgAnswers: every message dialog, answered from a queue (the first button when the queue
//   is empty), each one recorded;
// An action runs from the event loop, outside the timer's own call, so it may open further modal loops
// (a button that opens the next dialog) while the timer goes on answering them.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QString>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include "common/MsgDlgWrappers.h"
#include "components/MessageDialogForm.h"

namespace fw_test {

// Brings the tab pages that hold widget to the front, as the user does before using it.
inline void OpenPagesOf(QWidget& widget) {
    for (QWidget* w = &widget; w != nullptr && !w->isWindow(); w = w->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(w->parentWidget() ? w->parentWidget()->parentWidget() : nullptr))
            if (tabs->indexOf(w) >= 0) tabs->setCurrentWidget(w);
}

// The user's mouse click on widget (its tab page first brought to the front): it goes through the
// widget's window, so a window that a modal dialog blocks does not get it (a plain click() would reach
// it all the same).
inline void UserClick(QWidget& widget) {
    OpenPagesOf(widget);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);  // where the widget stands now
    QWidget* top = widget.window();
    QWindow* window = top->windowHandle();
    ASSERT_NE(window, nullptr) << "the window is not shown";
    ASSERT_TRUE(widget.isVisible()) << "the widget to click is hidden";
    const QPoint at = widget.mapTo(top, widget.rect().center());
    QTest::mouseClick(window, Qt::LeftButton, {}, at);
}

// The user's key press in the window of widget.
inline void UserKey(QWidget& widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWindow* window = widget.window()->windowHandle();
    ASSERT_NE(window, nullptr) << "the window is not shown";
    QTest::keyClick(window, key, modifiers);
}

// Typed into a spin field as the user types (its text replaced key by key), then the field loses the
// focus; its value afterwards.
inline int TypeAndLeave(QSpinBox& spin, const QString& text) {
    spin.setFocus();
    spin.selectAll();
    QTest::keyClick(&spin, Qt::Key_Delete);
    QTest::keyClicks(&spin, text);
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(&spin, &leave);
    return spin.value();
}

// The window manager's close box on the window of widget.
inline void WindowManagerClose(QWidget& widget) {
    QWindow* window = widget.window()->windowHandle();
    ASSERT_NE(window, nullptr) << "the window is not shown";
    QCloseEvent close;
    QCoreApplication::sendEvent(window, &close);
}

// Ends every modal dialog still up, innermost first, so that a test that went wrong returns instead of
// waiting for ever. Returns how many it ended.
inline int EndModalDialogs() {
    int ended = 0;
    for (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && ended < 50; ++ended) {
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        else modal->close();
        QWidget* next = QApplication::activeModalWidget();
        if (next == modal) break;
        modal = next;
    }
    return ended;
}

// Polls the active modal widget from the event loop and acts on it.
class ModalPoller {
public:
    static constexpr std::chrono::milliseconds kPollInterval{10};

    // act gets the active modal widget, or none; true when it acted (the next poll then waits for the
    // action to have run).
    explicit ModalPoller(std::function<bool(QWidget* modal)> act) : act_(std::move(act)) {
        timer_.setInterval(kPollInterval);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
        timer_.start();
    }
    ModalPoller(const ModalPoller&) = delete;
    ModalPoller& operator=(const ModalPoller&) = delete;

    // Runs what from the event loop; polling waits until it has begun.
    void Later(std::function<void()> what) {
        pending_ = true;
        QTimer::singleShot(0, &timer_, [this, what = std::move(what)] {
            pending_ = false;
            what();
        });
    }

private:
    void Poll() {
        if (!pending_) act_(QApplication::activeModalWidget());
    }

    std::function<bool(QWidget*)> act_;
    QTimer timer_;
    bool pending_ = false;
};

// Steps for the modal dialogs a test opens, in order: each waits for a modal dialog of its type and
// then acts on it. Steps left when the time is up fail the test and end the dialogs still up.
class ModalDriver {
public:
    static constexpr std::chrono::seconds kDefaultTimeout{60};

    explicit ModalDriver(std::chrono::milliseconds timeout = kDefaultTimeout)
        : deadline_(std::chrono::steady_clock::now() + timeout),
          poller_(std::make_unique<ModalPoller>([this](QWidget* modal) { return Poll(modal); })) {}
    ~ModalDriver() {
        if (!steps_.empty()) ADD_FAILURE() << steps_.size() << " modal step(s) never ran, the first for " << steps_.front().Kind;
    }
    ModalDriver(const ModalDriver&) = delete;
    ModalDriver& operator=(const ModalDriver&) = delete;

    // The next step: for the next modal dialog that is a T, once ready holds for it (the program may
    // still be busy with the previous step while the dialog is up).
    template <class T>
    ModalDriver& On(std::function<void(T&)> act, std::function<bool(T&)> ready = {}) {
        steps_.push_back({typeid(T).name(),
                          [ready = std::move(ready)](QWidget& w) {
                              auto* dialog = dynamic_cast<T*>(&w);
                              return dialog != nullptr && (!ready || ready(*dialog));
                          },
                          [act = std::move(act)](QWidget& w) { act(dynamic_cast<T&>(w)); }});
        return *this;
    }

    bool Done() const { return steps_.empty(); }
    size_t Remaining() const { return steps_.size(); }
    // Drops the steps left (a step that stood guard against a dialog that must not open); how many.
    size_t Forget() { return std::exchange(steps_, {}).size(); }

private:
    struct TStep {
        std::string Kind;
        std::function<bool(QWidget&)> Wants;
        std::function<void(QWidget&)> Act;
    };

    bool Poll(QWidget* modal) {
        if (steps_.empty()) return EndUnanswered(modal);
        if (std::chrono::steady_clock::now() > deadline_) {
            ADD_FAILURE() << "no modal dialog came for the step for " << steps_.front().Kind << " (up: "
                          << (modal ? typeid(*modal).name() : "none") << ")";
            steps_.clear();
            EndModalDialogs();
            return false;
        }
        if (modal == nullptr || !steps_.front().Wants(*modal)) return false;
        std::function<void(QWidget&)> act = std::move(steps_.front().Act);
        steps_.pop_front();
        poller_->Later([act = std::move(act), target = QPointer<QWidget>(modal)] {
            if (target) act(*target);
        });
        return true;
    }

    // A modal dialog that stays up unanswered once every step has run (one no step and no answerer
    // expected) fails the test and is ended, so the test goes on instead of waiting for ever.
    bool EndUnanswered(QWidget* modal) {
        const auto now = std::chrono::steady_clock::now();
        if (modal == nullptr || modal != unanswered_) {
            unanswered_ = modal;
            unansweredSince_ = now;
            return false;
        }
        if (now - unansweredSince_ < kUnansweredTimeout) return false;
        ADD_FAILURE() << "a modal dialog nobody answers: " << typeid(*modal).name();
        unanswered_ = nullptr;
        EndModalDialogs();
        return false;
    }

    static constexpr std::chrono::seconds kUnansweredTimeout{10};
    std::deque<TStep> steps_;
    QPointer<QWidget> unanswered_;
    std::chrono::steady_clock::time_point unansweredSince_;
    std::chrono::steady_clock::time_point deadline_;
    std::unique_ptr<ModalPoller> poller_;
};

// Answers every message dialog that comes up while it lives: records what it shows, runs whileShown
// (the dialog is up meanwhile) and presses the next button of answers, or the first.
class ScopedMsgDlgAnswers {
public:
    ScopedMsgDlgAnswers()
        : poller_(std::make_unique<ModalPoller>([this](QWidget* modal) {
              auto* box = dynamic_cast<components::TMessageDialogForm*>(modal);
              if (box == nullptr) return false;
              poller_->Later([this, target = QPointer<components::TMessageDialogForm>(box)] {
                  if (target) Answer(*target);
              });
              return true;
          })) {}
    ScopedMsgDlgAnswers(const ScopedMsgDlgAnswers&) = delete;
    ScopedMsgDlgAnswers& operator=(const ScopedMsgDlgAnswers&) = delete;

    std::vector<QString> Texts() const {
        std::vector<QString> texts;
        for (const auto& r : requests) texts.push_back(r.Text);
        return texts;
    }

    std::deque<int> answers;  // app::kMsgDlgButton1 .. 3
    std::vector<app::TMsgDlgRequest> requests;
    std::function<void(const app::TMsgDlgRequest&)> whileShown;

    // What a message dialog shows, read from the dialog itself.
    static app::TMsgDlgRequest RequestOf(components::TMessageDialogForm& box) {
        app::TMsgDlgRequest request;
        request.DlgType = box.Type();
        request.Caption = box.windowTitle();
        if (auto* message = box.findChild<QLabel*>(QStringLiteral("Message"))) request.Text = message->text();
        const char* names[] = {"OK", "Cancel", "No"};
        QString* captions[] = {&request.Button1, &request.Button2, &request.Button3};
        for (int i = 0; i < 3; ++i) {
            QPushButton* button = box.findChild<QPushButton*>(QString::fromLatin1(names[i]));
            if (button == nullptr || button->isHidden()) continue;
            *captions[i] = button->text();
            if (box.focusWidget() == button) request.DefaultButton = i + 1;
        }
        if (auto* check = box.findChild<QCheckBox*>(QStringLiteral("Check"))) {
            request.ShowCheck = true;
            request.CheckCaption = check->text();
        }
        return request;
    }

private:
    void Answer(components::TMessageDialogForm& box) {
        requests.push_back(RequestOf(box));
        if (whileShown) whileShown(requests.back());
        int answer = app::kMsgDlgButton1;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        const char* name = answer == app::kMsgDlgButton2 ? "Cancel" : answer == app::kMsgDlgButton3 ? "No" : "OK";
        if (QPushButton* button = box.findChild<QPushButton*>(QString::fromLatin1(name))) button->click();
        else box.reject();
    }

    std::unique_ptr<ModalPoller> poller_;
};

}  // namespace fw_test
