#pragma once
// Small desktops built in code for the editor suites.

#include "base/text.h"
#include "common/cp949.h"
#include "document/desktop_session.h"
#include "document/info_label.h"

#include <QColor>
#include <QImage>
#include <QString>
#include <string>

namespace vodirev::test {

inline QImage Solid(int width, int height, QRgb color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

// An icon whose rectangle is its bitmap's size at (x, y), as the loader makes it.
inline CInfoFolder& AddIcon(DesktopSession& session, int type, int x, int y, const QImage& bitmap,
                            const std::string& title = {}, int show = 1) {
    CInfoFolder folder;
    folder.m_nType = type;
    folder.m_nX = x;
    folder.m_nY = y;
    folder.m_pBitmap = bitmap;
    folder.m_strTitle = title;
    folder.m_bShow = show;
    folder.m_rcItem = {x, y, x + bitmap.width(), y + bitmap.height()};
    session.m_desktop.m_arrFolder.push_back(folder);
    return session.m_desktop.m_arrFolder.back();
}

inline CInfoUserImage& AddPicture(DesktopSession& session, int x, int y, const QImage& bitmap) {
    CInfoUserImage picture;
    picture.m_nX = x;
    picture.m_nY = y;
    picture.m_pBitmap = bitmap;
    session.m_desktop.m_arrUserImage.push_back(picture);
    return session.m_desktop.m_arrUserImage.back();
}

inline CInfoLabel& SetLabel(DesktopSession& session, int slot, int x, int y,
                            const std::string& text, int height = -24,
                            ColorRef color = MakeColorRef(255, 0, 0)) {
    CInfoLabel& label = session.m_desktop.m_label[slot];
    label.m_nX = x;
    label.m_nY = y;
    label.m_strText = text;
    label.m_nHeight = height;
    label.m_nWeight = 400;
    label.m_nCharset = 1;
    label.m_szFont = Cp949("굴림체");
    label.CreateFont();
    session.m_desktop.m_bLabelUsed[slot] = 1;
    session.m_desktop.m_crLabel[slot] = color;
    return label;
}

inline DesktopSession MakeSession(int width = 400, int height = 300) {
    DesktopSession session;
    session.m_nResWidth = width;
    session.m_nResHeight = height;
    session.m_desktop.m_nWidth = width;
    session.m_desktop.m_nHeight = height;
    return session;
}

}  // namespace vodirev::test
