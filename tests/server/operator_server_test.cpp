// The reference operator server, run as the built program and spoken to by the
// editor's own client (and raw sockets where the client would refuse).

#include "operator_server.h"
#include "base/paths.h"
#include "base/text.h"
#include "common/temp_dir.h"
#include "server/connected_client_test.h"
#include "server/recording_server.h"
#include "server/reference_server.h"
#include "server/server_client.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

namespace vodirev {
namespace {

using test::ReadFileBytes;
using test::ScopedWorkDir;
using test::WriteFileBytes;
using Lines = std::vector<std::string>;

class OperatorServerTest : public test::ConnectedClientTest {
protected:
    std::string title(std::string_view room, int desktop) {
        std::string text = "(none)";
        EXPECT_EQ(client.QueryText(
                      "getTitle.jsp?id=" + std::string(room) + "&type=" + std::to_string(desktop),
                      text, 512),
                  0);
        return text;
    }

    std::string post(const std::string& contentType, const std::string& body) {
        return test::RawExchange(server.port(),
                                 "POST /upload_file.jsp HTTP/1.1\r\nHost: x\r\n"
                                 "Connection: close\r\nContent-Type: " +
                                     contentType + "\r\nContent-Length: " +
                                     std::to_string(body.size()) + "\r\n\r\n" + body);
    }
};

TEST_F(OperatorServerTest, AnswersEveryEndpointFromItsDataFolder) {
    server.putFile("pcroom/common/LIST_MENU.db", "menu\r\n");
    server.putFile("pcroom/common/images\\background\\b.jpg", "bg");
    server.putFile("pcroom/R1/images\\icons\\i.png", "icon");
    server.putFile("pcroom/R1/desktop003.xml", "<xml/>");

    EXPECT_EQ(client.DownloadFile("/pcroom/common/LIST_MENU.db", "LIST_MENU.db"), 0);
    EXPECT_EQ(ReadFileBytes("LIST_MENU.db"), "menu\r\n");
    EXPECT_EQ(client.QueryNumber("exist.jsp?fn=/pcroom/R1/desktop003.xml"), 1);
    EXPECT_EQ(client.QueryNumber("exist.jsp?fn=/pcroom/R1/desktop004.xml"), 0);
    EXPECT_EQ(client.QueryNumber("exist.jsp?fn=/pcroom/R1/images"), 0);  // a folder
    EXPECT_EQ(client.DownloadFile("/pcroom/R1/desktop004.xml", "desktop004.xml"), -1);
    EXPECT_EQ(client.LastStatus(), 404);
    EXPECT_EQ(
        client.DownloadFile("getimage.jsp?fn=pcroom/common/images\\background\\b.jpg", "b.jpg"), 0);
    EXPECT_EQ(ReadFileBytes("b.jpg"), "bg");
    EXPECT_EQ(client.DownloadFile("geticon.jsp?fn=pcroom/R1/images\\icons\\i.png", "i.png"), 0);
    EXPECT_EQ(ReadFileBytes("i.png"), "icon");
    EXPECT_EQ(client.QueryNumber("is_file.jsp?id=R1&fn=R1/images/icons/i.png&type=2"), 1);
    EXPECT_EQ(client.QueryNumber("is_file.jsp?id=R1&fn=R1/images\\icons\\i.png&type=2"), 1);
    EXPECT_EQ(client.QueryNumber("is_file.jsp?id=R1&fn=R1/images/icons/j.png&type=2"), 0);
    EXPECT_EQ(title("R1", 3), "");
    EXPECT_EQ(client.QueryNumber("sync.jsp"), 1);
    EXPECT_FALSE(client.TransportFailed());

    EXPECT_EQ(
        server.requests(),
        (Lines{"GET /pcroom/common/LIST_MENU.db", "GET /exist.jsp?fn=/pcroom/R1/desktop003.xml",
               "GET /exist.jsp?fn=/pcroom/R1/desktop004.xml", "GET /exist.jsp?fn=/pcroom/R1/images",
               "GET /pcroom/R1/desktop004.xml",
               "GET /getimage.jsp?fn=pcroom/common/images\\background\\b.jpg",
               "GET /geticon.jsp?fn=pcroom/R1/images\\icons\\i.png",
               "GET /is_file.jsp?id=R1&fn=R1/images/icons/i.png&type=2",
               "GET /is_file.jsp?id=R1&fn=R1/images\\icons\\i.png&type=2",
               "GET /is_file.jsp?id=R1&fn=R1/images/icons/j.png&type=2",
               "GET /getTitle.jsp?id=R1&type=3", "GET /sync.jsp"}));
}

TEST_F(OperatorServerTest, HangulAndSpacesInNamesMapToReadableFiles) {
    const std::string photo = toCp949(QStringLiteral("사진"));
    server.putFile("pcroom/R1/images\\user\\3_" + photo + ".jpg", "jpeg");
    EXPECT_TRUE(
        QFileInfo(server.root() + QStringLiteral("/pcroom/R1/images/user/3_사진.jpg")).isFile());
    EXPECT_EQ(client.DownloadFile("/pcroom/R1/images\\user\\3_" + photo + ".jpg", "p.jpg"), 0);
    EXPECT_EQ(ReadFileBytes("p.jpg"), "jpeg");

    server.putFile("pcroom/R1/my list.db", "spaced");
    EXPECT_EQ(client.DownloadFile("/pcroom/R1/my list.db", "my list.db"), 0);
    EXPECT_EQ(ReadFileBytes("my list.db"), "spaced");

    EXPECT_EQ(server.requests(), (Lines{"GET /pcroom/R1/images\\user\\3_" + photo + ".jpg",
                                        "GET /pcroom/R1/my%20list.db"}));
}

TEST_F(OperatorServerTest, ARegisteredTitleComesBackUnchanged) {
    const std::string roomTitle = toCp949(QStringLiteral("우리 방 100% & 더"));
    EXPECT_EQ(client.QueryNumber("desktop_manager.jsp?id=R1&type=3&kind=1&fn=R1/desktop003.gif"
                                 "&width=1024&height=768&title=" +
                                 roomTitle),
              1);
    EXPECT_EQ(client.QueryNumber("desktop_manager.jsp?id=R1&type=4&kind=1&fn=R1/desktop004.gif"
                                 "&width=800&height=600&title=second"),
              1);
    EXPECT_EQ(title("R1", 3), roomTitle);
    EXPECT_EQ(title("R1", 4), "second");
    EXPECT_EQ(title("R2", 3), "");

    // Registering again replaces the title; an empty title is a title.
    EXPECT_EQ(client.QueryNumber("desktop_manager.jsp?id=R1&type=3&kind=1&fn=R1/desktop003.gif"
                                 "&width=1024&height=768&title="),
              1);
    EXPECT_EQ(title("R1", 3), "");
    EXPECT_EQ(title("R1", 4), "second");
    EXPECT_EQ(server.requests()[0],
              "GET /desktop_manager.jsp?id=R1&type=3&kind=1&fn=R1/desktop003.gif&width=1024"
              "&height=768&title=" +
                  toCp949(QStringLiteral("우리%20방%20100%%20&%20더")));
}

TEST_F(OperatorServerTest, UploadsAreStoredUnderTheirRemoteNames) {
    const std::string binary = std::string("\0\r\n\xff", 4) + std::string(5000, 'b');
    const struct {
        std::string local;
        std::string remote;
        std::string content;
    } files[] = {
        {"images\\icons\\a.png", "R1/images/icons/a.png", binary},
        {"LIST_MENU_003.db", "R1/LIST_MENU_003.db", "1;a;b;c;d;e\r\n2;f;g;h;i;j\r\n"},
        {"LAUNCHER_003.TXT", "R1/LAUNCHER_003.TXT", ""},
    };
    for (const auto& f : files) {
        WriteFileBytes(localPath(f.local), QByteArray::fromStdString(f.content));
        EXPECT_EQ(client.UploadFile(f.local, f.remote, "upload_file.jsp", "R1"), 0);
        EXPECT_EQ(client.LastStatus(), 200);
        EXPECT_EQ(server.fileBytes("pcroom/" + f.remote).toStdString(), f.content) << f.remote;
        EXPECT_EQ(server.requests().back(), "POST /upload_file.jsp " + f.remote);
    }
    // Replacing an older copy.
    WriteFileBytes("LAUNCHER_003.TXT", "0,100,1");
    EXPECT_EQ(client.UploadFile("LAUNCHER_003.TXT", "R1/LAUNCHER_003.TXT", "upload_file.jsp", "R1"),
              0);
    EXPECT_EQ(server.fileBytes("pcroom/R1/LAUNCHER_003.TXT"), "0,100,1");
}

TEST_F(OperatorServerTest, NamesThatLeaveTheDataFolderAreRefused) {
    QFile secret(server.root() + "/secret.txt");
    ASSERT_TRUE(secret.open(QIODevice::WriteOnly));
    secret.write("secret");
    secret.close();
    server.putFile("pcroom/R1/a.db", "a");

    for (const std::string target :
         {"/pcroom/../secret.txt", "/pcroom/R1/..\\..\\secret.txt", "/pcroom/R1/../../secret.txt",
          "getimage.jsp?fn=pcroom/common/../../secret.txt", "geticon.jsp?fn=/etc/passwd",
          "getimage.jsp?fn=secret.txt"}) {
        EXPECT_EQ(client.DownloadFile(target, "got.txt"), -1) << target;
        EXPECT_EQ(client.LastStatus(), 403) << target;
    }
    EXPECT_FALSE(QFileInfo::exists("got.txt"));
    for (const std::string target :
         {"exist.jsp?fn=/pcroom/../secret.txt", "exist.jsp?fn=/secret.txt",
          "is_file.jsp?id=R1&fn=../secret.txt&type=2",
          "desktop_manager.jsp?id=..&type=1&kind=1&fn=x.gif&width=1&height=1&title=t",
          "desktop_manager.jsp?id=R1\\..\\..&type=1&kind=1&fn=x.gif&width=1&height=1&title=t"}) {
        EXPECT_EQ(client.QueryNumber(target), 0) << target;
    }
    std::string text;
    EXPECT_EQ(client.QueryText("getTitle.jsp?id=../..&type=1", text), 0);
    EXPECT_EQ(text, "");

    WriteFileBytes("evil.txt", "evil");
    for (const char* remote :
         {"../evil.txt", "R1/../../evil.txt", "/evil.txt", "R1\\..\\..\\evil.txt"}) {
        EXPECT_EQ(client.UploadFile("evil.txt", remote, "upload_file.jsp", "R1"), 0);
        EXPECT_EQ(client.LastStatus(), 403) << remote;
        EXPECT_EQ(server.requests().back(), "POST /upload_file.jsp refused");
    }
    EXPECT_FALSE(QFileInfo::exists(server.root() + "/evil.txt"));
    EXPECT_FALSE(QFileInfo::exists(server.root() + "/pcroom/evil.txt"));
    EXPECT_EQ(ReadFileBytes(server.root() + "/secret.txt"), "secret");

    // A raw control byte in a target is refused as well.
    const std::string answer = test::RawExchange(
        server.port(), "GET /pcroom/R1/a.db\x01 HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    EXPECT_NE(test::StatusOf(answer), 200);
}

// An upload lands only in the folder of its room id: room7 cannot replace the common
// lists or another room's files, whatever the file part is named.
TEST_F(OperatorServerTest, AnUploadStaysInsideItsRoomsFolder) {
    server.putFile("pcroom/common/LIST_MENU.db", "common menu\r\n");
    server.putFile("pcroom/room8/LIST_MENU.db", "room8 menu\r\n");
    WriteFileBytes("LIST_MENU.db", "evil\r\n");
    for (const char* remote : {"common/LIST_MENU.db", "room8/LIST_MENU.db", "room7",
                               "room7x/LIST_MENU.db", "room7\\..\\common\\LIST_MENU.db"}) {
        EXPECT_EQ(client.UploadFile("LIST_MENU.db", remote, "upload_file.jsp", "room7"), 0);
        EXPECT_EQ(client.LastStatus(), 403) << remote;
        EXPECT_EQ(server.requests().back(), "POST /upload_file.jsp refused") << remote;
    }
    // An id that is not one folder name stores nothing either.
    for (const char* id : {"", "room7/images", ".."}) {
        EXPECT_EQ(client.UploadFile("LIST_MENU.db", "room7/LIST_MENU.db", "upload_file.jsp", id),
                  0);
        EXPECT_EQ(client.LastStatus(), 403) << id;
    }
    EXPECT_EQ(server.fileBytes("pcroom/common/LIST_MENU.db"), "common menu\r\n");
    EXPECT_EQ(server.fileBytes("pcroom/room8/LIST_MENU.db"), "room8 menu\r\n");
    EXPECT_FALSE(server.hasFile("pcroom/room7/LIST_MENU.db"));

    // Inside it, with either kind of separator, the upload is stored.
    EXPECT_EQ(client.UploadFile("LIST_MENU.db", "room7/images\\a.db", "upload_file.jsp", "room7"),
              0);
    EXPECT_EQ(client.LastStatus(), 200);
    EXPECT_EQ(server.fileBytes("pcroom/room7/images/a.db"), "evil\r\n");
}

// A connection to the server on 127.0.0.1 that sends nothing yet; -1 on failure.
int ConnectTo(int port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) {
        return -1;
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Idle connections hold a worker only for a few seconds, and there are enough
// workers that sixteen of them leave the others answered at once.
TEST_F(OperatorServerTest, IdleConnectionsDoNotBlockOtherClients) {
    std::vector<int> idle;
    for (int i = 0; i < 16; ++i) {
        const int fd = ConnectTo(server.port());
        ASSERT_GE(fd, 0);
        idle.push_back(fd);
    }
    // The server has taken them all before the next client comes.
    ASSERT_EQ(test::StatusOf(test::RawExchange(
                  server.port(), "GET /sync.jsp HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n")),
              200);
    const auto start = std::chrono::steady_clock::now();
    const std::string answer = test::RawExchange(
        server.port(), "GET /sync.jsp HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(test::StatusOf(answer), 200);
    EXPECT_LT(waited, std::chrono::seconds(1));
    for (const int fd : idle) {
        ::close(fd);
    }
}

// 300 clients that connect and then send nothing or one byte at a time each hold a
// connection, yet another client's GET is still answered at once.
TEST_F(OperatorServerTest, ThreeHundredSlowConnectionsLeaveOthersAnswered) {
    std::vector<int> slow;
    for (int i = 0; i < 300; ++i) {
        const int fd = ConnectTo(server.port());
        ASSERT_GE(fd, 0);
        if (i % 2 == 0) {
            ASSERT_EQ(::send(fd, "G", 1, MSG_NOSIGNAL), 1);  // a head begun, never ended
        }
        slow.push_back(fd);
    }
    const auto start = std::chrono::steady_clock::now();
    const std::string answer = test::RawExchange(
        server.port(), "GET /sync.jsp HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n");
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(test::StatusOf(answer), 200);
    EXPECT_LT(waited, std::chrono::seconds(1));
    std::printf("GET behind 300 slow connections: %lld ms\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(waited).count()));
    for (const int fd : slow) {
        ::close(fd);
    }
}

// Two servers on one port would split the editor's requests between them: the
// second refuses to start.
TEST_F(OperatorServerTest, ASecondServerOnAPortInUseRefusesToStart) {
    QTemporaryDir root;
    QProcess second;
    second.start(qEnvironmentVariable("VODIREV_BIN_DIR") + "/tools/server/vodirev-server",
                 {"--root", root.path(), "--port", QString::number(server.port())});
    ASSERT_TRUE(second.waitForStarted());
    if (!second.waitForFinished(10000)) {
        second.kill();
        second.waitForFinished();
        FAIL() << "the second server kept running";
    }
    EXPECT_NE(second.exitCode(), 0);
    const QString error = QString::fromLocal8Bit(second.readAllStandardError());
    EXPECT_TRUE(error.contains(QStringLiteral("already in use"))) << error.toStdString();
    EXPECT_EQ(client.QueryNumber("sync.jsp"), 1);  // the first one carries on
}

TEST_F(OperatorServerTest, MalformedUploadsGetBadRequestAndTheServerCarriesOn) {
    const std::string type = "multipart/form-data; boundary=XyZ";
    const std::string good =
        "--XyZ\r\nContent-Disposition: form-data; name=\"id\"; value=\"R1\";\r\n--XyZ\r\n"
        "Content-Disposition: form-data; name=\"R1/ok.txt\"; filename=\"ok.txt\"\r\n\r\nok\r\n\r\n"
        "--XyZ--\r\n";
    EXPECT_EQ(test::StatusOf(post(type, good)), 200);
    EXPECT_EQ(server.fileBytes("pcroom/R1/ok.txt"), "ok");

    const std::string bad[][2] = {
        {"multipart/form-data", good},            // no boundary
        {"text/plain", good},                     // not multipart
        {type, good.substr(0, good.size() - 9)},  // no closing delimiter
        {type, "--XyZ\r\nContent-Disposition: form-data; name=\"id\"\r\n\r\nR1\r\n--XyZ--\r\n"},
        {type, "garbage"},
        {type, ""},
    };
    for (const auto& [contentType, body] : bad) {
        EXPECT_EQ(test::StatusOf(post(contentType, body)), 400) << body;
    }
    EXPECT_EQ(test::StatusOf(test::RawExchange(
                  server.port(),
                  "GET /upload_file.jsp HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n")),
              405);
    EXPECT_EQ(client.QueryNumber("sync.jsp"), 1);
}

TEST_F(OperatorServerTest, AServerStoppedHalfwayFailsLikeNoConnection) {
    EXPECT_EQ(client.QueryNumber("sync.jsp"), 1);
    server.stop();
    EXPECT_EQ(client.QueryNumber("sync.jsp"), -1);
    EXPECT_TRUE(client.TransportFailed());
    EXPECT_TRUE(client.m_bError);
}

// The room id is the client's word: the common folder, a room the data folder does
// not have and the name an earlier server kept its registry under are refused, and a
// forged registry cannot change a title.
TEST_F(OperatorServerTest, UploadsGoOnlyIntoRoomsTheServerHasAndNeverOverItsOwnFiles) {
    server.putFile("pcroom/common/desktop001.xml", "common\r\n");
    WriteFileBytes("x.db", "3\t1\t1\tR1/d.gif\tforged\n");
    const struct {
        const char* remote;
        const char* id;
    } refused[] = {{"common/desktop001.xml", "common"},
                   {"R9/LIST_MENU.db", "R9"},
                   {"R1/desktops.txt", "R1"},
                   {"R1/DESKTOPS.TXT", "R1"}};
    for (const auto& upload : refused) {
        EXPECT_EQ(client.UploadFile("x.db", upload.remote, "upload_file.jsp", upload.id), 0);
        EXPECT_EQ(client.LastStatus(), 403) << upload.remote;
    }
    EXPECT_EQ(server.fileBytes("pcroom/common/desktop001.xml"), "common\r\n");
    EXPECT_FALSE(QFileInfo::exists(server.root() + "/pcroom/R9"));
    EXPECT_EQ(client.QueryNumber("desktop_manager.jsp?id=R9&type=3&kind=1&fn=R9/d.gif"
                                 "&width=1&height=1&title=t"),
              0);
    EXPECT_EQ(client.QueryNumber("desktop_manager.jsp?id=common&type=3&kind=1&fn=c/d.gif"
                                 "&width=1&height=1&title=t"),
              0);

    // The registry lives outside the served tree.
    EXPECT_EQ(client.QueryNumber("desktop_manager.jsp?id=R1&type=3&kind=1&fn=R1/d.gif"
                                 "&width=1&height=1&title=real"),
              1);
    EXPECT_EQ(title("R1", 3), "real");
    EXPECT_FALSE(server.hasFile("pcroom/R1/desktops.txt"));
    EXPECT_EQ(client.DownloadFile("/registry/R1/desktops.txt", "r.txt"), -1);
}

// An operator who names the rooms gets only those, whatever folders the data has.
TEST(OperatorServerRooms, OnlyTheNamedRoomsRegisterDesktops) {
    test::ScopedWorkDir work;
    QDir().mkpath("data/pcroom/R1");
    server::RequestLog log;
    server::OperatorServer named(work.filePath("data"), log, {"R2"});
    const std::string query = "&type=3&kind=1&fn=d.gif&width=1&height=1&title=t";
    EXPECT_EQ(named.handleRequest("GET", "/desktop_manager.jsp?id=R1" + query).status, 403);
    EXPECT_EQ(named.handleRequest("GET", "/desktop_manager.jsp?id=R2" + query).status, 200);
    server::OperatorServer byFolder(work.filePath("data"), log);
    EXPECT_EQ(byFolder.handleRequest("GET", "/desktop_manager.jsp?id=R1" + query).status, 200);
    EXPECT_EQ(byFolder.handleRequest("GET", "/desktop_manager.jsp?id=R3" + query).status, 403);
    EXPECT_TRUE(QFileInfo(work.filePath("data/registry/R2/desktops.txt")).isFile());
}

}  // namespace
}  // namespace vodirev
