#include "base/paths.h"

#include <QFileInfo>

#include "base/text.h"

namespace vodirev {

QString localPath(std::string_view storedPath) {
    const QString decoded = fromCp949(storedPath);
    QString out;
    out.reserve(decoded.size());
    bool lastWasSeparator = false;
    for (const QChar c : decoded) {
        if (c == u'\\') {
            if (!lastWasSeparator) {
                out.append(u'/');
            }
            lastWasSeparator = true;
        } else {
            out.append(c);
            lastWasSeparator = false;
        }
    }
    return out;
}

bool isSafeRelativePath(std::string_view path) {
    if (path.empty() || path[0] == '/' || path[0] == '\\') {
        return false;
    }
    if (path.size() >= 2 && path[1] == ':') {
        return false;  // drive letter
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = start;
        while (end < path.size() && path[end] != '/' && path[end] != '\\') {
            const auto byte = static_cast<unsigned char>(path[end]);
            if (byte < 0x20 || byte == 0x7F) {
                return false;
            }
            ++end;
        }
        if (path.substr(start, end - start) == "..") {
            return false;
        }
        start = end + 1;
    }
    return true;
}

bool LocalFileExists(std::string_view storedPath) {
    return isSafeRelativePath(storedPath) && QFileInfo(localPath(storedPath)).isFile();
}

}  // namespace vodirev
