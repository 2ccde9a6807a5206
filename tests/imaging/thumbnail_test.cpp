// Thumbnails made in parallel and kept in the memory and disk caches are exactly
// what ScaleBitmap gives for the decoded file; damaged or stale entries are never
// shown; a cancelled batch neither delivers nor holds up its owner.

#include "imaging/thumbnail_cache.h"
#include "imaging/thumbnail_maker.h"

#include "common/temp_dir.h"
#include "imaging/image_io.h"
#include "imaging/scale_bitmap.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPainter>
#include <QThread>
#include <functional>
#include <map>

namespace vodirev {
namespace {

const QSize kThumb(128, 128);

QImage Picture(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            line[x] = qRgb((x * 7 + seed * 31) & 0xFF, (y * 5 + seed * 17) & 0xFF, (x ^ y) & 0xFF);
        }
    }
    QPainter painter(&image);
    painter.setBrush(Qt::black);  // the thumbnails' key colour, kept as it is
    painter.drawEllipse(width / 4, height / 4, width / 3, height / 3);
    return image;
}

QByteArray Bytes(const QImage& image) {
    QByteArray bytes = QByteArray::number(int(image.format())) + ' ' +
                       QByteArray::number(image.width()) + 'x' +
                       QByteArray::number(image.height()) + ':';
    for (int y = 0; y < image.height(); ++y) {
        bytes.append(reinterpret_cast<const char*>(image.constScanLine(y)),
                     image.width() * image.depth() / 8);
    }
    return bytes;
}

bool WaitUntil(const std::function<bool()>& done, int milliseconds = 60000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > milliseconds) {
            return false;
        }
        QCoreApplication::processEvents();
        QThread::msleep(2);
    }
    return true;
}

// Delivers into a map by index, counting every delivery.
struct Collector {
    QObject receiver;
    std::map<int, QImage> images;
    int deliveries = 0;
    ThumbnailMaker maker;

    explicit Collector(std::shared_ptr<ThumbnailCache> cache)
        : maker(
              &receiver,
              [this](int index, const QImage& image) {
                  images[index] = image;
                  ++deliveries;
              },
              std::move(cache)) {}
};

class ThumbnailTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath("images/background");
        for (int i = 0; i < 8; ++i) {
            const QString name = QStringLiteral("images/background/p%1.%2")
                                     .arg(i)
                                     .arg(i % 3 == 0 ? "png" : (i % 3 == 1 ? "jpg" : "bmp"));
            ASSERT_TRUE(SaveBitmapToFile(name, Picture(320 + i * 37, 200 + i * 11, i)));
            paths.push_back(name);
        }
        ASSERT_TRUE(SaveBitmapToFile("small.png", Picture(40, 30, 9)));  // enlarged
        paths.push_back("small.png");
        ASSERT_TRUE(SaveBitmapToFile("wide.png", Picture(300, 60, 3)));  // mixed: none
        paths.push_back("wide.png");
        test::WriteFileBytes("broken.jpg", "not a picture");
        paths.push_back("broken.jpg");
        paths.push_back("missing.jpg");
        paths.push_back(QString());
    }

    std::shared_ptr<ThumbnailCache> NewCache() {
        return std::make_shared<ThumbnailCache>(work.filePath("cache"), qint64(16) << 20);
    }

    test::ScopedWorkDir work;
    std::vector<QString> paths;
};

TEST_F(ThumbnailTest, ParallelDiskAndMemoryPathsGiveScaleBitmapOfTheDecodedFile) {
    std::vector<QByteArray> expected;
    for (const QString& path : paths) {
        expected.push_back(Bytes(ScaleBitmap(LoadImageBitmap(path), 128, 128)));
    }
    ASSERT_TRUE(Bytes(QImage()) == expected[9]);  // the mixed one has no thumbnail

    auto cache = NewCache();
    auto check = [&](Collector& run, const char* how) {
        ASSERT_EQ(run.deliveries, int(paths.size())) << how;
        for (std::size_t i = 0; i < paths.size(); ++i) {
            EXPECT_EQ(Bytes(run.images[int(i)]), expected[i]) << how << " row " << i;
        }
    };
    {
        Collector made(cache);
        made.maker.Start(paths, kThumb);
        ASSERT_TRUE(WaitUntil([&] { return made.maker.Pending() == 0; }));
        check(made, "made");
    }
    EXPECT_EQ(cache->MadeCount(), 11);  // all but the missing file and the empty path
    EXPECT_EQ(QDir(work.filePath("cache")).entryList({"*.thumb"}).size(), 9);  // pictures only
    EXPECT_TRUE(QDir(work.filePath("cache")).entryList({"*.tmp"}).isEmpty());

    cache->ClearMemory();  // as in a new process: from the disk entries
    {
        Collector stored(cache);
        stored.maker.Start(paths, kThumb);
        ASSERT_TRUE(WaitUntil([&] { return stored.maker.Pending() == 0; }));
        check(stored, "disk");
    }
    EXPECT_EQ(cache->MadeCount(), 13) << "only the two files without a picture again";
    {
        Collector remembered(cache);
        remembered.maker.Start(paths, kThumb);
        // From memory: every row before Start returns.
        EXPECT_EQ(remembered.maker.Pending(), 0);
        check(remembered, "memory");
        EXPECT_EQ(cache->MadeCount(), 13);
    }
}

TEST_F(ThumbnailTest, DamagedStaleAndForeignEntriesAreRemadeNotShown) {
    auto cache = NewCache();
    const QString path = paths[1];
    const ThumbnailKey key = *ThumbnailKeyOf(path, kThumb);
    const QByteArray original = Bytes(cache->Thumbnail(key));
    const QString entry = cache->EntryPath(key);
    const QByteArray good = test::ReadFileBytes(entry);
    ASSERT_FALSE(good.isEmpty());

    QByteArray flipped = good;
    flipped[flipped.size() / 2] = char(flipped[flipped.size() / 2] ^ 0x01);
    const QByteArray damaged[] = {good.left(good.size() - 1), good.left(40), flipped,
                                  QByteArray("VDTHUMB1"), QByteArray()};
    for (const QByteArray& bytes : damaged) {
        test::WriteFileBytes(entry, bytes);
        EXPECT_FALSE(cache->FindOnDisk(key).has_value()) << bytes.size();
        cache->ClearMemory();
        EXPECT_EQ(Bytes(cache->Thumbnail(key)), original);
        EXPECT_EQ(test::ReadFileBytes(entry), good) << "the entry is written again";
    }

    // Another key's entry under this name (a hash clash, a copied file) is refused.
    ThumbnailKey other = key;
    other.bytes += 1;
    test::WriteFileBytes(cache->EntryPath(other), good);
    EXPECT_FALSE(cache->FindOnDisk(other).has_value());

    // A changed file is a new key: the old thumbnail is not shown for it.
    QThread::msleep(5);
    ASSERT_TRUE(SaveBitmapToFile(path, Picture(500, 400, 77)));
    const ThumbnailKey changed = *ThumbnailKeyOf(path, kThumb);
    EXPECT_NE(changed.Text(), key.Text());
    EXPECT_EQ(Bytes(cache->Thumbnail(changed)),
              Bytes(ScaleBitmap(LoadImageBitmap(path), 128, 128)));
    EXPECT_FALSE(ThumbnailKeyOf("missing.jpg", kThumb).has_value());
    EXPECT_FALSE(ThumbnailKeyOf("images", kThumb).has_value());

    // Without a usable cache folder the thumbnails are still made.
    test::WriteFileBytes("blocked", "a file where the folder would be");
    ThumbnailCache unwritable(work.filePath("blocked/cache"), qint64(1) << 20);
    EXPECT_EQ(Bytes(unwritable.Thumbnail(changed)), Bytes(cache->Thumbnail(changed)));
}

// Anyone may put a link to a device or a FIFO where an entry was: neither is read
// (no endless read, no blocked worker); the thumbnail is made again in its place.
TEST_F(ThumbnailTest, EntriesThatAreNotRegularFilesAreMissesMadeAgain) {
    auto cache = NewCache();
    const ThumbnailKey key = *ThumbnailKeyOf(paths[1], kThumb);
    const QByteArray original = Bytes(cache->Thumbnail(key));
    const QString entry = cache->EntryPath(key);
    const QByteArray good = test::ReadFileBytes(entry);
    test::WriteFileBytes("copy.thumb", good);
    for (const char* kind : {"zero", "fifo", "link"}) {
        QFile::remove(entry);
        if (kind == std::string("zero")) {
            ASSERT_TRUE(QFile::link("/dev/zero", entry));
        } else if (kind == std::string("fifo")) {
            ASSERT_EQ(::mkfifo(QFile::encodeName(entry).constData(), 0600), 0);
        } else {
            ASSERT_TRUE(QFile::link(work.filePath("copy.thumb"), entry));
        }
        EXPECT_FALSE(cache->FindOnDisk(key).has_value()) << kind;
        cache->ClearMemory();
        EXPECT_EQ(Bytes(cache->Thumbnail(key)), original) << kind;
        EXPECT_EQ(test::ReadFileBytes(entry), good) << kind << ": made again";
    }
}

TEST_F(ThumbnailTest, CancellingNeitherWaitsNorDeliversLateResults) {
    // Many large pictures: waiting for them all would take far longer than a close.
    ASSERT_TRUE(SaveBitmapToFile("large.jpg", Picture(1920, 1080, 5)));
    std::vector<QString> large;
    for (int i = 0; i < 24; ++i) {
        large.push_back(QStringLiteral("large%1.jpg").arg(i));
        ASSERT_TRUE(QFile::copy("large.jpg", large.back()));
    }
    int late = 0;
    QElapsedTimer timer;
    {
        auto receiver = std::make_unique<QObject>();
        auto maker = std::make_unique<ThumbnailMaker>(
            receiver.get(), [&](int, const QImage&) { ++late; }, NewCache());
        maker->Start(large, kThumb);
        QThread::msleep(30);  // the workers are inside their decodes now
        timer.start();
        maker.reset();
        receiver.reset();
    }
    EXPECT_LT(timer.elapsed(), 60) << "closing waited for the workers";

    // A cancelled batch of a maker that lives on, then a new batch: only the new one
    // is delivered, each index once.
    Collector run(NewCache());
    run.maker.Start(large, kThumb);
    run.maker.Cancel();
    ASSERT_EQ(run.deliveries, 0);
    run.maker.Start(paths, kThumb);
    ASSERT_TRUE(WaitUntil([&] { return run.maker.Pending() == 0; }));
    WaitUntil([] { return false; }, 300);  // anything late of the first batch
    EXPECT_EQ(late, 0);
    EXPECT_EQ(run.deliveries, int(paths.size()));
}

}  // namespace
}  // namespace vodirev
