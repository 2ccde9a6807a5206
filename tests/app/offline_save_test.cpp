// Saving when the server was away: an editor that started without the room's files
// publishes over the server's copy only when the operator says so, and files a save
// could not publish survive the next start-up and go up with the next save.

#include "common/fake_command_ui.h"
#include "common/save_room.h"
#include "common/temp_dir.h"
#include "document/layout_writer.h"
#include "document/unpublished_record.h"
#include "editor/frame_renderer.h"
#include "server/recording_server.h"
#include "server/upload_pass.h"
#include "session/save_command.h"
#include "session/startup_sequence.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QFile>

namespace vodirev {
namespace {

using test::ReadFileBytes;
using test::ReferenceServer;
using test::ScopedWorkDir;
using Lines = std::vector<std::string>;

// The room's files of desktop 1 as the server holds them.
const char* const kRoomFiles[] = {"desktop001.xml", "LIST_MENU_001.db", "LIST_SYSMENU_001.db",
                                  "LIST_IMAGE_001.db", "LAUNCHER_001.TXT"};

// The upload pass on its own client, at the server VERADA_SERVER names (or another).
UploadPassRunner PassAt(std::optional<ServerAddress> address = std::nullopt,
                        std::function<void(int)> atStep = {}) {
    return [address, atStep](const std::string& roomId, int desktop) {
        CServerClient client;
        if (address) {
            client.SetServerAddress(*address);
        }
        client.SetPauseFunction([](int) {});
        return UploadPass(client, roomId, desktop).Run([&](const std::string&, int index, int) {
            if (atStep) {
                atStep(index);
            }
        });
    };
}

// The name dialog confirmed with the title "t".
test::FakeCommandUi NamingUi() {
    test::FakeCommandUi ui;
    ui.onDialog = [](DialogModel& model) {
        dynamic_cast<DesktopSaveModel&>(model).m_strTitle = "t";
        return true;
    };
    return ui;
}

bool Save(DesktopSession& session, CServerClient& client, test::FakeCommandUi& ui,
          const UploadPassRunner& pass) {
    FrameRenderer renderer;
    SaveCommandContext context{ui, session, client, renderer, [] {}};
    context.runUploadPass = pass;
    return RunSaveCommand(context);
}

std::map<std::string, QByteArray> RoomFilesOn(const ReferenceServer& server) {
    std::map<std::string, QByteArray> files;
    for (const char* name : kRoomFiles) {
        files[name] = server.fileBytes(std::string("pcroom/room/") + name);
    }
    return files;
}

// Started with nothing listening, then the server came up: "no" (the default)
// writes the files here and sends nothing but the title question; "yes" publishes
// as any save does.
TEST(OfflineStart, SavingAsksBeforeReplacingTheServersDesktop) {
    ReferenceServer server;
    ASSERT_TRUE(server.started()) << server.error().toStdString();
    ScopedWorkDir work;
    test::PutSaveRoom(server);
    const auto before = RoomFilesOn(server);
    ASSERT_GT(before.at("desktop001.xml").size(), 100);

    for (const bool confirm : {false, true}) {
        SCOPED_TRACE(confirm);
        CServerClient client;
        client.SetPauseFunction([](int) {});
        client.SetServerAddress({"127.0.0.1", test::UnusedPort()});
        DesktopSession session;
        const StartupNotes notes = RunStartupSequence(session, client, "room 1 0");
        ASSERT_TRUE(notes.serverUnreachable);
        EXPECT_TRUE(session.m_desktop.m_arrFolder.empty());     // nothing of the room's desktop
        client.SetServerAddress({"127.0.0.1", server.port()});  // the server is back
        server.clearRequests();

        test::FakeCommandUi ui = NamingUi();
        if (confirm) {
            ui.answers = {true};
        }
        ASSERT_TRUE(Save(session, client, ui, PassAt()));
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.messages[0], PublishOverServerQuestion(1));
        EXPECT_TRUE(ui.messages[0].contains(QStringLiteral("desktop001.xml")));
        EXPECT_EQ(ui.askDefaults, std::vector<bool>{false});
        EXPECT_TRUE(QFile::exists("desktop001.xml"));
        EXPECT_FALSE(QFile::exists(kUnpublishedRecordFile));

        const Lines requests = server.requests();
        if (!confirm) {
            EXPECT_EQ(requests, Lines{"GET /getTitle.jsp?id=room&type=1"});
            EXPECT_EQ(RoomFilesOn(server), before);
        } else {
            // The start-up brought no shared lists, so the pass begins with the layout.
            ASSERT_GT(requests.size(), 3u);
            EXPECT_EQ(requests[1], "GET /is_file.jsp?id=room&fn=room/desktop001.xml&type=2");
            EXPECT_EQ(requests[2], "POST /upload_file.jsp room/desktop001.xml");
            EXPECT_EQ(requests.back(), "GET /sync.jsp");
            for (const char* name : kRoomFiles) {
                EXPECT_EQ(server.fileBytes(std::string("pcroom/room/") + name),
                          ReadFileBytes(QString::fromLatin1(name)))
                    << name;
            }
        }
    }
}

// The server dies during the save; the operator tries again (still down) and then
// gives up. At the next start, with the server back holding its older copies, the
// edits are still here and the next save publishes them.
TEST(UnpublishedEdits, SurviveTheNextStartAndGoUpWithTheNextSave) {
    ReferenceServer first;
    ASSERT_TRUE(first.started()) << first.error().toStdString();
    ScopedWorkDir work;
    test::PutSaveRoom(first);
    {
        CServerClient client;
        client.SetPauseFunction([](int) {});
        DesktopSession session;
        RunStartupSequence(session, client, "room 1 0");
        ASSERT_EQ(session.m_desktop.m_arrFolder.size(), 1u);
        session.m_desktop.m_arrFolder[0].m_rcItem = {210, 220, 274, 284};
        session.m_nLauncherX = 77;

        test::FakeCommandUi ui = NamingUi();
        ui.answers = {true, false};
        ASSERT_TRUE(Save(session, client, ui, PassAt(std::nullopt, [&](int index) {
                             if (index == 4) {
                                 first.stop();
                             }
                         })));
        ASSERT_EQ(ui.messages.size(), 2u);  // the question, again after the retry
        for (const QString& question : ui.messages) {
            EXPECT_TRUE(question.startsWith(QStringLiteral("서버에 올리지 못한 파일이 있습니다.")))
                << question.toStdString();
            EXPECT_TRUE(
                question.contains(QStringLiteral("다음에 시작할 때 서버의 파일로 덮어쓰지")));
        }
        EXPECT_EQ(ui.askDefaults, (std::vector<bool>{true, true}));
    }
    const UnpublishedRecord record = ReadUnpublishedRecord();
    EXPECT_EQ(record.roomId, "room");
    for (const char* name : kRoomFiles) {
        EXPECT_NE(std::find(record.files.begin(), record.files.end(), name), record.files.end())
            << name;
    }
    EXPECT_EQ(std::find(record.files.begin(), record.files.end(), "LIST_MENU.db"),
              record.files.end());
    const QByteArray editedLayout = ReadFileBytes("desktop001.xml");
    ASSERT_NE(editedLayout.indexOf("x=\"210\" y=\"220\""), -1);

    ReferenceServer second;
    ASSERT_TRUE(second.started()) << second.error().toStdString();
    test::PutSaveRoom(second);
    CServerClient client;
    client.SetPauseFunction([](int) {});
    DesktopSession session;
    const StartupNotes notes = RunStartupSequence(session, client, "room 1 0");
    EXPECT_FALSE(notes.serverUnreachable);
    EXPECT_EQ(ReadFileBytes("desktop001.xml"), editedLayout);
    EXPECT_EQ(ReadFileBytes("LAUNCHER_001.TXT"), "77,140,0");
    EXPECT_EQ(session.m_nLauncherX, 77);
    EXPECT_EQ(session.m_desktop.m_arrFolder.at(0).m_rcItem.left, 210);
    EXPECT_TRUE(StartupServerMessage(notes).contains(QStringLiteral("  desktop001.xml")));
    for (const std::string& request : second.requests()) {
        EXPECT_EQ(request.find("/pcroom/room/desktop001.xml"), std::string::npos) << request;
    }

    second.clearRequests();
    test::FakeCommandUi ui = NamingUi();
    ASSERT_TRUE(Save(session, client, ui, PassAt()));
    EXPECT_TRUE(ui.messages.empty()) << ui.messages.front().toStdString();
    EXPECT_EQ(second.fileBytes("pcroom/room/desktop001.xml"), editedLayout);
    EXPECT_EQ(second.fileBytes("pcroom/room/LAUNCHER_001.TXT"), "77,140,0");
    EXPECT_FALSE(QFile::exists(kUnpublishedRecordFile));
}

// The editor killed at every request of a save (the process gone, no clean-up of
// its own): once the save has written the layout, the next start-up against the
// server's older copies keeps every edit, and the next save publishes them.
TEST(UnpublishedEdits, ASaveKilledAtAnyRequestLosesNoWrittenEdit) {
    struct Killed {};
    bool completed = false;
    for (int k = 1; !completed && k < 80; ++k) {
        SCOPED_TRACE("killed at request " + std::to_string(k));
        ReferenceServer server;
        ASSERT_TRUE(server.started()) << server.error().toStdString();
        ScopedWorkDir work;
        test::PutSaveRoom(server);
        QByteArray layout;
        QByteArray launcher;
        {
            int requests = 0;
            // The pause before each request; the 10 ms ones run inside a transfer.
            const auto killAtK = [&](int milliseconds) {
                if (milliseconds >= 100 && ++requests == k) {
                    throw Killed{};
                }
            };
            CServerClient client;
            client.SetPauseFunction([](int) {});
            DesktopSession session;
            RunStartupSequence(session, client, "room 1 0");
            session.m_desktop.m_arrFolder.at(0).m_rcItem = {210, 220, 274, 284};
            session.m_nLauncherX = 77;
            layout =
                QByteArray::fromStdString(BuildLayoutText(session.m_desktop, session.m_nResWidth,
                                                          session.m_nResHeight, true))
                    .replace("\n", "\r\n");
            client.SetPauseFunction(killAtK);
            test::FakeCommandUi ui = NamingUi();
            try {
                Save(session, client, ui, [&](const std::string& roomId, int desktop) {
                    CServerClient own;
                    own.SetPauseFunction(killAtK);
                    return UploadPass(own, roomId, desktop).Run();
                });
                completed = true;
            } catch (const Killed&) {
            }
        }
        if (completed || ReadFileBytes("desktop001.xml") != layout) {
            continue;  // finished, or killed before the edits reached the disk
        }
        // What went up after the upload pass was struck off the journal at once.
        const std::vector<std::string> named = ReadUnpublishedRecord().files;
        for (const std::string name :
             {"LIST_MENU_001.db", "LAUNCHER_001.TXT", "LIST_SYSMENU_001.db"}) {
            const auto requests = server.requests();
            if (std::ranges::count(requests, "POST /upload_file.jsp room/" + name) > 0) {
                EXPECT_EQ(std::ranges::count(named, name), 0) << name;
            }
        }
        // The launcher is written after the layout: it holds the edit only when the
        // save got that far, and whatever it holds must survive.
        launcher = ReadFileBytes("LAUNCHER_001.TXT");
        CServerClient client;
        client.SetPauseFunction([](int) {});
        DesktopSession session;
        RunStartupSequence(session, client, "room 1 0");
        EXPECT_EQ(ReadFileBytes("desktop001.xml"), layout);
        EXPECT_EQ(ReadFileBytes("LAUNCHER_001.TXT"), launcher);
        test::FakeCommandUi ui = NamingUi();
        ASSERT_TRUE(Save(session, client, ui, PassAt()));
        EXPECT_EQ(server.fileBytes("pcroom/room/desktop001.xml"), layout);
        EXPECT_EQ(server.fileBytes("pcroom/room/LAUNCHER_001.TXT"), launcher);
        EXPECT_FALSE(QFile::exists(kUnpublishedRecordFile));
    }
    EXPECT_TRUE(completed);
}

// A successful save keeps only what another desktop of the room still has to publish;
// lines that name no file of a desktop are dropped. The failure message leaves the
// common catalogue out of the files kept here and shows names with one backslash.
TEST(UnpublishedEdits, TheRecordKeepsOnlyDesktopFilesAndTheMessageOnlyWhatItKeeps) {
    ReferenceServer server;
    ASSERT_TRUE(server.started()) << server.error().toStdString();
    ScopedWorkDir work;
    test::PutSaveRoom(server);
    CServerClient client;
    client.SetPauseFunction([](int) {});
    DesktopSession session;
    RunStartupSequence(session, client, "room 1 0");
    for (const char* name : {"notes.txt", "desktop002.xml"}) {
        test::WriteFileBytes(name, "x");
    }
    ASSERT_TRUE(WriteUnpublishedRecord({"room", {"notes.txt", "desktop002.xml"}}));
    test::FakeCommandUi ui = NamingUi();
    ASSERT_TRUE(Save(session, client, ui, PassAt()));
    EXPECT_EQ(ReadUnpublishedRecord().files, Lines{"desktop002.xml"});

    SaveReport report;
    report.keptLocal = {"LIST_MENU.db", "images\\\\user\\\\a.png"};
    const QString message = SaveProblemsMessage(report);
    EXPECT_FALSE(message.contains(QStringLiteral("  LIST_MENU.db"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QStringLiteral("  images\\user\\a.png"))) << message.toStdString();
}

// One upload broken off, then "yes": the whole save and publish runs again, the file
// goes up the second time and nothing is left to note.
TEST(UnpublishedEdits, ARetryThatSucceedsLeavesNoRecord) {
    ScopedWorkDir work;
    test::RecordingServer server;
    server.setReply(200, "0\r\n");
    int drops = 0;
    server.setDropWhen([&](const std::string& request) {
        return request.find("name=\"R1/images/icons/p.png\"") != std::string::npos && drops++ == 0;
    });
    test::WriteFileBytes("images/icons/p.png", test::PngBytes(Qt::red, 16, 16));
    DesktopSession session;
    session.m_szRoomId = "R1";
    session.m_nDesktop = 2;
    session.m_nResWidth = 320;
    session.m_nResHeight = 240;
    CInfoIcon program;
    program.m_strImage = "images\\icons\\p.png";
    session.m_arrMenu.push_back(program);
    const ServerAddress address{"127.0.0.1", server.port()};
    CServerClient client;
    client.SetServerAddress(address);
    client.SetPauseFunction([](int) {});
    client.Connect();

    test::FakeCommandUi ui = NamingUi();
    ui.answers = {true};
    ASSERT_TRUE(Save(session, client, ui, PassAt(address)));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].contains(QStringLiteral("  images\\icons\\p.png")));
    EXPECT_TRUE(ui.messages[0].contains(QStringLiteral("다시 저장하고 서버에 올려 볼까요?")));
    EXPECT_FALSE(QFile::exists(kUnpublishedRecordFile));
    int uploads = 0;
    int syncs = 0;
    for (const std::string& request : server.requests()) {
        uploads += request.find("name=\"R1/images/icons/p.png\"") != std::string::npos;
        syncs += request.starts_with("GET /sync.jsp");
    }
    EXPECT_EQ(uploads, 2);
    EXPECT_EQ(syncs, 2);
}

TEST(UnpublishedEdits, WhatStaysNotedAfterASave) {
    ScopedWorkDir work;
    for (const char* name : {"desktop001.xml", "LIST_MENU.db", "a.png", "b.png", "c.png"}) {
        test::WriteFileBytes(name, "x");
    }
    SaveReport report;
    report.keptLocal = {"desktop001.xml", "LIST_MENU.db"};
    report.notAttempted = {"a.png", "gone.png"};
    report.published = {"b.png"};
    report.onServer = {"c.png"};
    // Noted before: b went up, c is on the server, d is no longer here, e stays.
    test::WriteFileBytes("e.png", "x");
    EXPECT_EQ(UnpublishedAfterSave({"b.png", "c.png", "d.png", "e.png", "a.png"}, report),
              (Lines{"desktop001.xml", "a.png", "e.png"}));
}

}  // namespace
}  // namespace vodirev
