#include "base/paths.h"

#include <gtest/gtest.h>

using namespace vodirev;

TEST(LocalPath, MapsEveryRunOfBackslashesToOneSlash) {
    EXPECT_EQ(localPath("images\\bkicons\\64X64_16.gif"),
              QStringLiteral("images/bkicons/64X64_16.gif"));
    EXPECT_EQ(localPath("images\\\\background\\\\a.jpg"),
              QStringLiteral("images/background/a.jpg"));
    EXPECT_EQ(localPath("images\\user\\3_\xBB\xE7\xC1\xF8.jpg"),
              QStringLiteral("images/user/3_사진.jpg"));
    EXPECT_EQ(localPath("LIST_MENU.db"), QStringLiteral("LIST_MENU.db"));
}

TEST(SafeRelativePath, RefusesPathsThatLeaveTheWorkingFolder) {
    EXPECT_TRUE(isSafeRelativePath("images\\icons\\a.png"));
    EXPECT_TRUE(isSafeRelativePath("images\\\\user\\\\3_a.jpg"));
    EXPECT_TRUE(isSafeRelativePath("a..b.png"));
    EXPECT_FALSE(isSafeRelativePath(""));
    EXPECT_FALSE(isSafeRelativePath("/etc/passwd"));
    EXPECT_FALSE(isSafeRelativePath("\\windows\\a.png"));
    EXPECT_FALSE(isSafeRelativePath("C:\\a.png"));
    EXPECT_FALSE(isSafeRelativePath("images\\..\\..\\a.png"));
    EXPECT_FALSE(isSafeRelativePath("../a.png"));
    EXPECT_FALSE(isSafeRelativePath(".."));
    EXPECT_FALSE(isSafeRelativePath("a\nb.png"));
}
