// The custom-button message dialog: button count from the captions, placement and widening, the modal
// results of each button and of closing, and the focus on the default button.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <functional>

#include "components/MsgDlg.h"
#include "tests/components/widget_test_app.h"

using namespace components;

namespace {

QPushButton* Button(const TMsgDlg& dlg, const char* name) {
    return dlg.Form()->findChild<QPushButton*>(QString::fromLatin1(name));
}

// Runs the dialog modally; `during` runs inside the modal loop and must end it.
int RunModal(TMsgDlg& dlg, std::function<void()> during) {
    dlg.Form()->SetOnShow([&dlg] { dlg.DialogShow(); });
    QTimer::singleShot(0, dlg.Form(), std::move(during));
    return dlg.Form()->exec();
}

struct CountCase {
    const char* second;
    const char* third;
    int buttons;
};

TEST(MsgDlgTest, CaptionsDecideTheNumberOfButtons) {
    const CountCase cases[] = {
        {"", "", 1},        {"    ", "", 1},       {"", "Third", 1},  // a third caption without a second
        {"  \t ", "Third", 1}, {"No", "", 2},      {"No", "   ", 2},
        {"Cancel", "Later", 3},
    };
    for (const CountCase& c : cases) {
        TMsgDlg dlg(mtConfirmation, "Confirmation", "Text", "Yes", c.second, c.third, 1);
        SCOPED_TRACE(std::string("second '") + c.second + "' third '" + c.third + "'");
        ASSERT_NE(Button(dlg, "OK"), nullptr);
        EXPECT_EQ(Button(dlg, "OK")->text(), "Yes");
        EXPECT_EQ(Button(dlg, "Cancel") != nullptr, c.buttons >= 2);
        EXPECT_EQ(Button(dlg, "No") != nullptr, c.buttons >= 3);
        if (c.buttons >= 2) {
            EXPECT_EQ(Button(dlg, "Cancel")->text(), c.second);
        }
        if (c.buttons >= 3) {
            EXPECT_EQ(Button(dlg, "No")->text(), c.third);
        }
    }
}

TEST(MsgDlgTest, NarrowFormIsWidenedAndButtonsStand20PixelsApart) {
    TMsgDlg three(mtWarning, "Caption", "x", "A", "B", "C", 1);
    EXPECT_EQ(three.Form()->width(), 320);
    const char* names[] = {"OK", "Cancel", "No"};
    for (int i = 0; i < 3; ++i) {
        QPushButton* b = Button(three, names[i]);
        EXPECT_EQ(b->geometry(), QRect(20 + 100 * i, b->y(), 80, 25)) << names[i];
    }

    TMsgDlg two(mtWarning, "Caption", "x", "A", "B", "", 1);
    EXPECT_EQ(two.Form()->width(), 220);
    EXPECT_EQ(Button(two, "OK")->x(), 20);
    EXPECT_EQ(Button(two, "Cancel")->x(), 120);
}

TEST(MsgDlgTest, WideFormKeepsItsWidthAndCentresTheButtons) {
    const QString longText(120, QLatin1Char('W'));
    TMessageDialogForm standard(longText, mtInformation, mbOKCancel);
    TMsgDlg dlg(mtInformation, "Caption", longText, "Continue", "Cancel", "", 1);
    const int w = dlg.Form()->width();
    ASSERT_GT(w, 220);
    EXPECT_EQ(w, standard.width());
    EXPECT_EQ(Button(dlg, "OK")->x(), (w - 180) / 2);
    EXPECT_EQ(Button(dlg, "Cancel")->x(), (w - 180) / 2 + 100);
    // The vertical place stays the one of the standard form.
    EXPECT_EQ(Button(dlg, "OK")->y(), standard.findChild<QPushButton*>("OK")->y());
}

TEST(MsgDlgTest, CaptionAndStayOnTop) {
    TMsgDlg dlg(mtError, "Morvalt Monitor", "Line one\r\nLine two", "    Continue    ", "    Cancel    ", "", 1);
    EXPECT_EQ(dlg.Form()->windowTitle(), "Morvalt Monitor");
    EXPECT_TRUE(dlg.Form()->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(Button(dlg, "OK")->text(), "    Continue    ");  // blanks are kept
}

TEST(MsgDlgTest, ModalResultOfEachButtonAndOfClosing) {
    struct ResultCase {
        const char* press;  // nullptr: close the window
        int result;
    };
    const ResultCase cases[] = {{"OK", 1}, {"Cancel", 2}, {"No", 7}, {nullptr, 2}};
    for (const ResultCase& c : cases) {
        TMsgDlg dlg(mtConfirmation, "Confirmation", "Really?", "Yes", "No", "Later", 1);
        const int result = RunModal(dlg, [&] {
            if (c.press)
                Button(dlg, c.press)->click();
            else
                dlg.Form()->close();
        });
        EXPECT_EQ(result, c.result) << (c.press ? c.press : "close box");
    }
}

TEST(MsgDlgTest, ShowFocusesTheDefaultButtonWhenItExists) {
    struct FocusCase {
        const char* second;
        const char* third;
        int defaultButton;
        const char* focused;  // the standard form's own focus is OK
    };
    const FocusCase cases[] = {
        {"B", "C", 1, "OK"}, {"B", "C", 2, "Cancel"}, {"B", "C", 3, "No"},
        {"B", "", 3, "OK"},  {"B", "C", 0, "OK"},     {"B", "C", 9, "OK"},
    };
    for (const FocusCase& c : cases) {
        TMsgDlg dlg(mtConfirmation, "Confirmation", "Text", "A", c.second, c.third, c.defaultButton);
        QWidget* focused = nullptr;
        RunModal(dlg, [&] {
            focused = dlg.Form()->focusWidget();
            dlg.Form()->reject();
        });
        EXPECT_EQ(focused, Button(dlg, c.focused)) << "default " << c.defaultButton;
    }
}

TEST(MsgDlgTest, DefaultButtonAnswersTheEnterKey) {
    TMsgDlg dlg(mtConfirmation, "Confirmation", "Text", "Yes", "No", "", 2);
    const int result = RunModal(dlg, [&] {
        QWidget* focused = dlg.Form()->focusWidget();
        ASSERT_NE(focused, nullptr);
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(focused, &press);
        if (dlg.Form()->isVisible()) dlg.Form()->done(99);
    });
    EXPECT_EQ(result, 2);
}

}  // namespace
