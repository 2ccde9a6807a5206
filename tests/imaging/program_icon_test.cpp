#include "imaging/program_icon.h"

#include <gtest/gtest.h>

#include "common/temp_dir.h"
#include "imaging/icon_files.h"

namespace vodirev {
namespace {

using test::ArgbPicture;
using test::DibImage;
using test::IconGroup;
using test::PalettePicture;
using test::PngImage;
using test::ProgramFile;

const uint32_t kIcon = 3;
const uint32_t kGroup = 14;

QByteArray OneIconProgram(const QByteArray& image, bool pe32plus = false) {
    return ProgramFile({{kIcon, {}, 1, image}, {kGroup, {}, 1, IconGroup({1})}}, pe32plus);
}

TEST(ReadProgramIconTest, DecodesEveryDepthWithItsAlphaOrMask) {
    // Odd widths pad the rows; below 32 bits the transparent pixels come from the mask.
    const std::pair<int, QImage> cases[] = {{1, PalettePicture(9, 5, 2)},
                                            {4, PalettePicture(7, 5, 16)},
                                            {8, PalettePicture(7, 5, 11)},  // a short palette
                                            {24, ArgbPicture(5, 3, false)},
                                            {32, ArgbPicture(5, 3, true)}};
    for (const auto& [bits, picture] : cases) {
        const QImage icon = ReadProgramIcon(OneIconProgram(DibImage(picture, bits), bits == 32));
        ASSERT_EQ(icon.format(), QImage::Format_ARGB32) << bits;
        EXPECT_EQ(icon, picture.convertToFormat(QImage::Format_ARGB32)) << bits;
    }
}

TEST(ReadProgramIconTest, TakesTheFirstGroupAndItsLargestDeepestImage) {
    const QImage best = ArgbPicture(32, 32, true);
    QByteArray unsupported = DibImage(ArgbPicture(64, 64, true), 32);
    unsupported[14] = 16;  // 16 bits per pixel
    const QByteArray program = ProgramFile({
        {kIcon, {}, 1, DibImage(ArgbPicture(16, 16, true), 32)},
        {kIcon, {}, 2, DibImage(PalettePicture(32, 32, 16), 8)},
        {kIcon, {}, 3, DibImage(best, 32)},
        {kIcon, {}, 4, unsupported},
        {kIcon, {}, 5, DibImage(ArgbPicture(48, 48, true), 32)},
        {kGroup, {}, 1, IconGroup({5})},                  // numbered: stored after the named one
        {kGroup, "MAIN", 0, IconGroup({1, 2, 4, 3, 9})},  // there is no icon 9
    });
    EXPECT_EQ(ReadProgramIcon(program), best);

    const QImage png = ArgbPicture(48, 40, true);
    const QByteArray withPng = ProgramFile({{kIcon, {}, 7, DibImage(best, 32)},
                                            {kIcon, {}, 8, PngImage(png)},
                                            {kGroup, {}, 3, IconGroup({7, 8})}},
                                           true);
    EXPECT_EQ(ReadProgramIcon(withPng), png);
}

// The catalogue keeps 32 x 32: the group's 32 x 32 image (the deepest, a PNG one
// too), else the nearest larger scaled down, else the nearest smaller scaled up;
// black under every fully transparent pixel.
TEST(ReadProgramIconTest, CatalogueIconsAreThirtyTwoSquareAndBlackWhereTransparent) {
    const auto program = [](const std::vector<QByteArray>& images) {
        std::vector<test::Resource> resources;
        std::vector<uint16_t> ids;
        for (const QByteArray& image : images) {
            ids.push_back(uint16_t(ids.size() + 1));
            resources.push_back({kIcon, {}, ids.back(), image});
        }
        resources.push_back({kGroup, {}, 1, IconGroup(ids)});
        return ReadCatalogueIcon(ProgramFile(resources));
    };
    const auto blackWhereTransparent = [](const QImage& icon) {
        for (int y = 0; y < icon.height(); ++y) {
            for (int x = 0; x < icon.width(); ++x) {
                if (qAlpha(icon.pixel(x, y)) == 0 && icon.pixel(x, y) != 0) {
                    return false;
                }
            }
        }
        return true;
    };

    const QImage deep = ArgbPicture(32, 32, true);
    const QImage fromDepths = program({DibImage(PalettePicture(32, 32, 16), 4), DibImage(deep, 32),
                                       DibImage(ArgbPicture(256, 256, true), 32),
                                       DibImage(PalettePicture(32, 32, 200), 8)});
    EXPECT_EQ(fromDepths.size(), QSize(32, 32));
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const QRgb want = deep.pixel(x, y);
            ASSERT_EQ(fromDepths.pixel(x, y), qAlpha(want) == 0 ? 0u : want) << x << "," << y;
        }
    }
    EXPECT_EQ(program({PngImage(deep), DibImage(ArgbPicture(48, 48, true), 32)}).pixel(5, 5),
              fromDepths.pixel(5, 5));

    for (const auto& sizes : {std::vector<int>{16, 48, 256}, std::vector<int>{16}}) {
        std::vector<QByteArray> images;
        for (int side : sizes) {
            images.push_back(DibImage(ArgbPicture(side, side, true), 32));
        }
        const QImage icon = program(images);
        EXPECT_EQ(icon.size(), QSize(32, 32)) << sizes.size();
        EXPECT_EQ(icon.format(), QImage::Format_ARGB32);
        EXPECT_TRUE(blackWhereTransparent(icon));
    }
}

TEST(ReadProgramIconTest, GivesNothingWithoutIconsOrForOtherFiles) {
    const QByteArray image = DibImage(ArgbPicture(16, 16, true), 32);
    EXPECT_TRUE(ReadProgramIcon(ProgramFile({{16, {}, 1, "version"}})).isNull());
    EXPECT_TRUE(ReadProgramIcon(ProgramFile({{kIcon, {}, 1, image}})).isNull());  // no group
    EXPECT_TRUE(ReadProgramIcon(test::IcoFile({image})).isNull());
    EXPECT_TRUE(ReadProgramIcon(QByteArray("MZ but not a program")).isNull());
    EXPECT_TRUE(ReadProgramIcon(QByteArray()).isNull());

    test::ScopedWorkDir dir;
    test::WriteFileBytes("app.exe", OneIconProgram(image));
    EXPECT_EQ(ReadProgramIconFile("app.exe").size(), QSize(16, 16));
    EXPECT_TRUE(ReadProgramIconFile("missing.exe").isNull());
}

TEST(ReadProgramIconTest, CutOrDamagedProgramsNeverGiveABrokenImage) {
    const QByteArray whole = ProgramFile({{kIcon, {}, 1, DibImage(PalettePicture(7, 5, 16), 4)},
                                          {kIcon, {}, 2, PngImage(ArgbPicture(20, 20, true))},
                                          {kGroup, "A", 0, IconGroup({1, 2})}});
    ASSERT_EQ(ReadProgramIcon(whole).size(), QSize(20, 20));
    // The resource section ends the file, so every shorter prefix is cut off.
    for (qsizetype n = 0; n < whole.size(); ++n) {
        EXPECT_TRUE(ReadProgramIcon(whole.left(n)).isNull()) << n;
    }
    for (qsizetype i = 0; i < whole.size(); ++i) {
        for (char value : {'\0', '\x7f', '\xff'}) {
            QByteArray damaged = whole;
            damaged[i] = value;
            const QImage icon = ReadProgramIcon(damaged);
            if (!icon.isNull()) {
                EXPECT_EQ(icon.format(), QImage::Format_ARGB32) << i;
                EXPECT_TRUE(icon.width() <= 256 && icon.height() <= 256) << i;
            }
        }
    }
}

}  // namespace
}  // namespace vodirev
