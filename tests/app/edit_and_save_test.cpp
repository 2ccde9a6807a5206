// A whole editing session against the reference server through the command
// functions the window routes: a new folder filled from the catalogue, a shortcut
// to a web page, the recycle bin shown, the folder given a new picture, then saved.
// The server ends up with the exact list lines and layout, and the new picture.

#include "app/verada_vodirev_dlg.h"
#include "common/client_drives_fixture.h"
#include "common/fake_command_ui.h"
#include "common/save_room.h"
#include "common/temp_dir.h"
#include "dialogs/icon_insert_dlg.h"
#include "document/layout_writer.h"
#include "document/list_files.h"
#include "editor/apply_messages.h"
#include "editor/command_ids.h"
#include "editor/context_menu.h"
#include "editor/desktop_commands.h"
#include "editor/direct_folder_model.h"
#include "editor/edit_history.h"
#include "editor/editing_commands.h"
#include "editor/folder_update_model.h"
#include "editor/frame_renderer.h"
#include "editor/icon_commands.h"
#include "editor/label_font.h"
#include "server/upload_pass.h"
#include "session/save_command.h"
#include "session/startup_sequence.h"

#include <gtest/gtest.h>

#include <QDir>
#include <map>

namespace vodirev {
namespace {

using test::Cp949;
using test::PngBytes;

class EditAndSave : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.started()) << server.error().toStdString();
        test::PutSaveRoom(server);
        // Two programs in no folder besides the one of folder 3.
        server.putFile(
            "pcroom/room/LIST_MENU_001.db",
            QByteArray::fromStdString("3;images\\icons\\app.png;" + Cp949("앱") +
                                      ";C:\\app;app.exe;\r\n"
                                      "0;images\\icons\\app.png;one;C:\\one;one.exe;\r\n"
                                      "0;images\\icons\\app.png;two;C:\\two;two.exe;\r\n"));
        for (const char* name : {"64X64_16.gif", "64X64_17.gif"}) {
            test::WriteFileBytes(QStringLiteral("images/bkicons/") + name,
                                 PngBytes(Qt::white, 64, 64));
        }
        client.SetPauseFunction([](int) {});
        RunStartupSequence(session, client, "room 1 0");
        QDir().mkpath("chosen");
    }

    // A picture the operator picks in a file dialog.
    QString Chosen(const char* name, const QImage& picture) {
        const QString path = QDir::current().filePath(QStringLiteral("chosen/") + name);
        EXPECT_TRUE(picture.save(path));
        return path;
    }

    // "저장하고 끝내기" under the name "t", the upload pass on its own connection;
    // "저장하기" (stayOpen) is the same save without ending the program.
    void Save(bool stayOpen = false) {
        ui.onDialog = [](DialogModel& model) {
            dynamic_cast<DesktopSaveModel&>(model).m_strTitle = "t";
            return true;
        };
        FrameRenderer renderer;
        bool ended = false;
        SaveCommandContext context{ui, session, client, renderer};
        if (!stayOpen) {
            context.endProgram = [&] { ended = true; };
        }
        context.runUploadPass = [](const std::string& roomId, int desktop) {
            CServerClient own;
            own.SetPauseFunction([](int) {});
            return UploadPass(own, roomId, desktop).Run();
        };
        ASSERT_TRUE(RunSaveCommand(context));
        EXPECT_EQ(ended, !stayOpen);
        EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().toStdString();
    }

    // The room's files on the server, by name.
    std::map<std::string, QByteArray> ServerFiles() {
        std::map<std::string, QByteArray> files;
        for (const char* name : {"desktop001.xml", "LIST_MENU_001.db", "LIST_SYSMENU_001.db",
                                 "LAUNCHER_001.TXT", "LIST_IMAGE_001.db", "desktop001.gif"}) {
            files[name] = server.fileBytes(std::string("pcroom/room/") + name);
        }
        return files;
    }

    test::ReferenceServer server;
    test::ScopedWorkDir work;
    CServerClient client;
    DesktopSession session;
    CanvasState state;
    test::FakeCommandUi ui;
};

TEST_F(EditAndSave, TheServerHoldsWhatTheCommandsMade) {
    ASSERT_EQ(session.m_arrMenu.size(), 3u);

    // A folder where the operator right-clicked, filled with both catalogue icons.
    OnRButtonDown(session, state, QPoint(600, 340));
    ASSERT_TRUE(OnAddIconCommand(session, ID_ADD_FOLDER).repaint);
    state.m_nContextFolder = 1;
    FolderUpdateModel folder;
    IconPictures pictures;
    FillFolderUpdate(folder, session, session.m_desktop.m_arrFolder[1]);
    LoadFolderContents(folder, pictures);
    MoveIcons(folder, FolderList::Catalog, {0, 1}, pictures);
    ApplyFolderUpdate(session, state.m_nContextFolder, folder);

    // A shortcut that opens a web page, renamed in its dialog.
    ASSERT_TRUE(OnAddIconCommand(session, ID_ADD_SHORTCUT).repaint);
    const int shortcut = static_cast<int>(session.m_desktop.m_arrFolder.size()) - 1;
    DirectFolderModel link;
    FillDirectFolder(link, session, session.m_desktop.m_arrFolder[shortcut]);
    link.m_strFolderName = Cp949("우리 홈");
    link.m_strLink = "http://example.com/room";
    ApplyShortcut(session, shortcut, link);

    OnAddIconCommand(session, ID_SHOW_RECYCLE_BIN);
    test::WriteFileBytes("chosen/new_folder.png", PngBytes(Qt::magenta, 64, 64));
    ui.files = {QDir::current().filePath("chosen/new_folder.png")};
    ASSERT_TRUE(OnChangeIconImage(session, state, ui, QDateTime::currentDateTime()).repaint);

    Save();

    EXPECT_EQ(server.fileBytes("pcroom/room/LIST_MENU_001.db").toStdString(),
              "3;images\\icons\\app.png;" + Cp949("앱") +
                  ";C:\\app;app.exe;\r\n"
                  "2;images\\icons\\app.png;one;C:\\one;one.exe;\r\n"
                  "2;images\\icons\\app.png;two;C:\\two;two.exe;\r\n");
    EXPECT_EQ(server.fileBytes("pcroom/room/LIST_FOLDER_USER.db"),
              "images\\bkicons\\folder1.png\r\nimages\\\\bkicons\\\\new_folder.png\r\n");
    EXPECT_EQ(server.fileBytes("pcroom/room/images/bkicons/new_folder.png"),
              PngBytes(Qt::magenta, 64, 64));
    const std::string icon = "width=\"64\" height=\"64\"  ";
    EXPECT_EQ(server.fileBytes("pcroom/room/desktop001.xml").toStdString(),
              "<?xml version=\"1.0\" encoding=\"euc-kr\" ?>\r\n"
              "<desktop xmlns:dt=\"urn:schemas-microsoft-com:datatypes\">\r\n"
              "<background name=\"bg\" width=\"800\" height=\"600\">\r\n"
              "<image>images\\background\\bg1.png</image>\r\n</background>\r\n"
              "<icon name=\"icon1\" x=\"50\" y=\"60\" " +
                  icon + "flag=\"3\"  type=\"1\" showflag=\"1\" >\r\n<title> " + Cp949("게임") +
                  "</title>\r\n<image> images\\bkicons\\folder1.png</image>\r\n"
                  "<link></link>\r\n<dir></dir>\r\n</icon>\r\n"
                  "<icon name=\"icon2\" x=\"600\" y=\"340\" " +
                  icon + "flag=\"2\"  type=\"1\" showflag=\"1\" >\r\n<title> " + Cp949("새폴더") +
                  "</title>\r\n<image> images\\\\bkicons\\\\new_folder.png</image>\r\n"
                  "<link></link>\r\n<dir></dir>\r\n</icon>\r\n"
                  "<icon name=\"icon3\" x=\"600\" y=\"340\" " +
                  icon + "flag=\"3\"  type=\"2\" showflag=\"1\" >\r\n<title> " + Cp949("우리 홈") +
                  "</title>\r\n<image> images\\bkicons\\64X64_16.gif</image>\r\n"
                  "<link>http://example.com/room</link>\r\n<dir></dir>\r\n</icon>\r\n"
                  "<icon name=\"icon4\" x=\"600\" y=\"340\" " +
                  icon + "flag=\"4\"  type=\"5\" showflag=\"1\" >\r\n<title> " + Cp949("휴지통") +
                  "</title>\r\n<image> images\\bkicons\\64X64_17.gif</image>\r\n"
                  "<link></link>\r\n<dir></dir>\r\n</icon>\r\n"
                  "<image name=\"image\" x=\"300\" y=\"40\"><path>images\\user\\1_old.png</path>"
                  "</image>\r\n</desktop>\r\n");
}

// A program registered from a Wine prefix is written and goes up as the client PCs
// name it, Hangul folder in code page 949.
TEST_F(EditAndSave, ARegisteredProgramGoesUpWithItsClientPath) {
    test::ClientDrivesFixture drives;
    IconInsertModel insert;
    insert.m_nDesktop = 1;
    insert.m_szWorkDir = toCp949(QDir::currentPath());
    insert.m_readProgramIcon = [](const QString&) {
        QImage icon(32, 32, QImage::Format_ARGB32);
        icon.fill(Qt::red);
        return icon;
    };
    ui.files = {drives.Program(QStringLiteral("wine/drive_c/Games/게임/abc.exe"))};
    ASSERT_TRUE(SelectProgram(insert, ui, QDateTime::currentDateTime()));
    ASSERT_TRUE(RegisterIcon(insert, ui));
    const std::string fields =
        "images\\\\icons\\\\abc.png;abc;C:\\Games\\" + Cp949("게임") + ";abc.exe;\r\n";
    EXPECT_TRUE(test::ReadFileBytes("LIST_MENU_001.db").toStdString().ends_with("0;" + fields));

    FolderUpdateModel folder;
    IconPictures pictures;
    FillFolderUpdate(folder, session, session.m_desktop.m_arrFolder[0]);
    LoadFolderContents(folder, pictures);
    ASSERT_TRUE(AddRegisteredIcon(folder,
                                  {0, insert.m_strImage, insert.m_strName, insert.m_strDir,
                                   insert.m_strProgram, insert.m_strUrl},
                                  pictures));
    MoveIcons(folder, FolderList::Catalog, {int(folder.m_arrCatalog.size()) - 1}, pictures);
    ApplyFolderUpdate(session, 0, folder);
    Save();
    EXPECT_TRUE(
        server.fileBytes("pcroom/room/LIST_MENU_001.db").toStdString().ends_with("3;" + fields));
}

TEST_F(EditAndSave, LabelsPicturesBackgroundsAndTheLauncherReachTheServer) {
    ASSERT_TRUE(OnAddLabel(session, ui).repaint);
    ui.onDialog = [](DialogModel& model) {
        if (auto* text = dynamic_cast<LabelTextModel*>(&model)) {
            text->m_strText = Cp949("어서 오세요\r\n음료 & 간식\r\n셋째 줄");
            text->m_bApplied = true;
        } else if (auto* font = dynamic_cast<UserFontModel*>(&model)) {
            font->m_strFont = Cp949("바탕");
            font->m_nWeight = 700;
            font->m_strSize = "36";
        }
        return true;
    };
    state.m_nActiveText = 0;
    ASSERT_TRUE(OnEditLabelText(session, state, ui).repaint);
    state.m_nActiveText = 0;
    ASSERT_TRUE(OnChangeLabelFont(session, state, ui).repaint);
    ui.colours = {QColor(250, 200, 0)};
    state.m_nActiveText = 0;
    ASSERT_TRUE(OnChangeLabelColor(session, state, ui).repaint);

    const QDateTime now = QDateTime::currentDateTime();
    QImage picture(30, 20, QImage::Format_RGB32);
    picture.fill(Qt::darkRed);
    ui.files = {Chosen("notice.png", picture)};
    ASSERT_TRUE(OnAddPicture(session, ui, now).repaint);
    QImage sky(320, 200, QImage::Format_RGB32);
    sky.fill(Qt::darkBlue);
    ui.files = {Chosen("sky.png", sky)};
    ASSERT_TRUE(OnAddBackground(session, ui, now).repaint);
    // Then the operator picks the room's first background again in the picker.
    BackgroundChoice choice;
    choice.m_nSelRow = 0;
    choice.m_strSelImage = "images\\background\\bg1.png";
    ASSERT_TRUE(OnSetBackground(session, ui, choice).repaint);
    ASSERT_TRUE(OnToggleLauncher(session).repaint);

    Save();
    const std::string room = "pcroom/room/";
    EXPECT_EQ(server.fileBytes(room + "desktop001.xml").toStdString(),
              "<?xml version=\"1.0\" encoding=\"euc-kr\" ?>\r\n"
              "<desktop xmlns:dt=\"urn:schemas-microsoft-com:datatypes\">\r\n"
              "<background name=\"bg\" width=\"800\" height=\"600\">\r\n"
              "<image>images\\background\\bg1.png</image>\r\n</background>\r\n"
              "<icon name=\"icon1\" x=\"50\" y=\"60\" width=\"64\" height=\"64\"  flag=\"3\"  "
              "type=\"1\" showflag=\"1\" >\r\n<title> " +
                  Cp949("게임") +
                  "</title>\r\n<image> images\\bkicons\\folder1.png</image>\r\n"
                  "<link></link>\r\n<dir></dir>\r\n</icon>\r\n"
                  "<window name=\"title\" x=\"500\" y=\"150\" height=\"-48\" weight=\"700\" "
                  "flag=\"0\"  charset=\"1\" fontname=\"" +
                  Cp949("바탕") + "\" colorr=\"250\" colorg=\"200\" colorb=\"0\">\r\n<title> " +
                  Cp949("어서 오세요\r\n음료   간식\r\n셋째 줄") +
                  " </title>\r\n</window>\r\n"
                  "<image name=\"image\" x=\"300\" y=\"40\"><path>images\\user\\1_old.png</path>"
                  "</image>\r\n"
                  "<image name=\"image\" x=\"100\" y=\"100\"><path>images\\\\user\\\\1_notice.png"
                  "</path></image>\r\n</desktop>\r\n");
    EXPECT_EQ(server.fileBytes(room + "LIST_IMAGE_001.db"),
              "images\\user\\1_old.png\r\nimages\\\\user\\\\1_notice.png\r\n");
    EXPECT_EQ(server.fileBytes(room + "LIST_BACKGROUND_USER.db").toStdString(),
              "1," + Cp949("사용자") +
                  ",images\\background\\bg1.png,images\\background\\bg1.png\r\n1," +
                  Cp949("사용자") +
                  ",images\\\\background\\\\sky.png,images\\\\background\\\\sky.png\r\n");
    EXPECT_EQ(server.fileBytes(room + "LAUNCHER_001.TXT"), "10,140,1");
    EXPECT_EQ(server.fileBytes(room + "images/user/1_notice.png"),
              test::ReadFileBytes("chosen/notice.png"));
    EXPECT_EQ(server.fileBytes(room + "images/background/sky.png"),
              test::ReadFileBytes("chosen/sky.png"));
}

}  // namespace
}  // namespace vodirev

namespace vodirev {
namespace {

// Undo restores what the editor holds and the save writes that: the server gets the
// same bytes as from a session that never made the undone edits.
TEST_F(EditAndSave, SavingAfterUndoPublishesTheUndoneState) {
    EditHistory history(session);
    OnRButtonDown(session, state, QPoint(600, 340));
    history.Record(QString(), [&] { OnAddIconCommand(session, ID_ADD_FOLDER); });
    const std::string layout =
        BuildLayoutText(session.m_desktop, session.m_nResWidth, session.m_nResHeight, true);
    std::string menu;
    for (const CInfoIcon& icon : session.m_arrMenu) {
        menu += MenuLine(icon);
    }

    // A label, the catalogue moved into the new folder, a launcher shape: undone.
    test::WriteFileBytes("images/bkicons/launcherB.bmp", PngBytes(Qt::red, 40, 200));
    history.Record(QString(), [&] { OnAddLabel(session, ui); });
    FolderUpdateModel folder;
    IconPictures pictures;
    FillFolderUpdate(folder, session, session.m_desktop.m_arrFolder[1]);
    LoadFolderContents(folder, pictures);
    MoveIcons(folder, FolderList::Catalog, {0, 1}, pictures);
    history.Record(QString(), [&] { ApplyFolderUpdate(session, 1, folder); });
    history.Record(QString(), [&] { OnToggleLauncher(session); });
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(history.Undo());
    }
    ui.messages.clear();
    Save();

    // The files are written in text mode: every line end becomes CR LF.
    const auto written = [](const std::string& text) {
        return QByteArray::fromStdString(text).replace("\n", "\r\n");
    };
    EXPECT_EQ(server.fileBytes("pcroom/room/desktop001.xml"), written(layout));
    EXPECT_EQ(server.fileBytes("pcroom/room/LIST_MENU_001.db"), written(menu));
    EXPECT_EQ(server.fileBytes("pcroom/room/LAUNCHER_001.TXT"),
              written(LauncherLine(session.m_nLauncherX, session.m_nLauncherY, 0)));
}

TEST_F(EditAndSave, LeavingWithoutSavingWritesAndSendsNothing) {
    CVeradaVodirevDlg window(QStringLiteral("room 1 0"));
    window.OnInitDialog();
    ASSERT_TRUE(window.RunCommand(ID_ADD_TEXT));
    ASSERT_TRUE(window.session().m_desktop.m_bLabelUsed[0]);
    const QByteArray local = test::ReadFileBytes("desktop001.xml");
    const QByteArray published = server.fileBytes("pcroom/room/desktop001.xml");
    server.clearRequests();

    ASSERT_TRUE(window.RunCommand(ID_EXIT_WITHOUT_SAVE));
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_TRUE(server.requests().empty());
    EXPECT_EQ(test::ReadFileBytes("desktop001.xml"), local);
    EXPECT_EQ(server.fileBytes("pcroom/room/desktop001.xml"), published);
}

TEST_F(EditAndSave, SavingWithoutLeavingPublishesWhatSavingAndLeavingWould) {
    EXPECT_EQ(EditingCommandForKey(QKeySequence(QStringLiteral("Ctrl+S"))), ID_SAVE);
    EditHistory history(session);
    OnRButtonDown(session, state, QPoint(600, 340));
    history.Record(QString(), [&] { OnAddIconCommand(session, ID_ADD_FOLDER); });
    Save(/*stayOpen=*/true);  // brings the server the images it lacked
    server.clearRequests();
    Save(/*stayOpen=*/true);
    const std::vector<std::string> stayRequests = server.requests();
    const auto stayFiles = ServerFiles();
    server.clearRequests();
    Save();
    EXPECT_EQ(server.requests(), stayRequests);
    EXPECT_EQ(ServerFiles(), stayFiles);

    // Edits after a save without leaving go up with the next one.
    history.Record(QString(), [&] { OnAddLabel(session, ui); });
    ui.messages.clear();
    Save(/*stayOpen=*/true);
    EXPECT_EQ(server.fileBytes("pcroom/room/desktop001.xml"),
              QByteArray::fromStdString(BuildLayoutText(session.m_desktop, session.m_nResWidth,
                                                        session.m_nResHeight, true))
                  .replace("\n", "\r\n"));
}

}  // namespace
}  // namespace vodirev
