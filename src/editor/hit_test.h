#pragma once
// What lies under a point of the canvas. Each test returns the lowest index that
// matches (although painting draws later items on top), or -1; all bounds are
// inclusive. Document items are tested at canvas points (client y - 40).

#include "document/desktop_info.h"
#include "document/desktop_session.h"

#include <QPoint>

namespace vodirev {

// Icons: left <= x <= right and top <= y <= bottom of m_rcItem.
int HitTestFolder(const CDesktopInfo& desktop, QPoint canvas);

// Labels in use: with h = |m_nHeight| and n = bytes of the first line,
// m_nX - 5 <= x <= m_nX + 5 + (h / 2 + 1) * n and m_nY <= y <= m_nY + (h * 7) / 5 + 5.
int HitTestText(const CDesktopInfo& desktop, QPoint canvas);

// Pictures: m_nX <= x <= m_nX + width and m_nY <= y <= m_nY + height of the bitmap.
// A picture whose file did not decode is not drawn and is not hit.
int HitTestImage(const CDesktopInfo& desktop, QPoint canvas);

// The launcher, strictly inside its bitmap, at a client point.
bool HitTestLauncher(const DesktopSession& session, QPoint client);

}  // namespace vodirev
