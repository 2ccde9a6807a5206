// The upload pass: which steps the lists make, the exact requests against the
// reference server, and how it ends when the server is missing or goes away.

#include "server/upload_pass.h"

#include "common/temp_dir.h"
#include "document/file_names.h"
#include "server/recording_server.h"
#include "server/reference_server.h"

#include <gtest/gtest.h>

namespace vodirev {
namespace {

using test::ScopedWorkDir;
using test::WriteFileBytes;
using Lines = std::vector<std::string>;
using Kind = UploadStep::Kind;

struct Progress {
    std::string file;
    int index;
    int total;
    bool operator==(const Progress&) const = default;
};

TEST(UploadPlan, ListsGiveTheirUsableLinesInOrder) {
    ScopedWorkDir work;
    // Fields 2 then 3 of each background line; short lines and a path that leaves
    // the working folder give nothing; a last line without its line end is whole.
    WriteFileBytes("LIST_BACKGROUND_USER.db",
                   "1,cat,images\\background\\t.jpg,images\\background\\a.jpg\r\n"
                   "abcde\r\n"
                   "2,cat,..\\up.jpg,images\\\\background\\\\b.jpg\n"
                   "3,cat,images\\background\\c.jpg");
    WriteFileBytes("LIST_FOLDER_USER.db", "images\\bkicons\\f.gif\r\n\r\n12345\r\n" +
                                              QByteArray(1100, 'x') + "\r\nimages\\bkicons\\g.gif");
    WriteFileBytes("LIST_IMAGE_004.db", "images\\user\\1_p.png\r\nC:\\x.png\r\n");

    std::vector<std::string> refused;
    const std::vector<UploadStep> steps = UploadPass::PlanSteps(4, &refused);
    const std::vector<UploadStep> expected = {
        {Kind::Direct, "LIST_BACKGROUND_USER.db"},
        {Kind::PublishIfMissing, "images\\background\\t.jpg"},
        {Kind::PublishIfMissing, "images\\background\\a.jpg"},
        {Kind::PublishIfMissing, "images\\\\background\\\\b.jpg"},
        {Kind::PublishIfMissing, "images\\background\\c.jpg"},  // no fourth field
        {Kind::Direct, "LIST_FOLDER_USER.db"},
        {Kind::PublishIfMissing, "images\\bkicons\\f.gif"},
        {Kind::PublishIfMissing, "images\\bkicons\\g.gif"},
        {Kind::Direct, "LIST_MENU.db"},
        {Kind::PublishFile, "desktop004.xml"},
        {Kind::PublishIfMissing, "images\\user\\1_p.png"},
        {Kind::PublishFile, "LIST_IMAGE_004.db"},
    };
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(refused, (Lines{"..\\up.jpg", "C:\\x.png"}));
}

TEST(UploadPlan, MissingListsLeaveTheFixedStepsAndDesktopZeroSendsDesktopXml) {
    ScopedWorkDir work;
    const std::vector<UploadStep> expected = {
        {Kind::Direct, "LIST_BACKGROUND_USER.db"},
        {Kind::Direct, "LIST_FOLDER_USER.db"},
        {Kind::Direct, "LIST_MENU.db"},
        {Kind::PublishFile, "desktop.xml"},
        {Kind::PublishFile, "LIST_IMAGE_000.db"},
    };
    EXPECT_EQ(UploadPass::PlanSteps(0), expected);
    EXPECT_EQ(SavedLayoutFileName(0), "desktop.xml");
    EXPECT_EQ(SavedLayoutFileName(7), "desktop007.xml");
    EXPECT_EQ(SavedLayoutFileName(1234), "desktop1234.xml");
}

class UploadPassTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server.started()) << server.error().toStdString();
        client.SetPauseFunction([](int) {});
        WriteFileBytes("LIST_BACKGROUND_USER.db",
                       "1,cat,images\\background\\t.jpg,images\\background\\a.jpg\r\n");
        WriteFileBytes("images/background/t.jpg", "thumb");
        WriteFileBytes("images/background/a.jpg", "picture");
        WriteFileBytes("LIST_FOLDER_USER.db", "images\\bkicons\\f.gif\r\n");
        WriteFileBytes("images/bkicons/f.gif", "folder");
        WriteFileBytes("LIST_MENU.db", "0;images\\icons\\m.png;m;;m.exe;\r\n");
        WriteFileBytes("desktop002.xml", "<desktop/>\r\n");
        WriteFileBytes("LIST_IMAGE_002.db", "images\\user\\1_p.png\r\n");
        WriteFileBytes("images/user/1_p.png", "photo");
    }

    ScopedWorkDir work;
    test::ReferenceServer server;
    CServerClient client;
};

TEST_F(UploadPassTest, SendsTheElevenStepsInOrderAndOnlyMissingImages) {
    server.putFile("pcroom/R1/images/background/t.jpg", "thumb");  // the server has it
    UploadPass pass(client, "R1", 2);
    std::vector<Progress> progress;
    const UploadPassResult result = pass.Run([&](const std::string& file, int index, int total) {
        progress.push_back({file, index, total});
    });

    EXPECT_EQ(server.requests(), (Lines{
                                     "POST /upload_file.jsp R1/LIST_BACKGROUND_USER.db",
                                     "GET /is_file.jsp?id=R1&fn=R1/images/background/t.jpg&type=2",
                                     "GET /is_file.jsp?id=R1&fn=R1/images/background/a.jpg&type=2",
                                     "POST /upload_file.jsp R1/images/background/a.jpg",
                                     "POST /upload_file.jsp R1/LIST_FOLDER_USER.db",
                                     "GET /is_file.jsp?id=R1&fn=R1/images/bkicons/f.gif&type=2",
                                     "POST /upload_file.jsp R1/images/bkicons/f.gif",
                                     "POST /upload_file.jsp R1/LIST_MENU.db",
                                     "GET /is_file.jsp?id=R1&fn=R1/desktop002.xml&type=2",
                                     "POST /upload_file.jsp R1/desktop002.xml",
                                     "GET /is_file.jsp?id=R1&fn=R1/images/user/1_p.png&type=2",
                                     "POST /upload_file.jsp R1/images/user/1_p.png",
                                     "GET /is_file.jsp?id=R1&fn=R1/LIST_IMAGE_002.db&type=2",
                                     "POST /upload_file.jsp R1/LIST_IMAGE_002.db",
                                 }));
    for (const char* name : {"LIST_BACKGROUND_USER.db", "images/background/a.jpg",
                             "LIST_FOLDER_USER.db", "images/bkicons/f.gif", "LIST_MENU.db",
                             "desktop002.xml", "images/user/1_p.png", "LIST_IMAGE_002.db"}) {
        EXPECT_EQ(server.fileBytes(std::string("pcroom/R1/") + name),
                  test::ReadFileBytes(QString::fromLatin1(name)))
            << name;
    }
    EXPECT_EQ(result.stepsPlanned, 9);
    EXPECT_EQ(result.stepsRun, 9);
    EXPECT_TRUE(result.notPublished.empty());
    EXPECT_FALSE(result.transportFailed);
    EXPECT_EQ(result.published.size(), 8u);
    ASSERT_EQ(progress.size(), 9u);
    EXPECT_EQ(progress.front(), (Progress{"LIST_BACKGROUND_USER.db", 1, 9}));
    EXPECT_EQ(progress[6], (Progress{"desktop002.xml", 7, 9}));
    EXPECT_EQ(progress.back(), (Progress{"LIST_IMAGE_002.db", 9, 9}));
}

TEST_F(UploadPassTest, AServerThatGoesAwayEndsThePassAndTheRestStaysListed) {
    UploadPass pass(client, "R1", 2);
    const UploadPassResult result = pass.Run([&](const std::string&, int index, int) {
        if (index == 5) {  // before the folder image
            server.stop();
        }
    });
    EXPECT_TRUE(result.transportFailed);
    EXPECT_EQ(result.stepsRun, 5);
    EXPECT_EQ(result.published, (Lines{"LIST_BACKGROUND_USER.db", "images\\background\\t.jpg",
                                       "images\\background\\a.jpg", "LIST_FOLDER_USER.db"}));
    EXPECT_EQ(result.notPublished, Lines{"images\\bkicons\\f.gif"});
    EXPECT_EQ(result.notAttempted, (Lines{"LIST_MENU.db", "desktop002.xml", "images\\user\\1_p.png",
                                          "LIST_IMAGE_002.db"}));
    EXPECT_TRUE(client.m_bError);  // the pass never starts again on this client by itself
}

// A server that stays up but breaks off one upload: the pass goes on, the layout
// and the picture list are published, and only the broken file is listed.
TEST(UploadPassBrokenUpload, OneBrokenUploadFailsThatFileOnly) {
    ScopedWorkDir work;
    test::RecordingServer server;
    server.setReply(200, "0\r\n");
    server.setDropWhen([](const std::string& request) {
        return request.find("name=\"R1/images/bkicons/f.gif\"") != std::string::npos;
    });
    WriteFileBytes("LIST_FOLDER_USER.db", "images\\bkicons\\f.gif\r\n");
    WriteFileBytes("images/bkicons/f.gif", "folder");
    WriteFileBytes("desktop002.xml", "<desktop/>\r\n");
    WriteFileBytes("LIST_IMAGE_002.db", "images\\user\\1_p.png\r\n");
    WriteFileBytes("images/user/1_p.png", "photo");
    CServerClient client;
    client.SetServerAddress({"127.0.0.1", server.port()});
    client.SetPauseFunction([](int) {});
    const UploadPassResult result = UploadPass(client, "R1", 2).Run();
    EXPECT_FALSE(result.transportFailed);
    EXPECT_EQ(result.stepsRun, result.stepsPlanned);
    EXPECT_EQ(result.notPublished, Lines{"images\\bkicons\\f.gif"});
    EXPECT_TRUE(result.notAttempted.empty());
    EXPECT_EQ(result.published, (Lines{"LIST_FOLDER_USER.db", "desktop002.xml",
                                       "images\\user\\1_p.png", "LIST_IMAGE_002.db"}));
}

TEST_F(UploadPassTest, StopEndsThePassBeforeItsNextStep) {
    UploadPass pass(client, "R1", 2);
    const UploadPassResult result = pass.Run([&](const std::string&, int index, int) {
        if (index == 2) {
            pass.Stop();
        }
    });
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.stepsRun, 2);
    EXPECT_EQ(server.requests().size(), 3u);  // the list, the thumb's question and upload
    EXPECT_EQ(result.notAttempted.size(), 7u);
}

TEST(UploadPassNoServer, EndsAtTheFirstRequestAndListsEveryLocalFile) {
    ScopedWorkDir work;
    WriteFileBytes("LIST_FOLDER_USER.db",
                   "images\\bkicons\\f.gif\r\nimages\\bkicons\\gone.gif\r\n");
    WriteFileBytes("images/bkicons/f.gif", "folder");
    WriteFileBytes("desktop.xml", "<desktop/>\r\n");
    CServerClient client;
    client.SetServerAddress({"127.0.0.1", test::UnusedPort()});
    client.SetPauseFunction([](int) {});
    UploadPass pass(client, "R1", 0);
    const UploadPassResult result = pass.Run();
    EXPECT_TRUE(result.transportFailed);
    EXPECT_EQ(result.stepsRun, 2);  // the missing background list sent nothing
    EXPECT_EQ(result.stepsPlanned, 7);
    // Files that do not exist here (the background list, a gone image) are not listed.
    EXPECT_EQ(result.notPublished, Lines{"LIST_FOLDER_USER.db"});
    EXPECT_EQ(result.notAttempted, (Lines{"images\\bkicons\\f.gif", "desktop.xml"}));
    EXPECT_TRUE(result.published.empty());
}

// The image of a list travels under a remote name with slashes and a multipart file
// name with the list's backslashes.
TEST(UploadPassWire, ListImagesKeepTheirBackslashesInTheFileName) {
    ScopedWorkDir work;
    test::RecordingServer server;
    server.setReply(200, "0\r\n");
    WriteFileBytes("LIST_IMAGE_001.db", "images\\\\user\\\\1_p.png\r\n");
    WriteFileBytes("images/user/1_p.png", "photo");
    CServerClient client;
    client.SetServerAddress({"127.0.0.1", server.port()});
    client.SetPauseFunction([](int) {});
    UploadPass pass(client, "R1", 1);
    pass.Run();
    const auto requests = server.requests();
    std::vector<std::string> lines;
    for (const std::string& request : requests) {
        lines.push_back(request.substr(0, request.find("\r\n")));
    }
    // Lists and the layout without a local file are asked about but never sent.
    EXPECT_EQ(lines, (Lines{"GET /is_file.jsp?id=R1&fn=R1/desktop001.xml&type=2 HTTP/1.1",
                            "GET /is_file.jsp?id=R1&fn=R1/images//user//1_p.png&type=2 HTTP/1.1",
                            "POST /upload_file.jsp HTTP/1.1",
                            "GET /is_file.jsp?id=R1&fn=R1/LIST_IMAGE_001.db&type=2 HTTP/1.1",
                            "POST /upload_file.jsp HTTP/1.1"}));
    ASSERT_EQ(requests.size(), 5u);
    EXPECT_NE(requests[2].find("name=\"R1/images//user//1_p.png\"; "
                               "filename=\"images\\\\user\\\\1_p.png\"\r\n"),
              std::string::npos);
}

}  // namespace
}  // namespace vodirev
