#include "imaging/thumbnail_cache.h"

#include "base/regular_file.h"

#include "imaging/image_io.h"
#include "imaging/scale_bitmap.h"

#include <sys/stat.h>
#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QtEndian>
#include <atomic>
#include <cstdio>
#include <cstring>

namespace vodirev {
namespace {

// An entry: magic, width, height, QImage format, key length (little-endian 32-bit),
// the key text (UTF-8), the rows of 32-bit pixels, then the MD5 of all before it.
constexpr char kMagic[8] = {'V', 'D', 'T', 'H', 'U', 'M', 'B', '1'};
constexpr qsizetype kHeaderBytes = sizeof(kMagic) + 4 * 4;
constexpr qsizetype kChecksumBytes = 16;
constexpr int kMaxEntrySide = 1024;
constexpr qint64 kSharedMemoryBytes = qint64(64) << 20;

void PutU32(QByteArray& bytes, quint32 value) {
    const quint32 le = qToLittleEndian(value);
    bytes.append(reinterpret_cast<const char*>(&le), 4);
}

quint32 GetU32(const char* at) {
    quint32 le;
    std::memcpy(&le, at, 4);
    return qFromLittleEndian(le);
}

bool StorableOnDisk(const QImage& image) {
    return !image.isNull() && image.depth() == 32 && image.width() <= kMaxEntrySide &&
           image.height() <= kMaxEntrySide;
}

QByteArray Checksum(QByteArrayView bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Md5);
}

QByteArray EncodeEntry(const QByteArray& key, const QImage& image) {
    const qsizetype row = qsizetype(image.width()) * 4;
    QByteArray bytes;
    bytes.reserve(kHeaderBytes + key.size() + row * image.height() + kChecksumBytes);
    bytes.append(kMagic, sizeof(kMagic));
    PutU32(bytes, quint32(image.width()));
    PutU32(bytes, quint32(image.height()));
    PutU32(bytes, quint32(image.format()));
    PutU32(bytes, quint32(key.size()));
    bytes.append(key);
    for (int y = 0; y < image.height(); ++y) {
        bytes.append(reinterpret_cast<const char*>(image.constScanLine(y)), row);
    }
    bytes.append(Checksum(bytes));
    return bytes;
}

std::optional<QImage> DecodeEntry(const QByteArray& key, const QByteArray& bytes) {
    if (bytes.size() < kHeaderBytes + kChecksumBytes ||
        std::memcmp(bytes.constData(), kMagic, sizeof(kMagic)) != 0) {
        return std::nullopt;
    }
    const char* header = bytes.constData() + sizeof(kMagic);
    const quint32 width = GetU32(header);
    const quint32 height = GetU32(header + 4);
    const quint32 format = GetU32(header + 8);
    const quint32 keyBytes = GetU32(header + 12);
    if (width == 0 || height == 0 || width > kMaxEntrySide || height > kMaxEntrySide ||
        (format != QImage::Format_RGB32 && format != QImage::Format_ARGB32) ||
        keyBytes != quint32(key.size())) {
        return std::nullopt;
    }
    const qsizetype row = qsizetype(width) * 4;
    const qsizetype body = kHeaderBytes + key.size() + row * height;
    if (bytes.size() != body + kChecksumBytes ||
        QByteArrayView(bytes.constData() + kHeaderBytes, key.size()) != key ||
        Checksum(QByteArrayView(bytes.constData(), body)) !=
            QByteArrayView(bytes.constData() + body, kChecksumBytes)) {
        return std::nullopt;
    }
    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format(format));
    if (image.isNull()) {
        return std::nullopt;
    }
    const char* pixels = bytes.constData() + kHeaderBytes + key.size();
    for (quint32 y = 0; y < height; ++y) {
        std::memcpy(image.scanLine(int(y)), pixels + row * y, size_t(row));
    }
    return image;
}

// Next to the entry, then renamed over it: readers see the old entry or the new one.
void WriteEntry(const QString& path, const QByteArray& bytes) {
    static std::atomic<quint64> serial{0};
    const QString temporary = QStringLiteral("%1.%2-%3.tmp")
                                  .arg(path)
                                  .arg(QCoreApplication::applicationPid())
                                  .arg(serial.fetch_add(1));
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return;
    }
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    if (!written || std::rename(QFile::encodeName(temporary).constData(),
                                QFile::encodeName(path).constData()) != 0) {
        QFile::remove(temporary);
    }
}

}  // namespace

QString ThumbnailKey::Text() const {
    return QStringLiteral("%1\n%2\n%3\n%4x%5")
        .arg(path)
        .arg(bytes)
        .arg(modified)
        .arg(size.width())
        .arg(size.height());
}

std::optional<ThumbnailKey> ThumbnailKeyOf(const QString& path, QSize size) {
    if (path.isEmpty()) {
        return std::nullopt;
    }
    const QString absolute = QFileInfo(path).absoluteFilePath();
    struct stat info {};
    if (::stat(QFile::encodeName(absolute).constData(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    ThumbnailKey key;
    key.path = absolute;
    key.bytes = qint64(info.st_size);
    key.modified = qint64(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
    key.size = size;
    return key;
}

QImage MakeThumbnail(const QString& path, QSize size) {
    return ScaleBitmap(LoadImageBitmap(path), size.width(), size.height());
}

ThumbnailCache::ThumbnailCache(QString diskFolder, qint64 memoryBytes)
    : m_diskFolder(std::move(diskFolder)), m_memory(memoryBytes) {}

std::shared_ptr<ThumbnailCache> ThumbnailCache::Shared() {
    static const auto shared = [] {
        // Not the working folder: it mirrors the server's files.
        const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
        return std::make_shared<ThumbnailCache>(
            base.isEmpty() ? QString() : base + QStringLiteral("/vodirev/thumbnails"),
            kSharedMemoryBytes);
    }();
    return shared;
}

void ThumbnailCache::SetDiskFolder(const QString& folder) {
    std::lock_guard lock(m_mutex);
    m_diskFolder = folder;
}

QString ThumbnailCache::DiskFolder() const {
    std::lock_guard lock(m_mutex);
    return m_diskFolder;
}

QString ThumbnailCache::EntryPath(const ThumbnailKey& key) const {
    const QString folder = DiskFolder();
    if (folder.isEmpty()) {
        return {};
    }
    const QByteArray name =
        QCryptographicHash::hash(key.Text().toUtf8(), QCryptographicHash::Sha1).toHex();
    return folder + u'/' + QString::fromLatin1(name) + QStringLiteral(".thumb");
}

std::optional<QImage> ThumbnailCache::FindInMemory(const ThumbnailKey& key) {
    std::lock_guard lock(m_mutex);
    if (const QImage* image = m_memory.object(key.Text())) {
        return *image;
    }
    return std::nullopt;
}

std::optional<QImage> ThumbnailCache::FindOnDisk(const ThumbnailKey& key) {
    const QString path = EntryPath(key);
    if (path.isEmpty()) {
        return std::nullopt;
    }
    const QByteArray text = key.Text().toUtf8();
    const qint64 largest =
        kHeaderBytes + text.size() + qint64(kMaxEntrySide) * kMaxEntrySide * 4 + kChecksumBytes;
    // Anyone may have put a link, FIFO or device in the cache: only a regular file of
    // at most the largest entry is read; anything else is a miss, made again.
    QByteArray bytes;
    if (!ReadRegularFile(path, largest, bytes, LinkPolicy::Refuse)) {
        return std::nullopt;
    }
    std::optional<QImage> image = DecodeEntry(text, bytes);
    if (image) {
        std::lock_guard lock(m_mutex);
        m_memory.insert(key.Text(), new QImage(*image), qMax<qsizetype>(1, image->sizeInBytes()));
    }
    return image;
}

void ThumbnailCache::Store(const ThumbnailKey& key, const QImage& thumbnail) {
    const QString text = key.Text();
    {
        std::lock_guard lock(m_mutex);
        m_memory.insert(text, new QImage(thumbnail), qMax<qsizetype>(1, thumbnail.sizeInBytes()));
    }
    const QString path = EntryPath(key);
    if (path.isEmpty() || !StorableOnDisk(thumbnail) ||
        !QDir().mkpath(QFileInfo(path).absolutePath())) {
        return;
    }
    WriteEntry(path, EncodeEntry(text.toUtf8(), thumbnail));
}

QImage ThumbnailCache::Thumbnail(const ThumbnailKey& key) {
    if (std::optional<QImage> known = FindInMemory(key)) {
        return *known;
    }
    if (std::optional<QImage> stored = FindOnDisk(key)) {
        return *stored;
    }
    ++m_made;
    QImage made = MakeThumbnail(key.path, key.size);
    // A file rewritten while it was read is not stored under its old key.
    const std::optional<ThumbnailKey> after = ThumbnailKeyOf(key.path, key.size);
    if (after && after->Text() == key.Text()) {
        Store(key, made);
    }
    return made;
}

void ThumbnailCache::ClearMemory() {
    std::lock_guard lock(m_mutex);
    m_memory.clear();
}

}  // namespace vodirev
