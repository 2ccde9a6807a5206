#pragma once
// A small room on the reference server for the save tests: the lists, the layout
// and the images that the start-up brings into the working folder.

#include "common/cp949.h"
#include "server/reference_server.h"

#include <QByteArray>
#include <QColor>
#include <QString>
#include <string>

namespace vodirev::test {

// A solid picture encoded as PNG.
QByteArray PngBytes(const QColor& colour, int width, int height);

// Puts room "room", desktop 1, onto the server: an 800 x 600 green background, one
// folder icon, a program menu with one held icon, a system menu whose icon only the
// common folder holds, one picture, and the launcher at 10,140. Puts the installation's
// launcher pictures into the working folder.
void PutSaveRoom(ReferenceServer& server);

}  // namespace vodirev::test
