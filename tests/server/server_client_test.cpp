#include "server/server_client.h"

#include "base/text.h"
#include "common/temp_dir.h"
#include "server/recording_server.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <climits>
#include <cstdlib>

namespace vodirev {
namespace {

using test::ReadFileBytes;
using test::RecordingServer;
using test::ScopedWorkDir;
using test::WriteFileBytes;

const std::string kDelimiter = "-----------------------------7d13a23b368\r\n";
const std::string kTail = "\r\n\r\n-----------------------------7d13a23b368--\r\n";

// The upload body the server must receive, written out from the wire format.
std::string expectedBody(const std::string& roomId, const std::string& remoteName,
                         const std::string& localPath, const std::string& content) {
    return kDelimiter + "Content-Disposition: form-data; name=\"id\"; value=\"" + roomId +
           "\";\r\n" + kDelimiter + "Content-Disposition: form-data; name=\"" + remoteName +
           "\"; filename=\"" + localPath + "\"\r\nContent-Type: application/octet-stream\r\n\r\n" +
           content + kTail;
}

std::string headOf(const std::string& request) {
    return request.substr(0, request.find("\r\n\r\n") + 4);
}

std::string bodyOf(const std::string& request) {
    return request.substr(request.find("\r\n\r\n") + 4);
}

class ClientTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_GT(server.port(), 0);
        client.SetServerAddress({"127.0.0.1", server.port()});
        client.SetPauseFunction([this](int ms) { pauses.push_back(ms); });
        client.Connect();
        ASSERT_FALSE(client.m_bError);
    }

    std::string host() const { return "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n"; }

    ScopedWorkDir work;
    RecordingServer server;
    CServerClient client;
    std::vector<int> pauses;
};

TEST_F(ClientTest, QueryNumberReadsTheLeadingDigitsOfWhateverBodyArrives) {
    const struct {
        int status;
        std::string reply;
        int expected;
    } cases[] = {
        {200, "1\r\n", 1}, {200, "12ab", 12},   {200, "-1", -1},
        {200, " 1", -1},   {200, "", -1},       {200, "\r\n7\r\n", 7},
        {200, "0", 0},     {200, "a1", -1},     {200, "99999999999", INT_MAX},
        {404, "1", 1},     {500, "<html>", -1},
    };
    for (const auto& c : cases) {
        server.setReply(c.status, c.reply);
        EXPECT_EQ(client.QueryNumber("exist.jsp?fn=/pcroom/common/LIST_MENU.db"), c.expected)
            << "reply " << c.reply;
        EXPECT_EQ(client.LastStatus(), c.status);
    }
    EXPECT_EQ(pauses, std::vector<int>(std::size(cases), 100));
    EXPECT_FALSE(client.TransportFailed());
}

TEST_F(ClientTest, QueryTextJoinsLinesAndKeepsWholeCharactersWithinTheBuffer) {
    std::string text = "old";
    server.setReply(200, "ab\r\ncd\n");
    EXPECT_EQ(client.QueryText("getTitle.jsp?id=R1&type=3", text), 0);
    EXPECT_EQ(text, "abcd");

    server.setReply(200, "");
    EXPECT_EQ(client.QueryText("getTitle.jsp?id=R1&type=3", text), 0);
    EXPECT_EQ(text, "");

    server.setReply(200, std::string(2000, 'x'));
    EXPECT_EQ(client.QueryText("getTitle.jsp?id=R1&type=3", text), 0);
    EXPECT_EQ(text, std::string(1023, 'x'));
    EXPECT_EQ(client.QueryText("getTitle.jsp?id=R1&type=3", text, 512), 0);
    EXPECT_EQ(text, std::string(511, 'x'));

    // 600 two-byte characters: the 1023-byte reply buffer holds 511 of them.
    std::string hangul;
    for (int i = 0; i < 600; ++i) {
        hangul += "\xB0\xA1";
    }
    server.setReply(200, hangul);
    EXPECT_EQ(client.QueryText("getTitle.jsp?id=R1&type=3", text), 0);
    EXPECT_EQ(text, hangul.substr(0, 1022));

    server.setReply(200, std::string("ab\0cd", 5));
    EXPECT_EQ(client.QueryText("getTitle.jsp?id=R1&type=3", text), 0);
    EXPECT_EQ(text, "ab");
}

TEST_F(ClientTest, GetRequestsCarryNothingButTheHostAndTheAgent) {
    server.setReply(200, "1");
    client.QueryNumber("sync.jsp");
    std::string text;
    client.QueryText("/getTitle.jsp?id=R1&type=3", text);
    client.DownloadFile("/pcroom/common/LIST_MENU.db", "LIST_MENU.db");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    const std::string agent = "User-Agent: VeradaVodirev\r\n";
    EXPECT_EQ(requests[0], "GET /sync.jsp HTTP/1.1\r\n" + host() + agent + "\r\n");
    EXPECT_EQ(requests[1], "GET /getTitle.jsp?id=R1&type=3 HTTP/1.1\r\n" + host() + agent + "\r\n");
    EXPECT_EQ(requests[2],
              "GET /pcroom/common/LIST_MENU.db HTTP/1.1\r\n" + host() + agent + "\r\n");
    EXPECT_EQ(server.connections(), 1);  // kept alive
}

// A server that breaks off a request on a kept-alive connection: the request is not
// sent again on a new connection, and nothing is sent after it. A broken upload
// fails that upload only.
TEST_F(ClientTest, ABrokenRequestIsSentOnceAndOnlyABrokenQueryEndsTheSession) {
    WriteFileBytes("a.db", "content");
    server.setReply(200, "1");
    EXPECT_EQ(client.QueryNumber("sync.jsp"), 1);
    server.setDropWhen(
        [](const std::string& request) { return request.find("a.db") != std::string::npos; });
    EXPECT_EQ(client.UploadFile("a.db", "R1/a.db", "upload_file.jsp", "R1"), -1);
    EXPECT_FALSE(client.TransportFailed());
    EXPECT_EQ(client.QueryNumber("sync.jsp"), 1);  // a new connection
    EXPECT_EQ(server.requests().size(), 3u);

    server.setDropWhen([](const std::string&) { return true; });
    EXPECT_EQ(client.QueryNumber("is_file.jsp?id=R1&fn=R1/a.db&type=2"), -1);
    EXPECT_TRUE(client.TransportFailed());
    EXPECT_EQ(client.QueryNumber("sync.jsp"), -1);
    EXPECT_EQ(client.UploadFile("a.db", "R1/a.db", "upload_file.jsp", "R1"), -1);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[3].substr(0, 20), "GET /is_file.jsp?id=");
}

TEST_F(ClientTest, TargetsTravelAsTheirBytesWithOnlyTheSpaceEncoded) {
    const std::string hangulPath =
        "/pcroom/R1/images\\user\\3_" + toCp949(QStringLiteral("사진")) + ".jpg";
    server.setReply(200, "1");
    client.DownloadFile(hangulPath, "photo.jpg");
    client.QueryNumber(
        "desktop_manager.jsp?id=R1&type=3&kind=1&fn=R1/desktop003.gif&width=1024"
        "&height=768&title=our room 100%");
    client.QueryNumber("exist.jsp?fn=/pcroom/R1/a%20b\\c.db");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].substr(0, requests[0].find("\r\n")),
              "GET /pcroom/R1/images\\user\\3_\xBB\xE7\xC1\xF8.jpg HTTP/1.1");
    EXPECT_EQ(requests[1].substr(0, requests[1].find("\r\n")),
              "GET /desktop_manager.jsp?id=R1&type=3&kind=1&fn=R1/desktop003.gif&width=1024"
              "&height=768&title=our%20room%20100% HTTP/1.1");
    EXPECT_EQ(requests[2].substr(0, requests[2].find("\r\n")),
              "GET /exist.jsp?fn=/pcroom/R1/a%20b\\c.db HTTP/1.1");
}

TEST_F(ClientTest, ControlBytesRefuseTheRequestWithoutSendingIt) {
    WriteFileBytes("LIST_MENU.db", "kept");
    server.setReply(200, "1");
    const std::string refused[] = {"a\rb",  "a\nb", "a\tb", std::string("a\0b", 3),
                                   "a\x7f", "a\x1f"};
    for (const std::string& bad : refused) {
        EXPECT_EQ(client.QueryNumber("exist.jsp?fn=" + bad), -1);
        std::string text = "untouched";
        EXPECT_EQ(client.QueryText("getTitle.jsp?id=" + bad, text), -1);
        EXPECT_EQ(text, "untouched");
        EXPECT_EQ(client.DownloadFile("/pcroom/" + bad, "LIST_MENU.db"), -1);
        EXPECT_EQ(client.UploadFile("LIST_MENU.db", "R1/LIST_MENU.db", "upload" + bad, "R1"), -1);
    }
    EXPECT_TRUE(server.requests().empty());
    EXPECT_EQ(ReadFileBytes("LIST_MENU.db"), "kept");
    // A refused request is no connection failure: the next one goes out.
    EXPECT_FALSE(client.m_bError);
    EXPECT_FALSE(client.TransportFailed());
    EXPECT_EQ(client.QueryNumber("sync.jsp"), 1);
}

TEST_F(ClientTest, UploadSendsTheMultipartBodyAndHeadersByteForByte) {
    const std::string content =
        std::string("\x89PNG\r\n\x1a\n", 8) + std::string(300, '\0') + "end";
    WriteFileBytes("images/icons/a.png", QByteArray::fromStdString(content));
    server.setReply(200, "whatever\r\nthe server says\r\n");
    EXPECT_EQ(
        client.UploadFile("images\\icons\\a.png", "R1/images/icons/a.png", "upload_file.jsp", "R1"),
        0);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    const std::string body =
        expectedBody("R1", "R1/images/icons/a.png", "images\\icons\\a.png", content);
    EXPECT_EQ(bodyOf(requests[0]), body);
    EXPECT_EQ(kTail.size(), 48u);

    // The header lines, in any order, and nothing else (no Expect, no chunking).
    const std::string head = headOf(requests[0]);
    EXPECT_EQ(head.substr(0, head.find("\r\n")), "POST /upload_file.jsp HTTP/1.1");
    std::vector<std::string> lines;
    for (std::size_t pos = head.find("\r\n") + 2; pos + 2 < head.size();) {
        const std::size_t end = head.find("\r\n", pos);
        lines.push_back(head.substr(pos, end - pos));
        pos = end + 2;
    }
    std::vector<std::string> expected = {
        host().substr(0, host().size() - 2),
        "Accept: text/*",
        "Content-Type: multipart/form-data; boundary=---------------------------7d13a23b368",
        "User-Agent: VADer",
        "Content-Length: " + std::to_string(body.size()),
    };
    std::sort(lines.begin(), lines.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(lines, expected);
}

TEST_F(ClientTest, UploadBodyGoesInThousandByteWritesWithTenMillisecondPauses) {
    const std::size_t overhead = expectedBody("R1", "R1/f.bin", "f.bin", "").size();
    const struct {
        std::size_t total;
        std::vector<std::size_t> writes;
        std::vector<int> pauses;
    } cases[] = {
        {2000, {1000, 1000, 0}, {100, 10, 10}},
        {2500, {1000, 1000, 500}, {100, 10, 10}},
        {overhead + 1, {overhead + 1}, {100}},
        {1000, {1000, 0}, {100, 10}},
    };
    for (const auto& c : cases) {
        const std::string content(c.total - overhead, 'z');
        WriteFileBytes("f.bin", QByteArray::fromStdString(content));
        pauses.clear();
        ASSERT_EQ(client.UploadFile("f.bin", "R1/f.bin", "upload_file.jsp", "R1"), 0);
        EXPECT_EQ(client.LastUploadWrites(), c.writes) << c.total;
        EXPECT_EQ(pauses, c.pauses) << c.total;
        EXPECT_EQ(bodyOf(server.requests().back()),
                  expectedBody("R1", "R1/f.bin", "f.bin", content));
    }
    EXPECT_EQ(server.connections(), 1);
}

TEST_F(ClientTest, UploadOfAMissingFileSendsNothing) {
    EXPECT_EQ(client.UploadFile("images\\icons\\none.png", "R1/images/icons/none.png",
                                "upload_file.jsp", "R1"),
              -1);
    EXPECT_TRUE(server.requests().empty());
    EXPECT_EQ(pauses, std::vector<int>{100});  // the pause comes first
    EXPECT_FALSE(client.m_bError);
}

TEST_F(ClientTest, DownloadReplacesTheLocalFileOnlyWithAWholeGoodAnswer) {
    WriteFileBytes("LIST_MENU.db", "old");
    server.setReply(200, "new\r\nlist\r\n");
    EXPECT_EQ(client.DownloadFile("/pcroom/common/LIST_MENU.db", "LIST_MENU.db"), 0);
    EXPECT_EQ(ReadFileBytes("LIST_MENU.db"), "new\r\nlist\r\n");

    server.setReply(404, "<html>not found</html>");
    EXPECT_EQ(client.DownloadFile("/pcroom/common/LIST_MENU.db", "LIST_MENU.db"), -1);
    EXPECT_EQ(ReadFileBytes("LIST_MENU.db"), "new\r\nlist\r\n");
    EXPECT_EQ(client.LastStatus(), 404);
    EXPECT_FALSE(client.TransportFailed());

    server.setReply(200, "");
    EXPECT_EQ(client.DownloadFile("/pcroom/common/LIST_FOLDER.db", "LIST_FOLDER.db"), 0);
    EXPECT_TRUE(QFileInfo::exists("LIST_FOLDER.db"));
    EXPECT_EQ(ReadFileBytes("LIST_FOLDER.db"), "");

    // No folder to write into: nothing is asked.
    const auto before = server.requests().size();
    EXPECT_EQ(client.DownloadFile("/pcroom/common/x.db", "no/such/folder/x.db"), -1);
    EXPECT_EQ(server.requests().size(), before);

    // The answer breaks off: the old file stays, and the server counts as gone.
    server.setRawReply("HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\nshort");
    EXPECT_EQ(client.DownloadFile("/pcroom/common/LIST_MENU.db", "LIST_MENU.db"), -1);
    EXPECT_EQ(ReadFileBytes("LIST_MENU.db"), "new\r\nlist\r\n");
    EXPECT_TRUE(client.TransportFailed());
    EXPECT_TRUE(client.m_bError);

    // No temporary file is left behind.
    EXPECT_EQ(QDir(".").entryList(QDir::Files), (QStringList{"LIST_FOLDER.db", "LIST_MENU.db"}));
}

TEST(ClientWithoutConnection, OperationsReturnAtOnceAndSendNothing) {
    ScopedWorkDir work;
    RecordingServer server;
    CServerClient client;
    std::vector<int> pauses;
    client.SetServerAddress({"127.0.0.1", server.port()});
    client.SetPauseFunction([&](int ms) { pauses.push_back(ms); });
    WriteFileBytes("a.db", "local");
    ASSERT_TRUE(client.m_bError);  // not connected yet

    std::string text = "untouched";
    EXPECT_EQ(client.QueryText("getTitle.jsp?id=R1&type=1", text), -1);
    EXPECT_EQ(text, "untouched");
    EXPECT_EQ(client.QueryNumber("exist.jsp?fn=/pcroom/R1/a.db"), -1);
    EXPECT_EQ(client.DownloadFile("/pcroom/R1/a.db", "a.db"), -1);
    EXPECT_EQ(ReadFileBytes("a.db"), "local");
    EXPECT_TRUE(pauses.empty());
    EXPECT_EQ(client.UploadFile("a.db", "R1/a.db", "upload_file.jsp", "R1"), -1);
    EXPECT_EQ(pauses, std::vector<int>{100});
    EXPECT_TRUE(server.requests().empty());
    EXPECT_FALSE(client.TransportFailed());
}

TEST(ClientTransport, AServerThatIsNotRunningCountsAsNoConnection) {
    ScopedWorkDir work;
    CServerClient client;
    std::vector<int> pauses;
    client.SetServerAddress({"127.0.0.1", test::UnusedPort()});
    client.SetPauseFunction([&](int ms) { pauses.push_back(ms); });
    client.Connect();
    EXPECT_FALSE(client.m_bError);  // Connect itself sends nothing

    WriteFileBytes("LIST_MENU.db", "local");
    EXPECT_EQ(client.DownloadFile("/pcroom/common/LIST_MENU.db", "LIST_MENU.db"), -1);
    EXPECT_TRUE(client.TransportFailed());
    EXPECT_TRUE(client.m_bError);
    EXPECT_EQ(ReadFileBytes("LIST_MENU.db"), "local");
    EXPECT_EQ(QDir(".").entryList(QDir::Files), QStringList{"LIST_MENU.db"});

    // Later operations return at once, without their pauses or a new attempt.
    EXPECT_EQ(client.QueryNumber("exist.jsp?fn=/pcroom/common/LIST_MENU.db"), -1);
    std::string text = "untouched";
    EXPECT_EQ(client.QueryText("getTitle.jsp?id=R1&type=1", text), -1);
    EXPECT_EQ(text, "untouched");
    EXPECT_TRUE(pauses.empty());

    // A new Connect tries again.
    client.Connect();
    EXPECT_FALSE(client.TransportFailed());
    EXPECT_EQ(client.QueryNumber("sync.jsp"), -1);
    EXPECT_TRUE(client.TransportFailed());
}

TEST(ServerAddress, TheEnvironmentOverridesLocalhost8080) {
    const char* previous = std::getenv("VERADA_SERVER");
    const std::string saved = previous != nullptr ? previous : "";
    const struct {
        const char* value;
        std::string host;
        int port;
    } cases[] = {
        {nullptr, "localhost", 8080},
        {"", "localhost", 8080},
        {"server.room", "server.room", 8080},
        {"10.0.0.2:9090", "10.0.0.2", 9090},
        {"[::1]:81", "::1", 81},
        {"::1", "::1", 8080},
        {"host:abc", "host", 8080},
        {"host:70000", "host", 8080},
        {" host:81 ", "host", 81},
    };
    for (const auto& c : cases) {
        if (c.value == nullptr) {
            unsetenv("VERADA_SERVER");
        } else {
            setenv("VERADA_SERVER", c.value, 1);
        }
        const ServerAddress address = ServerAddressFromEnvironment();
        EXPECT_EQ(address.host, c.host) << (c.value ? c.value : "(unset)");
        EXPECT_EQ(address.port, c.port) << (c.value ? c.value : "(unset)");
    }
    if (previous != nullptr) {
        setenv("VERADA_SERVER", saved.c_str(), 1);
    } else {
        unsetenv("VERADA_SERVER");
    }
}

}  // namespace
}  // namespace vodirev
