#pragma once
// Decoding and saving pictures. A bitmap is a QImage: copies share the pixels,
// a null QImage stands for "no bitmap".

#include <QImage>
#include <QString>

namespace vodirev {

// Decodes a JPEG, GIF, BMP, PNG or ICO file (the decoder is picked by content; of an
// ICO file the largest image). Returns a null image when the file is missing, not a
// picture, truncated, empty or absurdly large.
QImage LoadImageBitmap(const QString& path);

// Writes the image with the encoder that the path's extension names, compared
// without regard to case: .gif (giflib, 256 colours), .png, .bmp, .jpg, .jpeg.
// Any other extension fails and writes nothing. An existing file is replaced
// atomically. Returns true on success.
bool SaveBitmapToFile(const QString& path, const QImage& image);

}  // namespace vodirev
