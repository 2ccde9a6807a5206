#pragma once

namespace vodirev {

// A rectangle as the desktop records hold it (RECT): right and bottom are one past
// the last pixel, so width = right - left.
struct ItemRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const ItemRect&) const = default;
};

}  // namespace vodirev
