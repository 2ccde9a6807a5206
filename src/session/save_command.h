#pragma once
// The command "저장하고 끝내기" (save and exit): ask the server for the desktop's
// title, let the operator confirm it, write and publish everything, tell the
// operator what stayed only on this PC, and end the program. No window here: the
// editor gives it the upload dialog and its progress display, the command-line
// tool its own.

#include "document/desktop_session.h"
#include "server/save_publish.h"
#include "server/server_client.h"

#include <QString>
#include <functional>

namespace vodirev {

class CommandUi;
class FrameRenderer;

struct SaveCommandContext {
    CommandUi& ui;  // the name dialog (DesktopSaveModel) and the messages
    DesktopSession& session;
    CServerClient& server;  // the window's client
    FrameRenderer& renderer;
    std::function<void()> endProgram{};  // the window's done()
    // Runs the upload pass (the editor: its upload dialog). Empty: the pass runs
    // here over server.
    UploadPassRunner runUploadPass{};
    // Every step of each attempt, in order, ending with SaveStep::Kind::kDone once
    // that attempt's result is known and noted (before any question about it).
    SaveProgressFunction progress{};
};

// What a save step does, as the progress display names it.
QString SaveStepText(SaveStep::Kind kind);

inline constexpr const char* kTitleMissingMessage = "타이틀 입력해 주세요.";

// The message that tells the operator what the save could not do; empty when
// everything was written and published.
QString SaveProblemsMessage(const SaveReport& report);

// The question after a save with problems: what went wrong, whether to save and
// publish again, and what "no" leaves behind. recordWritten: the unpublished
// files could be noted for the next start-up.
QString RetrySaveQuestion(const SaveReport& report, bool recordWritten);

// The question before publishing a desktop that start-up could not bring from the
// server (the answer's default is no).
QString PublishOverServerQuestion(int desktop);

// The files still to be published after a save: those it could not publish, and
// those noted before that it neither published nor found on the server, while they
// exist here. The common catalogue lists are left out: they hold no edits and
// start-up brings them again.
std::vector<std::string> UnpublishedAfterSave(const std::vector<std::string>& before,
                                              const SaveReport& report);

// Runs the command. A session that started without the server's files asks first
// whether to publish over the server's copy (no: the files are only written here).
// After a save with problems the operator may try again (the whole save and publish
// runs again); the files that stay unpublished are noted in the working folder's
// unpublished record. Returns true when the desktop was saved (the program is then
// ended through endProgram); false when the name dialog was cancelled (nothing
// written, the editor stays). finalReport, when given, receives the report of the
// last attempt (what it wrote, published and could not publish).
bool RunSaveCommand(SaveCommandContext& context, SaveReport* finalReport = nullptr);

}  // namespace vodirev
