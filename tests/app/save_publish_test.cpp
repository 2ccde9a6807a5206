// Saving and publishing against the reference server: a room opened by the
// start-up, edited through the document, saved; then the server holds what the
// working folder holds and the requests came in the protocol's order.

#include "server/save_publish.h"

#include "common/fake_command_ui.h"
#include "common/save_room.h"
#include "common/temp_dir.h"
#include "dialogs/desktop_save_dlg.h"
#include "document/list_files.h"
#include "editor/frame_renderer.h"
#include "server/recording_server.h"
#include "session/save_command.h"
#include "session/startup_sequence.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImage>

namespace vodirev {
namespace {

using test::Cp949;
using test::PngBytes;
using test::ReadFileBytes;
using test::ReferenceServer;
using test::ScopedWorkDir;
using test::WriteFileBytes;
using Lines = std::vector<std::string>;

std::string IsFile(const std::string& remote) {
    return "GET /is_file.jsp?id=room&fn=room/" + remote + "&type=2";
}
std::string Upload(const std::string& remote) {
    return "POST /upload_file.jsp room/" + remote;
}

bool Near(QRgb pixel, QColor colour) {
    return std::abs(qRed(pixel) - colour.red()) < 8 &&
           std::abs(qGreen(pixel) - colour.green()) < 8 &&
           std::abs(qBlue(pixel) - colour.blue()) < 8;
}

UploadPassRunner DirectPass(std::vector<int>* progressSeen = nullptr,
                            std::function<void(int)> atStep = {}) {
    return [progressSeen, atStep](const std::string& roomId, int desktop) {
        CServerClient client;
        client.SetPauseFunction([](int) {});
        UploadPass pass(client, roomId, desktop);
        return pass.Run([&](const std::string&, int index, int) {
            if (progressSeen != nullptr) {
                progressSeen->push_back(index);
            }
            if (atStep) {
                atStep(index);
            }
        });
    };
}

class SaveRoomTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.started()) << server.error().toStdString();
        test::PutSaveRoom(server);
        client.SetPauseFunction([](int) {});
        RunStartupSequence(session, client, "room 1 0");
        ASSERT_EQ(session.m_desktop.m_arrFolder.size(), 1u);
        ASSERT_EQ(session.m_arrMenu.size(), 1u);
        ASSERT_EQ(session.m_arrSysMenu.size(), 1u);
        server.clearRequests();
    }

    // The operator's edits: the icon moved, a label, a new picture, a new program.
    void Edit() {
        ItemRect& rc = session.m_desktop.m_arrFolder[0].m_rcItem;
        rc = {rc.left + 100, rc.top + 20, rc.right + 100, rc.bottom + 20};
        CDesktopInfo& desktop = session.m_desktop;
        CInfoLabel& label = desktop.m_label[0];
        label.m_nX = 400;
        label.m_nY = 500;
        label.m_strText = Cp949("오늘 100% 할인");
        label.m_nHeight = -16;
        label.m_nWeight = 700;
        label.m_nCharset = 129;
        label.m_szFont = Cp949("굴림");
        label.CreateFont();
        desktop.m_bLabelUsed[0] = 1;
        desktop.m_crLabel[0] = MakeColorRef(255, 255, 255);
        WriteFileBytes("images/user/2_new.png", PngBytes(Qt::magenta, 20, 20));
        desktop.m_arrUserImage.push_back(
            {"images\\user\\2_new.png", 600, 300, QImage("images/user/2_new.png")});
        WriteFileBytes("images/icons/new.png", PngBytes(Qt::darkBlue, 32, 32));
        CInfoIcon program;
        program.m_nFolder = 3;
        program.m_strImage = "images\\icons\\new.png";
        program.m_strName = "new";
        program.m_strProgram = "new.exe";
        session.m_arrMenu.push_back(program);
    }

    ReferenceServer server;
    ScopedWorkDir work;
    DesktopSession session;
    CServerClient client;
};

TEST_F(SaveRoomTest, TheServerEndsUpWithTheSavedDesktopInProtocolOrder) {
    Edit();
    const std::string title = Cp949("우리 PC방 100%");
    FrameRenderer renderer;
    std::string proposed = "unset";
    int ended = 0;
    std::vector<int> progress;
    test::FakeCommandUi ui;
    ui.onDialog = [&](DialogModel& model) {
        auto& name = dynamic_cast<DesktopSaveModel&>(model);
        proposed = name.m_strTitle;
        name.m_strTitle = title;
        return true;
    };
    const std::vector<QString>& messages = ui.messages;
    SaveCommandContext context{ui, session, client, renderer, [&] { ++ended; }};
    context.runUploadPass = DirectPass(&progress);
    std::vector<SaveStep> steps;
    std::size_t requestsAtEnd = 0;
    context.progress = [&](const SaveStep& step) {
        steps.push_back(step);
        requestsAtEnd = server.requests().size();
    };
    ASSERT_TRUE(RunSaveCommand(context));
    EXPECT_EQ(ended, 1);
    EXPECT_TRUE(messages.empty()) << messages.front().toStdString();
    EXPECT_EQ(proposed, "");  // the server held no title for this desktop yet
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));

    const Lines expected = {
        "GET /getTitle.jsp?id=room&type=1",
        // The upload pass: shared lists, their images, layout, pictures.
        Upload("LIST_BACKGROUND_USER.db"),
        IsFile("images/background/bg1.png"),
        IsFile("images/background/bg1.png"),
        Upload("LIST_FOLDER_USER.db"),
        IsFile("images/bkicons/folder1.png"),
        Upload("LIST_MENU.db"),
        IsFile("desktop001.xml"),
        Upload("desktop001.xml"),
        IsFile("images/user/1_old.png"),
        IsFile("images/user/2_new.png"),
        Upload("images/user/2_new.png"),
        IsFile("LIST_IMAGE_001.db"),
        Upload("LIST_IMAGE_001.db"),
        // The desktop's own files.
        IsFile("images/icons/app.png"),
        IsFile("images/icons/new.png"),
        Upload("images/icons/new.png"),
        IsFile("LIST_MENU_001.db"),
        Upload("LIST_MENU_001.db"),
        IsFile("LAUNCHER_001.TXT"),
        Upload("LAUNCHER_001.TXT"),
        IsFile("images/icons/sys.png"),
        Upload("images/icons/sys.png"),
        IsFile("LIST_SYSMENU_001.db"),
        Upload("LIST_SYSMENU_001.db"),
        IsFile("desktop001.gif"),
        Upload("desktop001.gif"),
        "GET /desktop_manager.jsp?id=room&type=1&kind=1&fn=room/desktop001.gif&width=800&"
        "height=600&title=" +
            Cp949("우리%20PC방%20100%"),
        "GET /sync.jsp",
    };
    EXPECT_EQ(server.requests(), expected);

    // One display over the whole save: every step in order, the pass as its 10 steps,
    // the end only once everything was asked.
    using K = SaveStep::Kind;
    const std::vector<SaveStep> expectedSteps = {
        {K::kWrite, 1, 12, "LIST_IMAGE_001.db"},
        {K::kWrite, 2, 12, "desktop001.xml"},
        {K::kUpload, 3, 22, "", 10},
        {K::kMenuList, 13, 22, "images\\icons\\app.png"},
        {K::kMenuList, 14, 22, "images\\icons\\new.png"},
        {K::kMenuList, 15, 22, "LIST_MENU_001.db"},
        {K::kLauncher, 16, 22, "LAUNCHER_001.TXT"},
        {K::kSysMenuList, 17, 22, "images\\icons\\sys.png"},
        {K::kSysMenuList, 18, 22, "LIST_SYSMENU_001.db"},
        {K::kPreview, 19, 22, "desktop001.gif"},
        {K::kRegister, 20, 22, ""},
        {K::kSync, 21, 22, ""},
        {K::kDone, 22, 22, ""},
    };
    EXPECT_EQ(steps, expectedSteps);
    EXPECT_EQ(requestsAtEnd, expected.size());

    for (const char* name :
         {"LIST_BACKGROUND_USER.db", "LIST_FOLDER_USER.db", "LIST_MENU.db", "desktop001.xml",
          "images/user/2_new.png", "LIST_IMAGE_001.db", "images/icons/new.png", "LIST_MENU_001.db",
          "LAUNCHER_001.TXT", "images/icons/sys.png", "LIST_SYSMENU_001.db", "desktop001.gif"}) {
        const QByteArray local = ReadFileBytes(QString::fromLatin1(name));
        EXPECT_FALSE(local.isEmpty() && std::string_view(name) != "LIST_MENU.db") << name;
        EXPECT_EQ(server.fileBytes(std::string("pcroom/room/") + name), local) << name;
    }

    // What was written: the edits are in the files.
    const std::string layout = ReadFileBytes("desktop001.xml").toStdString();
    EXPECT_NE(layout.find("<icon name=\"icon1\" x=\"150\" y=\"80\" width=\"64\" height=\"64\""),
              std::string::npos);
    EXPECT_NE(layout.find("<title> " + Cp949("오늘 100% 할인") + " </title>\r\n"),
              std::string::npos);
    EXPECT_NE(layout.find("<image name=\"image\" x=\"600\" y=\"300\"><path>images\\user\\2_new.png"
                          "</path></image>\r\n"),
              std::string::npos);
    EXPECT_EQ(ReadFileBytes("LIST_IMAGE_001.db"),
              "images\\user\\1_old.png\r\nimages\\user\\2_new.png\r\n");
    EXPECT_EQ(ReadFileBytes("LIST_MENU_001.db").toStdString(),
              "3;images\\icons\\app.png;" + Cp949("앱") +
                  ";C:\\app;app.exe;\r\n3;images\\icons\\new.png;new;;new.exe;\r\n");
    EXPECT_EQ(ReadFileBytes("LIST_SYSMENU_001.db"),
              "0;images\\icons\\sys.png;sys;SYSTEM;sys.exe;SYSTEM\r\n");
    EXPECT_EQ(ReadFileBytes("LAUNCHER_001.TXT"), "10,140,0");  // no line end

    // The preview is the desktop as the clients show it: background to the bottom
    // row, no strip on top, the launcher where the editor shows it (y - 40).
    const QImage preview("desktop001.gif");
    ASSERT_EQ(preview.size(), QSize(800, 600));
    EXPECT_TRUE(Near(preview.pixel(0, 0), Qt::green));
    EXPECT_TRUE(Near(preview.pixel(799, 599), Qt::green));
    EXPECT_TRUE(Near(preview.pixel(12, 102), Qt::red));
    EXPECT_TRUE(Near(preview.pixel(12, 142), Qt::green));
    EXPECT_TRUE(Near(preview.pixel(155, 85), Qt::yellow));  // the moved icon

    // The next save proposes the title the server now holds.
    std::string stored;
    ASSERT_EQ(client.QueryText(TitleQueryTarget("room", 1), stored, 512), 0);
    EXPECT_EQ(stored, title);
}

TEST_F(SaveRoomTest, AServerThatDiesHalfwayLosesNothingHereAndTheOperatorIsTold) {
    Edit();
    const QImage preview = FrameRenderer().RenderDesktop(session);
    const SaveReport report =
        SaveAndPublish(session, client, "t", preview, DirectPass(nullptr, [&](int index) {
                           if (index == 4) {
                               server.stop();
                           }
                       }));
    EXPECT_TRUE(report.uploadPassTransportFailed);
    EXPECT_FALSE(report.registered);
    EXPECT_FALSE(report.synchronised);
    EXPECT_EQ(report.published, (Lines{"LIST_BACKGROUND_USER.db"}));
    EXPECT_EQ(report.notWritten, Lines{});
    EXPECT_EQ(report.written, (Lines{"LIST_IMAGE_001.db", "desktop001.xml", "LIST_MENU_001.db",
                                     "LAUNCHER_001.TXT", "LIST_SYSMENU_001.db", "desktop001.gif"}));
    // The upload that met the stopped server and the first question of the save
    // failed; everything after them was not tried, each file once (bg1 was named
    // twice). The layout never reached the server, so nothing was registered.
    EXPECT_EQ(report.keptLocal, (Lines{"LIST_FOLDER_USER.db", "images\\icons\\app.png"}));
    EXPECT_EQ(report.notAttempted,
              (Lines{"images\\bkicons\\folder1.png", "LIST_MENU.db", "desktop001.xml",
                     "images\\user\\1_old.png", "images\\user\\2_new.png", "LIST_IMAGE_001.db",
                     "images\\icons\\new.png", "LIST_MENU_001.db", "LAUNCHER_001.TXT",
                     "images\\icons\\sys.png", "LIST_SYSMENU_001.db", "desktop001.gif"}));
    EXPECT_TRUE(report.registrationSkipped);
    EXPECT_TRUE(report.HasProblems());
    EXPECT_EQ(ReadFileBytes("LAUNCHER_001.TXT"), "10,140,0");
    EXPECT_EQ(ReadFileBytes("LIST_IMAGE_001.db"),
              "images\\user\\1_old.png\r\nimages\\user\\2_new.png\r\n");
    EXPECT_FALSE(QImage("desktop001.gif").isNull());
}

// A session made by hand for desktop 0 of room R0, without the start-up.
class SaveDesktopZeroTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.started()) << server.error().toStdString();
        client.SetPauseFunction([](int) {});
        client.Connect();
        session.m_szRoomId = "R0";
        session.m_nDesktop = 0;
        session.m_nResWidth = 1024;
        session.m_nResHeight = 768;
        session.m_nLauncherX = 5;
        session.m_nLauncherY = 100;
        session.m_nLauncherType = 1;
        CInfoFolder icon;
        icon.m_strTitle = "100%";
        icon.m_szImage = "images\\bkicons\\64X64_16.gif";
        icon.m_rcItem = {10, 10, 74, 74};
        icon.m_nType = 1;
        session.m_desktop.m_arrFolder.push_back(icon);
        preview = QImage(1024, 768, QImage::Format_RGB32);
        preview.fill(Qt::white);
    }

    ReferenceServer server;
    ScopedWorkDir work;
    DesktopSession session;
    CServerClient client;
    QImage preview;
};

TEST_F(SaveDesktopZeroTest, NamesAnEmptyMenuListAndPercentSignsTravelUnchanged) {
    const std::string title = Cp949("50%할인%s%d");
    const SaveReport report = SaveAndPublish(session, client, title, preview, DirectPass());
    EXPECT_EQ(report.written, (Lines{"LIST_IMAGE_000.db", "desktop.xml", "LIST_MENU_000.db",
                                     "LAUNCHER_000.TXT", "LIST_SYSMENU_000.db", "desktop000.gif"}));
    EXPECT_TRUE(report.keptLocal.empty());
    EXPECT_TRUE(report.registered);
    EXPECT_TRUE(report.synchronised);
    EXPECT_FALSE(report.HasProblems());

    const Lines requests = server.requests();
    const Lines tail(requests.end() - 12, requests.end());
    EXPECT_EQ(tail, (Lines{
                        "GET /is_file.jsp?id=R0&fn=R0/LIST_IMAGE_000.db&type=2",
                        "POST /upload_file.jsp R0/LIST_IMAGE_000.db",
                        "GET /is_file.jsp?id=R0&fn=R0/LIST_MENU_000.db&type=2",
                        "POST /upload_file.jsp R0/LIST_MENU_000.db",
                        "GET /is_file.jsp?id=R0&fn=R0/LAUNCHER_000.TXT&type=2",
                        "POST /upload_file.jsp R0/LAUNCHER_000.TXT",
                        "GET /is_file.jsp?id=R0&fn=R0/LIST_SYSMENU_000.db&type=2",
                        "POST /upload_file.jsp R0/LIST_SYSMENU_000.db",
                        "GET /is_file.jsp?id=R0&fn=R0/desktop000.gif&type=2",
                        "POST /upload_file.jsp R0/desktop000.gif",
                        "GET /desktop_manager.jsp?id=R0&type=0&kind=1&fn=R0/desktop000.gif&"
                        "width=1024&height=768&title=" +
                            title,
                        "GET /sync.jsp",
                    }));
    EXPECT_NE(std::find(requests.begin(), requests.end(), "POST /upload_file.jsp R0/desktop.xml"),
              requests.end());
    // The empty lists went up as empty files.
    EXPECT_TRUE(server.hasFile("pcroom/R0/LIST_MENU_000.db"));
    EXPECT_EQ(server.fileBytes("pcroom/R0/LIST_MENU_000.db"), "");
    EXPECT_EQ(server.fileBytes("pcroom/R0/LAUNCHER_000.TXT"), "5,100,1");
    EXPECT_NE(ReadFileBytes("desktop.xml").indexOf("<title> 100%</title>"), -1);
    EXPECT_FALSE(QFileInfo::exists("desktop000.xml"));

    std::string stored;
    ASSERT_EQ(client.QueryText(TitleQueryTarget("R0", 0), stored, 512), 0);
    EXPECT_EQ(stored, title);
}

TEST_F(SaveDesktopZeroTest, APictureListThatCannotBeWrittenLeavesThePicturesOut) {
    session.m_desktop.m_arrUserImage.push_back({"images\\user\\1_a.png", 1, 2, QImage()});
    QDir().mkpath("LIST_IMAGE_000.db");  // a folder in the list's place
    const SaveReport report = SaveAndPublish(session, client, "t", preview, {});
    EXPECT_FALSE(report.picturesListed);
    EXPECT_EQ(report.notWritten, Lines{"LIST_IMAGE_000.db"});
    EXPECT_TRUE(report.HasProblems());
    EXPECT_EQ(ReadFileBytes("desktop.xml").indexOf("<image name="), -1);
}

// Room R1, desktop 2 at 1024 x 768 with one program icon whose picture is here.
DesktopSession SmallSession() {
    DesktopSession session;
    session.m_szRoomId = "R1";
    session.m_nDesktop = 2;
    session.m_nResWidth = 1024;
    session.m_nResHeight = 768;
    CInfoIcon program;
    program.m_strImage = "images\\icons\\p.png";
    session.m_arrMenu.push_back(program);
    WriteFileBytes("images/icons/p.png", PngBytes(Qt::red, 16, 16));
    return session;
}

QImage BlackPreview() {
    QImage preview(1024, 768, QImage::Format_RGB32);
    preview.fill(Qt::black);
    return preview;
}

TEST(SaveWithoutServer, WritesEveryLocalFileAndListsThemAsKeptHere) {
    ScopedWorkDir work;
    CServerClient client;
    client.SetServerAddress({"127.0.0.1", test::UnusedPort()});
    client.SetPauseFunction([](int) {});
    client.Connect();
    const DesktopSession session = SmallSession();
    const QImage preview = BlackPreview();

    auto pass = [](const std::string& roomId, int desktop) {
        CServerClient own;
        own.SetServerAddress({"127.0.0.1", test::UnusedPort()});
        own.SetPauseFunction([](int) {});
        return UploadPass(own, roomId, desktop).Run();
    };
    const SaveReport report = SaveAndPublish(session, client, "t", preview, pass);
    const Lines files = {"LIST_IMAGE_002.db", "desktop002.xml",      "LIST_MENU_002.db",
                         "LAUNCHER_002.TXT",  "LIST_SYSMENU_002.db", "desktop002.gif"};
    EXPECT_EQ(report.written, files);
    EXPECT_TRUE(report.published.empty());
    EXPECT_EQ(report.keptLocal, (Lines{"desktop002.xml", "images\\icons\\p.png"}));
    EXPECT_EQ(report.notAttempted,
              (Lines{"LIST_IMAGE_002.db", "LIST_MENU_002.db", "LAUNCHER_002.TXT",
                     "LIST_SYSMENU_002.db", "desktop002.gif"}));
    EXPECT_FALSE(report.registered);
    EXPECT_TRUE(report.uploadPassTransportFailed);
    for (const std::string& name : files) {
        EXPECT_TRUE(QFileInfo::exists(QString::fromStdString(name))) << name;
    }
    const QString message = SaveProblemsMessage(report);
    EXPECT_TRUE(message.contains(QStringLiteral("이 컴퓨터에만 저장된 파일")));
    EXPECT_TRUE(message.contains(QStringLiteral("images\\icons\\p.png")));
    EXPECT_TRUE(message.contains(QStringLiteral("올려 보지 못한 파일")));
    EXPECT_TRUE(message.contains(QStringLiteral("데스크탑을 등록하지 않았습니다")));
}

// One upload broken off by a server that otherwise answers: the save goes on with
// every other file. When the broken one is the layout, the desktop is not registered
// or synchronised, so the server never pairs the new preview with its old layout.
TEST(SaveWithABrokenUpload, FailsThatFileOnlyAndRegistersOnlyWithTheLayout) {
    for (const std::string broken : {"images/icons/p.png", "desktop002.xml"}) {
        SCOPED_TRACE(broken);
        ScopedWorkDir work;
        test::RecordingServer server;
        server.setReply(200, "0\r\n");
        server.setDropWhen([&](const std::string& request) {
            return request.find("name=\"R1/" + broken + '"') != std::string::npos;
        });
        const DesktopSession session = SmallSession();
        const QImage preview = BlackPreview();
        CServerClient client;
        client.SetServerAddress({"127.0.0.1", server.port()});
        client.SetPauseFunction([](int) {});
        client.Connect();
        auto pass = [&](const std::string& roomId, int desktop) {
            CServerClient own;
            own.SetServerAddress({"127.0.0.1", server.port()});
            own.SetPauseFunction([](int) {});
            return UploadPass(own, roomId, desktop).Run();
        };
        const SaveReport report = SaveAndPublish(session, client, "t", preview, pass);

        std::string localName = broken;
        std::replace(localName.begin(), localName.end(), '/', '\\');
        EXPECT_EQ(report.keptLocal, Lines{localName});
        EXPECT_TRUE(report.notAttempted.empty());
        EXPECT_FALSE(report.uploadPassTransportFailed);
        EXPECT_TRUE(std::find(report.published.begin(), report.published.end(), "desktop002.gif") !=
                    report.published.end());
        int registrations = 0;
        for (const std::string& request : server.requests()) {
            registrations += request.starts_with("GET /desktop_manager.jsp") ||
                             request.starts_with("GET /sync.jsp");
        }
        const bool layoutBroken = broken == "desktop002.xml";
        EXPECT_EQ(report.registrationSkipped, layoutBroken);
        EXPECT_EQ(registrations, layoutBroken ? 0 : 2);
        const QString message = SaveProblemsMessage(report);
        EXPECT_TRUE(message.contains(QString::fromStdString(localName)));
        EXPECT_FALSE(message.contains(QStringLiteral("LIST_MENU_002.db")));
        EXPECT_EQ(message.contains(QStringLiteral("데스크탑을 등록하지 않았습니다")), layoutBroken);
    }
}

}  // namespace
}  // namespace vodirev
