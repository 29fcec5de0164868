// The dialogs' spin field as the user types into it and leaves it.
#include <gtest/gtest.h>

#include <QWidget>

#include "app/windows/base/EditorControls.h"
#include "tests/common/dialog_test_support.h"
#include "tests/components/widget_test_app.h"

namespace {

using namespace app;

// What is typed into a spin field counts when the field is left: a number clamped into the range, a
// text that is no whole number as the minimum.
TEST(SpinEdit, TypedTextIsClampedOrReadsAsTheMinimumWhenTheFieldIsLeft) {
    const struct {
        int minimum, maximum, step, before;
        const char* typed;
        int after;
    } cases[] = {
        {1, 100, 1, 50, "7", 7},           {1, 100, 1, 50, "250", 100},  {1, 10000, 1, 50, "99999", 10000},
        {5, 100, 5, 80, "3", 5},           {1, 60, 1, 30, "", 1},        {0, 20, 1, 7, "-", 0},
        {1, 60, 1, 30, "+", 1},            {1, 60, 1, 30, "12-3", 1},    {50, 10000, 50, 1000, "1.5", 50},
        {1, 60, 1, 30, "-5", 1},           {7, 70, 1, 30, "abc", 7},     {1, 60, 1, 30, "99999999999999999999", 1},
    };
    for (const auto& c : cases) {
        QWidget window;
        auto* spin = new TSpinEdit(&window);
        SetupSpin(*spin, c.minimum, c.maximum, c.step);
        spin->setValue(c.before);
        window.show();
        EXPECT_EQ(fw_test::TypeAndLeave(*spin, QString::fromLatin1(c.typed)), c.after)
            << c.typed << " in " << c.minimum << " .. " << c.maximum;
        EXPECT_EQ(spin->text(), QString::number(c.after)) << c.typed;
    }
}

}  // namespace
