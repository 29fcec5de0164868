// The window picker over a fake display and the area picker moved and sized by keys and the mouse.
#include <gtest/gtest.h>

#include <QTest>

#include "app/windows/pickers/WndArea_Form.h"
#include "app/windows/pickers/WndList_Form.h"
#include "platform/display/fake_display.h"
#include "tests/components/widget_test_app.h"

namespace {

using namespace app;

TEST(WndListForm, ListsVisibleWindowsByClassAndCaption) {
    auto display = std::make_shared<platform::TFakeDisplay>();
    const platform::WindowId editor = display->AddWindow({"Editor", "notes.txt", platform::MakeRect(0, 0, 10, 10)});
    display->AddWindow({"Hidden", "secret", platform::MakeRect(0, 0, 10, 10), false});
    display->AddWindow({"Blank", "", platform::MakeRect(0, 0, 10, 10)});
    display->AddWindow({"Long", std::string(300, 'c'), platform::MakeRect(0, 0, 10, 10)});
    platform::SetCurrentDisplay(display);

    TWndList_Form form;
    form.Refresh();
    // Top-most first: the window added last is on top.
    ASSERT_EQ(form.Wnd_VST->topLevelItemCount(), 3);
    EXPECT_EQ(form.Wnd_VST->topLevelItem(2)->text(0), WindowHandleText(editor));
    EXPECT_EQ(form.Wnd_VST->topLevelItem(2)->text(1), "Editor");
    EXPECT_EQ(form.Wnd_VST->topLevelItem(2)->text(2), "notes.txt");
    EXPECT_EQ(form.Wnd_VST->topLevelItem(1)->text(2), "");
    EXPECT_EQ(form.Wnd_VST->topLevelItem(0)->text(2).size(), static_cast<int>(platform::kMaxWindowTextChars));

    std::string className = "x";
    std::string caption = "y";
    form.GetSelected(className, caption);  // nothing focused
    EXPECT_EQ(className, "");
    EXPECT_EQ(caption, "");
    form.Wnd_VST->setCurrentItem(form.Wnd_VST->topLevelItem(2));
    form.GetSelected(className, caption);
    EXPECT_EQ(className, "Editor");
    EXPECT_EQ(caption, "notes.txt");
    EXPECT_EQ(WindowHandleText(0x2a), "0x002A");
    platform::SetCurrentDisplay(nullptr);
}

TEST(WndAreaForm, KeysMoveAndSizeAndTheLabelsFollow) {
    TWndArea_Form form;
    form.StartLeft = 50;
    form.StartTop = 60;
    form.resize(200, 150);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.pos(), QPoint(50, 60));
    for (int i = 0; i < 10; ++i) QTest::keyClick(&form, Qt::Key_Left, Qt::ControlModifier);
    QTest::keyClick(&form, Qt::Key_Down);
    QTest::keyClick(&form, Qt::Key_Right);
    EXPECT_EQ(form.width(), 190);
    EXPECT_EQ(form.pos(), QPoint(51, 61));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.W_Label->text() == "W: 190"; }, 1000));
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(form.Pos_Timer.isActive());
    EXPECT_EQ(form.geometry(), QRect(51, 61, 190, 150));  // still there for the caller
}

TEST(WndAreaForm, DraggingThePanelMovesTheWindow) {
    TWndArea_Form form;
    form.StartLeft = 100;
    form.StartTop = 100;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QWidget* panel = form.CanvasPanelEx1;
    const QPoint start(20, 20);
    QTest::mousePress(panel, Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(30, 40)), panel->mapToGlobal(QPointF(start + QPoint(30, 40))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(panel, &move);
    QTest::mouseRelease(panel, Qt::LeftButton, {}, start + QPoint(30, 40));
    EXPECT_EQ(form.pos(), QPoint(130, 140));
    QTest::mouseDClick(form.L_Label, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
}

}  // namespace
