#include "app/verada_vodirev_app.h"

#include "app/instance_guard.h"
#include "app/startup_sequence.h"
#include "app/verada_vodirev_dlg.h"

#include <curl/curl.h>

#include <QMessageBox>

namespace vodirev {

CVeradaVodirevApp::CVeradaVodirevApp(int& argc, char** argv) : QApplication(argc, argv) {
    m_commandLine = CommandLineFromArguments(argc, argv);
}

bool CVeradaVodirevApp::InitInstance() {
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        QMessageBox::information(nullptr, QString(), QString::fromUtf8(kSocketInitFailedText));
        return false;
    }
    setOrganizationName(QStringLiteral("Verada Vodirev"));
    setApplicationName(QStringLiteral("Verada Vodirev"));

    const int running = CountProcessesWithModule(kEditorModuleName);
    if (running >= 0 && running <= 1) {
        CVeradaVodirevDlg dialog(m_commandLine);
        if (dialog.OnInitDialog()) {
            dialog.exec();
        }
    }
    curl_global_cleanup();
    return false;
}

}  // namespace vodirev
