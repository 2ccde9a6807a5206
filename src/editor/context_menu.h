#pragma once
// The right button: which of the seven context menus opens for what lies under the
// pointer, and the menus themselves as data (ids, captions, order, separators).

#include "document/desktop_session.h"
#include "editor/canvas_state.h"

#include <QPoint>
#include <QString>
#include <span>
#include <string_view>

namespace vodirev {

enum ContextMenuId : int {
    kNoMenu = 0,
    kMenuTop = 130,       // popup "top": empty canvas
    kMenuFolder = 131,    // popup "folder": icon of type 1
    kMenuShortcut = 133,  // popup "dfolder": icon of type 2
    kMenuText = 142,      // popup "TextList": a label
    kMenuBase = 145,      // popup "base": icons of types 4, 5 and 7
    kMenuSystem = 147,    // popup "system": icon of type 6
    kMenuImage = 149,     // popup "IMAGE": a picture
};

struct MenuEntry {
    int commandId = 0;             // 0 for a separator
    std::string_view captionUtf8;  // empty for a separator
    bool separator = false;

    QString caption() const { return QString::fromUtf8(captionUtf8.data(), captionUtf8.size()); }
};

struct ContextMenu {
    int menuId = kNoMenu;
    std::string_view popupName;
    std::span<const MenuEntry> entries;  // entries[0] is the default (bold) item
};

// The menu with that id; a menu with no entries (menuId kNoMenu) for any other id.
ContextMenu FindContextMenu(int menuId);
// The caption of a command of the menus (its first entry); empty for any other id.
QString CommandCaption(int commandId);

// The ids of the seven menus, in resource order.
std::span<const int> AllContextMenuIds();

// A right click at a client point. Records the icon (m_nContextFolder) and label
// (m_nActiveText) under it, stores the client point as m_nNewX/m_nNewY of the
// document, and chooses the menu: the icon's menu by its type (none for a type
// without one), else the label menu, else the picture under it (recorded in
// m_nActiveImage only in this case) gives the picture menu, else the top menu.
int OnRButtonDown(DesktopSession& session, CanvasState& state, QPoint client);

// The menu of an icon of that type: none for a type without one.
int ContextMenuForIconType(int type);

}  // namespace vodirev
