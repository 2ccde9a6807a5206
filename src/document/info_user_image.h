#pragma once

#include <QImage>
#include <string>

namespace vodirev {

// One picture placed freely on the desktop.
class CInfoUserImage {
public:
    std::string m_strPath;
    int m_nX = 0;
    int m_nY = 0;
    QImage m_pBitmap;  // null when the file failed to decode: not drawn, still saved

    bool operator==(const CInfoUserImage&) const = default;
};

}  // namespace vodirev
