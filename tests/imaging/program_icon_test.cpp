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
