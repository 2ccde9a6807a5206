#pragma once
// What F1 shows: which editor this is, where it works, which server it talks to and
// the keys it answers.

#include "server/server_client.h"

#include <QString>

namespace vodirev {

QString EditorAboutText(const QString& version, const QString& workFolder,
                        const ServerAddress& server);

}  // namespace vodirev
