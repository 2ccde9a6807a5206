#pragma once
// Small helpers of the document suites: pictures and files made by the tests.

#include "common/cp949.h"
#include "common/temp_dir.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QString>
#include <string>

namespace vodirev::test {

// Writes a PNG of w x h in one colour at a local path (folders created). The name
// may end in another extension: pictures are recognised by their content.
inline void WritePicture(const QString& path, int w, int h, QColor color = Qt::red) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    image.save(path, "PNG");
}

inline QByteArray Bytes(const std::string& text) {
    return QByteArray(text.data(), qsizetype(text.size()));
}

// CP949 bytes of a few Korean words used by the suites.
inline constexpr const char* kNewFolder = "\xBB\xF5\xC6\xFA\xB4\xF5";  // 새폴더
inline constexpr const char* kGulimChe = "\xB1\xBC\xB8\xB2\xC3\xBC";   // 굴림체
inline constexpr const char* kHan = "\xC7\xD1";                        // 한

}  // namespace vodirev::test
