#include "imaging/image_io.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QDir>
#include <QtEndian>

#include "common/temp_dir.h"
#include "imaging/icon_files.h"

namespace vodirev {
namespace {

using test::ReadFileBytes;
using test::ScopedWorkDir;
using test::WriteFileBytes;

// A small picture with a gradient, a magenta colour-key block and a white block;
// 40 x 30 with few enough colours for an exact GIF palette.
QImage Picture() {
    QImage image(40, 30, QImage::Format_RGB32);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 40; ++x) {
            image.setPixel(x, y, qRgb((x * 6) & 0xF0, (y * 8) & 0xF0, 100));
        }
    }
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 8; ++x) {
            image.setPixel(x, y, qRgb(255, 0, 255));
            image.setPixel(39 - x, 29 - y, qRgb(255, 255, 255));
        }
    }
    return image;
}

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

QByteArray GifBytes(const QImage& image) {
    ScopedWorkDir dir;
    EXPECT_TRUE(SaveBitmapToFile("p.gif", image));
    return ReadFileBytes("p.gif");
}

bool SamePixels(const QImage& a, const QImage& b) {
    return a.size() == b.size() &&
           a.convertToFormat(QImage::Format_ARGB32) == b.convertToFormat(QImage::Format_ARGB32);
}

QStringList Entries(const ScopedWorkDir& dir) {
    return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

uint32_t Crc32(const QByteArray& bytes) {
    uint32_t crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= static_cast<uint8_t>(c);
        for (int k = 0; k < 8; ++k) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

QByteArray PngChunk(const QByteArray& type, const QByteArray& body) {
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(body.size(), chunk.data());
    chunk += type + body;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(Crc32(type + body), crc.data());
    return chunk + crc;
}

QByteArray Le16(int v) {
    return QByteArray(1, char(v & 0xFF)) + QByteArray(1, char(v >> 8));
}

// A GIF whose screen and image claim the given size, with a few bytes of data.
QByteArray GifHeader(int w, int h) {
    QByteArray gif = "GIF89a" + Le16(w) + Le16(h) + QByteArray("\x80\0\0", 3);
    gif += QByteArray(6, '\0');  // two-colour table
    gif += "," + Le16(0) + Le16(0) + Le16(w) + Le16(h) + QByteArray(1, '\0');
    gif += QByteArray("\x02\x02\x4c\x01\x00;", 6);
    return gif;
}

TEST(LoadImageBitmapTest, DecodesTheFourFormatsExactlyEnough) {
    ScopedWorkDir dir;
    const QImage picture = Picture();
    WriteFileBytes("a.png", Encoded(picture, "PNG"));
    WriteFileBytes("a.bmp", Encoded(picture, "BMP"));
    WriteFileBytes("a.gif", GifBytes(picture));
    WriteFileBytes("a.jpg", Encoded(picture, "JPEG"));
    for (const char* name : {"a.png", "a.bmp", "a.gif"}) {
        const QImage loaded = LoadImageBitmap(name);
        ASSERT_EQ(loaded.format(), QImage::Format_RGB32) << name;
        EXPECT_TRUE(SamePixels(loaded, picture)) << name;
    }
    const QImage jpeg = LoadImageBitmap("a.jpg");
    ASSERT_EQ(jpeg.format(), QImage::Format_RGB32);
    EXPECT_EQ(jpeg.size(), picture.size());
    EXPECT_NEAR(qGreen(jpeg.pixel(36, 26)), 255, 8);  // lossy, but the white block is white
}

TEST(LoadImageBitmapTest, KeepsAlphaAndPaletteColoursExactly) {
    ScopedWorkDir dir;
    QImage alpha(4, 4, QImage::Format_ARGB32);
    alpha.fill(qRgba(255, 0, 255, 255));
    alpha.setPixel(1, 1, qRgba(10, 20, 30, 128));
    WriteFileBytes("alpha.png", Encoded(alpha, "PNG"));
    const QImage loaded = LoadImageBitmap("alpha.png");
    ASSERT_EQ(loaded.format(), QImage::Format_ARGB32);
    EXPECT_EQ(loaded.pixel(0, 0), qRgba(255, 0, 255, 255));
    EXPECT_EQ(loaded.pixel(1, 1), qRgba(10, 20, 30, 128));

    QImage indexed(3, 1, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 0, 255), qRgb(1, 2, 3), qRgb(254, 0, 255)});
    for (int x = 0; x < 3; ++x) {
        indexed.setPixel(x, 0, x);
    }
    WriteFileBytes("indexed.png", Encoded(indexed, "PNG"));
    WriteFileBytes("indexed.bmp", Encoded(indexed, "BMP"));
    for (const char* name : {"indexed.png", "indexed.bmp"}) {
        const QImage palette = LoadImageBitmap(name);
        ASSERT_EQ(palette.format(), QImage::Format_RGB32) << name;
        EXPECT_EQ(palette.pixel(0, 0), qRgb(255, 0, 255)) << name;
        EXPECT_EQ(palette.pixel(2, 0), qRgb(254, 0, 255)) << name;
    }

    // A 2 x 2 GIF whose transparent palette entry is magenta: the pixels keep their
    // colour under alpha 0, so the magenta key still finds them after scaling.
    WriteFileBytes("transparent.gif",
                   QByteArray::fromHex("47494638396102000200800000000000ff00ff21f90401000001002c000"
                                       "00000020002000002034c9202003b"));
    const QImage transparent = LoadImageBitmap("transparent.gif");
    ASSERT_EQ(transparent.format(), QImage::Format_ARGB32);
    EXPECT_EQ(transparent.pixel(1, 1), qRgba(255, 0, 255, 0));
}

TEST(LoadImageBitmapTest, PicksTheDecoderByContentNotByName) {
    ScopedWorkDir dir;
    WriteFileBytes("png_named.jpg", Encoded(Picture(), "PNG"));
    EXPECT_TRUE(SamePixels(LoadImageBitmap("png_named.jpg"), Picture()));
    WriteFileBytes("text.jpg", "this is not a picture\r\n");
    EXPECT_TRUE(LoadImageBitmap("text.jpg").isNull());
    // Formats other than the four are not decoded, even when Qt could.
    WriteFileBytes("pic.xpm.png", Encoded(Picture(), "XPM"));
    EXPECT_TRUE(LoadImageBitmap("pic.xpm.png").isNull());
}

TEST(LoadImageBitmapTest, MissingEmptyAndNonFilesGiveNothing) {
    ScopedWorkDir dir;
    EXPECT_TRUE(LoadImageBitmap("missing.png").isNull());
    WriteFileBytes("empty.png", QByteArray());
    EXPECT_TRUE(LoadImageBitmap("empty.png").isNull());
    QDir().mkdir("folder.png");
    EXPECT_TRUE(LoadImageBitmap("folder.png").isNull());
    EXPECT_TRUE(LoadImageBitmap("/dev/zero").isNull());
}

TEST(LoadImageBitmapTest, TruncatedFilesGiveNothing) {
    ScopedWorkDir dir;
    // Large enough that half of each file still holds a usable header.
    QImage big(200, 150, QImage::Format_RGB32);
    for (int y = 0; y < 150; ++y) {
        for (int x = 0; x < 200; ++x) {
            big.setPixel(x, y, qRgb(x, y, (x * y) & 0xFF));
        }
    }
    const QByteArray files[] = {Encoded(big, "PNG"), Encoded(big, "JPEG"), Encoded(big, "BMP"),
                                GifBytes(big)};
    for (const QByteArray& whole : files) {
        WriteFileBytes("whole", whole);
        ASSERT_FALSE(LoadImageBitmap("whole").isNull());
        for (qsizetype cut : {whole.size() / 2, whole.size() - 20}) {
            WriteFileBytes("cut", whole.left(cut));
            EXPECT_TRUE(LoadImageBitmap("cut").isNull())
                << whole.left(4).toHex().data() << " " << cut << " of " << whole.size();
        }
    }
}

TEST(LoadImageBitmapTest, ZeroSizedAndHugeClaimsGiveNothing) {
    ScopedWorkDir dir;
    // A BMP that claims 0 x 0 pixels.
    QByteArray bmp = Encoded(Picture(), "BMP");
    qToLittleEndian<qint32>(0, bmp.data() + 18);
    qToLittleEndian<qint32>(0, bmp.data() + 22);
    WriteFileBytes("zero.bmp", bmp);
    EXPECT_TRUE(LoadImageBitmap("zero.bmp").isNull());
    WriteFileBytes("zero.gif", GifHeader(0, 0));
    EXPECT_TRUE(LoadImageBitmap("zero.gif").isNull());

    // Decompression bombs: a few bytes that claim billions of pixels.
    QByteArray ihdr(13, '\0');
    qToBigEndian<quint32>(100000, ihdr.data());
    qToBigEndian<quint32>(100000, ihdr.data() + 4);
    ihdr[8] = 8;  // 8-bit
    ihdr[9] = 2;  // RGB
    const QByteArray png = "\x89PNG\r\n\x1a\n" + PngChunk("IHDR", ihdr) +
                           PngChunk("IDAT", QByteArray("\x78\x9c\x03\x00\x00\x00\x00\x01", 8)) +
                           PngChunk("IEND", {});
    WriteFileBytes("bomb.png", png);
    EXPECT_TRUE(LoadImageBitmap("bomb.png").isNull());
    WriteFileBytes("bomb.gif", GifHeader(65535, 65535));
    EXPECT_TRUE(LoadImageBitmap("bomb.gif").isNull());
    WriteFileBytes("wide.gif", GifHeader(40000, 1));
    EXPECT_TRUE(LoadImageBitmap("wide.gif").isNull());
    // The same small headers with a sane size do decode.
    WriteFileBytes("small.gif", GifHeader(2, 2));
    EXPECT_EQ(LoadImageBitmap("small.gif").size(), QSize(2, 2));
}

// Header fields are the file's word: a small frame on a huge logical screen decodes to
// the whole screen, and BMP fields past every bound must not wrap into "complete".
TEST(LoadImageBitmapTest, HostileHeadersAreChargedOrRefusedForWhatTheyDecodeTo) {
    ScopedWorkDir dir;
    QByteArray gif = GifHeader(2, 2);
    qToLittleEndian<quint16>(3000, gif.data() + 6);  // screen 3000 x 2000, frame 2 x 2
    qToLittleEndian<quint16>(2000, gif.data() + 8);
    WriteFileBytes("screen.gif", gif);
    PixelBudget budget(1'000'000);
    EXPECT_TRUE(LoadImageBitmap("screen.gif", budget).isNull());
    EXPECT_EQ(budget.Refused(), QStringList{"screen.gif"});
    PixelBudget enough(6'000'000);
    EXPECT_EQ(LoadImageBitmap("screen.gif", enough).size(), QSize(3000, 2000));
    EXPECT_EQ(enough.Left(), 0);
    qToLittleEndian<quint16>(40000, gif.data() + 6);  // past the side limit
    EXPECT_FALSE(IsCompleteImageData(gif));

    // (width * 32 bits) rows times height wraps a 64-bit product to below zero.
    QByteArray bmp = Encoded(Picture(), "BMP").left(200);
    qToLittleEndian<qint32>(0x7FFFFFFF, bmp.data() + 18);
    qToLittleEndian<qint32>(qint32(0x80000000u), bmp.data() + 22);  // top-down, -2^31
    qToLittleEndian<quint16>(32, bmp.data() + 28);
    EXPECT_FALSE(IsCompleteImageData(bmp));
    qToLittleEndian<qint32>(0x7FFFFFFF, bmp.data() + 22);
    qToLittleEndian<quint16>(0xFFFF, bmp.data() + 28);
    EXPECT_FALSE(IsCompleteImageData(bmp));
    EXPECT_TRUE(IsCompleteImageData(Encoded(Picture(), "BMP")));
}

// The size is taken from the header before decoding; what does not fit is refused
// and noted once, and files that are not pictures cost nothing.
TEST(LoadImageBitmapTest, ABudgetRefusesWhatItCannotHold) {
    ScopedWorkDir dir;
    WriteFileBytes("a.png", Encoded(Picture(), "PNG"));  // 40 x 30
    WriteFileBytes("text.png", "not a picture");
    PixelBudget budget(2 * 1200 + 5);
    EXPECT_TRUE(LoadImageBitmap("text.png", budget, 2).isNull());
    EXPECT_EQ(budget.Left(), 2405);
    EXPECT_TRUE(SamePixels(LoadImageBitmap("a.png", budget, 2), Picture()));
    EXPECT_EQ(budget.Left(), 5);
    EXPECT_TRUE(LoadImageBitmap("a.png", budget).isNull());
    EXPECT_TRUE(LoadImageBitmap("a.png", budget).isNull());
    EXPECT_EQ(budget.Left(), 5);
    EXPECT_EQ(budget.Refused(), QStringList{"a.png"});
    EXPECT_FALSE(LoadImageBitmap("a.png").isNull());  // without a budget, as before
}

TEST(LoadImageBitmapTest, DecodesTheLargestImageOfAnIcoFile) {
    ScopedWorkDir dir;
    const QImage best = test::ArgbPicture(32, 32, true);
    const QByteArray ico = test::IcoFile({test::DibImage(test::PalettePicture(16, 16, 16), 8),
                                          test::DibImage(best, 32),
                                          test::DibImage(test::PalettePicture(32, 32, 16), 4)});
    WriteFileBytes("a.ico", ico);
    const QImage loaded = LoadImageBitmap("a.ico");
    ASSERT_EQ(loaded.format(), QImage::Format_ARGB32);
    // Qt applies the mask through premultiplied pixels: transparent ones turn black.
    const auto premultiplied = QImage::Format_ARGB32_Premultiplied;
    EXPECT_EQ(loaded.convertToFormat(premultiplied), best.convertToFormat(premultiplied));
    // A PNG image; a side of 256 is 0 in the directory.
    const QImage png = test::ArgbPicture(256, 256, true);
    WriteFileBytes("b.ico", test::IcoFile({test::DibImage(best, 32), test::PngImage(png)}));
    EXPECT_EQ(LoadImageBitmap("b.ico"), png);
    // Cut in the header, the directory, an image or the last byte.
    for (qsizetype cut : {qsizetype(5), qsizetype(30), ico.size() / 2, ico.size() - 1}) {
        WriteFileBytes("cut.ico", ico.left(cut));
        EXPECT_TRUE(LoadImageBitmap("cut.ico").isNull()) << cut;
    }
}

TEST(SaveBitmapToFileTest, ChoosesTheEncoderByExtensionWithoutRegardToCase) {
    ScopedWorkDir dir;
    const QImage picture = Picture();
    ASSERT_TRUE(SaveBitmapToFile("A.GIF", picture));
    EXPECT_TRUE(ReadFileBytes("A.GIF").startsWith("GIF8"));
    EXPECT_TRUE(SamePixels(LoadImageBitmap("A.GIF"), picture));
    for (const char* name : {"b.png", "c.Bmp", "d.PNG"}) {
        ASSERT_TRUE(SaveBitmapToFile(name, picture)) << name;
        EXPECT_TRUE(SamePixels(LoadImageBitmap(name), picture)) << name;
    }
    ASSERT_TRUE(SaveBitmapToFile("e.png", picture));
    EXPECT_TRUE(ReadFileBytes("e.png").startsWith("\x89PNG"));
    EXPECT_TRUE(ReadFileBytes("c.Bmp").startsWith("BM"));
    for (const char* name : {"f.jpg", "g.JPEG", "archive.v2.jpeg"}) {
        ASSERT_TRUE(SaveBitmapToFile(name, picture)) << name;
        EXPECT_TRUE(ReadFileBytes(name).startsWith("\xff\xd8\xff")) << name;
        EXPECT_EQ(LoadImageBitmap(name).size(), picture.size()) << name;
    }
}

TEST(SaveBitmapToFileTest, UnknownExtensionsAndNullImagesWriteNothing) {
    ScopedWorkDir dir;
    QDir().mkdir("sub.png");
    for (const char* name : {"a.tif", "noextension", "sub.png/noextension", "a.gif.txt", "a."}) {
        EXPECT_FALSE(SaveBitmapToFile(name, Picture())) << name;
        EXPECT_FALSE(QFileInfo::exists(name)) << name;
    }
    EXPECT_FALSE(SaveBitmapToFile("null.png", QImage()));
    EXPECT_FALSE(SaveBitmapToFile("null.gif", QImage()));
    EXPECT_EQ(Entries(dir), QStringList{"sub.png"});
    EXPECT_TRUE(QDir("sub.png").isEmpty());
}

TEST(SaveBitmapToFileTest, ReplacesAnExistingFileOrKeepsItOnFailure) {
    ScopedWorkDir dir;
    for (const char* name : {"old.gif", "old.png", "old.jpg"}) {
        WriteFileBytes(name, "old bytes");
        ASSERT_TRUE(SaveBitmapToFile(name, Picture())) << name;
        EXPECT_EQ(LoadImageBitmap(name).size(), QSize(40, 30)) << name;
    }
    // Too wide for a GIF (16-bit sides) and for the JPEG encoder (65500).
    const QImage tooWide(65536, 1, QImage::Format_RGB32);
    for (const char* name : {"keep.gif", "keep.jpg"}) {
        WriteFileBytes(name, "old bytes");
        EXPECT_FALSE(SaveBitmapToFile(name, tooWide)) << name;
        EXPECT_EQ(ReadFileBytes(name), "old bytes") << name;
    }
    // No temporary file is left behind either way.
    QStringList expected{"keep.gif", "keep.jpg", "old.gif", "old.jpg", "old.png"};
    EXPECT_EQ(Entries(dir), expected);
}

TEST(SaveBitmapToFileTest, GifOfManyColoursKeepsLargeAreasExact) {
    // More than 256 colours: median cut, then each palette entry is the mean of its
    // pixels. The cut alone turns white into 248, 248, 248 and the magenta key into
    // 248, 0, 248.
    ScopedWorkDir dir;
    QImage photo(256, 192, QImage::Format_ARGB32);
    for (int y = 0; y < 192; ++y) {
        for (int x = 0; x < 256; ++x) {
            QRgb colour = qRgba(x, (y * 4 / 3) & 0xFF, (x * y) >> 8, 0);  // alpha is ignored
            if (y < 40 && x < 100) {
                colour = qRgb(255, 255, 255);
            } else if (y >= 150 && x >= 200) {
                colour = qRgb(255, 0, 255);
            }
            photo.setPixel(x, y, colour);
        }
    }
    ASSERT_TRUE(SaveBitmapToFile("photo.gif", photo));
    const QImage loaded = LoadImageBitmap("photo.gif");
    ASSERT_EQ(loaded.size(), photo.size());
    EXPECT_EQ(loaded.pixel(5, 5), qRgb(255, 255, 255));
    EXPECT_EQ(loaded.pixel(250, 180), qRgb(255, 0, 255));
    int64_t error = 0;
    for (int y = 0; y < 192; ++y) {
        for (int x = 0; x < 256; ++x) {
            const QRgb a = photo.pixel(x, y), b = loaded.pixel(x, y);
            error += std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                     std::abs(qBlue(a) - qBlue(b));
        }
    }
    EXPECT_LT(error / (256 * 192 * 3), 8);
}

}  // namespace
}  // namespace vodirev
