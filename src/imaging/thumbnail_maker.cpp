#include "imaging/thumbnail_maker.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <QRunnable>
#include <QThread>
#include <QThreadPool>
#include <atomic>
#include <mutex>

namespace vodirev {
namespace {

// One pool for all thumbnails, as wide as the machine. It belongs to the
// application, which waits at its end for the decodes under way (queued ones of a
// cancelled batch end at once).
QThreadPool& ThumbnailPool() {
    static std::mutex mutex;
    static QPointer<QThreadPool> pool;
    std::lock_guard lock(mutex);
    if (!pool) {
        pool = new QThreadPool(QCoreApplication::instance());
        pool->setMaxThreadCount(qMax(1, QThread::idealThreadCount()));
    }
    return *pool;
}

}  // namespace

// Shared by the maker and its tasks; the receiver is cleared under the mutex, so a
// task posts to it only while it exists.
struct ThumbnailMaker::Batch {
    std::mutex mutex;
    QObject* receiver = nullptr;
    std::atomic<bool> cancelled{false};
};

ThumbnailMaker::ThumbnailMaker(QObject* receiver, Delivery deliver,
                               std::shared_ptr<ThumbnailCache> cache)
    : m_receiver(receiver), m_deliver(std::move(deliver)), m_cache(std::move(cache)) {}

ThumbnailMaker::~ThumbnailMaker() {
    Cancel();
}

void ThumbnailMaker::Cancel() {
    if (m_batch) {
        std::lock_guard lock(m_batch->mutex);
        m_batch->receiver = nullptr;
        m_batch->cancelled = true;
    }
    m_batch.reset();
    m_pending = 0;
}

void ThumbnailMaker::Start(const std::vector<QString>& paths, QSize size) {
    Cancel();
    auto batch = std::make_shared<Batch>();
    batch->receiver = m_receiver;
    m_batch = batch;
    m_pending = int(paths.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
        const int index = int(i);
        const std::optional<ThumbnailKey> key = ThumbnailKeyOf(paths[i], size);
        std::optional<QImage> known;
        if (!key) {
            known = QImage();
        } else {
            known = m_cache->FindInMemory(*key);
        }
        if (known) {
            --m_pending;
            m_deliver(index, *known);
            continue;
        }
        // The delivery runs in the receiver's thread, where Cancel runs too: once
        // cancelled, nothing of this batch reaches the maker.
        auto deliver = [this, batch, index](const QImage& thumbnail) {
            if (!batch->cancelled) {
                --m_pending;
                m_deliver(index, thumbnail);
            }
        };
        ThumbnailPool().start(QRunnable::create([batch, cache = m_cache, key = *key, deliver] {
            if (batch->cancelled) {
                return;
            }
            const QImage thumbnail = cache->Thumbnail(key);
            std::lock_guard lock(batch->mutex);
            if (batch->receiver != nullptr) {
                QMetaObject::invokeMethod(
                    batch->receiver, [deliver, thumbnail] { deliver(thumbnail); },
                    Qt::QueuedConnection);
            }
        }));
    }
}

}  // namespace vodirev
