#include "document/list_files.h"

#include "base/text_file.h"
#include "document/desktop_session.h"
#include "document/image_cache.h"
#include "document_test_util.h"

#include <gtest/gtest.h>

using namespace vodirev;
using namespace vodirev::test;

namespace {

CInfoIcon MakeEntry(int folder, const char* image, const char* name, const char* dir,
                    const char* program, const char* url) {
    return CInfoIcon{folder, image, name, dir, program, url};
}

void ExpectEntry(const CInfoIcon& icon, int folder, const char* image, const char* name,
                 const char* dir, const char* program, const char* url) {
    EXPECT_EQ(icon.m_nFolder, folder);
    EXPECT_EQ(icon.m_strImage, image);
    EXPECT_EQ(icon.m_strName, name);
    EXPECT_EQ(icon.m_strDir, dir);
    EXPECT_EQ(icon.m_strProgram, program);
    EXPECT_EQ(icon.m_strUrl, url);
}

QByteArray Stored(const std::string& text) {
    WriteTextFile(QStringLiteral("line.db"), text);
    return ReadFileBytes(QStringLiteral("line.db"));
}

}  // namespace

TEST(ListLines, EveryFormatByteForByte) {
    ScopedWorkDir dir;
    EXPECT_EQ(Stored(BackgroundLine("images\\\\background\\\\a.jpg")),
              QByteArray("1,\xBB\xE7\xBF\xEB\xC0\xDA,images\\\\background\\\\a.jpg,"
                         "images\\\\background\\\\a.jpg\r\n"));
    EXPECT_EQ(Stored(PathLine("images\\\\user\\\\3_%s.png")),
              QByteArray("images\\\\user\\\\3_%s.png\r\n"));
    const CInfoIcon entry = MakeEntry(12, "images\\icons\\a.png", kNewFolder, "C:\\Tools", "a.exe",
                                      "http://h/?a=1&b=%d");
    EXPECT_EQ(Stored(MenuLine(entry)),
              QByteArray("12;images\\icons\\a.png;\xBB\xF5\xC6\xFA\xB4\xF5;C:\\Tools;a.exe;"
                         "http://h/?a=1&b=%d\r\n"));
    EXPECT_EQ(
        Stored(SysMenuLine(entry)),
        QByteArray("12;images\\icons\\a.png;\xBB\xF5\xC6\xFA\xB4\xF5;SYSTEM;a.exe;SYSTEM\r\n"));
    EXPECT_EQ(Stored(MenuLine(MakeEntry(-3, "", "", "", "", ""))), QByteArray("-3;;;;;\r\n"));
    EXPECT_EQ(Stored(LauncherLine(0, 100, 1)), QByteArray("0,100,1"));
    EXPECT_EQ(LauncherLine(-5, 2147483647, -2147483647 - 1), "-5,2147483647,-2147483648");

    EXPECT_EQ(MenuListName(5), QStringLiteral("LIST_MENU_005.db"));
    EXPECT_EQ(SysMenuListName(1234), QStringLiteral("LIST_SYSMENU_1234.db"));
    EXPECT_EQ(ImageListName(0), QStringLiteral("LIST_IMAGE_000.db"));
    EXPECT_EQ(LauncherFileName(7), QStringLiteral("LAUNCHER_007.TXT"));
}

TEST(ListLines, MenuLineFields) {
    // Folder 12 with every field, read without the line end and written back alike.
    const CInfoIcon icon =
        ParseMenuLine("12;images\\icons\\a.png;name;C:\\Tools;a.exe;http://h/x\r\n");
    ExpectEntry(icon, 12, "images\\icons\\a.png", "name", "C:\\Tools", "a.exe", "http://h/x");
    EXPECT_EQ(MenuLine(icon), "12;images\\icons\\a.png;name;C:\\Tools;a.exe;http://h/x\n");

    ExpectEntry(ParseMenuLine("7;img;name"), 7, "img", "name", "", "", "");
    ExpectEntry(ParseMenuLine("x;;;dir;;"), 0, "", "", "dir", "", "");
    ExpectEntry(ParseMenuLine(""), 0, "", "", "", "", "");
    ExpectEntry(ParseMenuLine("  12abc;a"), 12, "a", "", "", "", "");
    // The web address keeps its own semicolons.
    const std::string withSemicolon = "1;i;n;d;p;http://h/a;jsessionid=1;x";
    EXPECT_EQ(ParseMenuLine(withSemicolon).m_strUrl, "http://h/a;jsessionid=1;x");
    EXPECT_EQ(MenuLine(ParseMenuLine(withSemicolon)), withSemicolon + "\n");
}

TEST(MenuLists, LoadMenuListKeepsEntriesWhoseIconShowsAt16) {
    ScopedWorkDir dir;
    WritePicture(QStringLiteral("images/icons/ok.png"), 32, 32);
    WritePicture(QStringLiteral("images/icons/small.png"), 10, 10);  // enlarged: fine
    WritePicture(QStringLiteral("images/icons/wide.png"), 20, 10);   // shrink + grow: refused
    WriteFileBytes(QStringLiteral("images/icons/text.png"), "no picture");
    const std::string longLine = "3;images\\icons\\ok.png;" + std::string(kMaxLineBytes, 'n');
    WriteFileBytes(QStringLiteral("LIST_MENU_005.db"),
                   Bytes("1;images\\icons\\ok.png;one;d;p.exe;u\r\n"
                         "\r\n"
                         "x\n"
                         "2;images\\icons\\wide.png;wide;;;\r\n"
                         "2;images\\icons\\gone.png;gone;;;\r\n"
                         "2;images\\icons\\text.png;text;;;\r\n"
                         "2;..\\ok.png;unsafe;;;\r\n" +
                         longLine +
                         "\r\n"
                         "4;images\\\\icons\\\\small.png;small;;;last"));
    DesktopSession session;
    session.m_nDesktop = 5;
    ImageCache cache;
    EXPECT_EQ(LoadMenuList(session, &cache), 0);
    ASSERT_EQ(session.m_arrMenu.size(), 2u);
    ExpectEntry(session.m_arrMenu[0], 1, "images\\icons\\ok.png", "one", "d", "p.exe", "u");
    ExpectEntry(session.m_arrMenu[1], 4, "images\\\\icons\\\\small.png", "small", "", "", "last");
}

TEST(MenuLists, NumberedFilesFallBackToTheCommonOnes) {
    ScopedWorkDir dir;
    WritePicture(QStringLiteral("images/icons/a.png"), 16, 16);
    DesktopSession session;
    session.m_nDesktop = 5;
    EXPECT_EQ(LoadMenuList(session), -1);
    EXPECT_EQ(LoadSysMenuList(session), -1);
    EXPECT_TRUE(session.m_arrMenu.empty());

    WriteFileBytes(QStringLiteral("LIST_MENU.db"), "9;images\\icons\\a.png;common;d;p;u\r\n");
    WriteFileBytes(QStringLiteral("LIST_SYSMENU.db"),
                   "0;images\\icons\\a.png;sys;SYSTEM;s;SYSTEM\r\n");
    EXPECT_EQ(LoadMenuList(session), 0);
    EXPECT_EQ(LoadSysMenuList(session), 0);
    ASSERT_EQ(session.m_arrMenu.size(), 1u);
    EXPECT_EQ(session.m_arrMenu[0].m_strName, "common");
    // The next save writes the common entries into the desktop's own list.
    std::string saved;
    for (const CInfoIcon& icon : session.m_arrMenu) {
        saved += MenuLine(icon);
    }
    ASSERT_TRUE(WriteTextFile(MenuListName(5), saved));
    EXPECT_EQ(ReadFileBytes(QStringLiteral("LIST_MENU_005.db")),
              QByteArray("9;images\\icons\\a.png;common;d;p;u\r\n"));

    // The numbered system list wins once it exists; the array is replaced, and a
    // working folder saved as C:\Tools comes back as SYSTEM. Icons are not examined.
    CInfoIcon tool = MakeEntry(3, "images\\icons\\gone.png", "tool", "C:\\Tools", "t.exe", "u");
    ASSERT_TRUE(WriteTextFile(SysMenuListName(5), SysMenuLine(tool) + "\n" + "x"));
    EXPECT_EQ(LoadSysMenuList(session), 0);
    ASSERT_EQ(session.m_arrSysMenu.size(), 1u);
    ExpectEntry(session.m_arrSysMenu[0], 3, "images\\icons\\gone.png", "tool", "SYSTEM", "t.exe",
                "SYSTEM");

    // Desktop 0 reads the common files only.
    DesktopSession zero;
    WriteFileBytes(QStringLiteral("LIST_MENU_000.db"), "1;images\\icons\\a.png;own;;;\r\n");
    EXPECT_EQ(LoadMenuList(zero), 0);
    ASSERT_EQ(zero.m_arrMenu.size(), 1u);
    EXPECT_EQ(zero.m_arrMenu[0].m_strName, "common");
}

TEST(Launcher, ReadsTheFirstLine) {
    EXPECT_EQ(ParseLauncherLine("0,100,1", {}).type, 1);
    const auto parse = [](std::string_view line) {
        const LauncherValues v = ParseLauncherLine(line, {7, 8, 9});
        return std::vector<int>{v.x, v.y, v.type};
    };
    EXPECT_EQ(parse("10,20,1"), (std::vector<int>{10, 20, 1}));
    EXPECT_EQ(parse(""), (std::vector<int>{7, 8, 0}));
    EXPECT_EQ(parse("5"), (std::vector<int>{7, 8, 5}));
    EXPECT_EQ(parse("1,2"), (std::vector<int>{1, 8, 2}));
    EXPECT_EQ(parse("1,2,3,4"), (std::vector<int>{1, 2, 4}));
    EXPECT_EQ(parse(" -3x,+4,1\r"), (std::vector<int>{-3, 4, 1}));
    // A field keeps its first 19 characters.
    EXPECT_EQ(parse(std::string(18, '0') + "12,2,3"), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(parse("99999999999999999999999,2,3"), (std::vector<int>{INT_MAX, 2, 3}));

    ScopedWorkDir dir;
    DesktopSession session;
    session.m_nDesktop = 3;
    EXPECT_FALSE(ReadLauncherFile(session));
    EXPECT_EQ(session.m_nLauncherX, 0);
    EXPECT_EQ(session.m_nLauncherY, 100);
    EXPECT_EQ(session.m_nLauncherType, 0);

    for (const char* bytes : {"30,200,1", "30,200,1\r\n", "30,200,1\r\nlater,lines,9\r\n"}) {
        SCOPED_TRACE(bytes);
        WriteFileBytes(QStringLiteral("LAUNCHER_003.TXT"), bytes);
        DesktopSession read;
        read.m_nDesktop = 3;
        EXPECT_TRUE(ReadLauncherFile(read));
        EXPECT_EQ(read.m_nLauncherX, 30);
        EXPECT_EQ(read.m_nLauncherY, 200);
        EXPECT_EQ(read.m_nLauncherType, 1);
    }
    WriteFileBytes(QStringLiteral("LAUNCHER_003.TXT"), "");
    session.m_nLauncherType = 1;
    EXPECT_TRUE(ReadLauncherFile(session));
    EXPECT_EQ(session.m_nLauncherX, 0);
    EXPECT_EQ(session.m_nLauncherY, 100);
    EXPECT_EQ(session.m_nLauncherType, 0);
}

TEST(Catalogues, BackgroundAndFolderImageLists) {
    ScopedWorkDir dir;
    WriteFileBytes(QStringLiteral("LIST_BACKGROUND_USER.db"),
                   "1,\xBB\xE7\xBF\xEB\xC0\xDA,images\\\\background\\\\t.jpg,"
                   "images\\\\background\\\\a.jpg\r\n"
                   "\r\n"
                   "2,cat,thumb.png\r\n"
                   "3,cat,t,images\\bg\\abc.jpeg,extra");
    const auto list = LoadBackgroundList(QStringLiteral("LIST_BACKGROUND_USER.db"));
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].m_strThumb, "images\\\\background\\\\t.jpg");
    EXPECT_EQ(list[0].m_strImage, "images\\\\background\\\\a.jpg");
    EXPECT_EQ(list[0].m_strName, "a");
    EXPECT_EQ(list[1].m_strThumb, "thumb.png");
    EXPECT_EQ(list[1].m_strImage, "");
    EXPECT_EQ(list[1].m_strName, "");
    EXPECT_EQ(list[2].m_strImage, "images\\bg\\abc.jpeg");
    EXPECT_EQ(list[2].m_strName, "abc.");
    EXPECT_TRUE(LoadBackgroundList(QStringLiteral("LIST_BACKGROUND.db")).empty());

    // Lines of five bytes or fewer are no paths; the last line keeps its last byte.
    WriteFileBytes(QStringLiteral("LIST_FOLDER.db"), "a.gif\r\nimages\\bkicons\\f.gif\r\nab.gif");
    const auto images = LoadImageList(QStringLiteral("LIST_FOLDER.db"));
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[0].m_strPath, "images\\bkicons\\f.gif");
    EXPECT_EQ(images[1].m_strPath, "ab.gif");
}
