#include "base/paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

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

bool isInsideWorkingFolder(std::string_view storedPath) {
    if (!isSafeRelativePath(storedPath)) {
        return false;
    }
    const QString root = QDir::current().canonicalPath();
    if (root.isEmpty()) {
        return false;
    }
    const QStringList parts = localPath(storedPath).split(u'/', Qt::SkipEmptyParts);
    // The deepest part that exists decides: it holds every link on the way.
    QString prefix = root;
    QString real = root;
    for (const QString& part : parts) {
        prefix += u'/' + part;
        const QFileInfo info(prefix);
        if (info.isSymLink() && !info.exists()) {
            return false;  // dangling: where it would lead is not known
        }
        if (!info.exists()) {
            break;
        }
        real = info.canonicalFilePath();
        if (real.isEmpty()) {
            return false;
        }
    }
    return real == root || real.startsWith(root + u'/') || root == u"/";
}

bool LocalFileExists(std::string_view storedPath) {
    return isInsideWorkingFolder(storedPath) && QFileInfo(localPath(storedPath)).isFile();
}

}  // namespace vodirev
