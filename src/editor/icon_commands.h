#pragma once
// The context-menu commands on desktop icons that need no dialog: creating the
// folders, shortcuts and special icons, and deleting the icon under the last right
// click. Plain functions over the editor's session; the window routes them through
// the command table and repaints as the outcome says.

#include "document/desktop_session.h"
#include "editor/canvas_state.h"

#include <functional>

namespace vodirev {

class CommandRouter;

// What the window does after a command.
struct CommandOutcome {
    bool repaint = false;  // invalidate the whole client area
};

// "바로가기 아이콘 추가" and "폴더  추가" always add an icon; the four "show"
// commands add their special icon only when none of its type exists.
CommandOutcome OnAddIconCommand(DesktopSession& session, int commandId);

// The delete commands on m_nContextFolder. Deleting a folder returns its program
// icons to the catalogue; deleting the control panel returns its entries.
CommandOutcome OnDeleteIconCommand(DesktopSession& session, const CanvasState& state,
                                   int commandId);

// Routes every command above; apply receives each outcome.
void RouteIconCommands(CommandRouter& router, DesktopSession& session, const CanvasState& state,
                       std::function<void(const CommandOutcome&)> apply);

}  // namespace vodirev
