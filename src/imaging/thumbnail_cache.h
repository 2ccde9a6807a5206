#pragma once
// Thumbnails kept for later use: in memory for the process (bounded) and on disk in a
// cache folder, each under the file's absolute path, byte size and modification
// time and the thumbnail size, so a changed file is never shown from an old entry.
// A thumbnail is exactly ScaleBitmap(LoadImageBitmap(file), size); a null image
// stands for a file that gives none. All members may be called from any thread.

#include <QCache>
#include <QImage>
#include <QSize>
#include <QString>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

namespace vodirev {

struct ThumbnailKey {
    QString path;         // absolute
    qint64 bytes = 0;     // file size
    qint64 modified = 0;  // modification time, nanoseconds since the epoch
    QSize size;           // thumbnail size

    // One line naming all four, the key of both caches.
    QString Text() const;
};

// The key of a file as it is now; nothing when path names no regular file.
std::optional<ThumbnailKey> ThumbnailKeyOf(const QString& path, QSize size);

// ScaleBitmap(LoadImageBitmap(path), size): what every cache entry holds.
QImage MakeThumbnail(const QString& path, QSize size);

class ThumbnailCache {
public:
    // memoryBytes bounds the pixels kept in memory; an empty diskFolder keeps none on
    // disk.
    ThumbnailCache(QString diskFolder, qint64 memoryBytes);

    // The cache of the process: the user's cache folder ("vodirev/thumbnails" under
    // the generic cache location), 64 MiB in memory.
    static std::shared_ptr<ThumbnailCache> Shared();

    void SetDiskFolder(const QString& folder);
    QString DiskFolder() const;

    // A thumbnail known in memory (a null image: the file gives none).
    std::optional<QImage> FindInMemory(const ThumbnailKey& key);
    // A thumbnail read from its disk entry, then also kept in memory. A missing,
    // damaged or foreign entry gives nothing.
    std::optional<QImage> FindOnDisk(const ThumbnailKey& key);
    // Keeps a thumbnail in memory and, when it is not null, on disk (written to a
    // temporary file and renamed over the entry; a failure leaves no entry).
    void Store(const ThumbnailKey& key, const QImage& thumbnail);
    // From memory, else from disk, else made and stored.
    QImage Thumbnail(const ThumbnailKey& key);

    void ClearMemory();
    // How many thumbnails this cache had to make from their files.
    int MadeCount() const { return m_made; }
    // The disk entry of a key (whether it exists or not).
    QString EntryPath(const ThumbnailKey& key) const;

private:
    mutable std::mutex m_mutex;
    QString m_diskFolder;
    QCache<QString, QImage> m_memory;
    std::atomic<int> m_made{0};
};

}  // namespace vodirev
