#pragma once
// What the editor does when an editing dialog applies: the dialog hands its plain
// half to the window through DialogApplyHandler, and the window calls the matching
// function here on its session.

#include "document/desktop_session.h"
#include "editor/base_folder_model.h"
#include "editor/direct_folder_model.h"
#include "editor/folder_update_model.h"
#include "editor/icon_commands.h"

#include <string>
#include <string_view>

namespace vodirev {

// The window's side of the modeless dialogs: one method per apply message, called
// synchronously before the dialog hides.
class DialogApplyHandler {
public:
    virtual ~DialogApplyHandler() = default;
    virtual void OnFolderApply(const FolderUpdateModel& dialog) = 0;
    // A window that does not handle a dialog's apply ignores it.
    virtual void OnShortcutApply(const DirectFolderModel& /*dialog*/) {}
    virtual void OnBaseFolderApply(const BaseFolderModel& /*dialog*/) {}
    virtual void OnSystemApply(const SystemFolderModel& /*dialog*/) {}
};

// Every "&", "<" and ">" as a blank: the layout stores titles and texts unescaped.
std::string BlankMarkupCharacters(std::string_view text);

// The folder editor's result for folder index: the catalogue and this folder's icons
// replace those of the session's program icons (catalogue first), and the folder
// takes the name, the show-name flag and the image. A stale index changes nothing.
CommandOutcome ApplyFolderUpdate(DesktopSession& session, int folderIndex,
                                 const FolderUpdateModel& dialog);

// The shortcut dialog's result for icon index: name, show-name flag, image and link.
// A stale index changes nothing.
CommandOutcome ApplyShortcut(DesktopSession& session, int folderIndex,
                             const DirectFolderModel& dialog);

// The base folder dialog's result for icon index: name, show-name flag and image.
CommandOutcome ApplyBaseFolder(DesktopSession& session, int folderIndex,
                               const BaseFolderModel& dialog);

// The control panel dialog's result for icon index: the session's system entries
// become the catalogue followed by the control panel's entries (entries of any other
// folder number are dropped), then name, show-name flag and image.
CommandOutcome ApplySystemFolder(DesktopSession& session, int folderIndex,
                                 const SystemFolderModel& dialog);

// Where the icon an open dialog applies to is after a change of the icons: `was` is
// that icon as it stood at `index` before. While no icon was added or removed
// (reordered false) an icon of the same kind at the index is still it (a command may
// have changed its picture); otherwise it is the icon that holds the same record, or
// none (-1) when it is gone. An apply then never lands on an icon the operator did not
// point at.
int FollowIcon(const CDesktopInfo& desktop, int index, const CInfoFolder& was, bool reordered);

// The line told when an apply found no icon of its kind to change.
inline constexpr const char* kApplyTargetGoneMessage =
    "이 창에서 고치던 아이콘이 더 이상 없어 아무것도 바꾸지 않았습니다.";

}  // namespace vodirev
