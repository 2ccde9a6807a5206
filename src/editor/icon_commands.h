#pragma once
// The context-menu commands on desktop icons that need no dialog: creating the
// folders, shortcuts and special icons, and deleting the icon under the last right
// click. Plain functions over the editor's session; the window routes them through
// the command table and repaints as the outcome says.

#include "document/desktop_session.h"
#include "editor/canvas_state.h"

#include <QDateTime>
#include <QString>
#include <functional>
#include <optional>
#include <string>

namespace vodirev {

class CommandRouter;
class CommandUi;

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

inline constexpr const char* kImageRefusedMessage = "이미지를 등록 할 수 없습니다.";

// Why a picture cannot be taken: it could not be read, or (scaleSide above 0) it
// cannot be scaled to scaleSide x scaleSide because that would grow it along one
// axis and shrink it along the other. Empty when it can be taken.
QString PictureRefusalReason(const QImage& picture, int scaleSide);

// Brings a picture the operator chooses into the working folder: the file dialog
// (jpg, gif, bmp, png), the decode (and, scaleSide above 0, the check that it scales
// to scaleSide x scaleSide), the stored
// name (the file's own, or the time stamp for a name with other bytes), the copy to
// destinationFormat with the stored name for its one "%s", never over an existing
// file (that one is then used as it is). The relative path of the copy; nothing
// when the operator cancelled or the picture was refused (refusal shown, with the
// reason on the next line).
std::optional<std::string> ImportImageFile(CommandUi& ui, std::string_view workDir,
                                           const char* destinationFormat, const QString& refusal,
                                           int scaleSide, const QDateTime& now);

// The four change-image commands on m_nContextFolder: the picture imported into
// "images\\bkicons\\", its path appended to "LIST_FOLDER_USER.db", the icon redrawn
// with it.
CommandOutcome OnChangeIconImage(DesktopSession& session, const CanvasState& state, CommandUi& ui,
                                 const QDateTime& now);

// What the routed commands work on.
struct IconCommandContext {
    DesktopSession& session;
    const CanvasState& state;
    CommandUi& ui;
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
};

// Routes every command above; apply receives each outcome.
void RouteIconCommands(CommandRouter& router, IconCommandContext context,
                       std::function<void(const CommandOutcome&)> apply);

}  // namespace vodirev
