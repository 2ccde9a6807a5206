#include "base/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vodirev {

std::unique_ptr<QFile> OpenRegularFile(const QString& path, LinkPolicy links) {
    if (path.isEmpty()) {
        return nullptr;
    }
    int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY;
    if (links == LinkPolicy::Refuse) {
        flags |= O_NOFOLLOW;
    }
    const int fd = ::open(QFile::encodeName(path).constData(), flags);
    if (fd < 0) {
        return nullptr;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return nullptr;
    }
    // A regular file: ordinary blocking reads from here on.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    auto file = std::make_unique<QFile>();
    if (!file->open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered,
                    QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return nullptr;
    }
    return file;
}

bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray& data, LinkPolicy links) {
    data.clear();
    const std::unique_ptr<QFile> file = OpenRegularFile(path, links);
    if (!file) {
        return false;
    }
    const qint64 size = file->size();
    if (size <= 0 || size > maxBytes) {
        return false;
    }
    data.resize(qsizetype(size));
    qint64 done = 0;
    while (done < size) {
        const qint64 count = file->read(data.data() + done, size - done);
        if (count <= 0) {
            data.clear();
            return false;  // shrank or failed while read
        }
        done += count;
    }
    return true;
}

bool IsReplaceableTarget(const QString& path) {
    struct stat info {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0) {
        return errno == ENOENT;
    }
    return S_ISREG(info.st_mode);
}

}  // namespace vodirev
