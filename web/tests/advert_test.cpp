#include "web/advert.h"

#include "res/strings.h"

#include <gtest/gtest.h>

namespace {

TEST(AdvertFallback, OnlyTheAdvertTitleInAnyCaseStays)
{
    EXPECT_FALSE(web::NeedsEmbeddedAdvert("advert"));
    EXPECT_FALSE(web::NeedsEmbeddedAdvert("ADVERT"));
    EXPECT_FALSE(web::NeedsEmbeddedAdvert("AdVeRt"));
    // A title that only begins with "advert", an error page, no title.
    EXPECT_TRUE(web::NeedsEmbeddedAdvert("adverts"));
    EXPECT_TRUE(web::NeedsEmbeddedAdvert("advert "));
    EXPECT_TRUE(web::NeedsEmbeddedAdvert("advertisement"));
    EXPECT_TRUE(web::NeedsEmbeddedAdvert("Problem loading page"));
    EXPECT_TRUE(web::NeedsEmbeddedAdvert(""));
}

TEST(AdvertStartUrl, SettingChoosesTheAddressOrNone)
{
    EXPECT_EQ(web::AdvertStartUrl(std::nullopt), std::string(res::kAdvertUrl));
    EXPECT_TRUE(res::kAdvertUrl.ends_with("/adv/advert.html"));
    EXPECT_EQ(web::AdvertStartUrl("http://lab.local/adv/advert.html"), "http://lab.local/adv/advert.html");
    EXPECT_EQ(web::AdvertStartUrl("HTTPS://lab.local/a.html"), "HTTPS://lab.local/a.html");
    // Empty: the embedded page at once. Anything but a web address likewise.
    EXPECT_EQ(web::AdvertStartUrl(""), std::nullopt);
    EXPECT_EQ(web::AdvertStartUrl("file:///etc/passwd"), std::nullopt);
    EXPECT_EQ(web::AdvertStartUrl("javascript:alert(1)"), std::nullopt);
}

} // namespace
