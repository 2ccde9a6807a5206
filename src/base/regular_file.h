#pragma once
// Opening files that a hostile working folder may have replaced: a FIFO blocks an
// open or read for ever, a device never ends, and an atomic rewrite would put a
// regular file in place of a device node.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <memory>

namespace vodirev {

enum class LinkPolicy { Follow, Refuse };

// The file opened for reading when it is a regular file; null for anything else
// (missing, a folder, FIFO, socket or device, or a link when links are refused).
// The open never blocks.
std::unique_ptr<QFile> OpenRegularFile(const QString& path, LinkPolicy links = LinkPolicy::Follow);

// The bytes of a regular file of at most maxBytes bytes, read by the size found
// (never more); false for anything else, an empty file included.
bool ReadRegularFile(const QString& path, qint64 maxBytes, QByteArray& data,
                     LinkPolicy links = LinkPolicy::Follow);

// True when an atomic rewrite may replace what stands at path: nothing, or a regular
// file (through links). A folder, FIFO or device is never replaced by a file.
bool IsReplaceableTarget(const QString& path);

}  // namespace vodirev
