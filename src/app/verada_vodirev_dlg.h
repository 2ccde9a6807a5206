#pragma once
// The editor window: the desktop canvas under the 40-pixel toolbar strip.

#include "document/desktop_session.h"
#include "server/server_client.h"

#include <QDialog>
#include <QImage>
#include <QString>

namespace vodirev {

class CVeradaVodirevDlg : public QDialog {
public:
    explicit CVeradaVodirevDlg(QString commandLine, QWidget* parent = nullptr);

    // The start-up sequence: command line, server files, lists, layout, window size.
    void OnInitDialog();

    DesktopSession& session() { return m_session; }
    const QImage& canvasImage() const { return m_imgCanvas; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void RecreateCanvas();

    QString m_commandLine;
    DesktopSession m_session;
    CServerClient m_server;
    int m_nToolbarHeight = 40;
    QImage m_imgCanvas;  // the desktop at the current resolution, as last painted
    QImage m_frame;      // the whole client area, strip included
};

}  // namespace vodirev
