#pragma once
// What the editor window knows about the pointer, hovering and grabbing: the view
// state the canvas is painted and edited with. The document lives in DesktopSession.

#include "editor/selection.h"

#include <QPoint>
#include <optional>

namespace vodirev {

// Height of the grey strip above the desktop; canvas y = client y - 40.
inline constexpr int kToolbarHeight = 40;

struct CanvasState {
    QPoint m_ptMouse{0, 0};        // last pointer position seen, client coordinates
    bool m_bPointerInside = true;  // false between a leave and the next movement
    int m_nHoverFolder = -1;
    int m_nHoverText = -1;
    int m_nHoverImage = -1;
    bool m_bHoverLauncher = false;

    bool m_bLeftDown = false;    // the left button pressed on the canvas is still held
    int m_nPressedFolder = -1;   // icon grabbed by the left button
    int m_nActiveText = -1;      // label slot grabbed, or chosen by the right button
    int m_nActiveImage = -1;     // picture grabbed, or chosen by the right button
    QPoint m_ptGrab{0, 0};       // press point minus the grabbed icon's or label's origin
    QPoint m_ptImageGrab{0, 0};  // press point minus the grabbed picture's origin
    bool m_bLauncherDrag = false;
    QPoint m_ptLauncherGrab{0, 0};
    QPoint m_ptPress{0, 0};  // client point of the last left press
    bool m_bWindowDrag = false;
    bool m_bRedrawPending = false;  // one more repaint is owed once nothing is hovered

    int m_nContextFolder = -1;  // icon under the last right click

    // Editor-only marks, drawn by the window over the frame and never saved.
    Selection m_selection;
    bool m_bSelectToggle = false;          // Ctrl or Shift held at the press: a click toggles
    bool m_bPressMoved = false;            // the pointer moved while the left button was held
    std::optional<ItemRef> m_pressedItem;  // the item a click selects, a drag moves
    bool m_bGroupDrag = false;             // the press fell on a selection of several
    QPoint m_ptGroupMoved{0, 0};           // how far the group has been moved so far
    bool m_bRubberBand = false;
    QPoint m_ptBandStart{0, 0};  // canvas points of the rubber band's corners
    QPoint m_ptBandEnd{0, 0};
    std::optional<int> m_nGuideX;  // canvas x of the vertical snap guide while dragging
    std::optional<int> m_nGuideY;
    int m_nToolbarHeight = kToolbarHeight;
};

}  // namespace vodirev
