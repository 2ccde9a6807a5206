#pragma once
// The left button and the pointer on the canvas: hovering, grabbing and dragging
// icons, labels, pictures and the launcher, moving the window from empty canvas,
// and the two toolbar buttons. The window forwards its mouse events here and acts
// on the outcome; everything else is plain state.

#include "document/desktop_session.h"
#include "editor/canvas_state.h"
#include "editor/snapping.h"

#include <QPoint>
#include <Qt>
#include <optional>

namespace vodirev {

// What the window must do after a mouse event.
struct MouseOutcome {
    bool repaint = false;                   // invalidate the whole client area
    std::optional<Qt::CursorShape> cursor;  // set on every movement
    bool startWindowMove = false;           // press on empty canvas: move the window
    bool arranged = false;                  // the organiser ran (it asks no repaint)
    bool openResolutionDialog = false;      // run the resolution dialog, then
                                            // ApplyResolution when one was chosen
};

class CanvasController {
public:
    CanvasController(DesktopSession& session, CanvasState& state)
        : m_session(session), m_state(state) {}

    // All points are client coordinates of the editor window. Modifiers: Ctrl or
    // Shift makes a click toggle the item in the selection; Shift on empty canvas
    // draws a rubber band instead of moving the window; Alt drags without snapping.
    MouseOutcome OnLButtonDown(QPoint client, Qt::KeyboardModifiers modifiers = {});
    MouseOutcome OnMouseMove(QPoint client, Qt::KeyboardModifiers modifiers = {});
    MouseOutcome OnLButtonUp(QPoint client);
    // The pointer left the window: nothing is hovered any more.
    MouseOutcome OnMouseLeave();

    // Takes a resolution chosen in the resolution dialog. The window then resizes
    // to width x (height + 40) and recreates its canvas image. Non-positive sizes
    // are refused (returns false).
    bool ApplyResolution(int width, int height);

    // Dragged items snap to the other items and the canvas centre lines (the window
    // turns it on; off, a drag follows the pointer exactly).
    void SetSnapping(bool on) { m_bSnapping = on; }

private:
    void StartDrag(const Selection& moving);
    // Pulls the moved item (or group) onto the nearest target and records the guides.
    void SnapMoved(const Selection& moved, Qt::KeyboardModifiers modifiers);
    MouseOutcome MoveGroup(QPoint client, Qt::KeyboardModifiers modifiers);
    MouseOutcome Repaint();      // sets m_bRedrawPending
    MouseOutcome RepaintOnce();  // the owed repaint: clears it

    DesktopSession& m_session;
    CanvasState& m_state;
    bool m_bSnapping = false;
    SnapHelper m_snap;
};

// The desktop organiser: the first 14 icons of type 1, 2 or 3 with a shown title,
// in list order, go into two rows of 7, 120 pixels apart; the first row starts at
// (W / 2 - 360, H / 2 - 30), the second at (W / 2 - 300, H / 2 + 100), with W x H
// the resolution. Sizes are kept; everything else stays where it is.
void ArrangeIcons(DesktopSession& session);

}  // namespace vodirev
