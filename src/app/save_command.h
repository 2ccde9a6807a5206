#pragma once
// The command "저장하고 끝내기" (save and exit): ask the server for the desktop's
// title, let the operator confirm it, write and publish everything, tell the
// operator what stayed only on this PC, and end the program.

#include "document/desktop_session.h"
#include "server/save_publish.h"
#include "server/server_client.h"

#include <QString>
#include <functional>

class QWidget;

namespace vodirev {

class CommandUi;
class FrameRenderer;

struct SaveCommandContext {
    QWidget* parent = nullptr;  // the editor window, parent of the upload dialog
    CommandUi& ui;              // the name dialog (DesktopSaveModel) and the messages
    DesktopSession& session;
    CServerClient& server;  // the window's client
    FrameRenderer& renderer;
    std::function<void()> endProgram{};  // the window's done()
    // Runs the upload pass. Empty: the upload dialog, modal over parent.
    UploadPassRunner runUploadPass{};
};

inline constexpr const char* kTitleMissingMessage = "타이틀 입력해 주세요.";

// The message that tells the operator what the save could not do; empty when
// everything was written and published.
QString SaveProblemsMessage(const SaveReport& report);

// Runs the command. Returns true when the desktop was saved (the program is then
// ended through endProgram); false when the name dialog was cancelled (nothing
// written, the editor stays).
bool RunSaveCommand(SaveCommandContext& context);

}  // namespace vodirev
