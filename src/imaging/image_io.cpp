#include "imaging/image_io.h"

#include <gif_lib.h>

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QImageReader>
#include <QSaveFile>
#include <cstdint>
#include <mutex>
#include <vector>

#include "base/regular_file.h"
#include "imaging/file_bytes.h"
#include "imaging/icon_image.h"

namespace vodirev {
namespace {

// Limits against decompression bombs: far above any picture the editor shows.
const int kMaxSide = 32767;
const int64_t kMaxPixels = 100'000'000;
const int kAllocationLimitMb = 400;  // 100 million 32-bit pixels
const qint64 kMaxFileBytes = qint64(512) << 20;

enum class Format { None, Png, Jpeg, Gif, Bmp, Ico };

Format SniffFormat(const QByteArray& data) {
    if (data.startsWith("\x89PNG\r\n\x1a\n")) {
        return Format::Png;
    }
    if (data.startsWith("\xff\xd8\xff")) {
        return Format::Jpeg;
    }
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a")) {
        return Format::Gif;
    }
    if (data.startsWith("BM")) {
        return Format::Bmp;
    }
    if (data.startsWith(QByteArrayView("\0\0\1\0", 4))) {  // reserved 0, type 1 (icon)
        return Format::Ico;
    }
    return Format::None;
}

const char* QtFormatName(Format format) {
    switch (format) {
        case Format::Png:
            return "png";
        case Format::Jpeg:
            return "jpeg";
        case Format::Gif:
            return "gif";
        case Format::Bmp:
            return "bmp";
        case Format::Ico:
            return "ico";
        case Format::None:
            break;
    }
    return nullptr;
}

unsigned Byte(const QByteArray& data, qsizetype at) {
    return static_cast<uint8_t>(data[at]);
}
unsigned Le16(const QByteArray& data, qsizetype at) {
    return Byte(data, at) | (Byte(data, at + 1) << 8);
}
uint32_t Le32(const QByteArray& data, qsizetype at) {
    return Le16(data, at) | (uint32_t(Le16(data, at + 2)) << 16);
}

// Qt's JPEG, GIF and BMP readers hand back a partly grey or black picture for a
// cut-off file; these walks make sure the data the first picture needs is all there.

// Segments up to the end-of-image marker, stepping over entropy-coded data.
bool JpegComplete(const QByteArray& data) {
    const qsizetype n = data.size();
    qsizetype at = 2;  // after SOI
    while (at < n) {
        if (Byte(data, at) != 0xFF) {
            return false;
        }
        while (at < n && Byte(data, at) == 0xFF) {
            ++at;  // fill bytes
        }
        if (at >= n) {
            return false;
        }
        const unsigned marker = Byte(data, at++);
        if (marker == 0xD9) {
            return true;  // EOI
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {
            continue;  // no length
        }
        if (at + 2 > n) {
            return false;
        }
        const unsigned length = (Byte(data, at) << 8) | Byte(data, at + 1);
        if (length < 2 || at + length > n) {
            return false;
        }
        at += length;
        if (marker == 0xDA) {  // SOS: scan to the next marker that is not RSTn or a stuffed 0
            while (true) {
                if (at + 1 >= n) {
                    return false;
                }
                if (Byte(data, at) == 0xFF) {
                    const unsigned next = Byte(data, at + 1);
                    if (next != 0x00 && next != 0xFF && !(next >= 0xD0 && next <= 0xD7)) {
                        break;
                    }
                    if (next == 0xFF) {
                        ++at;  // fill byte before a marker
                        continue;
                    }
                }
                ++at;
            }
        }
    }
    return false;
}

// Blocks up to the end of the first image's data; its size counts against the limits.
bool GifComplete(const QByteArray& data) {
    const qsizetype n = data.size();
    if (n < 13) {
        return false;
    }
    // Qt decodes onto the whole logical screen, whatever the frame's size.
    const int screenWidth = static_cast<int>(Le16(data, 6));
    const int screenHeight = static_cast<int>(Le16(data, 8));
    if (screenWidth > kMaxSide || screenHeight > kMaxSide ||
        int64_t(screenWidth) * screenHeight > kMaxPixels) {
        return false;
    }
    qsizetype at = 13;
    if (Byte(data, 10) & 0x80) {
        at += 3 * (qsizetype(1) << ((Byte(data, 10) & 7) + 1));
    }
    auto skipSubBlocks = [&]() {
        while (at < n) {
            const unsigned length = Byte(data, at++);
            if (length == 0) {
                return true;
            }
            at += length;
        }
        return false;
    };
    while (at < n) {
        const unsigned kind = Byte(data, at++);
        if (kind == 0x21) {  // extension: label, then sub-blocks
            if (at >= n) {
                return false;
            }
            ++at;
            if (!skipSubBlocks()) {
                return false;
            }
        } else if (kind == 0x2C) {  // image descriptor
            if (at + 9 > n) {
                return false;
            }
            const int width = static_cast<int>(Le16(data, at + 4));
            const int height = static_cast<int>(Le16(data, at + 6));
            const unsigned flags = Byte(data, at + 8);
            if (width > kMaxSide || height > kMaxSide || int64_t(width) * height > kMaxPixels) {
                return false;
            }
            at += 9;
            if (flags & 0x80) {
                at += 3 * (qsizetype(1) << ((flags & 7) + 1));
            }
            ++at;  // LZW minimum code size
            return at <= n && skipSubBlocks();
        } else {
            return false;  // trailer before any image, or garbage
        }
    }
    return false;
}

// The pixel array that the header describes must lie inside the file.
bool BmpComplete(const QByteArray& data) {
    const qsizetype n = data.size();
    if (n < 26) {
        return false;
    }
    const int64_t offset = Le32(data, 10);
    const uint32_t headerSize = Le32(data, 14);
    int64_t width = 0, height = 0;
    unsigned bits = 0;
    uint32_t compression = 0, imageSize = 0;
    if (headerSize == 12) {
        width = Le16(data, 18);
        height = Le16(data, 20);
        bits = Le16(data, 24);
    } else {
        if (n < 38) {
            return false;
        }
        width = static_cast<int32_t>(Le32(data, 18));
        height = static_cast<int32_t>(Le32(data, 22));
        bits = Le16(data, 28);
        compression = Le32(data, 30);
        imageSize = Le32(data, 34);
    }
    if (height < 0) {
        height = -height;  // top-down rows
    }
    // Bounded before any arithmetic: the fields are the file's word.
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || bits == 0 ||
        bits > 32) {
        return false;
    }
    int64_t needed = 0;
    if (compression == 0 || compression == 3 || compression == 6) {  // plain or bit fields
        needed = (width * int64_t(bits) + 31) / 32 * 4 * height;
    } else {
        needed = imageSize;  // compressed: as stored
    }
    return offset + needed <= n;
}

// `image` is the one to decode from a file of several images.
bool Complete(Format format, const QByteArray& data, int& image) {
    image = 0;
    switch (format) {
        case Format::Jpeg:
            return JpegComplete(data);
        case Format::Gif:
            return GifComplete(data);
        case Format::Bmp:
            return BmpComplete(data);
        case Format::Png:  // Qt's reader refuses a cut-off PNG itself
            return true;
        case Format::Ico:  // every image inside the file; decode the largest
            image = PickIcoImage(data);
            return image >= 0;
        case Format::None:
            break;
    }
    return false;
}

}  // namespace

bool IsCompleteImageData(const QByteArray& data) {
    int index = 0;
    const Format format = SniffFormat(data);
    return format != Format::None && Complete(format, data, index);
}

bool ReadWholeFile(const QString& path, qint64 maxBytes, QByteArray& data) {
    return ReadRegularFile(path, maxBytes, data);
}

namespace {

// --- GIF writing -----------------------------------------------------------------

int AppendToBuffer(GifFileType* gif, const GifByteType* bytes, int length) {
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(bytes), length);
    return length;
}

struct Indexed {
    std::vector<GifByteType> pixels;
    std::vector<GifColorType> palette;
};

// Up to 256 colours: an exact palette. More: giflib's median cut, with each palette
// entry then set to the mean of the pixels mapped to it (the cut alone keeps only 5
// bits per channel, which would turn white into 248, 248, 248).
bool ToIndexed(const QImage& image, Indexed& out) {
    const int w = image.width();
    const int h = image.height();
    const size_t count = size_t(w) * size_t(h);
    out.pixels.resize(count);
    QHash<uint32_t, int> colours;
    bool exact = true;
    for (int y = 0; y < h && exact; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const uint32_t rgb = line[x] & 0x00FFFFFFu;
            auto it = colours.constFind(rgb);
            if (it == colours.constEnd()) {
                if (colours.size() == 256) {
                    exact = false;
                    break;
                }
                it = colours.insert(rgb, static_cast<int>(colours.size()));
                out.palette.push_back({static_cast<GifByteType>(qRed(rgb)),
                                       static_cast<GifByteType>(qGreen(rgb)),
                                       static_cast<GifByteType>(qBlue(rgb))});
            }
            out.pixels[size_t(y) * w + x] = static_cast<GifByteType>(it.value());
        }
    }
    if (exact) {
        return true;
    }
    std::vector<GifByteType> red(count), green(count), blue(count);
    for (int y = 0; y < h; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const size_t i = size_t(y) * w + x;
            red[i] = static_cast<GifByteType>(qRed(line[x]));
            green[i] = static_cast<GifByteType>(qGreen(line[x]));
            blue[i] = static_cast<GifByteType>(qBlue(line[x]));
        }
    }
    int size = 256;
    out.palette.assign(256, GifColorType{0, 0, 0});
    if (GifQuantizeBuffer(static_cast<unsigned>(w), static_cast<unsigned>(h), &size, red.data(),
                          green.data(), blue.data(), out.pixels.data(),
                          out.palette.data()) != GIF_OK) {
        return false;
    }
    std::vector<uint64_t> sums(256 * 4, 0);
    for (size_t i = 0; i < count; ++i) {
        uint64_t* s = &sums[out.pixels[i] * 4];
        s[0] += red[i], s[1] += green[i], s[2] += blue[i], s[3] += 1;
    }
    for (int c = 0; c < 256; ++c) {
        const uint64_t* s = &sums[c * 4];
        if (s[3] > 0) {
            out.palette[c] = {static_cast<GifByteType>((s[0] + s[3] / 2) / s[3]),
                              static_cast<GifByteType>((s[1] + s[3] / 2) / s[3]),
                              static_cast<GifByteType>((s[2] + s[3] / 2) / s[3])};
        }
    }
    return true;
}

// One frame, no extensions; alpha is ignored like everywhere in the imaging code.
QByteArray EncodeGif(const QImage& source) {
    if (source.width() > 0xFFFF || source.height() > 0xFFFF) {
        return {};
    }
    QImage image = source;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32) {
        image = source.convertToFormat(QImage::Format_ARGB32);
    }
    Indexed indexed;
    if (image.isNull() || !ToIndexed(image, indexed)) {
        return {};
    }
    const int mapSize = 1 << GifBitSize(static_cast<int>(indexed.palette.size()));
    indexed.palette.resize(mapSize, GifColorType{0, 0, 0});
    ColorMapObject* map = GifMakeMapObject(mapSize, indexed.palette.data());
    if (map == nullptr) {
        return {};
    }
    QByteArray bytes;
    int error = 0;
    GifFileType* gif = EGifOpen(&bytes, AppendToBuffer, &error);
    bool ok = gif != nullptr;
    ok = ok && EGifPutScreenDesc(gif, image.width(), image.height(), 8, 0, map) == GIF_OK;
    ok = ok && EGifPutImageDesc(gif, 0, 0, image.width(), image.height(), false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < image.height(); ++y) {
        ok = EGifPutLine(gif, indexed.pixels.data() + size_t(y) * image.width(), image.width()) ==
             GIF_OK;
    }
    if (gif != nullptr && EGifCloseFile(gif, &error) != GIF_OK) {
        ok = false;
    }
    GifFreeMapObject(map);
    return ok ? bytes : QByteArray();
}

// Written next to the target and renamed over it: a failure leaves the old file.
bool WriteAtomically(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    return IsReplaceableTarget(path) && file.open(QIODevice::WriteOnly) &&
           file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace

namespace {

QImage DecodeImage(const QString& path, PixelBudget* budget, int copies) {
    static std::once_flag limitSet;
    std::call_once(limitSet, [] { QImageReader::setAllocationLimit(kAllocationLimitMb); });

    QByteArray data;
    if (!ReadWholeFile(path, kMaxFileBytes, data)) {
        return {};
    }
    // The decoder follows the content, never the name; only the five picture formats.
    const Format format = SniffFormat(data);
    int index = 0;
    if (format == Format::None || !Complete(format, data, index)) {
        return {};
    }
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, QtFormatName(format));
    reader.setAutoTransform(false);
    if (index > 0 && !reader.jumpToImage(index)) {
        return {};
    }
    QSize size = reader.size();
    if (format == Format::Gif) {
        // What read() returns is the logical screen, which the frame may not fill.
        size = size.expandedTo(QSize(int(Le16(data, 6)), int(Le16(data, 8))));
    }
    const int64_t pixels = int64_t(size.width()) * size.height();
    if (!size.isValid() || size.isEmpty() || size.width() > kMaxSide || size.height() > kMaxSide ||
        pixels > kMaxPixels) {
        return {};
    }
    if (budget != nullptr && !budget->Take(pixels * copies, path)) {
        return {};
    }
    QImage image = reader.read();
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) {
        return {};
    }
    // 32 bits per pixel, with alpha where the picture has it; palettes are expanded
    // exactly, so colour keys such as magenta survive.
    const QImage::Format wanted =
        image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32;
    if (image.format() != wanted) {
        image = image.convertToFormat(wanted);
    }
    return image;
}

}  // namespace

bool PixelBudget::Take(std::int64_t pixels, const QString& file) {
    if (pixels >= 0 && pixels <= m_left) {
        m_left -= pixels;
        return true;
    }
    if (!m_refusedSet.contains(file)) {
        m_refusedSet.insert(file);
        m_refused.push_back(file);
    }
    return false;
}

QImage LoadImageBitmap(const QString& path) {
    return DecodeImage(path, nullptr, 1);
}

QImage LoadImageBitmap(const QString& path, PixelBudget& budget, int copies) {
    return DecodeImage(path, &budget, copies);
}

bool SaveBitmapToFile(const QString& path, const QImage& image) {
    if (image.isNull()) {
        return false;
    }
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0) {
        return false;
    }
    const QString extension = name.mid(dot + 1).toLower();
    if (extension == u"gif") {
        const QByteArray bytes = EncodeGif(image);
        return !bytes.isEmpty() && WriteAtomically(path, bytes);
    }
    const char* format = nullptr;
    if (extension == u"png") {
        format = "PNG";
    } else if (extension == u"bmp") {
        format = "BMP";
    } else if (extension == u"jpg" || extension == u"jpeg") {
        format = "JPEG";
    } else {
        return false;  // no encoder for it: nothing is written
    }
    QSaveFile file(path);
    return IsReplaceableTarget(path) && file.open(QIODevice::WriteOnly) &&
           image.save(&file, format) && file.commit();
}

}  // namespace vodirev
