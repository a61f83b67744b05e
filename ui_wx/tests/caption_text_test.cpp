#include "ui_wx/caption_text.h"

#include <gtest/gtest.h>

namespace {

TEST(CaptionText, MnemonicMarkersDisappearAndDoubledAmpersandsStay)
{
    EXPECT_EQ(ui_wx::WithoutMnemonic("&Address Size:"), "Address Size:");
    EXPECT_EQ(ui_wx::WithoutMnemonic("Parity S&cheme:"), "Parity Scheme:");
    EXPECT_EQ(ui_wx::WithoutMnemonic("Rock && Roll"), "Rock & Roll");
    EXPECT_EQ(ui_wx::WithoutMnemonic("trailing&"), "trailing");
    EXPECT_EQ(ui_wx::WithoutMnemonic(""), "");
}

TEST(CaptionText, LabelNamesItsControlWithoutColon)
{
    EXPECT_EQ(ui_wx::AccessibleNameFromLabel("Baud &Rate:"), "Baud Rate");
    EXPECT_EQ(ui_wx::AccessibleNameFromLabel("TX Cycle(ms)"), "TX Cycle(ms)");
    EXPECT_EQ(ui_wx::AccessibleNameFromLabel("Protocols: "), "Protocols");
}

} // namespace
