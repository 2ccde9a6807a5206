// The shortcut, base folder and control panel dialogs' plain halves and what the
// desktop takes when they apply.

#include "document/layout_writer.h"
#include "editor/apply_messages.h"
#include "editor/base_folder_model.h"
#include "editor/direct_folder_model.h"

#include "common/client_drives_fixture.h"
#include "common/fake_command_ui.h"
#include "common/temp_dir.h"
#include "editor_test_util.h"
#include "imaging/image_io.h"

#include <gtest/gtest.h>

#include <QDir>

namespace vodirev {
namespace {

using test::WriteFileBytes;

CInfoIcon Entry(const char* name, int folder, const char* image = "images\\icons\\s.png") {
    CInfoIcon entry;
    entry.m_strName = name;
    entry.m_nFolder = folder;
    entry.m_strImage = image;
    entry.m_strDir = "SYSTEM";
    entry.m_strUrl = "SYSTEM";
    return entry;
}

std::vector<std::string> Names(const std::vector<CInfoIcon>& entries) {
    std::vector<std::string> names;
    for (const CInfoIcon& entry : entries) {
        names.push_back(entry.m_strName + ":" + std::to_string(entry.m_nFolder));
    }
    return names;
}

class SpecialFolders : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath("images/icons");
        QDir().mkpath("images/bkicons");
        ASSERT_TRUE(SaveBitmapToFile("images/icons/s.png", test::Solid(32, 32, 0xFF0000FF)));
        ASSERT_TRUE(SaveBitmapToFile("images/bkicons/old.gif", test::Solid(48, 48, 0xFF00FF00)));
        ASSERT_TRUE(SaveBitmapToFile("images/bkicons/new.gif", test::Solid(64, 64, 0xFFFF0000)));
        WriteFileBytes("LIST_FOLDER.db", "images\\bkicons\\new.gif\n");
        for (int type : {kTypeShortcut, kTypeMyComputer, kTypeControlPanel}) {
            CInfoFolder& icon =
                test::AddIcon(session, type, 10, 10, test::Solid(48, 48, 0xFF00FF00), "old");
            icon.m_szImage = "images\\bkicons\\old.gif";
            icon.m_strLink = "http://old";
        }
        session.m_arrSysMenu = {Entry("printer", 0), Entry("mouse", 1), Entry("hidden", 2),
                                Entry("broken", 0, "images\\icons\\no.png"), Entry("sound", 1)};
    }

    const CInfoFolder& Icon(int index) const { return session.m_desktop.m_arrFolder[index]; }

    test::ScopedWorkDir work;
    DesktopSession session;
    IconPictures pictures;
};

TEST_F(SpecialFolders, ShortcutTakesNameLinkAndTheImageChosen) {
    DirectFolderModel model;
    FillDirectFolder(model, session, Icon(0));
    LoadShortcutImages(model, pictures);
    EXPECT_EQ(model.m_folderImageCaptions, std::vector<std::string>{"new"});
    EXPECT_EQ(model.m_strLink, "http://old");

    // A cancelled search keeps the link; a confirmed one puts the path the client PCs
    // use in. Outside every client drive the folder is asked for before any apply.
    test::ClientDrivesFixture drives;
    test::FakeCommandUi ui;
    EXPECT_FALSE(ChooseShortcutProgram(model, ui));
    EXPECT_EQ(model.m_strLink, "http://old");
    ui.files = {drives.Program("elsewhere/abc.exe"),
                drives.Program("wine/drive_c/Games/게임/abc.exe")};
    EXPECT_TRUE(ChooseShortcutProgram(model, ui));
    EXPECT_EQ(model.m_strLink, "abc.exe");
    EXPECT_FALSE(TakeShortcutClientPath(model, "abc.exe", ui));
    EXPECT_EQ(ui.messages, std::vector{ClientFolderQuestion(QStringLiteral("abc.exe"))});
    EXPECT_TRUE(ChooseShortcutProgram(model, ui));
    EXPECT_EQ(ui.fileFilters.back(), QStringLiteral("Program (*.exe *.bat)"));
    const std::string client = "C:\\Games\\" + test::Cp949("게임") + "\\abc.exe";
    ASSERT_TRUE(TakeShortcutClientPath(model, model.m_clientPath.shown, ui));
    EXPECT_EQ(model.m_strLink, client);

    // No image chosen: bitmap and path stay.
    model.m_strFolderName = "A&B";
    model.m_bShowName = 0;
    TakeChosenFolderImage(model);
    EXPECT_TRUE(ApplyShortcut(session, 0, model).repaint);
    EXPECT_EQ(Icon(0).m_strTitle, "A B");
    EXPECT_EQ(Icon(0).m_bShow, 0);
    EXPECT_EQ(Icon(0).m_strLink, client);
    EXPECT_NE(BuildLayoutText(session.m_desktop, 800, 600, true).find(client), std::string::npos);
    EXPECT_EQ(Icon(0).m_szImage.str(), "images\\bkicons\\old.gif");
    EXPECT_EQ(Icon(0).m_pBitmap.width(), 48);

    // The image named last replaces bitmap, rectangle and path.
    model.m_nSelImage = 0;
    TakeChosenFolderImage(model);
    ApplyShortcut(session, 0, model);
    EXPECT_EQ(Icon(0).m_szImage.str(), "images\\bkicons\\new.gif");
    EXPECT_EQ(Icon(0).m_rcItem.right, 10 + 64);
    EXPECT_FALSE(ApplyShortcut(session, 3, model).repaint);
}

TEST_F(SpecialFolders, BaseFolderTakesNameFlagAndImage) {
    BaseFolderModel model;
    FillBaseFolder(model, Icon(1));
    LoadBaseFolderImages(model, pictures);
    EXPECT_EQ(model.m_folderImageCaptions, std::vector<std::string>{"new"});
    EXPECT_EQ(model.m_bShowName, 1);
    model.m_strFolderName = "A&B";
    TakeChosenFolderImage(model);
    EXPECT_TRUE(ApplyBaseFolder(session, 1, model).repaint);
    EXPECT_EQ(Icon(1).m_strTitle, "A B");
    EXPECT_EQ(Icon(1).m_szImage.str(), "images\\bkicons\\old.gif");
    EXPECT_EQ(Icon(1).m_pBitmap.width(), 48);
    EXPECT_EQ(Icon(1).m_strLink, "http://old");  // only the shortcut takes a link
    EXPECT_FALSE(ApplyBaseFolder(session, -1, model).repaint);
}

TEST_F(SpecialFolders, ControlPanelMovesOneEntryPerClickAndRebuildsTheSystemEntries) {
    SystemFolderModel model;
    FillSystemFolder(model, session, Icon(2));
    LoadSystemFolderContents(model, pictures);
    EXPECT_EQ(model.m_folderImageCaptions, std::vector<std::string>{""});
    EXPECT_EQ(Names(model.m_arrCatalog), (std::vector<std::string>{"printer:0", "broken:0"}));
    EXPECT_EQ(Names(model.m_arrContent), (std::vector<std::string>{"mouse:1", "sound:1"}));
    // The entry whose icon does not load keeps its row, without a picture.
    ASSERT_EQ(model.m_imgCatalog.size(), 2u);
    EXPECT_EQ(model.m_imgCatalog[0].size(), QSize(16, 16));
    EXPECT_TRUE(model.m_imgCatalog[1].isNull());

    // ">>" twice without a new choice moves one entry; each list keeps its own row.
    model.m_nSelCatalogRow = 0;
    model.m_nSelContentRow = 1;
    EXPECT_TRUE(MoveSystemEntry(model, FolderList::Catalog, pictures));
    EXPECT_FALSE(MoveSystemEntry(model, FolderList::Catalog, pictures));
    EXPECT_EQ(Names(model.m_arrContent),
              (std::vector<std::string>{"mouse:1", "sound:1", "printer:1"}));
    EXPECT_TRUE(MoveSystemEntry(model, FolderList::Content, pictures));
    EXPECT_EQ(Names(model.m_arrCatalog), (std::vector<std::string>{"broken:0", "sound:0"}));
    EXPECT_EQ(model.m_imgCatalog.size(), 2u);
    EXPECT_EQ(model.m_imgContent.size(), 2u);

    // Apply: catalogue then control panel; the folder 2 entry is gone.
    model.m_strFolderName = "A&B";
    TakeChosenFolderImage(model);
    EXPECT_TRUE(ApplySystemFolder(session, 2, model).repaint);
    EXPECT_EQ(Names(session.m_arrSysMenu),
              (std::vector<std::string>{"broken:0", "sound:0", "mouse:1", "printer:1"}));
    EXPECT_EQ(Icon(2).m_strTitle, "A B");
    EXPECT_EQ(Icon(2).m_szImage.str(), "images\\bkicons\\old.gif");

    // Everything moved out: an empty control panel, every entry at 0.
    FillSystemFolder(model, session, Icon(2));
    LoadSystemFolderContents(model, pictures);
    while (!model.m_arrContent.empty()) {
        model.m_nSelContentRow = 0;
        MoveSystemEntry(model, FolderList::Content, pictures);
    }
    ApplySystemFolder(session, 2, model);
    EXPECT_EQ(Names(session.m_arrSysMenu),
              (std::vector<std::string>{"broken:0", "sound:0", "mouse:0", "printer:0"}));
    EXPECT_FALSE(ApplySystemFolder(session, 9, model).repaint);
}

}  // namespace
}  // namespace vodirev
