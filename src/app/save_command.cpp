#include "app/save_command.h"

#include "base/text.h"
#include "dialogs/upload_view_dlg.h"
#include "editor/command_ui.h"
#include "editor/frame_renderer.h"

#include <QApplication>
#include <QCursor>
#include <QStringList>

namespace vodirev {

namespace {

// The title buffer of the title query.
constexpr std::size_t kTitleBufferSize = 512;
// A room can name hundreds of images; the message lists the first ones.
constexpr int kMaxListedFiles = 20;

void AppendFileList(QStringList& lines, const std::vector<std::string>& files) {
    const int count = static_cast<int>(files.size());
    for (int i = 0; i < count && i < kMaxListedFiles; ++i) {
        lines << QStringLiteral("  ") + fromCp949(files[static_cast<std::size_t>(i)]);
    }
    if (count > kMaxListedFiles) {
        lines << QStringLiteral("  … 외 %1개").arg(count - kMaxListedFiles);
    }
}

UploadPassResult RunUploadDialog(QWidget* parent, const std::string& roomId, int desktop) {
    CUploadViewDlg dialog(parent);
    dialog.m_strRoomId = roomId;
    dialog.m_nDesktop = desktop;
    dialog.exec();  // always 5
    return dialog.LastResult();
}

}  // namespace

QString SaveProblemsMessage(const SaveReport& report) {
    QStringList lines;
    if (!report.notWritten.empty()) {
        lines << QStringLiteral("저장하지 못한 파일이 있습니다:");
        AppendFileList(lines, report.notWritten);
    }
    if (!report.keptLocal.empty()) {
        lines << QStringLiteral("서버에 올리지 못한 파일이 있습니다. 이 컴퓨터에만 저장된 파일:");
        AppendFileList(lines, report.keptLocal);
    }
    if (!report.notAttempted.empty()) {
        lines << QStringLiteral(
            "서버 연결이 끊겨 올려 보지 못한 파일이 있습니다. 이 컴퓨터에만 저장된 파일 "
            "(서버에 이미 있는 그림일 수 있습니다):");
        AppendFileList(lines, report.notAttempted);
    }
    if (report.registrationSkipped) {
        lines << QStringLiteral(
            "레이아웃 파일을 서버에 올리지 못해 데스크탑을 등록하지 않았습니다. 서버에는 "
            "이전 데스크탑이 그대로 있습니다.");
    } else {
        if (!report.registered) {
            lines << QStringLiteral("서버에 데스크탑을 등록하지 못했습니다.");
        }
        if (!report.synchronised) {
            lines << QStringLiteral("서버에 동기화를 요청하지 못했습니다.");
        }
    }
    return lines.join(u'\n');
}

bool RunSaveCommand(SaveCommandContext& context) {
    DesktopSession& session = context.session;
    CServerClient& server = context.server;
    CommandUi& ui = context.ui;

    // A server that was away earlier gets another chance: a client that met a
    // transport failure refuses every request until it connects again.
    if (server.TransportFailed()) {
        server.Connect();
    }

    std::string title;
    server.QueryText(TitleQueryTarget(session.m_szRoomId.str(), session.m_nDesktop), title,
                     kTitleBufferSize);
    DesktopSaveModel name;
    name.m_strTitle = title;
    if (!ui.RunDialog(name)) {
        ui.ShowMessage(QString::fromUtf8(kTitleMissingMessage));
        return false;
    }
    const std::string confirmedTitle = name.m_strTitle;

    // The preview is the desktop as the client PCs show it, with the launcher where
    // the operator sees it over the desktop in the editor.
    const QImage preview = context.renderer.RenderDesktop(session);

    bool waitCursor = false;
    const UploadPassRunner runPass = [&](const std::string& roomId, int desktop) {
        UploadPassResult result = context.runUploadPass
                                      ? context.runUploadPass(roomId, desktop)
                                      : RunUploadDialog(context.parent, roomId, desktop);
        QApplication::setOverrideCursor(Qt::WaitCursor);
        waitCursor = true;
        return result;
    };
    const SaveReport report = SaveAndPublish(session, server, confirmedTitle, preview, runPass);
    if (waitCursor) {
        QApplication::restoreOverrideCursor();
    }

    if (report.HasProblems()) {
        ui.ShowMessage(SaveProblemsMessage(report));
    }
    if (context.endProgram) {
        context.endProgram();
    }
    return true;
}

}  // namespace vodirev
