#include "ui/web_address.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

TEST(WebAddress, ResolvesReferencesAgainstThePageAsABrowserDoes)
{
    const std::string base = "http://a/b/c/d;p?q";
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"g", "http://a/b/c/g"},
        {"./g", "http://a/b/c/g"},
        {"g/", "http://a/b/c/g/"},
        {"/g", "http://a/g"},
        {"//g", "http://g"},
        {"?y", "http://a/b/c/d;p?y"},
        {"#s", "http://a/b/c/d;p?q#s"},
        {"", "http://a/b/c/d;p?q"},
        {"../g", "http://a/b/g"},
        {"../../../../g", "http://a/g"},
        {"/./g", "http://a/g"},
        {"g/../h?x", "http://a/b/c/h?x"},
        {"..", "http://a/b/"},
        {"  pic\n.png ", "http://a/b/c/pic.png"},
        {"HTTPS://other/x.png", "HTTPS://other/x.png"},
        {"mailto:me@a", "mailto:me@a"},
    };
    for (const auto& [reference, expected] : cases)
        EXPECT_EQ(ui::ResolveAddress(base, reference), expected) << reference;
    EXPECT_EQ(ui::ResolveAddress("http://host", "x.png"), "http://host/x.png");
    EXPECT_EQ(ui::ResolveAddress("", "x.png"), "x.png");
    EXPECT_EQ(ui::PictureAddress(base, "../x.png#part"), "http://a/b/x.png");
}

} // namespace
