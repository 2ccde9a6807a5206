// The start-up sequence against the reference server: the exact requests, in order,
// and what the working folder holds afterwards.

#include "base/text.h"
#include "common/temp_dir.h"
#include "server/reference_server.h"
#include "session/startup_sequence.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <atomic>

using namespace vodirev;
using vodirev::test::ReadFileBytes;
using vodirev::test::ReferenceServer;
using vodirev::test::ScopedWorkDir;
using vodirev::test::WriteFileBytes;

namespace {

const char* const kCommonFiles[] = {"LIST_BACKGROUND.db", "LIST_FOLDER.db", "LIST_MENU.db",
                                    "LIST_SYSMENU.db", "desktop001.xml"};
const char* const kRoomFiles[] = {
    "LIST_BACKGROUND_USER.db", "LIST_FOLDER_USER.db", "LIST_MENU_003.db", "LIST_SYSMENU_003.db",
    "LIST_IMAGE_003.db",       "desktop003.xml",      "LAUNCHER_003.TXT"};

const char* kLayout =
    "<?xml version=\"1.0\" encoding=\"euc-kr\" ?>\r\n<desktop>\r\n"
    "<background name=\"bg\" width=\"800\" height=\"600\">\r\n<image>bg.png</image>\r\n"
    "</background>\r\n</desktop>\r\n";

std::string get(const std::string& target) {
    return "GET " + target;
}

// The requests of the five common downloads.
std::vector<std::string> commonDownloads() {
    std::vector<std::string> requests;
    for (const char* name : kCommonFiles) {
        requests.push_back(get(std::string("/pcroom/common/") + name));
    }
    return requests;
}

void append(std::vector<std::string>& to, const std::vector<std::string>& more) {
    to.insert(to.end(), more.begin(), more.end());
}

// exist.jsp for a server path, then its download.
std::vector<std::string> synced(const std::string& serverPath, bool exists = true) {
    std::vector<std::string> requests = {get("/exist.jsp?fn=" + serverPath)};
    if (exists) {
        requests.push_back(get(serverPath));
    }
    return requests;
}

void putServerFiles(ReferenceServer& server, const std::string& folder,
                    std::initializer_list<const char*> names) {
    for (const char* name : names) {
        server.putFile("pcroom/" + folder + "/" + name, std::string_view(name).ends_with(".xml")
                                                            ? QByteArray(kLayout)
                                                            : QByteArray());
    }
}

void putLauncherImages() {
    QDir().mkpath("images/bkicons");
    QImage a(40, 10, QImage::Format_RGB32);
    a.fill(Qt::red);
    ASSERT_TRUE(a.save("images/bkicons/launcherA.bmp", "BMP"));
    QImage b(10, 40, QImage::Format_RGB32);
    b.fill(Qt::blue);
    ASSERT_TRUE(b.save("images/bkicons/launcherB.bmp", "BMP"));
}

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_server.started()) << m_server.error().toStdString();
        putServerFiles(m_server, "common",
                       {"LIST_BACKGROUND.db", "LIST_FOLDER.db", "LIST_MENU.db", "LIST_SYSMENU.db",
                        "desktop001.xml"});
        putLauncherImages();
        m_client.SetPauseFunction([](int) {});
    }

    ReferenceServer m_server;
    ScopedWorkDir m_work;  // after the server: the server's folder is not the work folder
    DesktopSession m_session;
    CServerClient m_client;
};

}  // namespace

TEST_F(StartupTest, RoomFilesOfDesktopN) {
    putServerFiles(m_server, "room7",
                   {"LIST_BACKGROUND_USER.db", "LIST_FOLDER_USER.db", "LIST_MENU_003.db",
                    "LIST_SYSMENU_003.db", "LIST_IMAGE_003.db", "desktop003.xml"});
    m_server.putFile("pcroom/room7/LAUNCHER_003.TXT", "10,20,1");

    RunStartupSequence(m_session, m_client, "room7 3 0");

    std::vector<std::string> expected = commonDownloads();
    for (const char* name : kRoomFiles) {
        append(expected, synced(std::string("/pcroom/room7/") + name));
    }
    EXPECT_EQ(m_server.requests(), expected);
    EXPECT_EQ(m_session.m_szRoomId.str(), "room7");
    EXPECT_EQ(m_session.m_nDesktop, 3);
    EXPECT_EQ(m_session.m_nTemplate, 0);
    for (const char* name : kRoomFiles) {
        EXPECT_TRUE(QFile::exists(name)) << name;
    }
    EXPECT_TRUE(QFile::exists("desktop_d.xml"));
    EXPECT_FALSE(QFile::exists("COMMON_BACKGROUND_USER.db"));
    for (const char* folder :
         {"images/background", "images/bkicons", "images/icons", "images/user"}) {
        EXPECT_TRUE(QDir(folder).exists()) << folder;
    }
    // The layout came from desktop003.xml; the launcher file chose launcherB.
    EXPECT_EQ(m_session.m_nResWidth, 800);
    EXPECT_EQ(m_session.m_nResHeight, 600);
    EXPECT_EQ(m_session.m_nLauncherX, 10);
    EXPECT_EQ(m_session.m_nLauncherY, 20);
    EXPECT_EQ(m_session.m_nLauncherType, 1);
    EXPECT_EQ(m_session.m_pLauncherBitmap.size(), QSize(10, 40));
}

TEST_F(StartupTest, TemplateTakesNumberedFilesFromTheCommonFolder) {
    putServerFiles(
        m_server, "common",
        {"LIST_BACKGROUND_USER.db", "LIST_FOLDER_USER.db", "LIST_MENU_001.db",
         "LIST_SYSMENU_001.db", "LIST_IMAGE_001.db", "desktop001.xml", "LAUNCHER_001.TXT"});
    putServerFiles(m_server, "room7", {"LIST_BACKGROUND_USER.db"});

    // Several blanks between the words are one separator.
    RunStartupSequence(m_session, m_client, "room7   3    1");

    std::vector<std::string> expected = commonDownloads();
    append(expected, synced("/pcroom/common/LIST_BACKGROUND_USER.db"));
    append(expected, synced("/pcroom/room7/LIST_BACKGROUND_USER.db"));
    append(expected, synced("/pcroom/common/LIST_FOLDER_USER.db"));
    for (const char* name : {"LIST_MENU_001.db", "LIST_SYSMENU_001.db", "LIST_IMAGE_001.db",
                             "desktop001.xml", "LAUNCHER_001.TXT"}) {
        append(expected, synced(std::string("/pcroom/common/") + name));
    }
    EXPECT_EQ(m_server.requests(), expected);
    // Stored locally under number N.
    for (const char* name : {"COMMON_BACKGROUND_USER.db", "LIST_BACKGROUND_USER.db",
                             "COMMON_FOLDER_USER.db", "LIST_MENU_003.db", "LIST_SYSMENU_003.db",
                             "LIST_IMAGE_003.db", "desktop003.xml", "LAUNCHER_003.TXT"}) {
        EXPECT_TRUE(QFile::exists(name)) << name;
    }
    EXPECT_FALSE(QFile::exists("LIST_FOLDER_USER.db"));
    EXPECT_FALSE(QFile::exists("LIST_MENU_001.db"));
}

TEST_F(StartupTest, RoomIdAloneAsksNothing) {
    WriteFileBytes("desktop_d.xml", kLayout);
    RunStartupSequence(m_session, m_client, "room7");
    EXPECT_TRUE(m_server.requests().empty());
    EXPECT_EQ(m_session.m_nDesktop, 0);
    EXPECT_FALSE(QDir("images/user").exists());
    EXPECT_TRUE(m_session.m_pLauncherBitmap.isNull());  // no launcher without a desktop number
    EXPECT_EQ(m_session.m_nResWidth, 800);              // desktop000.xml is missing: desktop_d.xml
}

// A layout asking for an absurd resolution opens at the default one, and the
// operator is told; new icons go to the usual insertion point.
TEST_F(StartupTest, AnAbsurdResolutionIsRefused) {
    for (const char* size :
         {"width=\"30000\" height=\"30000\"", "width=\"1920\" height=\"16385\""}) {
        WriteFileBytes("desktop_d.xml", QByteArray("<desktop><background ") + size +
                                            "><image>none.png</image></background></desktop>");
        DesktopSession session;
        const StartupNotes notes = RunStartupSequence(session, m_client, "room7");
        EXPECT_TRUE(notes.resolutionRefused) << size;
        EXPECT_EQ(session.m_nResWidth, 1024);
        EXPECT_EQ(session.m_nResHeight, 768);
        EXPECT_EQ(session.m_desktop.m_nNewX, 500);
        EXPECT_EQ(session.m_desktop.m_nNewY, 300);
        EXPECT_TRUE(
            RefusedResolutionMessage(notes.layoutResolution, 1024, 768)
                .contains(QString::fromLatin1(size[7] == '3' ? "30000 x 30000" : "1920 x 16385")));
    }
    WriteFileBytes("desktop_d.xml",
                   "<desktop><background width=\"16384\" height=\"1080\"/></desktop>");
    DesktopSession largest;
    EXPECT_FALSE(RunStartupSequence(largest, m_client, "room7").resolutionRefused);
    EXPECT_EQ(largest.m_nResWidth, 16384);
}

TEST_F(StartupTest, FileTheServerLacksLosesItsLocalCopyOnlyWhenTheServerSaysSo) {
    // The server holds no room files at all: exist.jsp answers 0 for each.
    WriteFileBytes("LIST_MENU_003.db", "stale\r\n");
    WriteFileBytes("LAUNCHER_003.TXT", "1,2,0");

    RunStartupSequence(m_session, m_client, "room7 3 0");

    std::vector<std::string> expected = commonDownloads();
    for (const char* name : kRoomFiles) {
        append(expected, synced(std::string("/pcroom/room7/") + name, false));
    }
    EXPECT_EQ(m_server.requests(), expected);
    EXPECT_FALSE(QFile::exists("LIST_MENU_003.db"));
    EXPECT_FALSE(QFile::exists("LAUNCHER_003.TXT"));
    // No launcher file: launcherA at the defaults.
    EXPECT_EQ(m_session.m_nLauncherX, 0);
    EXPECT_EQ(m_session.m_nLauncherY, 100);
    EXPECT_EQ(m_session.m_pLauncherBitmap.size(), QSize(40, 10));
}

TEST_F(StartupTest, FetchesMissingImagesNamedByTheLists) {
    const std::string photo = "images\\user\\3_" + toCp949(QStringLiteral("사진")) + ".jpg";
    m_server.putFile("pcroom/common/LIST_BACKGROUND.db",
                     "1," + QByteArray::fromStdString(toCp949(QStringLiteral("풍경"))) +
                         ",images\\background\\a_s.jpg,images\\background\\a.jpg\r\n"
                         "1,a,b,c\r\n");
    m_server.putFile("pcroom/common/LIST_FOLDER.db",
                     "images\\bkicons\\f1.gif\r\nimages\\bkicons\\have.gif\r\n"
                     "..\\..\\outside.gif\r\n/etc/passwd\r\n");
    m_server.putFile("pcroom/common/LIST_MENU.db",
                     "0;images\\icons\\x.png;name;C:\\dir;x.exe;http://a/?b=1&c=2\r\n"
                     "0;images\\icons\\nosemicolon.png\r\n");
    m_server.putFile("pcroom/common/LIST_SYSMENU.db",
                     "0;images\\icons\\s.png;s;SYSTEM;s.cpl;SYSTEM\r\n");
    putServerFiles(m_server, "room7", {"LIST_FOLDER_USER.db"});
    m_server.putFile("pcroom/room7/LIST_IMAGE_003.db",
                     QByteArray::fromStdString(photo + "\r\nab\r\n"));
    m_server.putFile("pcroom/room7/LIST_MENU_003.db", "1;images\\icons\\r.png;r;d;r.exe;u\r\n");
    for (const std::string& name : std::vector<std::string>{
             "pcroom/common/images\\background\\a_s.jpg", "pcroom/common/images\\background\\a.jpg",
             "pcroom/common/images\\bkicons\\f1.gif", "pcroom/common/images\\icons\\x.png",
             "pcroom/common/images\\icons\\s.png", "pcroom/room7/images\\icons\\r.png",
             "pcroom/room7/" + photo}) {
        m_server.putFile(name, "picture");
    }
    WriteFileBytes("images/bkicons/have.gif", "local");

    std::vector<StartupStep> steps;
    RunStartupSequence(m_session, m_client, "room7 3 0",
                       [&](const StartupStep& step) { steps.push_back(step); });

    std::vector<std::string> images;
    for (const std::string& request : m_server.requests()) {
        if (request.find("images") != std::string::npos) {
            images.push_back(request);
        }
    }
    const std::vector<std::string> expectedImages = {
        get("/getimage.jsp?fn=pcroom/common/images\\background\\a_s.jpg"),
        get("/getimage.jsp?fn=pcroom/common/images\\background\\a.jpg"),
        get("/getimage.jsp?fn=pcroom/common/images\\bkicons\\f1.gif"),
        get("/geticon.jsp?fn=pcroom/common/images\\icons\\x.png"),
        get("/geticon.jsp?fn=pcroom/room7/images\\icons\\r.png"),
        get("/geticon.jsp?fn=pcroom/common/images\\icons\\s.png"),
        get("/pcroom/room7/" + photo),
    };
    EXPECT_EQ(images, expectedImages);
    // The progress names every file once, in the order asked: 5 common, 7 of the
    // room, then the 7 images, counted once the lists are in.
    ASSERT_EQ(steps.size(), 19u);
    for (std::size_t i = 0; i < steps.size(); ++i) {
        EXPECT_EQ(steps[i].index, int(i) + 1);
        EXPECT_EQ(steps[i].total, i < 12 ? 12 : 19);
    }
    EXPECT_EQ(steps[0].file, "LIST_BACKGROUND.db");
    EXPECT_EQ(steps[11].file, "LAUNCHER_003.TXT");
    EXPECT_EQ(steps[12].file, "images\\background\\a_s.jpg");
    EXPECT_EQ(steps[18].file, photo);
    EXPECT_EQ(ReadFileBytes("images/background/a.jpg"), "picture");
    EXPECT_EQ(ReadFileBytes(QStringLiteral("images/user/3_사진.jpg")), "picture");
    EXPECT_EQ(ReadFileBytes("images/bkicons/have.gif"), "local");
    EXPECT_FALSE(QFile::exists("../outside.gif"));
}

TEST_F(StartupTest, ServerThatIsNotRunningLeavesEverythingLocal) {
    m_server.stop();
    WriteFileBytes("LIST_MENU.db", "0;images\\icons\\x.png;n;d;p;u\r\n");
    WriteFileBytes("LIST_MENU_003.db", "0;images\\icons\\x.png;n;d;p;u\r\n");
    WriteFileBytes("desktop003.xml", kLayout);
    WriteFileBytes("LAUNCHER_003.TXT", "5,6,0");

    RunStartupSequence(m_session, m_client, "room7 3 0");

    EXPECT_TRUE(m_client.TransportFailed());
    for (const char* name :
         {"LIST_MENU.db", "LIST_MENU_003.db", "desktop003.xml", "LAUNCHER_003.TXT"}) {
        EXPECT_TRUE(QFile::exists(name)) << name;
    }
    EXPECT_EQ(m_session.m_nResWidth, 800);
    EXPECT_EQ(m_session.m_nLauncherX, 5);
    EXPECT_EQ(m_session.m_nLauncherY, 6);
}

TEST_F(StartupTest, GivingUpWaitingGoesOnAsAnUnreachableServerDoes) {
    putServerFiles(m_server, "room7", {"desktop003.xml", "LIST_MENU_003.db"});
    WriteFileBytes("desktop003.xml", kLayout);
    std::atomic<bool> cancel{false};
    m_client.SetCancelFlag(&cancel);

    const StartupNotes notes =
        RunStartupSequence(m_session, m_client, "room7 3 0", [&](const StartupStep& step) {
            cancel = step.index == 3;  // the operator stops waiting during the third file
        });

    EXPECT_LE(m_server.requests().size(), 3u);
    EXPECT_TRUE(notes.serverUnreachable);
    EXPECT_TRUE(m_session.m_bServerFilesMissing);
    EXPECT_EQ(ReadFileBytes("desktop003.xml"), kLayout);
    EXPECT_EQ(m_session.m_nResWidth, 800);
}

TEST_F(StartupTest, AServerThatCannotBeReachedIsToldOnceAndMarksTheSession) {
    putServerFiles(m_server, "room7", {"desktop003.xml"});
    const StartupNotes reached = RunStartupSequence(m_session, m_client, "room7 3 0");
    EXPECT_FALSE(reached.serverUnreachable);
    EXPECT_FALSE(m_session.m_bServerFilesMissing);
    EXPECT_EQ(StartupServerMessage(reached), QString());

    // The server goes away between the first and the second start-up.
    m_server.stop();
    DesktopSession offline;
    CServerClient client;
    client.SetPauseFunction([](int) {});
    const StartupNotes notes = RunStartupSequence(offline, client, "room7 3 0");
    EXPECT_TRUE(notes.serverUnreachable);
    EXPECT_TRUE(offline.m_bServerFilesMissing);
    EXPECT_EQ(offline.m_nResWidth, 800);  // the local copy of desktop003.xml is shown
    const QString message = StartupServerMessage(notes);
    EXPECT_TRUE(message.startsWith(QStringLiteral("서버에 연결하지 못해 방의 파일을 가져오지")))
        << message.toStdString();
    EXPECT_FALSE(message.contains(QStringLiteral("지난번")));  // no record, no file list
    // The address tried, and how to name another.
    EXPECT_TRUE(message.contains(QString::fromStdString(m_server.address())));
    EXPECT_TRUE(message.contains(QStringLiteral("VERADA_SERVER")));

    // Desktop 0 never asks the server: nothing to tell.
    DesktopSession local;
    EXPECT_FALSE(RunStartupSequence(local, client, "room7 0 0").serverUnreachable);
    EXPECT_FALSE(local.m_bServerFilesMissing);
}

TEST_F(StartupTest, ARoomIdTooLongOrEmptyIsRefusedBeforeAnyRequest) {
    const std::string hangul20 = toCp949(QStringLiteral("가나다라마바사아자차"));
    ASSERT_EQ(hangul20.size(), 20u);
    for (const std::string& line : {std::string("abcdefghijklmnopqrst 1 0"), hangul20 + " 1 0",
                                    std::string(), std::string(" 1 0"), std::string(30, 'r')}) {
        SCOPED_TRACE(line);
        DesktopSession session;
        const StartupNotes notes = RunStartupSequence(session, m_client, line);
        EXPECT_TRUE(notes.roomIdRefused.contains(QStringLiteral("19바이트")))
            << notes.roomIdRefused.toStdString();
        EXPECT_TRUE(notes.roomIdRefused.contains(QStringLiteral("사용법: VeradaVodirev")));
        // No room id at all: the room file the menu entry reads, and where it goes.
        EXPECT_EQ(notes.roomIdRefused.contains(QStringLiteral("vodirev-room.txt")),
                  line.empty() || line[0] == ' ');
        EXPECT_EQ(session.m_nDesktop, 0);
        EXPECT_TRUE(session.m_pLauncherBitmap.isNull());
    }
    EXPECT_TRUE(m_server.requests().empty());
    EXPECT_FALSE(QDir("images/user").exists());
    EXPECT_TRUE(RoomIdProblem(ParseCommandLine("abcdefghijklmnopqrst 1"))
                    .contains(QStringLiteral("20바이트")));

    // 19 bytes are a room id.
    const StartupCommandLine longest = ParseCommandLine("abcdefghijklmnopqrs 1 0");
    EXPECT_EQ(RoomIdProblem(longest), QString());
    RunStartupSequence(m_session, m_client, "abcdefghijklmnopqrs 1 0");
    EXPECT_EQ(m_server.requests().front(), get("/pcroom/common/LIST_BACKGROUND.db"));
}

// Files an earlier save could not publish are not asked for: the working folder's
// copy holds the operator's edits. A record that is damaged, names files outside the
// working folder, belongs to another room or names files no longer here changes
// nothing.
TEST_F(StartupTest, FilesTheUnpublishedRecordNamesAreKept) {
    putServerFiles(m_server, "room7",
                   {"LIST_BACKGROUND_USER.db", "LIST_FOLDER_USER.db", "LIST_MENU_003.db",
                    "LIST_SYSMENU_003.db", "LIST_IMAGE_003.db", "desktop003.xml"});
    m_server.putFile("pcroom/room7/LAUNCHER_003.TXT", "10,20,1");
    const QByteArray editedLayout =
        "<desktop><background width=\"640\" height=\"480\"/></desktop>\r\n";
    WriteFileBytes("desktop003.xml", editedLayout);
    WriteFileBytes("LIST_MENU_003.db", "0;images\\icons\\mine.png;mine;d;m.exe;\r\n");
    QDir().mkpath("images/icons");
    QImage mine(16, 16, QImage::Format_RGB32);
    mine.fill(Qt::green);
    ASSERT_TRUE(mine.save("images/icons/mine.png"));
    WriteFileBytes("UNPUBLISHED_FILES.txt",
                   "room=room7\r\ndesktop003.xml\r\nLIST_MENU_003.db\r\n..\\LIST_FOLDER_USER.db\r\n"
                   "/pcroom/room7/LAUNCHER_003.TXT\r\nimages\\gone.png\r\n");

    const StartupNotes notes = RunStartupSequence(m_session, m_client, "room7 3 0");

    std::vector<std::string> expected = commonDownloads();
    for (const char* name : {"LIST_BACKGROUND_USER.db", "LIST_FOLDER_USER.db",
                             "LIST_SYSMENU_003.db", "LIST_IMAGE_003.db", "LAUNCHER_003.TXT"}) {
        append(expected, synced(std::string("/pcroom/room7/") + name));
    }
    EXPECT_EQ(m_server.requests(), expected);
    EXPECT_EQ(ReadFileBytes("desktop003.xml"), editedLayout);
    EXPECT_EQ(m_session.m_nResWidth, 640);
    ASSERT_EQ(m_session.m_arrMenu.size(), 1u);
    EXPECT_EQ(m_session.m_arrMenu[0].m_strName, "mine");
    EXPECT_EQ(notes.keptUnpublished,
              (std::vector<std::string>{"desktop003.xml", "LIST_MENU_003.db"}));
    EXPECT_FALSE(notes.serverUnreachable);
    const QString message = StartupServerMessage(notes);
    EXPECT_TRUE(message.startsWith(QStringLiteral("지난번에 서버에 올리지 못한 편집 내용")));
    EXPECT_TRUE(message.endsWith(QStringLiteral("\n  desktop003.xml\n  LIST_MENU_003.db")))
        << message.toStdString();

    for (const QByteArray& record :
         {QByteArray("room=other\r\ndesktop003.xml\r\n"), QByteArray("desktop003.xml\r\n"),
          QByteArray("room=room7\r\n\0\xFF\xFE\r\n", 16), QByteArray(5000, '\xB0'), QByteArray()}) {
        SCOPED_TRACE(record.toStdString());
        WriteFileBytes("UNPUBLISHED_FILES.txt", record);
        m_server.clearRequests();
        DesktopSession session;
        const StartupNotes plain = RunStartupSequence(session, m_client, "room7 3 0");
        EXPECT_TRUE(plain.keptUnpublished.empty());
        EXPECT_EQ(m_server.requests().size(), 5u + 2u * 7u);
        EXPECT_EQ(session.m_nResWidth, 800);  // the server's layout again
    }
}

namespace {

void writePicture(const QString& path, int width, int height) {
    QDir().mkpath(QFileInfo(path).path());
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    ASSERT_TRUE(image.save(path, "PNG"));
}

}  // namespace

// The launcher, the menu icons and the layout's pictures of one load share one
// budget of decoded pixels, in the order they are read: shown pictures count twice
// (the canvas keeps its own copy), menu icons once, a file named twice once. What
// does not fit is left out as if it did not decode, and named once.
TEST(StartupBudget, PicturesOfOneLoadShareOnePixelBudget) {
    ScopedWorkDir work;
    writePicture("images/bkicons/launcherA.bmp", 40, 10);  // 2 x 400
    writePicture("images/icons/m.png", 20, 20);            // 400, later shown: 400 more
    writePicture("images/icons/big.png", 100, 100);        // 10000: never fits
    writePicture("images/bg.png", 40, 40);                 // 2 x 1600
    writePicture("images/user/p1.png", 50, 50);            // 2 x 2500
    writePicture("images/user/p2.png", 10, 10);            // 2 x 100: the last that fits
    writePicture("images/user/p3.png", 1, 1);              // 2 x 1: nothing left
    WriteFileBytes("LAUNCHER_001.TXT", "0,100,0");
    WriteFileBytes("LIST_MENU_001.db",
                   "1;images\\icons\\m.png;a;d;p;u\r\n2;images\\icons\\big.png;b;d;p;u\r\n");
    WriteFileBytes("desktop001.xml",
                   "<desktop><background width=\"800\" height=\"600\"><image>images\\bg.png</image>"
                   "</background><icon x=\"1\" y=\"2\"><image>images\\icons\\m.png</image>"
                   "<title>t</title></icon>"
                   "<image><path>images\\user\\p1.png</path></image>"
                   "<image><path>images\\user\\p2.png</path></image>"
                   "<image><path>images\\user\\p3.png</path></image>"
                   "<image><path>images\\\\user\\\\p1.png</path></image>"
                   "<image><path>images\\icons\\big.png</path></image></desktop>");

    DesktopSession session;
    const StartupNotes notes = LoadWorkingFolder(session, 1, 10'000);
    EXPECT_FALSE(session.m_pLauncherBitmap.isNull());
    ASSERT_EQ(session.m_arrMenu.size(), 1u);  // the entry whose icon was refused is left out
    EXPECT_EQ(session.m_arrMenu[0].m_strName, "a");
    EXPECT_FALSE(session.m_desktop.m_imgBackground.isNull());
    ASSERT_EQ(session.m_desktop.m_arrFolder.size(), 1u);
    EXPECT_FALSE(session.m_desktop.m_arrFolder[0].m_pBitmap.isNull());
    const auto& pictures = session.m_desktop.m_arrUserImage;
    ASSERT_EQ(pictures.size(), 5u);
    EXPECT_EQ(pictures[0].m_pBitmap.size(), QSize(50, 50));
    EXPECT_EQ(pictures[1].m_pBitmap.size(), QSize(10, 10));
    EXPECT_TRUE(pictures[2].m_pBitmap.isNull());
    EXPECT_EQ(pictures[2].m_strPath, "images\\user\\p3.png");  // kept for saving
    EXPECT_EQ(pictures[3].m_pBitmap.size(), QSize(50, 50));    // the same file: no new charge
    EXPECT_TRUE(pictures[4].m_pBitmap.isNull());
    EXPECT_EQ(notes.refusedImages, QStringList({"images/icons/big.png", "images/user/p3.png"}));

    const QString message = RefusedImagesMessage(notes.refusedImages);
    EXPECT_TRUE(message.contains(QStringLiteral("images/icons/big.png\nimages/user/p3.png")))
        << message.toStdString();
    QStringList many;
    for (int i = 0; i < 25; ++i) {
        many << QStringLiteral("f%1.png").arg(i);
    }
    const QString shortened = RefusedImagesMessage(many);
    EXPECT_TRUE(shortened.contains(QStringLiteral("f9.png")));
    EXPECT_FALSE(shortened.contains(QStringLiteral("f10.png")));
    EXPECT_TRUE(shortened.contains(QStringLiteral("15")));

    // With the editor's own budget nothing of this is left out.
    DesktopSession roomy;
    EXPECT_TRUE(LoadWorkingFolder(roomy, 1).refusedImages.isEmpty());
    EXPECT_EQ(roomy.m_arrMenu.size(), 2u);
}
