#include "ui/picture_header.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Png(unsigned width, unsigned height)
{
    std::string out("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
    for (const unsigned value : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8)
            out += static_cast<char>((value >> shift) & 0xFF);
    return out + std::string("\x08\x06\0\0\0", 5);
}

std::string Le16(unsigned value)
{
    return {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
}

TEST(PictureHeader, ReadsTheSizeEachFormatDeclares)
{
    const auto png = ui::ReadPictureHeader(Png(26000, 26000));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->format, ui::PictureFormat::Png);
    EXPECT_EQ(png->Pixels(), 676'000'000U);

    // A progressive JPEG: APP0, then SOF2 with height 65500 and width 65000.
    const std::string jpeg = std::string("\xFF\xD8\xFF\xE0\0\x04zz\xFF\xFF\xC2\0\x11\x08\xFF\xDC\xFD\xE8\x03", 19);
    const auto j = ui::ReadPictureHeader(jpeg);
    ASSERT_TRUE(j);
    EXPECT_EQ(j->format, ui::PictureFormat::Jpeg);
    EXPECT_EQ(j->height, 65500U);
    EXPECT_EQ(j->width, 65000U);

    const auto svg = ui::ReadPictureHeader("\xEF\xBB\xBF<?xml version='1.0'?>\n<!-- x --><svg xmlns='x' "
                                           "viewBox='0,0 300.5 100'><rect/></svg>");
    ASSERT_TRUE(svg);
    EXPECT_EQ(svg->format, ui::PictureFormat::Svg);
    EXPECT_EQ(svg->width, 301U);
    EXPECT_EQ(svg->height, 100U);
    EXPECT_EQ(ui::ReadPictureHeader("<svg width='4096px' height='50%'>")->height, 0U);
}

TEST(PictureHeader, AGifIsMeasuredByItsFirstFrameAndCutAfterIt)
{
    // Screen 10 x 10 with a 2-colour table, a comment, a frame at (5, 5) of
    // 20 x 1, then a second frame that a decoder never needs.
    const std::string head = "GIF89a" + Le16(10) + Le16(10) + std::string("\x80\0\0", 3) + std::string(6, '\0') +
                             std::string("\x21\xFE\x02hi\0", 6);
    const std::string frame = "\x2C" + Le16(5) + Le16(5) + Le16(20) + Le16(1) + std::string("\0\x02\x02\x4C\x01\0", 6);
    const std::string gif = head + frame + "\x2C" + Le16(0) + Le16(0) + Le16(60000) + Le16(60000) + "\0\x02";
    const auto header = ui::ReadPictureHeader(gif);
    ASSERT_TRUE(header);
    EXPECT_EQ(header->width, 25U);
    EXPECT_EQ(header->height, 10U);
    EXPECT_EQ(header->firstFrameEnd, head.size() + frame.size());
}

TEST(PictureHeader, OtherOrBrokenBytesAreNoPicture)
{
    for (const std::string& bytes : {std::string(), std::string("BM\0\0", 4), Png(0, 5), Png(1, 1).substr(0, 20),
                                     std::string("\xFF\xD8\xFF\xDA\0\x02", 6), std::string("GIF89a\x01", 7),
                                     std::string("<html><body>no picture</body></html>"), std::string("\xFF\xD8", 2)})
        EXPECT_FALSE(ui::ReadPictureHeader(bytes)) << bytes;
}

} // namespace
