#include "dialogs/upload_view_dlg.h"

#include "base/text.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QProgressBar>
#include <QShowEvent>
#include <QTimerEvent>
#include <QVBoxLayout>
#include <algorithm>

namespace vodirev {

namespace {

// 242 x 50 dialog units of 굴림체 9.
constexpr int kWidth = 363;
constexpr int kHeight = 81;

}  // namespace

CUploadViewDlg::CUploadViewDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setFont(QFont(QStringLiteral("굴림체"), 9));
    setModal(true);
    setFixedSize(kWidth, kHeight);

    // The static edge of the window.
    auto* frame = new QFrame(this);
    frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    m_statusEdit = new QLineEdit(frame);
    m_statusEdit->setObjectName(QStringLiteral("1017"));
    m_statusEdit->hide();

    auto* text = new QLabel(QStringLiteral("파일 업로드 중입니다."), frame);
    m_fileLabel = new QLabel(frame);
    m_fileLabel->setTextFormat(Qt::PlainText);
    m_progress = new QProgressBar(frame);
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_progress->setFormat(QStringLiteral("%v / %m"));
    m_progress->setMaximumHeight(16);

    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(10, 6, 10, 6);
    layout->setSpacing(3);
    layout->addWidget(text);
    layout->addWidget(m_fileLabel);
    layout->addWidget(m_progress);
}

CUploadViewDlg::~CUploadViewDlg() {
    m_timer.stop();
    if (m_pass) {
        m_pass->Stop();
    }
    if (m_worker.joinable()) {
        m_worker.join();
    }
}

void CUploadViewDlg::OnInitDialog() {
    m_statusEdit->setText(fromCp949(m_strStatus));
    m_fileLabel->clear();
    m_progress->setRange(0, 1);
    m_progress->setValue(0);
    m_timer.start(kUploadDelayMs, this);
}

void CUploadViewDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous() && !m_bTransferring && !m_timer.isActive()) {
        OnInitDialog();
    }
}

void CUploadViewDlg::reject() {}

void CUploadViewDlg::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_timer.timerId()) {
        QDialog::timerEvent(event);
        return;
    }
    // One pass per run: the timer never fires again, whatever the pass meets.
    m_timer.stop();
    StartPass();
}

void CUploadViewDlg::StartPass() {
    if (m_bTransferring) {
        return;
    }
    m_bTransferring = true;
    m_result = {};
    m_pass = std::make_unique<UploadPass>(m_server, m_strRoomId, m_nDesktop);
    // The requests keep their order on one worker thread; the window keeps painting
    // and learns of each step through queued calls.
    m_worker = std::thread([this] {
        const UploadPassResult result =
            m_pass->Run([this](const std::string& file, int index, int total) {
                QMetaObject::invokeMethod(
                    this, [this, file, index, total] { OnProgress(file, index, total); },
                    Qt::QueuedConnection);
            });
        QMetaObject::invokeMethod(
            this, [this, result] { OnPassEnded(result); }, Qt::QueuedConnection);
    });
}

void CUploadViewDlg::OnProgress(const std::string& file, int index, int total) {
    if (m_passTotal > 0) {
        ShowStep(QStringLiteral("파일 업로드"), fromCp949(file), m_passFirst + index, m_passTotal);
        return;
    }
    const QString name = fromCp949(file);
    m_fileLabel->setText(
        m_fileLabel->fontMetrics().elidedText(name, Qt::ElideMiddle, m_fileLabel->width()));
    m_fileLabel->setToolTip(name);
    m_progress->setRange(0, total);
    m_progress->setValue(index);
}

void CUploadViewDlg::ShowStep(const QString& step, const QString& file, int index, int total) {
    const QString text = file.isEmpty() ? step : step + QStringLiteral(": ") + file;
    m_fileLabel->setText(
        m_fileLabel->fontMetrics().elidedText(text, Qt::ElideMiddle, m_fileLabel->width()));
    m_fileLabel->setToolTip(text);
    m_progress->setRange(0, std::max(total, 1));
    m_progress->setValue(std::min(index, std::max(total, 1)));
}

void CUploadViewDlg::OnPassEnded(const UploadPassResult& result) {
    if (m_worker.joinable()) {
        m_worker.join();
    }
    m_pass.reset();
    m_result = result;
    m_bTransferring = false;
    if (m_onPassEnded) {
        m_onPassEnded();
        return;
    }
    done(kResultDone);
}

}  // namespace vodirev
