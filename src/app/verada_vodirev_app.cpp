#include "app/verada_vodirev_app.h"

#include "app/instance_guard.h"
#include "app/qt_translations.h"
#include "app/raise_request.h"
#include "app/verada_vodirev_dlg.h"
#include "base/text.h"
#include "document/client_drives.h"
#include "document/install_images.h"
#include "session/startup_sequence.h"

#include <curl/curl.h>

#include <QDir>
#include <QIcon>
#include <QMessageBox>
#include <QTimer>

namespace vodirev {

namespace {

// VODIREV_QUIT_AFTER_MS (tests): every so many milliseconds the open windows are
// closed as their close button does, message boxes shown before the window included.
void closeWindowsPeriodicallyWhenAsked(QApplication& app) {
    bool ok = false;
    const int ms = qEnvironmentVariableIntValue("VODIREV_QUIT_AFTER_MS", &ok);
    if (ok && ms > 0) {
        auto* timer = new QTimer(&app);
        QObject::connect(timer, &QTimer::timeout, &QApplication::closeAllWindows);
        timer->start(ms);
    }
}

}  // namespace

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
    UseKoreanInterface(*this);
    setWindowIcon(QIcon(QStringLiteral(":/icons/verada-vodirev.png")));
    setDesktopFileName(QStringLiteral("verada-vodirev"));
    // An installed editor brings the installation images the working folder lacks;
    // not into a folder the editor will not work in for want of a room id.
    if (RoomIdProblem(ParseCommandLine(toCp949(m_commandLine))).isEmpty()) {
        ProvideInstallImages(InstalledImagesFolder(applicationDirPath()), QDir::currentPath());
    }

    const int running = CountProcessesWithModule(kEditorModuleName);
    if (running >= 0 && running <= 1) {
        closeWindowsPeriodicallyWhenAsked(*this);
        ReloadClientDrives();  // the Wine prefix and the operator's entries as they are now
        CVeradaVodirevDlg dialog(m_commandLine);
        CRaiseListener listener(EditorSocketName(), [&dialog] {
            dialog.setWindowState((dialog.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
            dialog.raise();
            dialog.activateWindow();
        });
        if (dialog.OnInitDialog()) {
            dialog.exec();
        }
    } else if (running > 1) {
        // The count decides; the running editor only shows itself, if it listens.
        AskRunningEditorToRaise(EditorSocketName());
    }
    curl_global_cleanup();
    return false;
}

}  // namespace vodirev
