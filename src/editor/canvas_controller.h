#pragma once
// The left button and the pointer on the canvas: hovering, grabbing and dragging
// icons, labels, pictures and the launcher, moving the window from empty canvas,
// and the two toolbar buttons. The window forwards its mouse events here and acts
// on the outcome; everything else is plain state.

#include "document/desktop_session.h"
#include "editor/canvas_state.h"

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

    // All points are client coordinates of the editor window.
    MouseOutcome OnLButtonDown(QPoint client);
    MouseOutcome OnMouseMove(QPoint client);
    MouseOutcome OnLButtonUp(QPoint client);
    // The pointer left the window: nothing is hovered any more.
    MouseOutcome OnMouseLeave();

    // Takes a resolution chosen in the resolution dialog. The window then resizes
    // to width x (height + 40) and recreates its canvas image. Non-positive sizes
    // are refused (returns false).
    bool ApplyResolution(int width, int height);

private:
    MouseOutcome Repaint();      // sets m_bRedrawPending
    MouseOutcome RepaintOnce();  // the owed repaint: clears it

    DesktopSession& m_session;
    CanvasState& m_state;
};

// The desktop organiser: the first 14 icons of type 1, 2 or 3 with a shown title,
// in list order, go into two rows of 7, 120 pixels apart; the first row starts at
// (W / 2 - 360, H / 2 - 30), the second at (W / 2 - 300, H / 2 + 100), with W x H
// the resolution. Sizes are kept; everything else stays where it is.
void ArrangeIcons(DesktopSession& session);

}  // namespace vodirev
