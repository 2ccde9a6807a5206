#pragma once
// Icon 0 of a Windows program (a PE or PE32+ .exe or .dll), read from its resources:
// the programs the icons start live on the room's Windows client PCs.

#include <QByteArrayView>
#include <QImage>
#include <QString>

namespace vodirev {

// The first icon group in resource order (named entries before numbered ones), its
// largest image (among equal sizes the deepest), decoded in Format_ARGB32. A null
// image for a program without icons, a file that is not a program, or a cut-off or
// malformed one.
QImage ReadProgramIcon(QByteArrayView bytes);

// The same for a file of at most 256 MiB.
QImage ReadProgramIconFile(const QString& path);

}  // namespace vodirev
