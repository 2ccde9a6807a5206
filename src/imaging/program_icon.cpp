#include "imaging/program_icon.h"

#include <QByteArray>
#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

#include "imaging/file_bytes.h"
#include "imaging/icon_image.h"
#include "imaging/scale_bitmap.h"

namespace vodirev {
namespace {

const qint64 kMaxProgramBytes = qint64(256) << 20;
const uint32_t kMaxSections = 96;  // the Windows loader's own limit
const uint32_t kMaxDirectoryEntries = 4096;
const uint32_t kMaxGroupImages = 256;
const uint32_t kIconType = 3;
const uint32_t kGroupIconType = 14;
const uint32_t kResourceDirectory = 2;  // index among the optional header's data directories
const uint32_t kHighBit = 0x80000000u;

// Little-endian reads; a read outside the bytes gives 0, and callers check has() first.
class Reader {
public:
    Reader() = default;
    explicit Reader(QByteArrayView bytes) : m_bytes(bytes) {}

    uint64_t size() const { return uint64_t(m_bytes.size()); }
    bool has(uint64_t at, uint64_t length) const { return at <= size() && length <= size() - at; }
    uint32_t u16(uint64_t at) const { return has(at, 2) ? Byte(at) | (Byte(at + 1) << 8) : 0; }
    uint32_t u32(uint64_t at) const { return has(at, 4) ? u16(at) | (u16(at + 2) << 16) : 0; }
    QByteArrayView view(uint64_t at, uint64_t length) const {
        return has(at, length) ? m_bytes.sliced(qsizetype(at), qsizetype(length))
                               : QByteArrayView();
    }

private:
    uint32_t Byte(uint64_t at) const { return static_cast<uint8_t>(m_bytes[qsizetype(at)]); }
    QByteArrayView m_bytes;
};

struct Section {
    uint32_t address = 0;
    uint32_t rawSize = 0;
    uint32_t rawOffset = 0;
};

// The headers of a PE or PE32+ file: the section table and the resource directory.
class ProgramFile {
public:
    explicit ProgramFile(QByteArrayView bytes) : m_file(bytes) {}

    bool readHeaders() {
        if (!m_file.has(0, 64) || m_file.u16(0) != 0x5A4D) {  // "MZ"
            return false;
        }
        const uint64_t pe = m_file.u32(0x3C);
        if (!m_file.has(pe, 24) || m_file.u32(pe) != 0x00004550) {  // "PE\0\0"
            return false;
        }
        const uint32_t sectionCount = m_file.u16(pe + 6);
        const uint32_t optionalSize = m_file.u16(pe + 20);
        const uint64_t optional = pe + 24;
        if (optionalSize < 2 || !m_file.has(optional, optionalSize)) {
            return false;
        }
        uint32_t directories = 0;  // where the data directories start, after their count
        switch (m_file.u16(optional)) {
            case 0x10B:  // PE32
                directories = 96;
                break;
            case 0x20B:  // PE32+
                directories = 112;
                break;
            default:
                return false;
        }
        if (optionalSize < directories + 8 * (kResourceDirectory + 1) ||
            m_file.u32(optional + directories - 4) <= kResourceDirectory) {
            return false;
        }
        m_resourceAddress = m_file.u32(optional + directories + 8 * kResourceDirectory);
        const uint64_t table = optional + optionalSize;
        if (m_resourceAddress == 0 || sectionCount == 0 || sectionCount > kMaxSections ||
            !m_file.has(table, 40 * uint64_t(sectionCount))) {
            return false;
        }
        for (uint32_t i = 0; i < sectionCount; ++i) {
            const uint64_t at = table + 40 * uint64_t(i);
            m_sections.push_back({m_file.u32(at + 12), m_file.u32(at + 16), m_file.u32(at + 20)});
        }
        return true;
    }

    // The file offset of `length` bytes at the address `rva`, all inside the raw data of
    // the section holding `rva`; `end` is where that data ends. A section cut off by the
    // end of the file is not used.
    bool map(uint32_t rva, uint32_t length, uint64_t& offset, uint64_t* end = nullptr) const {
        for (const Section& s : m_sections) {
            if (rva < s.address || rva - s.address >= s.rawSize) {
                continue;
            }
            const uint32_t delta = rva - s.address;
            if (!m_file.has(s.rawOffset, s.rawSize) || length > s.rawSize - delta) {
                return false;
            }
            offset = uint64_t(s.rawOffset) + delta;
            if (end != nullptr) {
                *end = uint64_t(s.rawOffset) + s.rawSize;
            }
            return true;
        }
        return false;
    }

    QByteArrayView bytesAt(uint32_t rva, uint32_t length) const {
        uint64_t offset = 0;
        return map(rva, length, offset) ? m_file.view(offset, length) : QByteArrayView();
    }

    // The resource tree, from its root to the end of its section.
    bool resources(Reader& tree) const {
        uint64_t start = 0;
        uint64_t end = 0;
        if (!map(m_resourceAddress, 16, start, &end)) {
            return false;
        }
        tree = Reader(m_file.view(start, end - start));
        return true;
    }

private:
    Reader m_file;
    std::vector<Section> m_sections;
    uint32_t m_resourceAddress = 0;
};

// One entry of a resource directory: a name (high bit: a string, else a number) and a
// target (high bit: a subdirectory, else a data entry), offsets from the tree's root.
struct Entry {
    uint32_t name = 0;
    uint32_t target = 0;

    bool numbered() const { return (name & kHighBit) == 0; }
    bool directory() const { return (target & kHighBit) != 0; }
    uint32_t offset() const { return target & ~kHighBit; }
};

// The entries of the directory that `parent` points to, in stored order (named ones
// first), at most kMaxDirectoryEntries. The tree has three fixed levels (type, name,
// language), so the walk never recurses.
std::vector<Entry> Entries(const Reader& tree, const Entry& parent) {
    std::vector<Entry> entries;
    if (!parent.directory() || !tree.has(parent.offset(), 16)) {
        return entries;
    }
    const uint32_t count = std::min(tree.u16(parent.offset() + 12) + tree.u16(parent.offset() + 14),
                                    kMaxDirectoryEntries);
    const uint64_t first = uint64_t(parent.offset()) + 16;
    if (!tree.has(first, 8 * uint64_t(count))) {
        return entries;
    }
    for (uint32_t i = 0; i < count; ++i) {
        entries.push_back({tree.u32(first + 8 * i), tree.u32(first + 8 * i + 4)});
    }
    return entries;
}

const Entry* FindNumbered(const std::vector<Entry>& entries, uint32_t id) {
    const auto it = std::find_if(entries.begin(), entries.end(),
                                 [id](const Entry& e) { return e.numbered() && e.name == id; });
    return it == entries.end() ? nullptr : &*it;
}

// The data of a named resource: the entry for `language` when there is one, else the
// first language's; `language` then becomes the one taken.
QByteArrayView ResourceData(const ProgramFile& program, const Reader& tree, const Entry& name,
                            uint32_t& language) {
    const std::vector<Entry> languages = Entries(tree, name);
    if (languages.empty()) {
        return {};
    }
    const Entry* chosen = FindNumbered(languages, language);
    if (chosen == nullptr) {
        chosen = &languages.front();
    }
    // A data entry: address, size, code page, reserved.
    if (chosen->directory() || !tree.has(chosen->offset(), 16)) {
        return {};
    }
    language = chosen->name;
    return program.bytesAt(tree.u32(chosen->offset()), tree.u32(chosen->offset() + 4));
}

}  // namespace

namespace {

using IconPreference = bool (*)(const IconImageInfo& a, const IconImageInfo& b);

int Side(const IconImageInfo& info) {
    return std::max(info.width, info.height);
}

// The catalogue's size first (the deepest of them), then the nearest larger, then
// the nearest smaller.
bool IsBetterCatalogueIcon(const IconImageInfo& a, const IconImageInfo& b) {
    const auto rank = [](const IconImageInfo& info) {
        const int side = Side(info);
        if (info.width == kCatalogueIconSide && info.height == kCatalogueIconSide) {
            return 0;
        }
        return side > kCatalogueIconSide ? side - kCatalogueIconSide
                                         : 1000 + kCatalogueIconSide - side;
    };
    if (rank(a) != rank(b)) {
        return rank(a) < rank(b);
    }
    return a.bits > b.bits;
}

QImage ReadGroupIcon(QByteArrayView bytes, IconPreference better) {
    ProgramFile program(bytes);
    Reader tree;
    if (!program.readHeaders() || !program.resources(tree)) {
        return {};
    }
    const std::vector<Entry> types = Entries(tree, Entry{0, kHighBit});
    const Entry* groupType = FindNumbered(types, kGroupIconType);
    const Entry* iconType = FindNumbered(types, kIconType);
    if (groupType == nullptr || iconType == nullptr) {
        return {};
    }
    const std::vector<Entry> groups = Entries(tree, *groupType);
    if (groups.empty()) {
        return {};
    }
    uint32_t language = kHighBit;  // no language: take the first
    const Reader group(ResourceData(program, tree, groups.front(), language));

    // Icons by number; the first of equal numbers counts.
    std::vector<std::pair<uint32_t, Entry>> icons;
    for (const Entry& e : Entries(tree, *iconType)) {
        if (e.numbered()) {
            icons.emplace_back(e.name, e);
        }
    }
    std::stable_sort(icons.begin(), icons.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });

    // The group: reserved, type, count, then per image 14 bytes ending in its icon number.
    const uint32_t count = group.u16(4);
    if (count == 0 || !group.has(6, 14 * uint64_t(count))) {
        return {};
    }
    QByteArrayView best;
    IconImageInfo bestInfo;
    for (uint32_t i = 0; i < std::min(count, kMaxGroupImages); ++i) {
        const uint32_t id = group.u16(6 + 14 * i + 12);
        const auto it = std::lower_bound(icons.begin(), icons.end(), id,
                                         [](const auto& a, uint32_t v) { return a.first < v; });
        if (it == icons.end() || it->first != id) {
            continue;
        }
        uint32_t iconLanguage = language;
        const QByteArrayView data = ResourceData(program, tree, it->second, iconLanguage);
        const auto info = ReadIconImageInfo(data);
        if (info && (best.isNull() || better(*info, bestInfo))) {
            best = data;
            bestInfo = *info;
        }
    }
    return best.isNull() ? QImage() : DecodeIconImage(best);
}

// Resampled with the catalogue's own resampler, colour and alpha alike.
QImage ScaleWithAlpha(const QImage& icon, int side) {
    const QImage colour = ScaleBitmap(icon, side, side);
    QImage alphaSource(icon.size(), QImage::Format_RGB32);
    for (int y = 0; y < icon.height(); ++y) {
        for (int x = 0; x < icon.width(); ++x) {
            const int a = qAlpha(icon.pixel(x, y));
            alphaSource.setPixel(x, y, qRgb(a, a, a));
        }
    }
    const QImage alpha = ScaleBitmap(alphaSource, side, side);
    if (colour.isNull() || alpha.isNull()) {
        return {};
    }
    QImage scaled(side, side, QImage::Format_ARGB32);
    for (int y = 0; y < side; ++y) {
        for (int x = 0; x < side; ++x) {
            const QRgb c = colour.pixel(x, y);
            scaled.setPixel(x, y, qRgba(qRed(c), qGreen(c), qBlue(c), qRed(alpha.pixel(x, y))));
        }
    }
    return scaled;
}

}  // namespace

QImage ReadProgramIcon(QByteArrayView bytes) {
    return ReadGroupIcon(bytes, IsBetterIcon);
}

QImage ReadCatalogueIcon(QByteArrayView bytes) {
    QImage icon = ReadGroupIcon(bytes, IsBetterCatalogueIcon);
    if (icon.isNull()) {
        return icon;
    }
    if (icon.width() != kCatalogueIconSide || icon.height() != kCatalogueIconSide) {
        icon = ScaleWithAlpha(icon, kCatalogueIconSide);
    }
    // Black under every fully transparent pixel: the dialogs key program icons on it,
    // so a reader that ignores alpha shows what one that honours it shows.
    for (int y = 0; y < icon.height(); ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(icon.scanLine(y));
        for (int x = 0; x < icon.width(); ++x) {
            if (qAlpha(row[x]) == 0) {
                row[x] = 0;
            }
        }
    }
    return icon;
}

QImage ReadCatalogueIconFile(const QString& path) {
    QByteArray bytes;
    if (!ReadWholeFile(path, kMaxProgramBytes, bytes)) {
        return {};
    }
    return ReadCatalogueIcon(bytes);
}

QImage ReadProgramIconFile(const QString& path) {
    QByteArray bytes;
    if (!ReadWholeFile(path, kMaxProgramBytes, bytes)) {
        return {};
    }
    return ReadProgramIcon(bytes);
}

}  // namespace vodirev
