#pragma once
// Decoding and saving pictures. A bitmap is a QImage: copies share the pixels,
// a null QImage stands for "no bitmap".

#include <QImage>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>

namespace vodirev {

// Decoded pixels allowed for one load of a working folder: the background, the
// pictures, the desktop, launcher and menu icons together, with the copies the
// canvas makes of them. 200 million 32-bit pixels are 800 MB; a real room needs a
// few million.
inline constexpr std::int64_t kFolderPixelBudget = 200'000'000;

// What is left of a pixel budget, and the files left out for want of it.
class PixelBudget {
public:
    explicit PixelBudget(std::int64_t pixels = kFolderPixelBudget) : m_left(pixels) {}

    // Takes the pixels when they fit in what is left; otherwise takes nothing, notes
    // the file as left out and returns false.
    bool Take(std::int64_t pixels, const QString& file);
    std::int64_t Left() const { return m_left; }
    // The files left out, each once, in the order they were refused.
    const QStringList& Refused() const { return m_refused; }

private:
    std::int64_t m_left;
    QStringList m_refused;
    QSet<QString> m_refusedSet;
};

// Decodes a JPEG, GIF, BMP, PNG or ICO file (the decoder is picked by content; of an
// ICO file the largest image). Returns a null image when the file is missing, not a
// picture, truncated, empty or absurdly large.
QImage LoadImageBitmap(const QString& path);
// The same, taking the picture's pixels times `copies` from the budget as soon as
// its header gives the size, before anything is decoded. A picture that does not fit
// is refused like one that does not decode.
QImage LoadImageBitmap(const QString& path, PixelBudget& budget, int copies = 1);

// True when the bytes hold one of the five picture formats and everything the first
// picture needs (the check before any decoding; also what the fuzzers drive).
bool IsCompleteImageData(const QByteArray& data);

// Writes the image with the encoder that the path's extension names, compared
// without regard to case: .gif (giflib, 256 colours), .png, .bmp, .jpg, .jpeg.
// Any other extension fails and writes nothing. An existing file is replaced
// atomically. Returns true on success.
bool SaveBitmapToFile(const QString& path, const QImage& image);

}  // namespace vodirev
