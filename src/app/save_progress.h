#pragma once
// The one progress display of a save in the editor: the upload dialog, kept open from
// the save's first step over the upload pass and every later step (menus, launcher,
// preview, registration, synchronisation) until the save's result is known.

#include "dialogs/upload_view_dlg.h"
#include "server/save_publish.h"

#include <string>

class QWidget;

namespace vodirev {

class SaveProgressDisplay {
public:
    explicit SaveProgressDisplay(QWidget* parent);
    ~SaveProgressDisplay();
    SaveProgressDisplay(const SaveProgressDisplay&) = delete;
    SaveProgressDisplay& operator=(const SaveProgressDisplay&) = delete;

    // The save's upload pass, run by the dialog (its own client, one second after it
    // shows); returns when the pass has ended, the dialog still open.
    UploadPassResult RunPass(const std::string& roomId, int desktop);
    // Shows a step; the end closes the display.
    void OnStep(const SaveStep& step);

    UploadPassRunner Runner() {
        return [this](const std::string& roomId, int desktop) { return RunPass(roomId, desktop); };
    }
    SaveProgressFunction Sink() {
        return [this](const SaveStep& step) { OnStep(step); };
    }

private:
    void SetWaitCursor(bool on);

    CUploadViewDlg m_dialog;
    bool m_waitCursor = false;
};

}  // namespace vodirev
