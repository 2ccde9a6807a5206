#include "imaging/icon_image.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <cstdint>

namespace vodirev {
namespace {

// Callers check the bounds first.
uint32_t U8(QByteArrayView data, qsizetype at) {
    return static_cast<uint8_t>(data[at]);
}
uint32_t Le16(QByteArrayView data, qsizetype at) {
    return U8(data, at) | (U8(data, at + 1) << 8);
}
uint32_t Le32(QByteArrayView data, qsizetype at) {
    return Le16(data, at) | (Le16(data, at + 2) << 16);
}
uint32_t Be32(QByteArrayView data, qsizetype at) {
    return (U8(data, at) << 24) | (U8(data, at + 1) << 16) | (U8(data, at + 2) << 8) |
           U8(data, at + 3);
}

bool IsPng(QByteArrayView data) {
    return data.startsWith(QByteArrayView("\x89PNG\r\n\x1a\n", 8));
}

// The signature, then the IHDR chunk: length 13, width, height, bit depth, colour type.
std::optional<IconImageInfo> ReadPngInfo(QByteArrayView data) {
    if (data.size() < 33 || Be32(data, 8) != 13 || data.sliced(12, 4) != QByteArrayView("IHDR")) {
        return std::nullopt;
    }
    const uint32_t width = Be32(data, 16);
    const uint32_t height = Be32(data, 20);
    const uint32_t depth = U8(data, 24);
    const uint32_t colour = U8(data, 25);
    static const int kChannels[7] = {1, 0, 3, 1, 2, 0, 4};  // by colour type; 0: invalid
    if (width < 1 || width > kMaxIconSide || height < 1 || height > kMaxIconSide || depth < 1 ||
        depth > 16 || colour > 6 || kChannels[colour] == 0) {
        return std::nullopt;
    }
    return IconImageInfo{int(width), int(height), int(depth) * kChannels[colour], true};
}

// Where the parts of a DIB icon lie: a 40-byte header, the palette, the colour rows
// and the mask rows, both bottom-up and padded to 4 bytes. The header's height counts
// both bitmaps.
struct DibLayout {
    IconImageInfo info;
    int colours = 0;
    qsizetype pixels = 0;
    qsizetype mask = 0;
    qsizetype stride = 0;
    qsizetype maskStride = 0;
};

std::optional<DibLayout> ReadDibLayout(QByteArrayView data) {
    if (data.size() < 40 || Le32(data, 0) != 40) {
        return std::nullopt;
    }
    const int32_t width = static_cast<int32_t>(Le32(data, 4));
    const int32_t doubled = static_cast<int32_t>(Le32(data, 8));
    const int bits = static_cast<int>(Le16(data, 14));
    const uint32_t compression = Le32(data, 16);
    const uint32_t used = Le32(data, 32);
    if (width < 1 || width > kMaxIconSide || doubled < 2 || doubled / 2 > kMaxIconSide ||
        compression != 0) {
        return std::nullopt;
    }
    DibLayout d;
    d.info = {width, doubled / 2, bits, false};
    if (bits == 1 || bits == 4 || bits == 8) {
        // The palette may be shorter than the index range, never longer. Qt's .ico
        // reader takes a 1-bit image with another count for an 8-bit one.
        d.colours = used == 0 ? 1 << bits : static_cast<int>(std::min<uint32_t>(used, 257));
        if (d.colours > 1 << bits || (bits == 1 && d.colours != 2)) {
            return std::nullopt;
        }
    } else if ((bits != 24 && bits != 32) || used != 0) {
        return std::nullopt;
    }
    d.stride = (qsizetype(width) * bits + 31) / 32 * 4;
    d.maskStride = (qsizetype(width) + 31) / 32 * 4;
    d.pixels = 40 + qsizetype(d.colours) * 4;
    d.mask = d.pixels + d.stride * d.info.height;
    if (d.mask + d.maskStride * d.info.height > data.size()) {
        return std::nullopt;
    }
    return d;
}

QImage DecodeDib(QByteArrayView data, const DibLayout& d) {
    const int w = d.info.width;
    const int h = d.info.height;
    QImage image(w, h, QImage::Format_ARGB32);
    if (image.isNull()) {
        return {};
    }
    QRgb palette[256];
    for (int i = 0; i < 256; ++i) {
        const qsizetype at = 40 + qsizetype(i) * 4;  // blue, green, red, unused
        palette[i] =
            i < d.colours ? qRgb(U8(data, at + 2), U8(data, at + 1), U8(data, at)) : qRgb(0, 0, 0);
    }
    const auto* bytes = reinterpret_cast<const uint8_t*>(data.data());
    bool alpha = false;
    for (int y = 0; y < h; ++y) {
        const uint8_t* row = bytes + d.pixels + d.stride * (h - 1 - y);
        QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            switch (d.info.bits) {
                case 1:
                    out[x] = palette[(row[x >> 3] >> (7 - (x & 7))) & 1];
                    break;
                case 4:
                    out[x] = palette[(row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15];
                    break;
                case 8:
                    out[x] = palette[row[x]];
                    break;
                case 24:
                    out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                    break;
                default:  // 32: blue, green, red, alpha
                    out[x] = qRgba(row[4 * x + 2], row[4 * x + 1], row[4 * x], row[4 * x + 3]);
                    alpha = alpha || row[4 * x + 3] != 0;
                    break;
            }
        }
    }
    if (!alpha) {  // a set mask bit is a transparent pixel
        for (int y = 0; y < h; ++y) {
            const uint8_t* row = bytes + d.mask + d.maskStride * (h - 1 - y);
            QRgb* out = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < w; ++x) {
                const bool clear = (row[x >> 3] >> (7 - (x & 7))) & 1;
                out[x] = clear ? out[x] & 0x00FFFFFFu : out[x] | 0xFF000000u;
            }
        }
    }
    return image;
}

QImage DecodePng(QByteArrayView data, const IconImageInfo& info) {
    QByteArray bytes = QByteArray::fromRawData(data.data(), data.size());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    const QImage image = reader.read();
    if (image.size() != QSize(info.width, info.height)) {
        return {};
    }
    return image.convertToFormat(QImage::Format_ARGB32);
}

}  // namespace

std::optional<IconImageInfo> ReadIconImageInfo(QByteArrayView data) {
    if (IsPng(data)) {
        return ReadPngInfo(data);
    }
    const auto layout = ReadDibLayout(data);
    if (!layout) {
        return std::nullopt;
    }
    return layout->info;
}

bool IsBetterIcon(const IconImageInfo& a, const IconImageInfo& b) {
    const int64_t pixelsA = int64_t(a.width) * a.height;
    const int64_t pixelsB = int64_t(b.width) * b.height;
    return pixelsA != pixelsB ? pixelsA > pixelsB : a.bits > b.bits;
}

QImage DecodeIconImage(QByteArrayView data) {
    if (IsPng(data)) {
        const auto info = ReadPngInfo(data);
        return info ? DecodePng(data, *info) : QImage();
    }
    const auto layout = ReadDibLayout(data);
    return layout ? DecodeDib(data, *layout) : QImage();
}

// An .ico file: reserved 0, type 1, a count, then per image 16 bytes: width, height
// (0 for 256), colour count, reserved, planes, bit count, data size, data offset.
int PickIcoImage(QByteArrayView file, IconImageInfo* picked) {
    if (file.size() < 6 || Le16(file, 0) != 0 || Le16(file, 2) != 1) {
        return -1;
    }
    const qsizetype count = Le16(file, 4);
    if (count == 0 || 6 + 16 * count > file.size()) {
        return -1;
    }
    int best = -1;
    IconImageInfo bestInfo;
    for (qsizetype i = 0; i < count; ++i) {
        const qsizetype at = 6 + 16 * i;
        const qsizetype size = Le32(file, at + 8);
        const qsizetype offset = Le32(file, at + 12);
        if (offset > file.size() || size > file.size() - offset) {
            return -1;  // cut off
        }
        const auto info = ReadIconImageInfo(file.sliced(offset, size));
        // Qt's reader sizes a DIB by the directory entry unless that says 0.
        const uint32_t width = U8(file, at);
        const uint32_t height = U8(file, at + 1);
        if (!info || (!info->png && ((width != 0 && int(width) != info->width) ||
                                     (height != 0 && int(height) != info->height)))) {
            continue;
        }
        if (best < 0 || IsBetterIcon(*info, bestInfo)) {
            best = static_cast<int>(i);
            bestInfo = *info;
        }
    }
    if (best >= 0 && picked != nullptr) {
        *picked = bestInfo;
    }
    return best;
}

}  // namespace vodirev
