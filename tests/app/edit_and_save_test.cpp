// A whole editing session against the reference server through the command
// functions the window routes: a new folder filled from the catalogue, a shortcut
// to a web page, the recycle bin shown, the folder given a new picture, then saved.
// The server ends up with the exact list lines and layout, and the new picture.

#include "app/save_command.h"
#include "app/startup_sequence.h"
#include "common/fake_command_ui.h"
#include "common/temp_dir.h"
#include "editor/apply_messages.h"
#include "editor/command_ids.h"
#include "editor/context_menu.h"
#include "editor/direct_folder_model.h"
#include "editor/folder_update_model.h"
#include "editor/frame_renderer.h"
#include "editor/icon_commands.h"
#include "save_test_util.h"
#include "server/upload_pass.h"

#include <gtest/gtest.h>

#include <QDir>

namespace vodirev {
namespace {

using test::Cp949;
using test::PngBytes;

TEST(EditAndSave, TheServerHoldsWhatTheCommandsMade) {
    test::ReferenceServer server;
    ASSERT_TRUE(server.started()) << server.error().toStdString();
    test::ScopedWorkDir work;
    test::PutSaveRoom(server);
    // Two programs in no folder besides the one of folder 3.
    server.putFile("pcroom/room/LIST_MENU_001.db",
                   QByteArray::fromStdString("3;images\\icons\\app.png;" + Cp949("앱") +
                                             ";C:\\app;app.exe;\r\n"
                                             "0;images\\icons\\app.png;one;C:\\one;one.exe;\r\n"
                                             "0;images\\icons\\app.png;two;C:\\two;two.exe;\r\n"));
    for (const char* name : {"64X64_16.gif", "64X64_17.gif"}) {
        test::WriteFileBytes(QStringLiteral("images/bkicons/") + name, PngBytes(Qt::white, 64, 64));
    }
    CServerClient client;
    client.SetPauseFunction([](int) {});
    DesktopSession session;
    RunStartupSequence(session, client, "room 1 0");
    ASSERT_EQ(session.m_arrMenu.size(), 3u);
    CanvasState state;
    test::FakeCommandUi ui;

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
    QDir().mkpath("chosen");
    test::WriteFileBytes("chosen/new_folder.png", PngBytes(Qt::magenta, 64, 64));
    ui.files = {QDir::current().filePath("chosen/new_folder.png")};
    ASSERT_TRUE(OnChangeIconImage(session, state, ui, QDateTime::currentDateTime()).repaint);

    ui.onDialog = [](DialogModel& model) {
        dynamic_cast<DesktopSaveModel&>(model).m_strTitle = "t";
        return true;
    };
    FrameRenderer renderer;
    SaveCommandContext context{nullptr, ui, session, client, renderer, [] {}};
    context.runUploadPass = [](const std::string& roomId, int desktop) {
        CServerClient own;
        own.SetPauseFunction([](int) {});
        return UploadPass(own, roomId, desktop).Run();
    };
    ASSERT_TRUE(RunSaveCommand(context));
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().toStdString();

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

}  // namespace
}  // namespace vodirev
