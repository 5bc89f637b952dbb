// The PNG writer's own 1-bit encoding: every level must give back the very
// pixels, for pictures whose rows stress the row and run matching.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>
#include <zlib.h>

#include "ImageWriter.h"

namespace {

std::uint32_t be32(const std::string& s, std::size_t at) {
    return (std::uint32_t(std::uint8_t(s[at])) << 24) | (std::uint32_t(std::uint8_t(s[at + 1])) << 16) |
           (std::uint32_t(std::uint8_t(s[at + 2])) << 8) | std::uint32_t(std::uint8_t(s[at + 3]));
}

// The IDAT chunks' data; checks each chunk's CRC on the way.
std::string idatOf(const std::string& png) {
    std::string data;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::uint32_t length = be32(png, at);
        const std::string type = png.substr(at + 4, 4);
        const auto* bytes = reinterpret_cast<const Bytef*>(png.data() + at + 4);
        EXPECT_EQ(crc32(0, bytes, length + 4), be32(png, at + 8 + length)) << type << " chunk's CRC";
        if (type == "IDAT")
            data += png.substr(at + 8, length);
        at += 12 + length;
    }
    return data;
}

QImage filled(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

}  // namespace

TEST(PngWriter, TwoColourPicturesComeBackPixelForPixel) {
    constexpr QRgb white = 0xFFFFFFFF, black = 0xFF000000;
    struct Row {
        const char* comment;
        QImage image;
    };
    std::vector<Row> rows;
    // A barcode-like picture: bars over many equal rows, then a row of
    // "text", odd width so the last byte is partial.
    {
        QImage image = filled(253, 90, white);
        QPainter p(&image);
        for (int x = 3; x < 250; x += 7)
            p.fillRect(x, 0, 1 + x % 3, 70, QColor(black));
        p.fillRect(40, 75, 5, 9, QColor(black));
        p.fillRect(100, 78, 40, 2, QColor(black));
        rows.push_back({"bars and text: repeats of the row above, runs of white", image});
    }
    {
        QImage image = filled(3, 700, white);
        for (int y = 0; y < 700; ++y)
            image.setPixel(y % 3, y, black);
        rows.push_back({"3 pixels wide: rows of 2 bytes, matches longer than 258 bytes", image});
    }
    {
        QImage image = filled(4100, 5, white);
        QPainter p(&image);
        p.fillRect(0, 0, 2050, 2, QColor(black));
        p.fillRect(1000, 3, 17, 2, QColor(black));
        rows.push_back({"rows of 514 bytes: the row above beyond distance 258", image});
    }
    {
        QImage image = filled(32767, 3, white);
        QPainter p(&image);
        p.fillRect(32760, 0, 7, 2, QColor(black));
        rows.push_back({"widest picture: the row above 4097 bytes back", image});
    }
    {
        QImage image = filled(123, 77, 0xFF000080);
        std::mt19937 random(7);
        for (int y = 0; y < 77; ++y)
            for (int x = 0; x < 123; ++x)
                if (random() & 1)
                    image.setPixel(x, y, 0xFFFFFFCC);
        rows.push_back({"noise in navy and cream: every byte value as a literal", image});
    }
    rows.push_back({"1 x 1, one colour", filled(1, 1, white)});
    {
        // Each row is the one above with one pixel changed every 1 to 300
        // bytes at random: matches of every length from 3 to 258.
        QImage image = filled(8 * 400, 300, white);
        std::mt19937 random(11);
        for (int y = 1; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            std::copy_n(reinterpret_cast<const QRgb*>(image.constScanLine(y - 1)), image.width(), line);
            for (int x = static_cast<int>(random() % 300) * 8; x < image.width(); x += (1 + random() % 300) * 8)
                line[x] = line[x] == white ? black : white;
        }
        rows.push_back({"matches of every length", image});
    }
    // Rows of 2 to 32768 bytes: the row above at every distance code.
    for (int stride : {2, 3, 4, 6, 8, 12, 16, 24, 32, 48, 64, 96, 128, 192, 256, 384, 512, 768, 1024, 1536, 2048,
                       3072, 4096, 6144, 8192, 12288, 16384, 24576, 32767, 32768}) {
        QImage image = filled(8 * (stride - 1), 3, white);
        for (int x = 0; x < image.width(); x += 5)
            image.setPixel(x, 0, black);
        QPainter p(&image);
        p.drawImage(0, 1, image.copy(0, 0, image.width(), 1));
        rows.push_back({"a repeated row", image});
    }

    for (const Row& row : rows) {
        SCOPED_TRACE(row.comment);
        for (int level : {-1, 0, 1, 9}) {
            SCOPED_TRACE(level);
            const std::string png = encodePng(row.image, level);
            ASSERT_GT(png.size(), 33u);
            EXPECT_EQ(png[24], 1) << "1-bit depth";
            // zlib itself checks the stream and its Adler-32 sum.
            const std::string idat = idatOf(png);
            const std::size_t rowBytes = (static_cast<std::size_t>(row.image.width()) + 7) / 8 + 1;
            std::string raw(rowBytes * row.image.height(), '\0');
            uLongf rawSize = static_cast<uLongf>(raw.size());
            ASSERT_EQ(uncompress(reinterpret_cast<Bytef*>(raw.data()), &rawSize,
                                 reinterpret_cast<const Bytef*>(idat.data()), static_cast<uLong>(idat.size())),
                      Z_OK);
            EXPECT_EQ(rawSize, raw.size());
            QImage back;
            ASSERT_TRUE(back.loadFromData(reinterpret_cast<const uchar*>(png.data()), static_cast<int>(png.size()), "PNG"));
            ASSERT_EQ(back.size(), row.image.size());
            const QImage got = back.convertToFormat(QImage::Format_RGB32);
            int wrong = 0;
            for (int y = 0; y < got.height(); ++y)
                for (int x = 0; x < got.width(); ++x)
                    wrong += got.pixel(x, y) != row.image.pixel(x, y);
            EXPECT_EQ(wrong, 0);
        }
    }
}

TEST(PngWriter, AThirdColourAnywhereKeepsFullColour) {
    // One pixel of a third colour, in the first bytes' pixels, in the middle
    // or in the last, partial byte of a row, must not be lost to 1 bit.
    for (const QPoint at : {QPoint(0, 0), QPoint(13, 4), QPoint(36, 9), QPoint(39, 2)}) {
        SCOPED_TRACE(at.x());
        QImage image = filled(40, 10, 0xFFFFFFFF);
        for (int x = 0; x < 40; x += 3)
            image.setPixel(x, 5, 0xFF000000);
        image.setPixel(at, 0xFFCC0000);
        const std::string png = encodePng(image, 1);
        ASSERT_GT(png.size(), 33u);
        EXPECT_EQ(png[24], 8) << "8 bits a sample";
        QImage back;
        ASSERT_TRUE(back.loadFromData(reinterpret_cast<const uchar*>(png.data()), static_cast<int>(png.size()), "PNG"));
        const QImage got = back.convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(got.size(), image.size());
        EXPECT_EQ(got.pixel(at), 0xFFCC0000u);
        EXPECT_EQ(got.pixel(3, 5), 0xFF000000u);
    }
}
