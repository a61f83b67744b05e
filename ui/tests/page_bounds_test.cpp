#include "ui/page_bounds.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Repeated(const std::string& piece, std::size_t times)
{
    std::string out;
    for (std::size_t i = 0; i < times; ++i)
        out += piece;
    return out;
}

TEST(PageBounds, ANormalPageStaysByteForByte)
{
    const std::string page = "<html><head><title>advert</title></head><body marginwidth=0>"
                             "<table width=\"100%\" cellpadding=2 border=0><tr><td colspan=2>"
                             "<a href=\"x\"><img src=a.png width=40 height=40></a><br>caf&#233; &#x1F600;"
                             "<p>one<p>two<ul><li>a<li>b</ul></td></tr></table><!-- <<< --></body></html>";
    EXPECT_EQ(ui::BoundedPage(page), page);
}

TEST(PageBounds, NumbersTheViewLaysOutByAreHeldToSaneRanges)
{
    EXPECT_EQ(ui::BoundedPage("<td colspan=100000 ROWSPAN='2147483647'><td colspan=-3>"),
              "<td colspan=\"100\" ROWSPAN='100'><td colspan=\"1\">");
    EXPECT_EQ(ui::BoundedPage("<img width=99999999999 height=\"-5\" hspace=1000000000><table width=500%>"),
              "<img width=\"2048\" height=\"0\" hspace=\"100\"><table width=\"100%\">");
    EXPECT_EQ(ui::BoundedPage("<font size=+40><font size=-9>a</font></font><hr size=7>"),
              "<font size=\"+7\"><font size=\"-7\">a</font></font><hr size=7>");
}

TEST(PageBounds, CharacterReferencesToNoCharacterBecomeTheReplacementCharacter)
{
    EXPECT_EQ(ui::BoundedPage("a&#x110000;b&#0;c&#55296;d&#99999999999999e&#x10FFFF;&#;"),
              "a&#xFFFD;b&#xFFFD;c&#xFFFD;d&#xFFFD;e&#x10FFFF;&#;");
}

TEST(PageBounds, TooDeepOrTooLargeAPageIsRefused)
{
    const ui::PageLimits limits;
    EXPECT_FALSE(ui::BoundedPage(Repeated("<table><tr><td>", 10000)));
    EXPECT_FALSE(ui::BoundedPage(Repeated("<b>", limits.depth + 1)));
    EXPECT_FALSE(ui::BoundedPage(Repeated("<a href=a>a", 83000)));
    EXPECT_FALSE(ui::BoundedPage(Repeated("<a href=a>a</a>", limits.links + 1)));
    EXPECT_FALSE(ui::BoundedPage(Repeated("<img src=a>", limits.pictures + 1)));
    EXPECT_FALSE(ui::BoundedPage(Repeated("<span></span>", limits.elements + 1)));
    // Deep but within the limit, and long runs of elements HTML closes by
    // itself, or that hold nothing, or are closed.
    EXPECT_TRUE(ui::BoundedPage(Repeated("<div>", limits.depth)));
    EXPECT_TRUE(ui::BoundedPage("<table>" + Repeated("<tr><td>a<td>b", 3000) + "</table>"));
    EXPECT_TRUE(ui::BoundedPage(Repeated("<p>a<br><li>b<div>c</div>", 3000)));
    EXPECT_TRUE(ui::BoundedPage(Repeated("<div><b>a</div>", 3000))); // a close ends what it holds
    EXPECT_TRUE(ui::BoundedPage(Repeated("</div>", 30000)));
    EXPECT_TRUE(ui::BoundedPage(std::string(1 << 20, '<')));
}

} // namespace
