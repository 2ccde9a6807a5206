// The icon commands without a dialog, on a plain session in a working folder that
// holds the installation pictures.

#include "editor/icon_commands.h"

#include "common/fake_command_ui.h"
#include "common/temp_dir.h"
#include "editor/apply_messages.h"
#include "editor/command_ids.h"
#include "editor/command_router.h"
#include "editor/context_menu.h"
#include "editor/edit_history.h"
#include "editor_test_util.h"
#include "imaging/image_io.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>

namespace vodirev {
namespace {

class IconCommands : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath("images/bkicons");
        for (const char* name : {"64X64_01.gif", "64X64_16.gif", "64X64_17.gif", "64X64_18.gif"}) {
            ASSERT_TRUE(SaveBitmapToFile(QStringLiteral("images/bkicons/") + name,
                                         test::Solid(48, 40, 0xFF00FF00)));
        }
    }

    std::vector<int> Types() const {
        std::vector<int> types;
        for (const CInfoFolder& icon : session.m_desktop.m_arrFolder) {
            types.push_back(icon.m_nType);
        }
        return types;
    }

    test::ScopedWorkDir work;
    DesktopSession session;
    CanvasState state;
};

TEST_F(IconCommands, NewIconsGoWhereTheOperatorLastRightClicked) {
    EXPECT_TRUE(OnAddIconCommand(session, ID_ADD_SHORTCUT).repaint);
    const CInfoFolder& first = session.m_desktop.m_arrFolder.back();
    EXPECT_EQ(first.m_nX, 500);  // before any right click
    EXPECT_EQ(first.m_nY, 300);
    EXPECT_EQ(first.m_rcItem, (ItemRect{500, 300, 548, 340}));  // the picture's size
    EXPECT_EQ(first.m_strTitle, test::Cp949("새 바로가기"));
    EXPECT_EQ(first.m_szImage.str(), "images\\bkicons\\64X64_16.gif");
    EXPECT_EQ(first.m_szDir.str(), "nf");
    EXPECT_EQ(first.m_bShow, 1);

    session.m_nResWidth = 1024;
    session.m_nResHeight = 768;
    OnRButtonDown(session, state, QPoint(200, 150));  // empty canvas
    OnAddIconCommand(session, ID_ADD_FOLDER);
    EXPECT_EQ(session.m_desktop.m_arrFolder.back().m_nX, 200);
    EXPECT_EQ(session.m_desktop.m_arrFolder.back().m_nY, 150);
    EXPECT_EQ(session.m_desktop.m_arrFolder.back().m_strTitle, test::Cp949("새폴더"));
}

TEST_F(IconCommands, SpecialIconsExistOnceAndNumbersFollowTheCount) {
    for (int id : {ID_SHOW_RECYCLE_BIN, ID_SHOW_RECYCLE_BIN, ID_SHOW_MY_COMPUTER,
                   ID_SHOW_CONTROL_PANEL, ID_SHOW_USER_REVIEWS, ID_SHOW_USER_REVIEWS}) {
        OnAddIconCommand(session, id);
    }
    EXPECT_EQ(Types(), (std::vector<int>{5, 4, 6, 7}));
    EXPECT_FALSE(OnAddIconCommand(session, ID_SHOW_MY_COMPUTER).repaint);

    // Delete the recycle bin (number 1): showing it again makes a new one, numbered
    // one past the count, the same number as the last icon.
    state.m_nContextFolder = 0;
    EXPECT_TRUE(OnDeleteIconCommand(session, state, ID_DELETE_BASE_FOLDER).repaint);
    OnAddIconCommand(session, ID_SHOW_RECYCLE_BIN);
    EXPECT_EQ(Types(), (std::vector<int>{4, 6, 7, 5}));
    EXPECT_EQ(session.m_desktop.m_arrFolder[2].m_nFlag, 4);
    EXPECT_EQ(session.m_desktop.m_arrFolder[3].m_nFlag, 4);

    // A stale target deletes nothing.
    state.m_nContextFolder = 9;
    EXPECT_FALSE(OnDeleteIconCommand(session, state, ID_DELETE_SHORTCUT).repaint);
    EXPECT_EQ(session.m_desktop.m_arrFolder.size(), 4u);
}

TEST_F(IconCommands, DeletingAFolderOrThePanelReturnsTheirEntries) {
    OnAddIconCommand(session, ID_ADD_FOLDER);  // number 1
    OnAddIconCommand(session, ID_ADD_FOLDER);  // number 2
    OnAddIconCommand(session, ID_SHOW_CONTROL_PANEL);
    for (int folder : {2, 2, 1, 0, 2}) {
        CInfoIcon program;
        program.m_nFolder = folder;
        session.m_arrMenu.push_back(program);
    }
    for (int folder : {1, 0, 1}) {
        CInfoIcon entry;
        entry.m_nFolder = folder;
        session.m_arrSysMenu.push_back(entry);
    }
    state.m_nContextFolder = 1;
    OnDeleteIconCommand(session, state, ID_DELETE_FOLDER);
    std::vector<int> folders;
    for (const CInfoIcon& program : session.m_arrMenu) {
        folders.push_back(program.m_nFolder);
    }
    EXPECT_EQ(folders, (std::vector<int>{0, 0, 1, 0, 0}));
    EXPECT_EQ(Types(), (std::vector<int>{1, 6}));

    state.m_nContextFolder = 1;
    OnDeleteIconCommand(session, state, ID_DELETE_CONTROL_PANEL);
    for (const CInfoIcon& entry : session.m_arrSysMenu) {
        EXPECT_EQ(entry.m_nFolder, 0);
    }
    EXPECT_EQ(Types(), (std::vector<int>{1}));
}

TEST_F(IconCommands, ANewPictureKeepsTheTopLeftCorner) {
    OnAddIconCommand(session, ID_ADD_FOLDER);
    ASSERT_TRUE(SaveBitmapToFile("images/bkicons/tall.png", test::Solid(30, 90, 0xFF0000FF)));
    session.m_desktop.ReplaceItemImage("images\\bkicons\\tall.png\n", 0);
    EXPECT_EQ(session.m_desktop.m_arrFolder[0].m_rcItem, (ItemRect{500, 300, 530, 390}));
    session.m_desktop.ReplaceItemImage("", 0);  // nothing
    session.m_desktop.ReplaceItemImage("images\\bkicons\\tall.png", 5);
    EXPECT_EQ(session.m_desktop.m_arrFolder[0].m_pBitmap.size(), QSize(30, 90));
}

// A new picture for the icon under the right click: copied in under its own name or
// a time stamp, never over an existing file, listed in the user's folder images.
TEST_F(IconCommands, ChangingAnImageImportsItOnce) {
    OnAddIconCommand(session, ID_ADD_FOLDER);
    state.m_nContextFolder = 0;
    QDir().mkpath("chosen");
    ASSERT_TRUE(SaveBitmapToFile("chosen/내 사진.png", test::Solid(30, 90, 0xFF0000FF)));
    ASSERT_TRUE(SaveBitmapToFile("chosen/photo_01.JPG", test::Solid(20, 20, 0xFFFF0000)));
    ASSERT_TRUE(SaveBitmapToFile("chosen/bad.png", test::Solid(20, 20, 0xFFFF0000)));
    test::WriteFileBytes("chosen/bad.png", "not a picture");
    ASSERT_TRUE(SaveBitmapToFile("images/bkicons/photo_01.JPG", test::Solid(5, 5, 0xFF00FF00)));
    const QDateTime now(QDate(2024, 3, 5), QTime(14, 15, 2));
    test::FakeCommandUi ui;
    const QString chosen = QDir::current().filePath("chosen/");
    ui.files = {chosen + "내 사진.png", chosen + "photo_01.JPG", chosen + "bad.png", QString()};

    EXPECT_TRUE(OnChangeIconImage(session, state, ui, now).repaint);
    const CInfoFolder& icon = session.m_desktop.m_arrFolder[0];
    EXPECT_EQ(icon.m_szImage.str(), "images\\\\bkicons\\\\20240305141502.png");
    EXPECT_EQ(icon.m_rcItem, (ItemRect{500, 300, 530, 390}));  // grown downward
    EXPECT_EQ(ui.fileFilters.front(), QStringLiteral("Program (*.jpg *.gif *.bmp *.png)"));

    // The stored name exists already: that file stays and is used.
    OnChangeIconImage(session, state, ui, now);
    EXPECT_EQ(icon.m_szImage.str(), "images\\\\bkicons\\\\photo_01.JPG");
    EXPECT_EQ(icon.m_pBitmap.size(), QSize(5, 5));
    EXPECT_EQ(test::ReadFileBytes("LIST_FOLDER_USER.db"),
              "images\\\\bkicons\\\\20240305141502.png\r\n"
              "images\\\\bkicons\\\\photo_01.JPG\r\n");

    // A file that is no picture is refused; a cancel changes nothing.
    EXPECT_FALSE(OnChangeIconImage(session, state, ui, now).repaint);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].section(u'\n', 0, 0), QStringLiteral("이미지를 등록 할 수 없습니다."));
    EXPECT_FALSE(OnChangeIconImage(session, state, ui, now).repaint);
    EXPECT_EQ(icon.m_szImage.str(), "images\\\\bkicons\\\\photo_01.JPG");
    EXPECT_FALSE(QFileInfo::exists("images/bkicons/bad.png"));
}

TEST(IconCommandRoutes, EveryCreateAndDeleteCommandIsEnabled) {
    CommandRouter router;
    DesktopSession session;
    CanvasState state;
    int applied = 0;
    test::FakeCommandUi ui;
    RouteIconCommands(router, {session, state, ui}, [&](const CommandOutcome&) { ++applied; });
    for (int id : {ID_ADD_SHORTCUT, ID_ADD_FOLDER, ID_SHOW_CONTROL_PANEL, ID_SHOW_MY_COMPUTER,
                   ID_SHOW_RECYCLE_BIN, ID_SHOW_USER_REVIEWS, ID_DELETE_FOLDER, ID_DELETE_SHORTCUT,
                   ID_DELETE_BASE_FOLDER, ID_DELETE_CONTROL_PANEL, ID_CHANGE_FOLDER_IMAGE,
                   ID_CHANGE_SHORTCUT_IMAGE, ID_CHANGE_SYSTEM_IMAGE, ID_ADD_FOLDER_IMAGE}) {
        EXPECT_TRUE(router.Dispatch(id)) << id;
    }
    EXPECT_EQ(applied, 14);
}

// An open shortcut dialog whose shortcut was deleted (by its menu, or by an undo that
// removed it) applies to nothing; the target follows its icon past other deletions,
// and a dialog never applies to an icon of another kind.
TEST_F(IconCommands, AnApplyNeverLandsOnAnIconItWasNotOpenedFor) {
    EditHistory history(session);
    for (int id : {ID_ADD_FOLDER, ID_ADD_SHORTCUT, ID_SHOW_CONTROL_PANEL}) {
        history.Record(QString(), [&] { OnAddIconCommand(session, id); });
    }
    DirectFolderModel dialog;
    dialog.m_strFolderName = "renamed";
    dialog.m_strLink = "http://example.com";
    const auto icons = [this] { return session.m_desktop.m_arrFolder; };
    const auto titles = [&] {
        std::vector<std::string> all;
        for (const CInfoFolder& icon : icons()) {
            all.push_back(icon.m_strTitle + "|" + icon.m_strLink);
        }
        return all;
    };

    // Deleted through its own menu while the dialog stays open.
    state.m_nContextFolder = 1;
    const CInfoFolder shortcut = icons()[1];
    history.Record(QString(), [&] { OnDeleteIconCommand(session, state, ID_DELETE_SHORTCUT); });
    state.m_nContextFolder = FollowIcon(session.m_desktop, 1, shortcut, true);
    EXPECT_EQ(state.m_nContextFolder, -1);
    const auto untouched = titles();
    EXPECT_FALSE(ApplyShortcut(session, state.m_nContextFolder, dialog).repaint);
    EXPECT_EQ(titles(), untouched);

    // Removed by an undo: the same.
    ASSERT_TRUE(history.Undo());  // the shortcut is back at 1 ...
    ASSERT_TRUE(history.Undo());  // ... and the undo of the control panel keeps it
    ASSERT_TRUE(history.Undo());  // the undo of its creation removes it
    ASSERT_EQ(icons().size(), 1u);
    EXPECT_EQ(FollowIcon(session.m_desktop, 1, shortcut, true), -1);

    // Another icon deleted before it: the target moves with it.
    ASSERT_TRUE(history.Redo());
    ASSERT_TRUE(history.Redo());
    state.m_nContextFolder = 0;
    history.Record(QString(), [&] { OnDeleteIconCommand(session, state, ID_DELETE_FOLDER); });
    const int followed = FollowIcon(session.m_desktop, 1, shortcut, true);
    ASSERT_EQ(followed, 0);
    EXPECT_TRUE(ApplyShortcut(session, followed, dialog).repaint);
    EXPECT_EQ(icons()[0].m_strLink, "http://example.com");

    // The control panel is no shortcut.
    const auto before = titles();
    EXPECT_FALSE(ApplyShortcut(session, 1, dialog).repaint);
    EXPECT_EQ(titles(), before);
}

}  // namespace
}  // namespace vodirev
