#pragma once
// The small frameless window shown while the save sends the room's shared lists,
// their images, the layout file and the picture list. One second after it appears
// it runs the upload pass once, shows which file is being sent, and closes itself
// with result 5.

#include "server/server_client.h"
#include "server/upload_pass.h"

#include <QBasicTimer>
#include <QDialog>
#include <functional>
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

    // Kept open over a whole save: when set, the end of the pass calls this instead
    // of closing the dialog, and the save's later steps go through ShowStep until
    // the save closes it.
    void SetPassEndedHandler(std::function<void()> handler) { m_onPassEnded = std::move(handler); }
    // The pass's steps are shown as steps first + 1 ... of total.
    void SetPassPlace(int first, int total) {
        m_passFirst = first;
        m_passTotal = total;
    }
    // Shows a step of the save: what it does, which file, index of total.
    void ShowStep(const QString& step, const QString& file, int index, int total);

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
    std::function<void()> m_onPassEnded;
    int m_passFirst = 0;
    int m_passTotal = 0;

    QLineEdit* m_statusEdit = nullptr;  // control 1017, hidden
    QLabel* m_fileLabel = nullptr;
    QProgressBar* m_progress = nullptr;
};

}  // namespace vodirev
