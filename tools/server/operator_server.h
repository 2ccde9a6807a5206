#pragma once
// The operator's server for one or more rooms: answers every request the editor
// makes, from a data folder DIR that holds pcroom/common/... and pcroom/ROOM/....

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdio>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace httplib {
class Server;
}

namespace vodirev::server {

// The largest request body the server takes (an upload of one file).
inline constexpr std::size_t kMaxRequestBodyBytes = std::size_t(256) << 20;

// One line per request, to standard output and optionally to a file, each flushed
// before the answer goes out so a client that got its answer finds the line.
class RequestLog {
public:
    explicit RequestLog(std::FILE* file = nullptr) : m_file(file) {}
    void write(std::string_view line);

private:
    std::mutex m_mutex;
    std::FILE* m_file;
};

struct Reply {
    int status = 200;
    std::string body;
    std::string contentType = "text/plain";
};

class OperatorServer {
public:
    // rooms: the room ids that may upload and register desktops; empty means the
    // rooms that have a folder under DIR/pcroom. "common" is never one.
    OperatorServer(QString root, RequestLog& log, QStringList rooms = {});

    // Routes every request of the server to this object.
    void attach(httplib::Server& server);
    // Every request is answered this many milliseconds late (a slow server).
    void setReplyDelay(int milliseconds) { m_replyDelayMs = milliseconds; }

    // A request other than POST, logged as "METHOD TARGET" with the target's bytes
    // as received. GET and HEAD are answered, other methods get 405.
    Reply handleRequest(std::string_view method, std::string_view rawTarget);
    // A POST: the upload for "upload_file.jsp", logged with the name it was stored
    // under ("POST /upload_file.jsp R/a.png") or "refused"; others get 404. An upload
    // is stored only inside the folder of an accepted room id (pcroom/ID/), never
    // under the names the server keeps; any other gets 403.
    Reply handlePost(std::string_view rawTarget, std::string_view contentType,
                     std::string_view body);

    // The file of a name below DIR ("pcroom/R/images\a.gif"), or none when the name
    // is not inside DIR/pcroom.
    std::optional<QString> mapName(std::string_view name) const;

private:
    Reply serveFile(std::string_view name) const;
    Reply existReply(std::string_view name) const;
    Reply titleReply(std::string_view roomId, std::string_view desktop);
    Reply registerDesktop(std::string_view roomId, std::string_view desktop,
                          std::string_view preview, std::string_view width, std::string_view height,
                          std::string_view title);
    QString registryPath(std::string_view roomId) const;
    bool acceptsRoom(std::string_view roomId) const;

    QString m_root;  // absolute, clean
    RequestLog& m_log;
    int m_replyDelayMs = 0;
    QStringList m_rooms;
    std::mutex m_registryMutex;
};

}  // namespace vodirev::server
