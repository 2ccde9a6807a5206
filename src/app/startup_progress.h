#pragma once
// The small window shown at once while start-up brings the room's files: the room,
// file k of n and its name. "기다리지 않기" gives up waiting: the requests fail as
// when the server goes away, and the editor opens the working folder's copies.

#include "session/startup_sequence.h"

#include <QDialog>
#include <atomic>

class QLabel;
class QProgressBar;
class QPushButton;

namespace vodirev {

class StartupProgressDlg : public QDialog {
public:
    StartupProgressDlg(const QString& roomId, QWidget* parent = nullptr);

    // Shows the file being asked for.
    void ShowStep(const StartupStep& step);
    const std::atomic<bool>& cancelFlag() const { return m_cancel; }
    bool WasGivenUp() const { return m_cancel; }

    // Escape, the close button and "기다리지 않기" all give up waiting; the window
    // closes when the requests have stopped.
    void reject() override;

private:
    std::atomic<bool> m_cancel{false};
    QLabel* m_fileLabel = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_stop = nullptr;
};

// Runs BringRoomFiles on a worker thread while the window shows its progress; on
// the calling thread when there is nothing to bring (desktop 0, a refused room id).
StartupNotes BringRoomFilesShowingProgress(DesktopSession& session, CServerClient& server,
                                           std::string_view commandLine, QWidget* parent);

}  // namespace vodirev
