#pragma once

#include <QApplication>

namespace vodirev {

// The application object: prepares the network library, refuses to run beside a
// second editor and runs the editor window.
class CVeradaVodirevApp : public QApplication {
public:
    CVeradaVodirevApp(int& argc, char** argv);

    // Runs the editor when it is the only one; always returns false (the process
    // ends when it returns).
    bool InitInstance();

private:
    QString m_commandLine;
};

// Text of string resource 103.
inline constexpr const char* kSocketInitFailedText = "Windows 소켓을 초기화하지 못했습니다.";

}  // namespace vodirev
