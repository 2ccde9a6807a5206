#include "editor/hit_test.h"

#include <cstdlib>
#include <string_view>

namespace vodirev {

// Wide arithmetic throughout: positions come from files and may be extreme.
using Wide = long long;

int HitTestFolder(const CDesktopInfo& desktop, QPoint canvas) {
    const Wide x = canvas.x();
    const Wide y = canvas.y();
    for (std::size_t i = 0; i < desktop.m_arrFolder.size(); ++i) {
        const ItemRect& rc = desktop.m_arrFolder[i].m_rcItem;
        if (rc.left <= x && x <= rc.right && rc.top <= y && y <= rc.bottom) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int HitTestText(const CDesktopInfo& desktop, QPoint canvas) {
    const Wide x = canvas.x();
    const Wide y = canvas.y();
    for (int slot = 0; slot < kLabelSlots; ++slot) {
        if (!desktop.m_bLabelUsed[slot]) {
            continue;
        }
        const CInfoLabel& label = desktop.m_label[slot];
        const Wide h = std::llabs(static_cast<Wide>(label.m_nHeight));
        const std::string_view text = label.m_strText;
        const Wide n = static_cast<Wide>(text.substr(0, text.find('\n')).size());
        const Wide left = label.m_nX - Wide{5};
        const Wide right = label.m_nX + Wide{5} + (h / 2 + 1) * n;
        const Wide top = label.m_nY;
        const Wide bottom = label.m_nY + h * 7 / 5 + 5;
        if (left <= x && x <= right && top <= y && y <= bottom) {
            return slot;
        }
    }
    return -1;
}

int HitTestImage(const CDesktopInfo& desktop, QPoint canvas) {
    const Wide x = canvas.x();
    const Wide y = canvas.y();
    for (std::size_t i = 0; i < desktop.m_arrUserImage.size(); ++i) {
        const CInfoUserImage& picture = desktop.m_arrUserImage[i];
        if (picture.m_pBitmap.isNull()) {
            continue;
        }
        const Wide left = picture.m_nX;
        const Wide top = picture.m_nY;
        if (left <= x && x <= left + picture.m_pBitmap.width() && top <= y &&
            y <= top + picture.m_pBitmap.height()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool HitTestLauncher(const DesktopSession& session, QPoint client) {
    const Wide x = client.x();
    const Wide y = client.y();
    const Wide left = session.m_nLauncherX;
    const Wide top = session.m_nLauncherY;
    return left < x && x < left + session.m_pLauncherBitmap.width() && top < y &&
           y < top + session.m_pLauncherBitmap.height();
}

}  // namespace vodirev
