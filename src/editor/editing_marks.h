#pragma once
// What the window paints over the shown frame while editing: the selection's
// outlines and handles, the rubber band, the snap guides and the status line. Never
// part of the frame, so the canvas image, the preview and every file stay without it.

#include "document/desktop_session.h"
#include "editor/canvas_state.h"

#include <QStringList>
#include <QTransform>

class QPainter;

namespace vodirev {

inline constexpr QRgb kSelectionColour = 0xFF0078D7;
inline constexpr QRgb kGuideColour = 0xFFFF2090;

// clientToWidget maps client coordinates (strip included) to the painter's.
void PaintEditingMarks(QPainter& painter, const QTransform& clientToWidget,
                       const DesktopSession& session, const CanvasState& state);

// The status lines in the strip, right of its buttons, in a face the scaled view
// keeps readable.
void PaintStatusLine(QPainter& painter, const QTransform& clientToWidget, int frameWidth,
                     int toolbarHeight, const QStringList& lines);

}  // namespace vodirev
