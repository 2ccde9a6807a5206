#pragma once
// The status line the window paints over the strip, right of its two buttons: where
// the pointer is on the desktop, what lies under it or what is selected, whether
// start-up reached the server and how many files still wait for publishing, and
// whether there are unsaved changes. Painted over the frame, never into it.

#include "document/desktop_session.h"
#include "editor/canvas_state.h"

#include <QString>
#include <QStringList>

namespace vodirev {

struct StatusFacts {
    bool serverAsked = false;  // the desktop number was above 0
    bool serverReached = false;
    int unpublishedFiles = 0;
    bool modified = false;
};

// Two lines: the pointer and the item or selection; the server and the changes.
QStringList StatusLines(const DesktopSession& session, const CanvasState& state,
                        const StatusFacts& facts);

// Where the status line goes: right of the strip's buttons.
inline constexpr int kStatusLeft = 262;

}  // namespace vodirev
