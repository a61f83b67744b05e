#include "ui_wx/server_probe.h"

#include <gtest/gtest.h>

namespace {

std::string Server(std::string_view url)
{
    const auto server = ui_wx::ServerOf(url);
    return server ? server->host + " " + server->port : "none";
}

TEST(ServerOf, HostAndPortOfWebAddresses)
{
    EXPECT_EQ(Server("http://www.vantrel.org/adv/advert.html"), "www.vantrel.org 80");
    EXPECT_EQ(Server("HTTPS://www.vantrel.org"), "www.vantrel.org 443");
    EXPECT_EQ(Server("http://127.0.0.1:8080/adv/advert.html"), "127.0.0.1 8080");
    EXPECT_EQ(Server("http://user:pa@ss@host.example:81?q=a@b"), "host.example 81");
    EXPECT_EQ(Server("http://host.example#part"), "host.example 80");
    EXPECT_EQ(Server("http://[::1]:8000/adv/advert.html"), "::1 8000");
    EXPECT_EQ(Server("https://[fe80::1]/"), "fe80::1 443");

    EXPECT_EQ(Server("ftp://host.example/"), "none");
    EXPECT_EQ(Server("vantrel-res:///ADVERT.HTML"), "none");
    EXPECT_EQ(Server("http:///adv/advert.html"), "none");
    EXPECT_EQ(Server("http://host.example:80x/"), "none");
    EXPECT_EQ(Server("http://[::1/"), "none");
    EXPECT_EQ(Server("http://[::1]x/"), "none");
    EXPECT_EQ(Server(""), "none");
}

} // namespace
