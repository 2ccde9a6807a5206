#include "app/startup_progress.h"

#include "base/text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMetaObject>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <thread>

namespace vodirev {

StartupProgressDlg::StartupProgressDlg(const QString& roomId, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("VeradaVodirev"));
    setModal(true);
    auto* room =
        new QLabel(QStringLiteral("방 %1의 파일을 서버에서 가져오는 중입니다.").arg(roomId));
    room->setTextFormat(Qt::PlainText);
    m_fileLabel = new QLabel(QStringLiteral("서버에 연결하는 중..."));
    m_fileLabel->setTextFormat(Qt::PlainText);
    m_fileLabel->setMinimumWidth(360);
    m_progress = new QProgressBar;
    m_progress->setRange(0, 0);  // busy until the count is known
    m_progress->setFormat(QStringLiteral("%v / %m"));
    m_stop = new QPushButton(QStringLiteral("기다리지 않기"));
    m_stop->setToolTip(QStringLiteral("서버를 더 기다리지 않고 이 컴퓨터에 있는 파일로 엽니다."));
    connect(m_stop, &QPushButton::clicked, this, &StartupProgressDlg::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_stop);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(room);
    layout->addWidget(m_fileLabel);
    layout->addWidget(m_progress);
    layout->addLayout(buttons);
}

void StartupProgressDlg::ShowStep(const StartupStep& step) {
    if (m_cancel) {
        return;
    }
    const QString text = QStringLiteral("파일 %1 / %2: %3")
                             .arg(step.index)
                             .arg(step.total)
                             .arg(fromCp949(step.file));
    m_fileLabel->setText(
        m_fileLabel->fontMetrics().elidedText(text, Qt::ElideMiddle, m_fileLabel->width()));
    m_progress->setRange(0, step.total);
    m_progress->setValue(step.index);
}

void StartupProgressDlg::reject() {
    if (!m_cancel) {
        m_cancel = true;
        m_fileLabel->setText(QStringLiteral("기다리지 않고 이 컴퓨터에 있는 파일로 엽니다..."));
        m_stop->setEnabled(false);
    }
}

StartupNotes BringRoomFilesShowingProgress(DesktopSession& session, CServerClient& server,
                                           std::string_view commandLine, QWidget* parent) {
    const StartupCommandLine words = ParseCommandLine(commandLine);
    if (words.desktop <= 0 || !RoomIdProblem(words).isEmpty()) {
        return BringRoomFiles(session, server, commandLine);
    }
    StartupProgressDlg dialog(fromCp949(words.roomId), parent);
    server.SetCancelFlag(&dialog.cancelFlag());
    StartupNotes notes;
    const std::string line(commandLine);
    // The requests run on a worker; the window keeps painting and learns of each file
    // through queued calls. Nothing else touches the session or the client meanwhile.
    std::thread worker([&] {
        notes = BringRoomFiles(session, server, line, [&dialog](const StartupStep& step) {
            QMetaObject::invokeMethod(
                &dialog, [&dialog, step] { dialog.ShowStep(step); }, Qt::QueuedConnection);
        });
        QMetaObject::invokeMethod(
            &dialog, [&dialog] { dialog.done(QDialog::Accepted); }, Qt::QueuedConnection);
    });
    dialog.exec();
    worker.join();
    server.SetCancelFlag(nullptr);
    return notes;
}

}  // namespace vodirev
