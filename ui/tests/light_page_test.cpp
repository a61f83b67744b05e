#include "ui/light_page.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TEST(LightPage, DropsStyleAndScriptAndReplacesEachPictureSource)
{
    const std::string page = "<html><STYLE>p > a { color: red }</STYLE><script type=x>if (a<b) x('>')</script>"
                             "<!-- <img src=\"old\"> -->"
                             "<p>a<b</p><img alt='1 > 0' src=\"a.png\"><IMG SRC=b&amp;c.png width=3>"
                             "<img src='a.png'/><img width=2><imgx src=\"k\">";
    std::vector<std::string> tags;
    const std::string out = ui::PageForLightView(page, [&tags](std::string_view tag) {
        tags.emplace_back(tag);
        const std::string source = ui::TagAttribute(tag, "src");
        return source.empty() ? std::string("m:none\"") : "m:" + source;
    });
    EXPECT_EQ(out, "<html><!-- <img src=\"old\"> --><p>a<b</p><img alt='1 > 0' src=\"m:a.png\">"
                   "<IMG SRC=\"m:b&amp;c.png\" width=3><img src=\"m:a.png\"/><img src=\"m:none&quot;\" width=2>"
                   "<imgx src=\"k\">");
    ASSERT_EQ(tags.size(), 4U);
    EXPECT_EQ(ui::TagAttribute(tags[1], "width"), "3");
    EXPECT_EQ(ui::PictureSources(page), (std::vector<std::string>{"a.png", "b&c.png"}));
}

TEST(LightPage, BrokenMarkupEndsTheScanWithoutLosingText)
{
    EXPECT_EQ(ui::PageForLightView("text <img src=\"a", [](std::string_view) { return std::string("x"); }),
              "text <img src=\"x\"");
    EXPECT_EQ(ui::PageForLightView("<p>one<style>never closed", [](std::string_view) { return std::string(); }),
              "<p>one");
    EXPECT_EQ(ui::TagAttribute("<img = src=>", "src"), "");
    EXPECT_TRUE(ui::PictureSources(std::string(1 << 20, '<')).empty());
}

TEST(LightPage, ReadsTheCharsetFromTheHeaderElseFromAMetaTag)
{
    EXPECT_EQ(ui::PageCharset("text/html; Charset=\"ISO-8859-1\"", "<meta charset=utf-8>"), "iso-8859-1");
    EXPECT_EQ(ui::PageCharset("text/html", "<head><META CHARSET='Windows-1252'>"), "windows-1252");
    EXPECT_EQ(ui::PageCharset("", "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=koi8-r\">"),
              "koi8-r");
    EXPECT_EQ(ui::PageCharset("text/html", std::string(1100, ' ') + "<meta charset=utf-8>"), "");
}

} // namespace
