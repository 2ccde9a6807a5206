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

// The side of every icon of the program catalogue.
inline constexpr int kCatalogueIconSide = 32;

// Icon 0 as the catalogue keeps it: 32 x 32 in Format_ARGB32, from the group's
// 32 x 32 image (the deepest), else its nearest larger image scaled down, else its
// nearest smaller scaled up; alpha kept, and black under every fully transparent
// pixel. A null image as ReadProgramIcon gives one.
QImage ReadCatalogueIcon(QByteArrayView bytes);
QImage ReadCatalogueIconFile(const QString& path);

}  // namespace vodirev
