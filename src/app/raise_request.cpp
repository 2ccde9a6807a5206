#include "app/raise_request.h"

#include <unistd.h>
#include <QLocalSocket>

namespace vodirev {

QString EditorSocketName() {
    return QStringLiteral("VeradaVodirev-%1").arg(getuid());
}

CRaiseListener::CRaiseListener(const QString& name, std::function<void()> onRaise, QObject* parent)
    : QObject(parent), m_onRaise(std::move(onRaise)) {
    // Only the one running editor listens, so a socket left by a crashed one is stale.
    QLocalServer::removeServer(name);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            socket->disconnectFromServer();
            m_onRaise();
        }
    });
    m_server.listen(name);
}

bool AskRunningEditorToRaise(const QString& name, int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (!socket.waitForConnected(timeoutMs)) {
        return false;
    }
    socket.disconnectFromServer();
    return true;
}

}  // namespace vodirev
