#pragma once
// Colours as the layout file and the label slots hold them: 0x00BBGGRR.

#include <cstdint>

namespace vodirev {

using ColorRef = std::uint32_t;

constexpr ColorRef MakeColorRef(int red, int green, int blue) {
    return ColorRef(red & 0xFF) | ColorRef(green & 0xFF) << 8 | ColorRef(blue & 0xFF) << 16;
}
constexpr int RedOf(ColorRef c) {
    return int(c & 0xFF);
}
constexpr int GreenOf(ColorRef c) {
    return int((c >> 8) & 0xFF);
}
constexpr int BlueOf(ColorRef c) {
    return int((c >> 16) & 0xFF);
}

}  // namespace vodirev
