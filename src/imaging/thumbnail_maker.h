#pragma once
// Makes the thumbnails of a list of files on a pool of as many workers as cores and
// hands each to a receiver object's thread as soon as it is ready. Cancelling (or
// destroying the maker) never waits: work not begun is skipped, and what finishes
// later is dropped, so a closed window is never called.

#include "imaging/thumbnail_cache.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

class QObject;

namespace vodirev {

class ThumbnailMaker {
public:
    // Called in the receiver's thread with the index of a file and its thumbnail
    // (a null image when the file gives none).
    using Delivery = std::function<void(int index, const QImage& thumbnail)>;

    ThumbnailMaker(QObject* receiver, Delivery deliver,
                   std::shared_ptr<ThumbnailCache> cache = ThumbnailCache::Shared());
    ~ThumbnailMaker();
    ThumbnailMaker(const ThumbnailMaker&) = delete;
    ThumbnailMaker& operator=(const ThumbnailMaker&) = delete;

    // Cancels an earlier batch and starts one: every index is delivered once. Those
    // known in memory, empty paths and missing files are delivered before Start
    // returns (call it in the receiver's thread), the others as they are read from
    // disk or made, in index order of starting.
    void Start(const std::vector<QString>& paths, QSize size);
    // Nothing more is delivered for the current batch.
    void Cancel();
    // Indexes of the current batch not delivered yet.
    int Pending() const { return m_pending; }

private:
    struct Batch;

    QObject* m_receiver;
    Delivery m_deliver;
    std::shared_ptr<ThumbnailCache> m_cache;
    std::shared_ptr<Batch> m_batch;
    int m_pending = 0;
};

}  // namespace vodirev
