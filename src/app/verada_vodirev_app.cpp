#include "app/verada_vodirev_app.h"

#include "app/instance_guard.h"
#include "app/verada_vodirev_dlg.h"

#include <curl/curl.h>

#include <QMessageBox>

namespace vodirev {

CVeradaVodirevApp::CVeradaVodirevApp(int& argc, char** argv) : QApplication(argc, argv) {
    // The command line is the text after the program name, words joined by one blank.
    QStringList words;
    for (int i = 1; i < argc; ++i) {
        words << QString::fromLocal8Bit(argv[i]);
    }
    m_commandLine = words.join(u' ');
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
        dialog.OnInitDialog();
        dialog.exec();
    }
    curl_global_cleanup();
    return false;
}

}  // namespace vodirev
