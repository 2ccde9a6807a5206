#pragma once
// A second start brings the running editor's window to the front before it ends: the
// running editor listens on a local socket the second copy connects to.

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>

namespace vodirev {

// The socket name of this user's editor.
QString EditorSocketName();

// Listens under name while it lives and calls onRaise for every copy that connects.
class CRaiseListener : public QObject {
public:
    CRaiseListener(const QString& name, std::function<void()> onRaise, QObject* parent = nullptr);
    bool isListening() const { return m_server.isListening(); }

private:
    QLocalServer m_server;
    std::function<void()> m_onRaise;
};

// Asks the editor listening under name to come to the front; false when none
// answered within timeoutMs.
bool AskRunningEditorToRaise(const QString& name, int timeoutMs = 1000);

}  // namespace vodirev
