#pragma once

#include "base/fixed_string.h"
#include "document/color_ref.h"
#include "document/info_folder.h"
#include "document/info_label.h"
#include "document/info_user_image.h"

#include <QImage>
#include <QString>
#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vodirev {

class ImageCache;

inline constexpr int kLabelSlots = 5;

// The desktop document: everything one client desktop shows.
class CDesktopInfo {
public:
    int m_nWidth = 0;   // background width as read: the resolution the layout was made for
    int m_nHeight = 0;  // background height as read
    std::vector<CInfoFolder> m_arrFolder;  // drawing order: later icons over earlier ones
    std::vector<CInfoUserImage> m_arrUserImage;
    std::array<CInfoLabel, kLabelSlots> m_label;
    std::array<std::uint8_t, kLabelSlots> m_bLabelUsed{};  // the only "slot in use" flag
    std::array<ColorRef, kLabelSlots> m_crLabel{};         // black until set
    FixedString<256> m_szBackground;
    QImage m_imgBackground;
    // Where the next created icon goes: the last right-click on empty canvas, and
    // before any a point well inside every resolution.
    int m_nNewX = 500;
    int m_nNewY = 300;

    // Reads a layout file into this (fresh) document. Returns 0 when the file was
    // handed to the reader (also when missing or not well-formed: nothing is read).
    int LoadDesktopXml(const QString& path);
    // The same, decoding through the given cache (shared with other readers of one
    // start-up; the cache counts the decodes).
    int LoadDesktopXml(const QString& path, ImageCache& cache);

    // Index of the first free label slot, or -1 when all five are in use.
    int FirstFreeLabelSlot() const;

    // New icons at (m_nNewX, m_nNewY), 64 x 64 as written, numbered one past the
    // count of icons (numbers are not made unique), appended on top. Each returns
    // the new icon's index.
    int AddShortcutIcon();
    int AddFolder();
    int AddRecycleBin();
    int AddMyComputer();
    int AddUserReviews();
    int AddControlPanel();
    // Index of the first icon of the type, or -1.
    int FindIconOfType(int type) const;

    // Gives icon index the picture of path (line feeds removed; an empty path does
    // nothing): the rectangle keeps its top-left corner and takes the new size.
    void ReplaceItemImage(std::string_view path, int index);

    // Pictures compare by their shared data first, so comparing copies is cheap.
    bool operator==(const CDesktopInfo&) const = default;

private:
    int AddIcon(int type, const char* title, const char* image);
};

}  // namespace vodirev
