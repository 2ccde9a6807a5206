// The save command around SaveAndPublish: the title comes from the server into the
// name dialog, a cancel writes nothing, and a save the server did not take is told.

#include "session/save_command.h"

#include "common/fake_command_ui.h"
#include "common/save_room.h"
#include "common/temp_dir.h"
#include "dialogs/desktop_save_dlg.h"
#include "editor/frame_renderer.h"
#include "server/recording_server.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace vodirev {
namespace {

using test::Cp949;
using test::ScopedWorkDir;
using Lines = std::vector<std::string>;

struct Outcome {
    int ended = 0;
    std::vector<QString> messages;
};

// Messages answered by the fake seam, the name asked for by the real name dialog.
struct SaveUi : test::FakeCommandUi {
    explicit SaveUi(CDesktopSaveDlg& nameDialog) {
        onDialog = [&nameDialog](DialogModel& model) {
            return RunDesktopSaveDlg(nameDialog, dynamic_cast<DesktopSaveModel&>(model));
        };
    }
};

DesktopSession RoomSession(const char* room, int desktop) {
    DesktopSession session;
    session.m_szRoomId = room;
    session.m_nDesktop = desktop;
    session.m_nResWidth = 1024;
    session.m_nResHeight = 768;
    return session;
}

TEST(SaveCommand, ACancelledNameDialogWritesNothingAndAsksForATitle) {
    test::ReferenceServer server;
    ASSERT_TRUE(server.started()) << server.error().toStdString();
    ScopedWorkDir work;
    server.putFile("pcroom/R1/desktops.txt",
                   QByteArray::fromStdString("3\t1024\t768\tR1/desktop003.gif\t" +
                                             Cp949("저장된 이름") + "\n"));
    CServerClient client;
    client.SetPauseFunction([](int) {});
    client.Connect();
    DesktopSession session = RoomSession("R1", 3);
    CDesktopSaveDlg nameDialog;
    FrameRenderer renderer;
    Outcome outcome;
    SaveUi ui(nameDialog);
    SaveCommandContext context{ui, session, client, renderer, [&] { ++outcome.ended; }};

    QString shown;
    QTimer::singleShot(0, &nameDialog, [&] {
        shown = nameDialog.titleEdit()->text();
        nameDialog.titleEdit()->setText(QStringLiteral("바뀐 이름"));
        nameDialog.cancelButton()->click();
    });
    EXPECT_FALSE(RunSaveCommand(context));
    EXPECT_EQ(shown, QStringLiteral("저장된 이름"));
    EXPECT_EQ(ui.messages, std::vector<QString>{QStringLiteral("타이틀 입력해 주세요.")});
    EXPECT_EQ(outcome.ended, 0);
    EXPECT_EQ(server.requests(), Lines{"GET /getTitle.jsp?id=R1&type=3"});
    EXPECT_TRUE(QDir(".").entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

// The whole command without a server: the name dialog is confirmed, the real upload
// dialog runs its pass and closes, every file is written, the operator hears which
// files stayed on this PC, and the program ends.
TEST(SaveCommand, WithoutAServerItSavesLocallyTellsTheOperatorAndEnds) {
    ScopedWorkDir work;
    const QByteArray previous = qgetenv("VERADA_SERVER");
    const int port = test::UnusedPort();
    qputenv("VERADA_SERVER", QByteArray("127.0.0.1:") + QByteArray::number(port));
    CServerClient client;
    client.SetPauseFunction([](int) {});
    client.Connect();
    client.QueryNumber("sync.jsp");  // as after a start-up that found no server
    ASSERT_TRUE(client.TransportFailed());

    DesktopSession session = RoomSession("R1", 4);
    CDesktopSaveDlg nameDialog;
    nameDialog.m_strTitle = "old";
    FrameRenderer renderer;
    Outcome outcome;
    struct : SaveUi {
        using SaveUi::SaveUi;
        void ShowMessage(const QString& text) override {
            EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // the operator can click OK
            SaveUi::ShowMessage(text);
        }
    } ui{nameDialog};
    SaveCommandContext context{ui, session, client, renderer, [&] { ++outcome.ended; }};
    QTimer::singleShot(0, &nameDialog, [&] {
        EXPECT_EQ(nameDialog.titleEdit()->text(), QString());  // no title came back
        nameDialog.titleEdit()->setText(QStringLiteral("새 이름"));
        nameDialog.okButton()->click();
    });
    EXPECT_TRUE(RunSaveCommand(context));
    EXPECT_EQ(nameDialog.m_strTitle, Cp949("새 이름"));
    EXPECT_EQ(outcome.ended, 1);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    ASSERT_EQ(ui.messages.size(), 1u);
    const QString& message = ui.messages.front();
    for (const char* name : {"desktop004.xml", "LIST_IMAGE_004.db", "LIST_MENU_004.db",
                             "LAUNCHER_004.TXT", "LIST_SYSMENU_004.db", "desktop004.gif"}) {
        EXPECT_TRUE(QFileInfo::exists(QString::fromLatin1(name))) << name;
        EXPECT_TRUE(message.contains(QString::fromLatin1(name))) << name;
    }
    EXPECT_TRUE(message.startsWith(QStringLiteral("서버에 올리지 못한 파일이 있습니다.")));
    EXPECT_EQ(QImage("desktop004.gif").size(), QSize(1024, 768));

    if (previous.isNull()) {
        qunsetenv("VERADA_SERVER");
    } else {
        qputenv("VERADA_SERVER", previous);
    }
}

TEST(SaveCommand, TheMessageListsTwentyFilesAndCountsTheRest) {
    SaveReport report;
    report.registered = report.synchronised = true;
    EXPECT_EQ(SaveProblemsMessage(report), QString());
    for (int i = 0; i < 25; ++i) {
        report.keptLocal.push_back("images\\user\\" + std::to_string(i) + ".png");
    }
    report.notWritten = {"LAUNCHER_001.TXT"};
    const QStringList lines = SaveProblemsMessage(report).split(u'\n');
    ASSERT_EQ(lines.size(), 2 + 1 + 20 + 1);
    EXPECT_EQ(lines[0], QStringLiteral("저장하지 못한 파일이 있습니다:"));
    EXPECT_EQ(lines[1], QStringLiteral("  LAUNCHER_001.TXT"));
    EXPECT_EQ(lines[3], QStringLiteral("  images\\user\\0.png"));
    EXPECT_EQ(lines[22], QStringLiteral("  images\\user\\19.png"));
    EXPECT_EQ(lines[23], QStringLiteral("  … 외 5개"));
}

}  // namespace
}  // namespace vodirev
