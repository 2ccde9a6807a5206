#pragma once
// What the toolbar strip's two buttons do, as their tooltips say it.

#include <QPoint>
#include <QString>

namespace vodirev {

// The tooltip of the strip button under client point (frame pixels), empty off the
// buttons. The buttons span the x ranges the mouse handling acts on.
QString ToolbarTip(QPoint client, int stripHeight);

}  // namespace vodirev
