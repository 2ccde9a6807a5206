// The folder editor's plain half and its apply: lists read from the working folder,
// moves, deletes, registrations, and what the desktop takes on apply.

#include "editor/apply_messages.h"
#include "editor/folder_update_model.h"

#include "common/temp_dir.h"
#include "editor_test_util.h"
#include "imaging/image_io.h"

#include <gtest/gtest.h>

#include <QDir>

namespace vodirev {
namespace {

using test::WriteFileBytes;

CInfoIcon Program(const char* name, int folder, const char* image = "images\\icons\\a.png") {
    CInfoIcon icon;
    icon.m_strName = name;
    icon.m_nFolder = folder;
    icon.m_strImage = image;
    icon.m_strProgram = std::string(name) + ".exe";
    return icon;
}

std::vector<std::string> Names(const std::vector<CInfoIcon>& icons) {
    std::vector<std::string> names;
    for (const CInfoIcon& icon : icons) {
        names.push_back(icon.m_strName + ":" + std::to_string(icon.m_nFolder));
    }
    return names;
}

class FolderUpdate : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath("images/icons");
        QDir().mkpath("images/bkicons/sub");
        ASSERT_TRUE(SaveBitmapToFile("images/icons/a.png", test::Solid(32, 32, 0xFF0000FF)));
        ASSERT_TRUE(
            SaveBitmapToFile("images/bkicons/sub/folder01.gif", test::Solid(64, 64, 0xFFFF00FF)));
        ASSERT_TRUE(SaveBitmapToFile("images/bkicons/f.gif", test::Solid(64, 64, 0xFF00FF00)));
        ASSERT_TRUE(test::Solid(8, 8, 0xFF00FF00).save("images/bkicons/xx", "PNG"));
        session.m_arrMenu = {Program("one", 0),
                             Program("two", 3),
                             Program("three", 0),
                             Program("other", 5),
                             Program("broken", 0, "images\\icons\\no.png"),
                             Program("four", 3)};
        CInfoFolder folder;
        folder.m_nType = kTypeFolder;
        folder.m_nFlag = 3;
        folder.m_strTitle = "games";
        folder.m_bShow = 1;
        folder.m_szImage = "images\\bkicons\\f.gif";
        session.m_desktop.m_arrFolder.push_back(folder);
        session.m_nDesktop = 7;
        FillFolderUpdate(model, session, session.m_desktop.m_arrFolder[0]);
    }

    test::ScopedWorkDir work;
    DesktopSession session;
    FolderUpdateModel model;
    IconPictures pictures;
};

TEST_F(FolderUpdate, OpensWithTheFolderImagesAndTheIconsThatShow) {
    // "ab.png" is six bytes (a row), "b.png" five (no row); the user list follows.
    ASSERT_TRUE(SaveBitmapToFile("ab.png", test::Solid(64, 64, 0xFF00FF00)));
    ASSERT_TRUE(SaveBitmapToFile("b.png", test::Solid(64, 64, 0xFF00FF00)));
    WriteFileBytes("LIST_FOLDER.db",
                   "b.png\nab.png\nimages\\bkicons\\sub\\folder01.gif\n"
                   "images\\bkicons\\gone.gif\n");
    WriteFileBytes("LIST_FOLDER_USER.db", "images/bkicons/xx\r\nimages\\bkicons\\f.gif");
    LoadFolderContents(model, pictures);
    std::vector<std::string> paths;
    for (const CInfoImage& image : model.m_arrFolderImage) {
        paths.push_back(image.m_strPath);
    }
    EXPECT_EQ(paths, (std::vector<std::string>{"ab.png", "images\\bkicons\\sub\\folder01.gif",
                                               "images/bkicons/xx", "images\\bkicons\\f.gif"}));
    EXPECT_EQ(model.m_folderImageCaptions, (std::vector<std::string>{"ab", "folder01", "", "f"}));
    ASSERT_EQ(model.m_imgImage.size(), 4u);
    EXPECT_EQ(model.m_imgImage[2].size(), QSize(64, 64));
    // The icon whose picture is missing leaves the dialog; the others keep their order.
    EXPECT_EQ(Names(model.m_arrCatalog), (std::vector<std::string>{"one:0", "three:0"}));
    EXPECT_EQ(Names(model.m_arrContent), (std::vector<std::string>{"two:3", "four:3"}));
    EXPECT_EQ(model.m_imgCatalog.size(), 2u);
    EXPECT_EQ(model.m_imgCatalog[0].size(), QSize(16, 16));
    // Each distinct file is decoded once: a.png serves four icons.
    const int decodes = pictures.DecodeCount();
    FolderUpdateModel again = model;
    LoadFolderContents(again, pictures);
    EXPECT_EQ(pictures.DecodeCount(), decodes);
    EXPECT_EQ(model.m_strFolderImage, "images\\bkicons\\f.gif");
    EXPECT_EQ(model.m_nFolderNo, 3);
    EXPECT_EQ(model.m_bShowName, 1);

    // A caption is cut at a whole character, never inside a Hangul syllable.
    const std::string longName = "images\\" + std::string(62, 'a') + test::Cp949("가") + ".gif";
    EXPECT_EQ(FolderImageCaption(longName), std::string(62, 'a'));
}

TEST_F(FolderUpdate, MovesDeletesAndRegistrationsKeepRowsInStep) {
    LoadFolderContents(model, pictures);
    MoveIcons(model, FolderList::Catalog, {1, 0, 7}, pictures);  // a stale row is ignored
    EXPECT_EQ(Names(model.m_arrCatalog), std::vector<std::string>{});
    EXPECT_EQ(Names(model.m_arrContent),
              (std::vector<std::string>{"two:3", "four:3", "one:3", "three:3"}));
    MoveIcons(model, FolderList::Content, {0}, pictures);
    EXPECT_EQ(Names(model.m_arrCatalog), (std::vector<std::string>{"two:0"}));
    EXPECT_EQ(model.m_imgContent.size(), model.m_arrContent.size());
    EXPECT_EQ(model.m_imgCatalog.size(), model.m_arrCatalog.size());

    EXPECT_FALSE(AddRegisteredIcon(model, Program("x", 9), pictures));  // name of one byte
    EXPECT_FALSE(AddRegisteredIcon(model, Program("xy", 0, "ab"), pictures));
    EXPECT_TRUE(AddRegisteredIcon(model, Program("new", 9), pictures));
    EXPECT_EQ(Names(model.m_arrCatalog), (std::vector<std::string>{"two:0", "new:0"}));

    EXPECT_FALSE(SingleSelectedIcon({0}, {0}));
    EXPECT_FALSE(SingleSelectedIcon({}, {}));
    EXPECT_EQ(SingleSelectedIcon({}, {2}), std::make_pair(FolderList::Content, 2));

    DeleteIcons(model, {0, 1}, {0, 1, 2});
    EXPECT_TRUE(model.m_arrCatalog.empty());
    EXPECT_TRUE(model.m_arrContent.empty());
    // Nothing reached the desktop: the dialog works on copies.
    EXPECT_EQ(session.m_arrMenu.size(), 6u);
}

TEST_F(FolderUpdate, ApplyReplacesTheFolderAndCatalogueIconsOnly) {
    WriteFileBytes("LIST_FOLDER.db", "images\\bkicons\\sub\\folder01.gif\n");
    LoadFolderContents(model, pictures);
    MoveIcons(model, FolderList::Content, {0}, pictures);  // "two" back to the catalogue
    model.m_nSelImage = 0;
    model.m_strFolderName = "A&B<C>";
    model.m_bShowName = 0;
    TakeChosenFolderImage(model);
    EXPECT_EQ(model.m_strFolderName, "A&B<C>");  // the dialog keeps what was typed
    EXPECT_TRUE(ApplyFolderUpdate(session, 0, model).repaint);

    EXPECT_EQ(Names(session.m_arrMenu),
              (std::vector<std::string>{"other:5", "one:0", "three:0", "two:0", "four:3"}));
    const CInfoFolder& folder = session.m_desktop.m_arrFolder[0];
    EXPECT_EQ(folder.m_strTitle, "A B C ");
    EXPECT_EQ(folder.m_bShow, 0);
    EXPECT_EQ(folder.m_szImage.str(), "images\\bkicons\\sub\\folder01.gif");
    EXPECT_EQ(folder.m_pBitmap.pixel(0, 0), 0xFFFF00FF);

    // Without a folder image chosen the folder keeps its own.
    FolderUpdateModel untouched;
    FillFolderUpdate(untouched, session, folder);
    TakeChosenFolderImage(untouched);
    EXPECT_EQ(untouched.m_strFolderImage, "images\\bkicons\\sub\\folder01.gif");
    EXPECT_FALSE(ApplyFolderUpdate(session, 4, untouched).repaint);
}

}  // namespace
}  // namespace vodirev
