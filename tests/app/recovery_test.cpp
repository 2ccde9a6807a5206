// Edits not yet saved survive a killed editor: the session's recovery copy is written
// in the background, offered at the next start of the room and desktop, and
// restored as one step, giving the layout the killed session would have saved.

#include "common/fake_command_ui.h"
#include "common/save_room.h"
#include "common/temp_dir.h"
#include "document/layout_writer.h"
#include "session/recovery_copy.h"
#include "session/startup_sequence.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

namespace vodirev {
namespace {

using test::ReadFileBytes;

std::string SavedLayout(const DesktopSession& session) {
    return BuildLayoutText(session.m_desktop, session.m_nResWidth, session.m_nResHeight, true);
}

void StartRoom(DesktopSession& session, const test::ReferenceServer& server) {
    CServerClient client;
    client.SetPauseFunction([](int) {});
    client.SetServerAddress({"127.0.0.1", server.port()});
    RunStartupSequence(session, client, "room 1 0");
}

TEST(RecoveryCopy, AKilledSessionComesBackByteForByteAtTheNextStart) {
    test::ReferenceServer server;
    ASSERT_TRUE(server.started()) << server.error().toStdString();
    test::ScopedWorkDir work;
    test::PutSaveRoom(server);
    const QString copyPath = RecoveryCopyPath("room", 1);

    std::string layout;
    DocumentState edited;
    {
        DesktopSession killed;
        StartRoom(killed, server);
        ASSERT_FALSE(killed.m_desktop.m_arrFolder.empty());
        EditHistory history(killed);
        RecoveryKeeper keeper(killed, history, std::chrono::milliseconds(20));
        keeper.Start();
        EXPECT_FALSE(QFile::exists(copyPath));  // nothing changed: no copy
        history.Record("drag", [&] {
            ItemRect& rect = killed.m_desktop.m_arrFolder[0].m_rcItem;
            rect = {rect.left + 37, rect.top + 11, rect.right + 37, rect.bottom + 11};
        });
        history.Record("label", [&] {
            killed.m_desktop.m_bLabelUsed[2] = 1;
            killed.m_desktop.m_label[2].m_strText = test::Cp949("오늘의 행사\n<&;>");
            killed.m_desktop.m_label[2].m_nX = 40;
        });
        history.Record("icon", [&] { killed.m_desktop.AddShortcutIcon(); });
        history.Record("menus", [&] {
            killed.m_arrMenu.push_back({3, "images\\icons\\app.png", test::Cp949("새;앱\n"),
                                        "C:\\Steam", "steam://rungameid/730", "x;y"});
            killed.m_nLauncherX = 77;
            killed.m_nResWidth = 1024;
            killed.m_nResHeight = 768;
        });
        layout = SavedLayout(killed);
        edited = CaptureDocument(killed);
        // Written in the background: the file reaches the last state with no flush.
        const QByteArray expected = BuildRecoveryCopy(edited, "room", 1);
        QDeadlineTimer deadline(10000);
        while (ReadFileBytes(copyPath) != expected && !deadline.hasExpired()) {
            QThread::msleep(10);
        }
        ASSERT_EQ(ReadFileBytes(copyPath), expected);
        // The process dies here: what it leaves on disk is all the next start has.
    }

    const std::optional<QByteArray> copy = TakeNewerRecoveryCopy("room", 1);
    ASSERT_TRUE(copy);
    const auto restart = [&](bool restore) {
        DesktopSession session;
        StartRoom(session, server);        // the server's older layout comes over the local one
        MarkRecoveryCopyNewer("room", 1);  // still found should this start be killed
        EditHistory history(session);
        test::FakeCommandUi ui;
        ui.answers = {restore};
        const bool restored = OfferRecoveryCopy(*copy, session, history, ui);
        EXPECT_EQ(ui.askDefaults, std::vector<bool>{true});
        return std::tuple(restored, SavedLayout(session), CaptureDocument(session).menu,
                          history.StepCount());
    };
    // Declined: the desktop the start-up brought.
    const auto [declined, serversLayout, serversMenu, noSteps] = restart(false);
    EXPECT_FALSE(declined);
    EXPECT_NE(serversLayout, layout);
    EXPECT_EQ(noSteps, 0);
    const auto [restored, restoredLayout, restoredMenu, steps] = restart(true);
    EXPECT_TRUE(restored);
    EXPECT_EQ(restoredLayout, layout);
    EXPECT_EQ(restoredMenu, edited.menu);
    EXPECT_EQ(steps, 1);

    EXPECT_TRUE(TakeNewerRecoveryCopy("room", 1));
    // A layout written after the copy (a save) holds the newer work: nothing offered.
    QThread::msleep(20);
    test::WriteFileBytes("desktop001.xml", ReadFileBytes("desktop001.xml"));
    EXPECT_FALSE(TakeNewerRecoveryCopy("room", 1));
}

// The copy follows the history: written while modified, gone once saved or undone
// back to the start; a damaged or foreign copy is never offered.
TEST(RecoveryCopy, FollowsTheHistoryAndRefusesDamage) {
    test::ReferenceServer server;
    ASSERT_TRUE(server.started()) << server.error().toStdString();
    test::ScopedWorkDir work;
    test::PutSaveRoom(server);
    DesktopSession session;
    StartRoom(session, server);
    EditHistory history(session);
    RecoveryKeeper keeper(session, history);
    keeper.Start();
    const QString copyPath = RecoveryCopyPath("room", 1);

    history.Record("move", [&] { session.m_nLauncherY += 5; });
    keeper.Flush();
    const QByteArray copy = ReadFileBytes(copyPath);
    ASSERT_FALSE(copy.isEmpty());
    history.Undo();
    EXPECT_FALSE(QFile::exists(copyPath));
    history.Redo();
    keeper.Flush();
    EXPECT_TRUE(QFile::exists(copyPath));
    history.MarkSaved();
    EXPECT_FALSE(QFile::exists(copyPath));

    const DocumentState base = CaptureDocument(session);
    ASSERT_TRUE(ParseRecoveryCopy(copy, "room", 1, base));
    for (const QByteArray& bad : {copy.left(copy.size() - 3), copy + "x", QByteArray("junk"),
                                  QByteArray(copy).replace("1:1\n", "9:1\n")}) {
        EXPECT_FALSE(ParseRecoveryCopy(bad, "room", 1, base)) << bad.left(60).toStdString();
    }
    EXPECT_FALSE(ParseRecoveryCopy(copy, "other", 1, base));
    EXPECT_FALSE(ParseRecoveryCopy(copy, "room", 2, base));
}

}  // namespace
}  // namespace vodirev
