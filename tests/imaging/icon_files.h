#pragma once
// Builds icon images, .ico files and small Windows programs (DOS header, PE header,
// one .rsrc section holding a resource tree) from our own pictures, for the tests
// and the fuzzer's seeds.

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <map>
#include <vector>

namespace vodirev::test {

class Bytes : public QByteArray {
public:
    Bytes& u8(uint32_t v) {
        append(char(v & 0xFF));
        return *this;
    }
    Bytes& u16(uint32_t v) { return u8(v).u8(v >> 8); }
    Bytes& u32(uint32_t v) { return u16(v).u16(v >> 16); }
    void set32(qsizetype at, uint32_t v) {
        for (int i = 0; i < 4; ++i) {
            (*this)[at + i] = char((v >> (8 * i)) & 0xFF);
        }
    }
    void padTo(qsizetype size) {
        append(QByteArray(std::max<qsizetype>(0, size - this->size()), 0));
    }
};

// Pictures of our own: every pixel differs, some are transparent (alpha 0), and with
// `halfAlpha` column 1 is half transparent.
inline QImage ArgbPicture(int w, int h, bool halfAlpha) {
    QImage image(w, h, QImage::Format_ARGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int alpha = (x + y) % 4 == 0 ? 0 : halfAlpha && x == 1 ? 128 : 255;
            image.setPixel(x, y, qRgba(x * 30 & 0xFF, y * 40 & 0xFF, (200 + x - y) & 0xFF, alpha));
        }
    }
    return image;
}

// The last of `colours` palette entries is transparent.
inline QImage PalettePicture(int w, int h, int colours) {
    QImage image(w, h, QImage::Format_Indexed8);
    QList<QRgb> table;
    for (int i = 0; i < colours - 1; ++i) {
        table.push_back(qRgb(i * 13, 255 - i * 7, i * 29 % 256));
    }
    table.push_back(qRgba(9, 9, 9, 0));
    image.setColorTable(table);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            image.setPixel(x, y, (x * 3 + y * 5) % colours);
        }
    }
    return image;
}

// A DIB icon image: an Indexed8 image gives 1, 4 or 8 bits per pixel with its colour
// table, another one 24 or 32 bits. Below 32 bits, pixels of alpha 0 are set in the mask.
inline QByteArray DibImage(const QImage& image, int bits) {
    const int w = image.width(), h = image.height();
    const QList<QRgb> table = bits <= 8 ? image.colorTable() : QList<QRgb>();
    Bytes b;
    b.u32(40).u32(w).u32(2 * h).u16(1).u16(bits).u32(0).u32(0).u32(0).u32(0);
    b.u32(table.size()).u32(0);
    for (QRgb c : table) {
        b.u8(qBlue(c)).u8(qGreen(c)).u8(qRed(c)).u8(0);
    }
    const int stride = (w * bits + 31) / 32 * 4, maskStride = (w + 31) / 32 * 4;
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(stride, 0);
        for (int x = 0; x < w; ++x) {
            const QRgb c = image.pixel(x, y);
            if (bits <= 8) {
                const int bit = x * bits;
                row[bit / 8] =
                    char(row[bit / 8] | (image.pixelIndex(x, y) << (8 - bits - bit % 8)));
            } else {
                const char bgra[4] = {char(qBlue(c)), char(qGreen(c)), char(qRed(c)),
                                      char(qAlpha(c))};
                row.replace(x * bits / 8, bits / 8, bgra, bits / 8);
            }
        }
        b.append(row);
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray row(maskStride, 0);
        for (int x = 0; bits < 32 && x < w; ++x) {
            if (qAlpha(image.pixel(x, y)) == 0) {
                row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        b.append(row);
    }
    return b;
}

inline QByteArray PngImage(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// An .ico file; each directory entry gives the size its image's data says.
inline QByteArray IcoFile(const std::vector<QByteArray>& images) {
    Bytes f;
    f.u16(0).u16(1).u16(uint32_t(images.size()));
    uint32_t offset = 6 + 16 * uint32_t(images.size());
    for (const QByteArray& data : images) {
        const bool png = data.startsWith("\x89PNG");
        auto at = [&data](int i) { return uint32_t(uint8_t(data.at(i))); };
        const uint32_t w = png ? at(18) << 8 | at(19) : at(5) << 8 | at(4);
        const uint32_t h = png ? at(22) << 8 | at(23) : (at(9) << 8 | at(8)) / 2;
        f.u8(w).u8(h).u8(0).u8(0).u16(1).u16(32).u32(uint32_t(data.size())).u32(offset);
        offset += uint32_t(data.size());
    }
    for (const QByteArray& data : images) {
        f.append(data);
    }
    return f;
}

// An icon group listing icon resources by number.
inline QByteArray IconGroup(const std::vector<uint16_t>& ids) {
    Bytes g;
    g.u16(0).u16(1).u16(uint32_t(ids.size()));
    for (uint16_t id : ids) {
        g.u32(0).u16(1).u16(32).u32(0).u16(id);
    }
    return g;
}

struct Resource {
    uint32_t type;
    QString name;  // empty: numbered by id
    uint32_t id;
    QByteArray data;
};

// The resource tree at `address`: types by number, then per type its named entries in
// the order given, then its numbered ones; one language (0x409) each.
inline QByteArray ResourceTree(const std::vector<Resource>& resources, uint32_t address) {
    std::map<uint32_t, std::vector<const Resource*>> types;
    for (const Resource& r : resources) {
        types[r.type].push_back(&r);
    }
    Bytes t;
    auto directory = [&t](size_t named, size_t numbered) {
        t.u32(0).u32(0).u32(0).u16(uint32_t(named)).u16(uint32_t(numbered));
    };
    std::vector<std::pair<qsizetype, const QByteArray*>> data;  // entry, bytes
    directory(0, types.size());
    const qsizetype typeEntries = t.size();
    for (const auto& type : types) {
        t.u32(type.first).u32(0);
    }
    qsizetype index = 0;
    for (auto& [type, list] : types) {
        std::stable_partition(list.begin(), list.end(), [](auto r) { return !r->name.isEmpty(); });
        t.set32(typeEntries + 8 * index++ + 4, 0x80000000u | uint32_t(t.size()));
        const auto named =
            std::count_if(list.begin(), list.end(), [](auto r) { return !r->name.isEmpty(); });
        directory(named, list.size() - named);
        const qsizetype nameEntries = t.size();
        for (const Resource* r : list) {
            t.u32(r->id).u32(0);
        }
        for (size_t i = 0; i < list.size(); ++i) {
            t.set32(nameEntries + 8 * i + 4, 0x80000000u | uint32_t(t.size()));
            directory(0, 1);
            t.u32(0x409).u32(uint32_t(t.size()) + 4);
            data.emplace_back(t.size(), &list[i]->data);
            t.u32(0).u32(uint32_t(list[i]->data.size())).u32(0).u32(0);
            if (!list[i]->name.isEmpty()) {
                t.set32(nameEntries + 8 * i, 0x80000000u | uint32_t(t.size()));
                t.u16(uint32_t(list[i]->name.size()));
                for (QChar c : list[i]->name) {
                    t.u16(c.unicode());
                }
            }
        }
    }
    for (const auto& [entry, bytes] : data) {
        t.padTo((t.size() + 3) / 4 * 4);
        t.set32(entry, address + uint32_t(t.size()));
        t.append(*bytes);
    }
    return t;
}

// A program whose only section is .rsrc; the file ends where the section does.
inline QByteArray ProgramFile(const std::vector<Resource>& resources, bool pe32plus = false) {
    const uint32_t address = 0x1000, raw = 0x200;
    const QByteArray tree = ResourceTree(resources, address);
    const uint32_t optionalSize = pe32plus ? 240 : 224;
    Bytes f;
    f.u16(0x5A4D);
    f.padTo(0x3C);
    f.u32(0x40).u32(0x4550).u16(pe32plus ? 0x8664 : 0x14C).u16(1).u32(0).u32(0).u32(0);
    f.u16(optionalSize).u16(0x0102);
    const qsizetype directories = f.size() + (pe32plus ? 112 : 96);
    f.u16(pe32plus ? 0x20B : 0x10B);
    f.padTo(f.size() + optionalSize - 2);
    f.set32(directories - 4, 16);
    f.set32(directories + 16, address);
    f.set32(directories + 20, uint32_t(tree.size()));
    f.append(".rsrc\0\0\0", 8);
    f.u32(uint32_t(tree.size())).u32(address).u32(uint32_t(tree.size())).u32(raw);
    f.u32(0).u32(0).u32(0).u32(0x40000040);
    f.padTo(raw);
    f.append(tree);
    return f;
}

}  // namespace vodirev::test
