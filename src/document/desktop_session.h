#pragma once
// What the editor holds for one desktop of one room besides the document itself:
// the command line's room and numbers, the program menus, the launcher and the
// resolution being designed. The editor window owns one; start-up fills it, the
// canvas edits it and saving writes it out.

#include "base/fixed_string.h"
#include "document/desktop_info.h"
#include "document/info_icon.h"

#include <QImage>
#include <vector>

namespace vodirev {

// The largest side of a resolution the editor designs for. A layout asking for more
// (30000 x 30000 would need gigabytes for the canvas and paint nothing) is opened at
// the default resolution instead.
inline constexpr int kMaxResolutionSide = 16384;
inline constexpr int kDefaultResolutionWidth = 1024;
inline constexpr int kDefaultResolutionHeight = 768;

class DesktopSession {
public:
    CDesktopInfo m_desktop;
    FixedString<20> m_szRoomId;
    int m_nDesktop = 0;
    int m_nTemplate = 0;
    std::vector<CInfoIcon> m_arrMenu;
    std::vector<CInfoIcon> m_arrSysMenu;
    int m_nLauncherX = 0;  // client coordinates of the editor window
    int m_nLauncherY = 100;
    int m_nLauncherType = 0;   // 1 shows launcherB.bmp, anything else launcherA.bmp
    QImage m_pLauncherBitmap;  // its size is the launcher's area; null: no launcher drawn
    int m_nResWidth = 0;
    int m_nResHeight = 0;
    FixedString<260> m_szWorkDir;
    // Start-up (desktop number above 0) could not reach the server, so what is shown
    // is the working folder's copy, not the room's files: saving asks before it
    // publishes over the server's copy.
    bool m_bServerFilesMissing = false;
};

}  // namespace vodirev
