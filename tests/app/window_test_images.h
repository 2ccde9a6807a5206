#pragma once
// The images the editor window suites lay out, in the working folder: a 64 x 48
// green background (images/bg.png) and a 32 x 32 yellow icon (images/icon.png).

#include <gtest/gtest.h>

#include <QColor>
#include <QDir>
#include <QImage>

namespace vodirev::test {

inline void WriteWindowImages() {
    QDir().mkpath("images");
    QImage background(64, 48, QImage::Format_RGB32);
    background.fill(QColor(10, 120, 30));
    ASSERT_TRUE(background.save("images/bg.png"));
    QImage icon(32, 32, QImage::Format_RGB32);
    icon.fill(QColor(250, 200, 0));
    ASSERT_TRUE(icon.save("images/icon.png"));
}

}  // namespace vodirev::test
