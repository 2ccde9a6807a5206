#pragma once
// Runs the built vodirev-server on a free 127.0.0.1 port with a fresh data folder
// for one test, and points the editor's server address (VERADA_SERVER) at it.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vodirev::test {

class ReferenceServer {
public:
    // Starts the server; started() tells whether it listens, error() why not.
    ReferenceServer();
    // Stops the server and restores VERADA_SERVER.
    ~ReferenceServer();
    ReferenceServer(const ReferenceServer&) = delete;
    ReferenceServer& operator=(const ReferenceServer&) = delete;

    bool started() const { return m_port > 0; }
    const QString& error() const { return m_error; }
    int port() const { return m_port; }
    // "127.0.0.1:PORT", the value VERADA_SERVER was set to.
    std::string address() const;

    // The data folder DIR (holding pcroom/common and the rooms).
    QString root() const;
    // The file below DIR of a name in stored form ("pcroom/R/images\user\a.jpg",
    // CP949 bytes), as the server maps it.
    QString filePath(std::string_view name) const;
    void putFile(std::string_view name, const QByteArray& bytes) const;
    bool hasFile(std::string_view name) const;
    QByteArray fileBytes(std::string_view name) const;

    // The logged requests since the start or the last clearRequests(), each
    // "METHOD TARGET" with the target's bytes as received (uploads add the name the
    // file was stored under, or "refused").
    std::vector<std::string> requests() const;
    void clearRequests();

    // Ends the server now (tests of a server that goes away halfway).
    void stop();

private:
    std::vector<std::string> allRequests() const;

    QTemporaryDir m_dir;
    QProcess m_process;
    int m_port = 0;
    QString m_error;
    std::size_t m_skipped = 0;
    std::optional<QByteArray> m_previousAddress;
};

}  // namespace vodirev::test
