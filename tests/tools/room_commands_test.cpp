// vodirev pull and publish against the reference server, each compared with what the
// editor's own start-up and save send and leave behind.

#include "common/cp949.h"
#include "common/fake_command_ui.h"
#include "common/save_room.h"
#include "common/temp_dir.h"
#include "document/unpublished_record.h"
#include "editor/frame_renderer.h"
#include "editor/korean_fonts.h"
#include "session/save_command.h"
#include "session/startup_sequence.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QProcess>
#include <QRegularExpression>
#include <map>

namespace vodirev {
namespace {

using Lines = std::vector<std::string>;
using Tree = std::map<QString, QByteArray>;

const QString kTitle = QStringLiteral("여름 행사");

struct ToolRun {
    int exitCode = -1;
    QString err;
};

// Runs the tool to its end; onLine sees each line of standard error as it comes.
ToolRun runTool(const QStringList& args, const std::function<void(const QString&)>& onLine = {}) {
    QProcess process;
    process.setReadChannel(QProcess::StandardError);
    process.start(qEnvironmentVariable("VODIREV_BIN_DIR") + "/tools/vodirev/vodirev", args);
    ToolRun run;
    const auto drain = [&] {
        while (process.canReadLine()) {
            run.err += QString::fromUtf8(process.readLine());
            if (onLine) {
                onLine(run.err.section(u'\n', -2, -2));
            }
        }
    };
    for (drain(); process.waitForReadyRead(60000); drain()) {
    }
    drain();
    process.waitForFinished();
    run.err += QString::fromUtf8(process.readAll());
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return run;
}

// Every file below dir, by its path relative to dir.
Tree files(const QString& dir) {
    Tree tree;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        tree[QDir(dir).relativeFilePath(path)] = test::ReadFileBytes(path);
    }
    return tree;
}

void copyTree(const QString& from, const QString& to) {
    for (const auto& [name, bytes] : files(from)) {
        QDir(to).mkpath(QFileInfo(name).path());
        test::WriteFileBytes(QDir(to).filePath(name), bytes);
    }
}

// The editor's "저장하고 끝내기" of session under kTitle; no question, no message.
void editorSave(DesktopSession& session) {
    test::FakeCommandUi ui;
    ui.onDialog = [](DialogModel& model) {
        dynamic_cast<DesktopSaveModel&>(model).m_strTitle = toCp949(kTitle);
        return true;
    };
    CServerClient client;
    client.SetPauseFunction([](int) {});
    client.Connect();
    FrameRenderer renderer;
    SaveCommandContext context{ui, session, client, renderer};
    ASSERT_TRUE(RunSaveCommand(context));
    EXPECT_TRUE(ui.messages.empty());
}

class RoomCommands : public ::testing::Test {
protected:
    void SetUp() override {
        InstallKoreanFontSubstitutions();
        ASSERT_TRUE(server.started()) << server.error().toStdString();
        test::PutSaveRoom(server);
    }
    // The editor's start-up of "room 1 0" in work; its requests.
    Lines startEditor() {
        CServerClient client;
        client.SetPauseFunction([](int) {});
        RunStartupSequence(session, client, "room 1 0");
        const Lines requests = server.requests();
        server.clearRequests();
        return requests;
    }

    test::ReferenceServer server;
    test::ScopedWorkDir work;  // the editor's working folder
    DesktopSession session;
    QTemporaryDir toolDir;  // the tool's
};

TEST_F(RoomCommands, PullBringsWhatTheEditorsStartUpBringsKeepsUnpublishedEditsAndTellsWhatFailed) {
    // An earlier save could not publish the menu list: both keep the local copy.
    const QByteArray edited = "0;images\\icons\\app.png;edited;C:\\e;e.exe;\r\n";
    for (const QString& dir : {work.path(), toolDir.path()}) {
        test::WriteFileBytes(dir + "/LIST_MENU_001.db", edited);
    }
    ASSERT_TRUE(WriteUnpublishedRecord({"room", {"LIST_MENU_001.db"}}));
    copyTree(work.path(), toolDir.path());

    const Lines editorRequests = startEditor();

    const ToolRun pull = runTool({"pull", "room", "1", "--dir", toolDir.path()});
    EXPECT_EQ(pull.exitCode, 0) << pull.err.toStdString();
    EXPECT_EQ(server.requests(), editorRequests);
    EXPECT_EQ(files(toolDir.path()), files(work.path()));
    EXPECT_EQ(test::ReadFileBytes(toolDir.path() + "/LIST_MENU_001.db"), edited);
    EXPECT_TRUE(pull.err.contains(QRegularExpression(QStringLiteral("^1/\\d+ LIST_BACKGROUND.db$"),
                                                     QRegularExpression::MultilineOption)));
    EXPECT_TRUE(pull.err.contains(QStringLiteral("kept, not overwritten")));

    // An image the lists name and the server lost: exit 1, named.
    QFile::remove(server.filePath("pcroom/room/images/icons/app.png"));
    QFile::remove(toolDir.path() + "/images/icons/app.png");
    const ToolRun again = runTool({"pull", "room", "1", "--dir", toolDir.path()});
    EXPECT_EQ(again.exitCode, 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("not brought:\n  images\\icons\\app.png\n")))
        << again.err.toStdString();
}

TEST_F(RoomCommands, PublishToThreeRoomsSendsWhatThreeEditorSavesSend) {
    startEditor();
    copyTree(work.path(), toolDir.path());

    // The editor: the same document saved once for each room.
    const Lines rooms = {"room", "R1", "R2"};
    for (const std::string& room : rooms) {
        session.m_szRoomId = room;
        editorSave(session);
    }
    const Lines editorRequests = server.requests();
    std::map<std::string, Tree> editorRooms;
    for (const std::string& room : rooms) {
        editorRooms[room] = files(server.filePath("pcroom/" + room));
    }
    const Tree editorFolder = files(work.path());

    test::ReferenceServer fresh;
    ASSERT_TRUE(fresh.started());
    test::PutSaveRoom(fresh);
    // A room named twice is published once, where it first comes.
    const ToolRun publish = runTool({"publish", "room", "1", "--dir", toolDir.path(), "--title",
                                     kTitle, "--to", "R1", "--to", "room", "--to", "R2"});
    EXPECT_EQ(publish.exitCode, 0) << publish.err.toStdString();
    EXPECT_EQ(fresh.requests(), editorRequests);
    for (const std::string& room : rooms) {
        EXPECT_EQ(files(fresh.filePath("pcroom/" + room)), editorRooms[room]) << room;
    }
    EXPECT_EQ(files(toolDir.path()), editorFolder);
    EXPECT_TRUE(publish.err.contains(QStringLiteral("publish 1: published to room, R1, R2\n")));
}

TEST_F(RoomCommands, AServerLostInTheSecondRoomLeavesItRecordedAndTheThirdUntouched) {
    startEditor();
    copyTree(work.path(), toolDir.path());
    const Tree r2Before = files(server.filePath("pcroom/R2"));
    QTemporaryDir lists;
    test::WriteFileBytes(lists.filePath("rooms.txt"), "R1\r\n\r\n  R2 \r\n");

    bool inSecond = false;
    const ToolRun publish = runTool(
        {"publish", "room", "1", "--dir", toolDir.path(), "--to-file", lists.filePath("rooms.txt")},
        [&](const QString& line) {
            inSecond = inSecond || line.startsWith(QStringLiteral("room R1 (2 of 3)"));
            if (inSecond && line.startsWith(QStringLiteral("5/"))) {
                server.stop();
            }
        });
    EXPECT_EQ(publish.exitCode, 1);
    EXPECT_TRUE(publish.err.contains(
        QStringLiteral("failed at room R1; published: room; not published, untouched: R2\n")))
        << publish.err.toStdString();
    EXPECT_TRUE(server.hasFile("pcroom/room/desktop001.gif"));
    EXPECT_EQ(files(server.filePath("pcroom/R2")), r2Before);

    QDir::setCurrent(toolDir.path());
    const UnpublishedRecord record = ReadUnpublishedRecord();
    QDir::setCurrent(work.path());
    EXPECT_EQ(record.roomId, "R1");
    EXPECT_NE(std::find(record.files.begin(), record.files.end(), "desktop001.gif"),
              record.files.end());
}

TEST(RoomCommandWords, UsageErrorsAndAFolderWithoutALayoutChangeNothing) {
    test::ScopedWorkDir work;
    const std::vector<std::pair<QStringList, int>> runs = {
        {{"pull", "room", "1x"}, 2},
        {{"pull", "a b", "1"}, 2},
        {{"pull", "room7890123456789012", "1"}, 2},
        {{"publish", "room", "0"}, 2},
        {{"publish", "room", "1", "--to", QStringLiteral("방\U0001F600")}, 2},
        {{"publish", "room", "1", "--dir", work.path()}, 1},
    };
    for (const auto& [args, status] : runs) {
        const ToolRun run = runTool(args);
        EXPECT_EQ(run.exitCode, status) << args.join(' ').toStdString() << run.err.toStdString();
    }
    EXPECT_TRUE(QDir(work.path()).isEmpty());
}

}  // namespace
}  // namespace vodirev
