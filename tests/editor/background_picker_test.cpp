// The background picker's rows and its selection rule, without widgets.

#include "editor/background_picker.h"

#include "common/cp949.h"
#include "common/temp_dir.h"

#include <gtest/gtest.h>

namespace vodirev {
namespace {

TEST(BackgroundPickerTest, RowsOfBothListsCommonFirstWithTheirPictures) {
    test::ScopedWorkDir work;
    EXPECT_TRUE(LoadBackgroundRows().empty());
    test::WriteFileBytes("LIST_BACKGROUND_USER.db",
                         test::Cp949("1,사용자,images\\\\background\\\\a.jpg,"
                                     "images\\\\background\\\\a.jpg\r\n"
                                     "1,사용자,images\\\\background\\\\only3\r\n")
                             .c_str());
    ASSERT_EQ(LoadBackgroundRows().size(), 2u) << "the user list alone";
    test::WriteFileBytes("LIST_BACKGROUND.db",
                         "0,c,images\\background\\t.jpg,images\\background\\sea.png\r\n"
                         "0,c,x,..\\outside.jpg\r\n");
    const std::vector<CInfoBackground> rows = LoadBackgroundRows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].m_strName, "sea");
    EXPECT_EQ(rows[2].m_strName, "a");
    EXPECT_EQ(rows[3].m_strImage, "");
    EXPECT_EQ(rows[3].m_strName, "");
    EXPECT_EQ(BackgroundPicturePath(rows[0]), QStringLiteral("images/background/sea.png"));
    EXPECT_EQ(BackgroundPicturePath(rows[2]), QStringLiteral("images/background/a.jpg"));
    // Never opened: outside the working folder, or nothing named.
    EXPECT_EQ(BackgroundPicturePath(rows[1]), QString());
    EXPECT_EQ(BackgroundPicturePath(rows[3]), QString());
    EXPECT_EQ(BackgroundPicturePath(CInfoBackground{"", "", "C:\\b.jpg"}), QString());
}

TEST(BackgroundPickerTest, EveryChangeNamesItsRowAndARowItsImage) {
    std::vector<CInfoBackground> rows(3);
    rows[1].m_strImage = "images\\background\\b.jpg";
    BackgroundChoice choice;
    EXPECT_EQ(choice.m_nSelRow, -1);
    OnBackgroundItemChanged(choice, rows, 1);
    EXPECT_EQ(choice.m_nSelRow, 1);
    EXPECT_EQ(choice.m_strSelImage, rows[1].m_strImage);
    // No row named: the row is -1, the image of the last row stays.
    OnBackgroundItemChanged(choice, rows, -1);
    EXPECT_EQ(choice.m_nSelRow, -1);
    EXPECT_EQ(choice.m_strSelImage, rows[1].m_strImage);
    // A row without an image empties the result: the window then applies nothing.
    OnBackgroundItemChanged(choice, rows, 2);
    EXPECT_EQ(choice.m_nSelRow, 2);
    EXPECT_EQ(choice.m_strSelImage, "");
}

}  // namespace
}  // namespace vodirev
