#include "editor/icon_commands.h"

#include "editor/command_ids.h"
#include "editor/command_router.h"

namespace vodirev {

namespace {

constexpr int kAddCommands[] = {ID_ADD_SHORTCUT,     ID_ADD_FOLDER,       ID_SHOW_CONTROL_PANEL,
                                ID_SHOW_MY_COMPUTER, ID_SHOW_RECYCLE_BIN, ID_SHOW_USER_REVIEWS};
constexpr int kDeleteCommands[] = {ID_DELETE_FOLDER, ID_DELETE_SHORTCUT, ID_DELETE_BASE_FOLDER,
                                   ID_DELETE_CONTROL_PANEL};

// A special icon is shown once: nothing when one of its type is on the desktop.
template <typename Add>
bool AddOnce(CDesktopInfo& desktop, int type, Add add) {
    if (desktop.FindIconOfType(type) >= 0) {
        return false;
    }
    (desktop.*add)();
    return true;
}

}  // namespace

CommandOutcome OnAddIconCommand(DesktopSession& session, int commandId) {
    CDesktopInfo& desktop = session.m_desktop;
    bool added = true;
    switch (commandId) {
        case ID_ADD_SHORTCUT:
            desktop.AddShortcutIcon();
            break;
        case ID_ADD_FOLDER:
            desktop.AddFolder();
            break;
        case ID_SHOW_CONTROL_PANEL:
            added = AddOnce(desktop, kTypeControlPanel, &CDesktopInfo::AddControlPanel);
            break;
        case ID_SHOW_MY_COMPUTER:
            added = AddOnce(desktop, kTypeMyComputer, &CDesktopInfo::AddMyComputer);
            break;
        case ID_SHOW_RECYCLE_BIN:
            added = AddOnce(desktop, kTypeRecycleBin, &CDesktopInfo::AddRecycleBin);
            break;
        case ID_SHOW_USER_REVIEWS:
            added = AddOnce(desktop, kTypeUserReviews, &CDesktopInfo::AddUserReviews);
            break;
        default:
            added = false;
    }
    return {added};
}

CommandOutcome OnDeleteIconCommand(DesktopSession& session, const CanvasState& state,
                                   int commandId) {
    std::vector<CInfoFolder>& icons = session.m_desktop.m_arrFolder;
    const int target = state.m_nContextFolder;
    // The target is the icon under the last right click; a stale index deletes nothing.
    if (target < 0 || target >= static_cast<int>(icons.size())) {
        return {};
    }
    const auto position = icons.begin() + target;
    switch (commandId) {
        case ID_DELETE_FOLDER:
            for (CInfoIcon& program : session.m_arrMenu) {
                if (program.m_nFolder == position->m_nFlag) {
                    program.m_nFolder = 0;
                }
            }
            icons.erase(position);
            break;
        case ID_DELETE_SHORTCUT:
        case ID_DELETE_BASE_FOLDER:
            icons.erase(position);
            break;
        case ID_DELETE_CONTROL_PANEL:
            icons.erase(position);
            for (CInfoIcon& entry : session.m_arrSysMenu) {
                entry.m_nFolder = 0;
            }
            break;
        default:
            return {};
    }
    return {true};
}

void RouteIconCommands(CommandRouter& router, DesktopSession& session, const CanvasState& state,
                       std::function<void(const CommandOutcome&)> apply) {
    for (const int id : kAddCommands) {
        router.Route(id, [&session, apply, id] { apply(OnAddIconCommand(session, id)); });
    }
    for (const int id : kDeleteCommands) {
        router.Route(
            id, [&session, &state, apply, id] { apply(OnDeleteIconCommand(session, state, id)); });
    }
}

}  // namespace vodirev
