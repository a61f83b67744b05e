#include "ui/edit_rules.h"
#include "ui_wx/edit_text.h"

#include <gtest/gtest.h>

namespace {

TEST(EditText, BareLineFeedsReadBackAsCrLf)
{
    EXPECT_EQ(ui_wx::WithCrLfLineBreaks("a\nb"), "a\r\nb");
    EXPECT_EQ(ui_wx::WithCrLfLineBreaks("a\r\nb"), "a\r\nb"); // already right: unchanged
    EXPECT_EQ(ui_wx::WithCrLfLineBreaks("\n\n"), "\r\n\r\n");
    EXPECT_EQ(ui_wx::WithCrLfLineBreaks("a\rb"), "a\rb"); // a lone CR is a character
    EXPECT_EQ(ui_wx::WithCrLfLineBreaks("\r\n\n"), "\r\n\r\n");
    EXPECT_EQ(ui_wx::WithCrLfLineBreaks(""), "");
}

TEST(EditText, ZeroOrNegativeLimitMeansLargest)
{
    EXPECT_EQ(ui::EffectiveTextLimit(4096), 4096);
    EXPECT_EQ(ui::EffectiveTextLimit(0), ui::kLargestTextLimit);
    EXPECT_EQ(ui::EffectiveTextLimit(-5), ui::kLargestTextLimit);
}

} // namespace
