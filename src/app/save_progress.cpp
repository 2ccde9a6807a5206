#include "app/save_progress.h"

#include "base/text.h"
#include "session/save_command.h"

#include <QApplication>
#include <QCursor>
#include <QEventLoop>

namespace vodirev {

SaveProgressDisplay::SaveProgressDisplay(QWidget* parent) : m_dialog(parent) {}

SaveProgressDisplay::~SaveProgressDisplay() {
    SetWaitCursor(false);
}

void SaveProgressDisplay::SetWaitCursor(bool on) {
    if (on != m_waitCursor) {
        on ? QApplication::setOverrideCursor(Qt::WaitCursor)
           : QApplication::restoreOverrideCursor();
        m_waitCursor = on;
    }
}

UploadPassResult SaveProgressDisplay::RunPass(const std::string& roomId, int desktop) {
    m_dialog.m_strRoomId = roomId;
    m_dialog.m_nDesktop = desktop;
    QEventLoop loop;
    m_dialog.SetPassEndedHandler([&loop] { loop.quit(); });
    if (m_dialog.isVisible()) {
        m_dialog.OnInitDialog();
    } else {
        m_dialog.show();  // starts the pass's timer
    }
    loop.exec();
    m_dialog.SetPassEndedHandler({});
    return m_dialog.LastResult();
}

void SaveProgressDisplay::OnStep(const SaveStep& step) {
    if (step.kind == SaveStep::Kind::kDone) {
        m_dialog.hide();
        SetWaitCursor(false);
        return;
    }
    if (step.kind == SaveStep::Kind::kUpload) {
        m_dialog.SetPassPlace(step.index - 1, step.total);
    } else if (step.index > 1 && step.kind != SaveStep::Kind::kWrite) {
        // After the upload pass the requests run on this thread: the wait cursor says
        // so, and the display is painted between them.
        SetWaitCursor(true);
    }
    m_dialog.ShowStep(SaveStepText(step.kind), fromCp949(step.file), step.index, step.total);
    if (!m_dialog.isVisible()) {
        m_dialog.show();
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace vodirev
