#include "app/verada_vodirev_dlg.h"

#include <QKeyEvent>
#include <QPainter>

namespace vodirev {

namespace {
constexpr int kDefaultWidth = 1024;
constexpr int kDefaultHeight = 768;
}  // namespace

CVeradaVodirevDlg::CVeradaVodirevDlg(QString commandLine, QWidget* parent)
    : QDialog(parent), m_commandLine(std::move(commandLine)) {
    setWindowTitle(QStringLiteral("데스탑 화면 편집 관리자"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
}

void CVeradaVodirevDlg::OnInitDialog() {
    m_nToolbarHeight = 40;
    m_session.m_nResWidth = m_session.m_desktop.m_nWidth > 0 ? m_session.m_desktop.m_nWidth
                                                             : kDefaultWidth;
    m_session.m_nResHeight = m_session.m_desktop.m_nHeight > 0 ? m_session.m_desktop.m_nHeight
                                                               : kDefaultHeight;
    RecreateCanvas();
    move(0, 0);
}

void CVeradaVodirevDlg::RecreateCanvas() {
    const int width = m_session.m_nResWidth;
    const int height = m_session.m_nResHeight;
    m_imgCanvas = QImage(width, height, QImage::Format_RGB32);
    m_imgCanvas.fill(Qt::black);
    m_frame = QImage(width, height + m_nToolbarHeight, QImage::Format_RGB32);
    m_frame.fill(Qt::black);
    QPainter painter(&m_frame);
    painter.fillRect(0, 0, width, m_nToolbarHeight, QColor(200, 200, 200));
    setFixedSize(width, height + m_nToolbarHeight);
}

void CVeradaVodirevDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, m_frame);
}

void CVeradaVodirevDlg::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape never close the editor.
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void CVeradaVodirevDlg::reject() {
    // Escape reaches QDialog as reject(); only closing the window ends the editor.
    if (!isVisible()) {
        QDialog::reject();
    }
}

}  // namespace vodirev
