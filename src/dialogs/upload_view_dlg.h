#pragma once
// The small frameless window shown while the save sends the room's shared lists,
// their images, the layout file and the picture list. One second after it appears
// it runs the upload pass once, shows which file is being sent, and closes itself
// with result 5.

#include "server/server_client.h"
#include "server/upload_pass.h"

#include <QBasicTimer>
#include <QDialog>
#include <memory>
#include <string>
#include <thread>

class QLabel;
class QLineEdit;
class QProgressBar;

namespace vodirev {

class CUploadViewDlg : public QDialog {
public:
    // The pass timer's id in the resource script. Qt numbers its timers itself; the
    // QBasicTimer m_timer stands for this id.
    static constexpr int IDT_UPLOAD = 19001;
    static constexpr int kUploadDelayMs = 1000;
    // The result the dialog always ends with.
    static constexpr int kResultDone = 5;

    explicit CUploadViewDlg(QWidget* parent = nullptr);
    // Waits for a running pass, asking it to end after its current request.
    ~CUploadViewDlg() override;

    std::string m_strStatus;  // the hidden edit's text; never filled
    CServerClient m_server;   // the dialog's own client, connected by each pass
    std::string m_strRoomId;  // set by the save before the dialog runs
    int m_nDesktop = 0;

    // Starts the one-second timer; run each time the dialog is shown.
    void OnInitDialog();

    // What the last pass did (which files stayed only on this PC).
    const UploadPassResult& LastResult() const { return m_result; }
    bool IsTransferring() const { return m_bTransferring; }

    QLabel* fileLabel() const { return m_fileLabel; }
    QProgressBar* progressBar() const { return m_progress; }

    // Escape and the close request are ignored: the dialog ends only when its pass
    // has run, so the upload is never cut off halfway (or skipped before it starts).
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void StartPass();
    void OnProgress(const std::string& file, int index, int total);
    void OnPassEnded(const UploadPassResult& result);

    QBasicTimer m_timer;
    std::unique_ptr<UploadPass> m_pass;
    std::thread m_worker;  // runs the requests one after another, off the window's thread
    bool m_bTransferring = false;
    UploadPassResult m_result;

    QLineEdit* m_statusEdit = nullptr;  // control 1017, hidden
    QLabel* m_fileLabel = nullptr;
    QProgressBar* m_progress = nullptr;
};

}  // namespace vodirev
