#pragma once
// Reading a whole file for the decoders of the imaging library.

#include <QByteArray>
#include <QString>

namespace vodirev {

// The bytes of a regular file of 1 to maxBytes bytes, read by the size found; false for
// anything else (missing, empty, a folder or device, too large, unreadable).
bool ReadWholeFile(const QString& path, qint64 maxBytes, QByteArray& data);

}  // namespace vodirev
