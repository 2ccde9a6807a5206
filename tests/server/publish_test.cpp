#include "server/publish.h"

#include "base/text.h"
#include "common/temp_dir.h"
#include "server/connected_client_test.h"
#include "server/recording_server.h"
#include "server/reference_server.h"

#include <gtest/gtest.h>

#include <QFileInfo>

namespace vodirev {
namespace {

using test::ReadFileBytes;
using test::ScopedWorkDir;
using test::WriteFileBytes;
using Lines = std::vector<std::string>;

using PublishTest = test::ConnectedClientTest;

TEST_F(PublishTest, AnImageGoesUpOnlyWhileTheServerLacksIt) {
    WriteFileBytes("images/icons/a.png", "icon bytes\r\n");
    EXPECT_EQ(PublishIfMissing(client, "R1", "images\\icons\\a.png"), PublishOutcome::Uploaded);
    EXPECT_EQ(server.requests(), (Lines{"GET /is_file.jsp?id=R1&fn=R1/images/icons/a.png&type=2",
                                        "POST /upload_file.jsp R1/images/icons/a.png"}));
    EXPECT_EQ(server.fileBytes("pcroom/R1/images/icons/a.png"), "icon bytes\r\n");

    // Asked again (the same image named by a second record): only the question.
    server.clearRequests();
    EXPECT_EQ(PublishIfMissing(client, "R1", "images\\icons\\a.png"),
              PublishOutcome::AlreadyOnServer);
    EXPECT_EQ(server.requests(), (Lines{"GET /is_file.jsp?id=R1&fn=R1/images/icons/a.png&type=2"}));
}

TEST_F(PublishTest, ADesktopFileAlwaysGoesUpAfterTheQuestion) {
    server.putFile("pcroom/R1/LIST_MENU_003.db", "older");
    WriteFileBytes("LIST_MENU_003.db", "0;images\\icons\\a.png;a;;a.exe;\r\n");
    EXPECT_EQ(PublishFile(client, "R1", "LIST_MENU_003.db"), PublishOutcome::Uploaded);
    EXPECT_EQ(server.requests(), (Lines{"GET /is_file.jsp?id=R1&fn=R1/LIST_MENU_003.db&type=2",
                                        "POST /upload_file.jsp R1/LIST_MENU_003.db"}));
    EXPECT_EQ(server.fileBytes("pcroom/R1/LIST_MENU_003.db"),
              "0;images\\icons\\a.png;a;;a.exe;\r\n");

    // No local file: the question still goes out, the upload does not.
    server.clearRequests();
    EXPECT_EQ(PublishFile(client, "R1", "LIST_SYSMENU_003.db"), PublishOutcome::NotUploaded);
    EXPECT_EQ(server.requests(),
              (Lines{"GET /is_file.jsp?id=R1&fn=R1/LIST_SYSMENU_003.db&type=2"}));
    EXPECT_EQ(PublishIfMissing(client, "R1", "images\\icons\\gone.png"),
              PublishOutcome::NotUploaded);
}

TEST_F(PublishTest, UnsafePathsAndAMissingConnectionSendNothing) {
    WriteFileBytes("a.png", "x");
    for (const char* path :
         {"..\\a.png", "images\\..\\..\\a.png", "/etc/passwd", "C:\\a.png", ""}) {
        EXPECT_EQ(PublishIfMissing(client, "R1", path), PublishOutcome::Refused) << path;
    }
    CServerClient unconnected;
    EXPECT_EQ(PublishIfMissing(unconnected, "R1", "a.png"), PublishOutcome::NotAttempted);
    EXPECT_EQ(PublishFile(unconnected, "R1", "a.png"), PublishOutcome::NotAttempted);
    EXPECT_TRUE(server.requests().empty());
}

// With the real pauses: a Hangul image name travels as its CP949 bytes and is one
// readable file on the server's disk.
TEST(PublishWithRealPauses, AHangulImageArrivesUnderItsName) {
    ScopedWorkDir work;
    test::ReferenceServer server;
    ASSERT_TRUE(server.started()) << server.error().toStdString();
    CServerClient client;
    client.Connect();
    const std::string photo = toCp949(QStringLiteral("사진"));
    WriteFileBytes(QStringLiteral("images/user/3_사진.jpg"), QByteArray(2500, 'j'));
    EXPECT_EQ(PublishIfMissing(client, "R1", "images\\user\\3_" + photo + ".jpg"),
              PublishOutcome::Uploaded);
    EXPECT_EQ(server.requests(),
              (Lines{"GET /is_file.jsp?id=R1&fn=R1/images/user/3_" + photo + ".jpg&type=2",
                     "POST /upload_file.jsp R1/images/user/3_" + photo + ".jpg"}));
    EXPECT_EQ(ReadFileBytes(server.root() + QStringLiteral("/pcroom/R1/images/user/3_사진.jpg")),
              QByteArray(2500, 'j'));
}

TEST(PublishWire, TheRemoteNameGetsSlashesWhileTheFileNameKeepsBackslashes) {
    ScopedWorkDir work;
    test::RecordingServer server;
    CServerClient client;
    client.SetServerAddress({"127.0.0.1", server.port()});
    client.SetPauseFunction([](int) {});
    client.Connect();
    WriteFileBytes("images/icons/a.png", "A");
    server.setReply(200, "0\r\n");
    EXPECT_EQ(PublishIfMissing(client, "R1", "images\\icons\\a.png"), PublishOutcome::Uploaded);
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_NE(requests[1].find("Content-Disposition: form-data; name=\"R1/images/icons/a.png\"; "
                               "filename=\"images\\icons\\a.png\"\r\n"),
              std::string::npos);

    // An upload the server answers with an error status kept nothing there.
    server.setReply(500, "0");
    EXPECT_EQ(PublishIfMissing(client, "R1", "images\\icons\\a.png"), PublishOutcome::NotUploaded);
    // Any reply but exactly 0 skips the upload.
    server.setReply(200, "x");
    EXPECT_EQ(PublishIfMissing(client, "R1", "images\\icons\\a.png"), PublishOutcome::NotUploaded);
    server.setReply(200, "2");
    EXPECT_EQ(PublishIfMissing(client, "R1", "images\\icons\\a.png"),
              PublishOutcome::AlreadyOnServer);
    EXPECT_EQ(server.requests().size(), 6u);
}

}  // namespace
}  // namespace vodirev
