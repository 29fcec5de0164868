// The two message-dialog calls on the real dialog (buttons, default focus, results, the check box and
// its placement), and the recorded answers the other window tests use.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "common/MsgDlgWrappers.h"
#include "tests/common/dialog_test_support.h"
#include "tests/components/widget_test_app.h"

using namespace components;

namespace {

// Runs `during` once the modal dialog is up; it must end the dialog.
void WhenDialogShows(std::function<void(QDialog&)> during) {
    auto* poll = new QTimer;
    poll->setInterval(5);
    QObject::connect(poll, &QTimer::timeout, [poll, during] {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dlg) return;
        poll->stop();
        poll->deleteLater();
        during(*dlg);
    });
    poll->start();
}

QPushButton* Button(QDialog& dlg, const char* name) { return dlg.findChild<QPushButton*>(QString::fromLatin1(name)); }

TEST(MsgDlgWrappersTest, EachButtonGivesItsResultAndTheDefaultHasTheFocus) {
    struct Case {
        const char* press;
        int defaultButton;
        const char* focused;
        int result;
    };
    const Case cases[] = {{"OK", 1, "OK", 1}, {"Cancel", 2, "Cancel", 2}, {"No", 3, "No", 7}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.press);
        QString focused, captions;
        WhenDialogShows([&](QDialog& dlg) {
            if (QWidget* f = dlg.focusWidget()) focused = f->objectName();
            captions = Button(dlg, "OK")->text() + "|" + Button(dlg, "Cancel")->text() + "|" + Button(dlg, "No")->text();
            Button(dlg, c.press)->click();
        });
        const int result = app::ShowMsgDlg(mtConfirmation, "Question", "Go on?", c.defaultButton, "Later", "  No  ",
                                           "    Continue    ");
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(focused, c.focused);
        EXPECT_EQ(captions, "    Continue    |  No  |Later");  // captions keep their blanks
    }
}

TEST(MsgDlgWrappersTest, BlankSecondButtonGivesOneButton) {
    bool cancelShown = true;
    WhenDialogShows([&](QDialog& dlg) {
        cancelShown = Button(dlg, "Cancel") != nullptr;
        Button(dlg, "OK")->click();
    });
    EXPECT_EQ(app::ShowMsgDlg(mtWarning, "Warning", "Text", 1, "Third", "   ", "OK"), 1);
    EXPECT_FALSE(cancelShown);
}

TEST(MsgDlgWrappersTest, CheckBoxSitsBelowTheButtonsAndReportsItsStateEvenOnClose) {
    for (bool initial : {false, true}) {
        bool checked = initial;
        QRect boxGeometry, okGeometry;
        int formWidth = 0, clientHeight = 0;
        WhenDialogShows([&](QDialog& dlg) {
            auto* box = dlg.findChild<QCheckBox*>();
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->isChecked(), initial);
            EXPECT_EQ(box->text(), "do not show again");
            boxGeometry = box->geometry();
            okGeometry = Button(dlg, "OK")->geometry();
            formWidth = dlg.width();
            clientHeight = dlg.height();
            box->setChecked(!initial);
            dlg.reject();  // the close box
        });
        const int result = app::ShowMsgDlgCheck(mtWarning, "Screen", "Not 96 dpi", 1, checked, "do not show again",
                                                true, "", "Cancel", "Continue");
        EXPECT_EQ(result, 2);
        EXPECT_EQ(checked, !initial);
        EXPECT_EQ(boxGeometry.left(), 5);
        EXPECT_EQ(boxGeometry.width(), formWidth - 20);
        EXPECT_EQ(boxGeometry.bottom() + 1, clientHeight - 5);
        EXPECT_GE(boxGeometry.top(), okGeometry.bottom());
    }
}

TEST(MsgDlgWrappersTest, WithoutTheCheckBoxCheckedIsLeftAlone) {
    bool checked = true;
    bool boxShown = true;
    WhenDialogShows([&](QDialog& dlg) {
        boxShown = dlg.findChild<QCheckBox*>() != nullptr;
        Button(dlg, "OK")->click();
    });
    EXPECT_EQ(app::ShowMsgDlgCheck(mtInformation, "Info", "Text", 1, checked, "box", false, "", "", "OK"), 1);
    EXPECT_FALSE(boxShown);
    EXPECT_TRUE(checked);
}

// The answers the other window tests rely on: each dialog recorded as it showed, the button pressed.
TEST(MsgDlgWrappersTest, RecordedAnswersReadTheDialogAsShown) {
    fw_test::ScopedMsgDlgAnswers boxes;
    boxes.answers = {app::kMsgDlgButton3, app::kMsgDlgButton2};
    bool checked = false;
    EXPECT_EQ(app::ShowMsgDlg(mtError, "Error", "Broken", 2, "C", "B", "A"), 7);
    EXPECT_EQ(app::ShowMsgDlgCheck(mtWarning, "W", "T", 1, checked, "box", true, "", "B", "A"), 2);
    const std::vector<app::TMsgDlgRequest>& asked = boxes.requests;
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].Caption, "Error");
    EXPECT_EQ(asked[0].Text, "Broken");
    EXPECT_EQ(asked[0].DlgType, mtError);
    EXPECT_EQ(asked[0].Button1, "A");
    EXPECT_EQ(asked[0].Button2, "B");
    EXPECT_EQ(asked[0].Button3, "C");
    EXPECT_EQ(asked[0].DefaultButton, 2);
    EXPECT_FALSE(asked[0].ShowCheck);
    EXPECT_TRUE(asked[1].ShowCheck);
    EXPECT_EQ(asked[1].CheckCaption, "box");
}

}  // namespace
