#pragma once
// One image of a Windows icon, as an .ico file and a program's icon resources store
// it: a bottom-up DIB (colour bitmap, then a 1-bit mask) or a PNG stream. Internal
// to the imaging library; ReadProgramIcon and LoadImageBitmap are built on it.

#include <QByteArrayView>
#include <QImage>
#include <optional>

namespace vodirev {

inline constexpr int kMaxIconSide = 256;

struct IconImageInfo {
    int width = 0;
    int height = 0;
    int bits = 0;  // bits per pixel of the colour data
    bool png = false;
};

// Size and depth of the icon image held by `data`, when everything its decoding reads
// lies inside `data` and it is supported: PNG, or a DIB with a 40-byte header,
// 1, 4, 8, 24 or 32 bits per pixel and no compression. Sides 1 to 256.
std::optional<IconImageInfo> ReadIconImageInfo(QByteArrayView data);

// True when `a` is preferred to `b`: more pixels, or as many and more bits per pixel.
bool IsBetterIcon(const IconImageInfo& a, const IconImageInfo& b);

// The icon image in Format_ARGB32, or a null image. A DIB without alpha (or a 32-bit
// one whose alpha bytes are all 0) takes its transparency from the mask.
QImage DecodeIconImage(QByteArrayView data);

// The index of the image to show from an .ico file: the best (see IsBetterIcon) of the
// supported images whose directory entry agrees with its data, or -1. A file whose
// directory or any image runs past its end gives -1.
int PickIcoImage(QByteArrayView file, IconImageInfo* picked = nullptr);

}  // namespace vodirev
