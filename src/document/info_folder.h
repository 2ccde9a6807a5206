#pragma once

#include "base/fixed_string.h"
#include "document/item_rect.h"

#include <QImage>
#include <string>

namespace vodirev {

// Kinds of desktop icon (m_nType). No code gives type 3 a meaning.
enum FolderType : int {
    kTypeFolder = 1,
    kTypeShortcut = 2,
    kTypeMyComputer = 4,
    kTypeRecycleBin = 5,
    kTypeControlPanel = 6,
    kTypeUserReviews = 7,
};

// One desktop icon: a folder, a shortcut or a special icon.
// Copies share the decoded bitmap.
class CInfoFolder {
public:
    int m_nX = 0;
    int m_nY = 0;
    int m_nType = 0;
    int m_nWidth = 0;   // width attribute as read; the drawn size comes from m_rcItem
    int m_nHeight = 0;  // height attribute as read
    int m_nFlag = 0;    // identifier; a folder's entries carry it as their m_nFolder
    FixedString<128> m_szImage;
    std::string m_strLink;
    std::string m_strTitle;
    int m_bShow = 0;  // title shown under the icon
    FixedString<128> m_szDir;
    QImage m_pBitmap;  // null when the image did not decode
    ItemRect m_rcItem;

    bool operator==(const CInfoFolder&) const = default;
};

}  // namespace vodirev
