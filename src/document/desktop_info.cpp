#include "document/desktop_info.h"

namespace vodirev {

int CDesktopInfo::FirstFreeLabelSlot() const {
    for (int slot = 0; slot < kLabelSlots; ++slot) {
        if (!m_bLabelUsed[slot]) {
            return slot;
        }
    }
    return -1;
}

}  // namespace vodirev
