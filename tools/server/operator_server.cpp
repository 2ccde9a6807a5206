#include "operator_server.h"

#include "base/paths.h"
#include "base/regular_file.h"
#include "base/text.h"
#include "request_parsing.h"

#include <httplib.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <thread>

namespace vodirev::server {

namespace {

constexpr std::string_view kPcroom = "pcroom/";
// httplib reads a multipart body itself and rejects the editor's "id" part, which
// has no blank line; the upload's Content-Type is moved here before the body is
// read so the handler gets the raw bytes.
constexpr const char* kUploadTypeHeader = "X-Vodirev-Upload-Content-Type";

Reply numberReply(int status, int number) {
    return Reply{status, std::to_string(number) + "\r\n"};
}

bool hasControlBytes(std::string_view text) {
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return true;
        }
    }
    return false;
}

// A room id names one folder under pcroom.
bool isRoomId(std::string_view roomId) {
    return isSafeRelativePath(roomId) && roomId.find('/') == std::string_view::npos &&
           roomId.find('\\') == std::string_view::npos && roomId != ".";
}

bool isDecimal(std::string_view text) {
    if (text.empty() || text.size() > 9) {
        return false;
    }
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

std::string_view value(const RequestTarget& target, std::string_view name) {
    const std::string* found = target.param(name);
    return found != nullptr ? std::string_view(*found) : std::string_view();
}

// Server paths arrive as "/pcroom/..." or "pcroom/...".
std::string_view withoutLeadingSlash(std::string_view name) {
    if (!name.empty() && name.front() == '/') {
        name.remove_prefix(1);
    }
    return name;
}

bool writeWhole(const QString& path, std::string_view bytes) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !IsReplaceableTarget(path)) {
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
        static_cast<qint64>(bytes.size())) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

}  // namespace

void RequestLog::write(std::string_view line) {
    std::lock_guard lock(m_mutex);
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    if (m_file != nullptr) {
        std::fwrite(line.data(), 1, line.size(), m_file);
        std::fputc('\n', m_file);
        std::fflush(m_file);
    }
}

OperatorServer::OperatorServer(QString root, RequestLog& log, QStringList rooms)
    : m_root(QDir::cleanPath(QDir(root).absolutePath())), m_log(log), m_rooms(std::move(rooms)) {}

// A client's room id is its word only: the common folder is the server's, and a room
// is one the operator named or made.
bool OperatorServer::acceptsRoom(std::string_view roomId) const {
    if (!isRoomId(roomId) || roomId == "common") {
        return false;
    }
    const QString id = fromCp949(roomId);
    if (!m_rooms.isEmpty()) {
        return m_rooms.contains(id);
    }
    return QFileInfo(m_root + QStringLiteral("/pcroom/") + id).isDir();
}

std::optional<QString> OperatorServer::mapName(std::string_view name) const {
    if (name.substr(0, kPcroom.size()) != kPcroom || !isSafeRelativePath(name)) {
        return std::nullopt;
    }
    const QString relative = localPath(name);
    // The decoded name is checked again: only what stays below DIR/pcroom is served.
    for (const QString& part : relative.split(u'/')) {
        if (part == QStringLiteral("..")) {
            return std::nullopt;
        }
    }
    const QString full = QDir::cleanPath(m_root + u'/' + relative);
    if (!full.startsWith(m_root + QStringLiteral("/pcroom/"))) {
        return std::nullopt;
    }
    return full;
}

Reply OperatorServer::serveFile(std::string_view name) const {
    const auto path = mapName(withoutLeadingSlash(name));
    if (!path) {
        return Reply{403, {}};
    }
    const auto file = OpenRegularFile(*path);
    if (!file) {
        return Reply{404, {}};
    }
    const QByteArray bytes = file->readAll();
    return Reply{200, bytes.toStdString(), "application/octet-stream"};
}

Reply OperatorServer::existReply(std::string_view name) const {
    const auto path = mapName(withoutLeadingSlash(name));
    if (!path) {
        return numberReply(403, 0);
    }
    return numberReply(200, QFileInfo(*path).isFile() ? 1 : 0);
}

// Outside the served tree, so no upload can replace it and no GET reads it.
QString OperatorServer::registryPath(std::string_view roomId) const {
    return m_root + QStringLiteral("/registry/") + fromCp949(roomId) +
           QStringLiteral("/desktops.txt");
}

namespace {

// Where earlier servers kept the registry; read while the new one is missing.
QString legacyRegistryPath(const QString& root, std::string_view roomId) {
    return root + QStringLiteral("/pcroom/") + fromCp949(roomId) + QStringLiteral("/desktops.txt");
}

QByteArray readRegistry(const QString& path, const QString& legacy) {
    for (const QString& candidate : {path, legacy}) {
        if (const auto file = OpenRegularFile(candidate)) {
            return file->readAll();
        }
    }
    return {};
}

}  // namespace

// The registry of a room: one line per desktop, "N<TAB>W<TAB>H<TAB>preview<TAB>title".
Reply OperatorServer::titleReply(std::string_view roomId, std::string_view desktop) {
    if (!isRoomId(roomId) || !isDecimal(desktop)) {
        return Reply{403, {}};
    }
    const std::string wanted = std::to_string(leadingInt(desktop));
    std::lock_guard lock(m_registryMutex);
    const std::string registry =
        readRegistry(registryPath(roomId), legacyRegistryPath(m_root, roomId)).toStdString();
    std::string_view rest = registry;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        const std::size_t tab = line.find('\t');
        if (line.substr(0, tab) == wanted) {
            std::string_view fields = line;
            for (int i = 0; i < 4 && !fields.empty(); ++i) {
                const std::size_t next = fields.find('\t');
                fields =
                    next == std::string_view::npos ? std::string_view() : fields.substr(next + 1);
            }
            return Reply{200, std::string(fields)};
        }
        if (end == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(end + 1);
    }
    return Reply{200, {}};
}

Reply OperatorServer::registerDesktop(std::string_view roomId, std::string_view desktop,
                                      std::string_view preview, std::string_view width,
                                      std::string_view height, std::string_view title) {
    if (!acceptsRoom(roomId) || !isDecimal(desktop) || !isDecimal(width) || !isDecimal(height) ||
        !isSafeRelativePath(preview)) {
        return numberReply(403, 0);
    }
    const std::string number = std::to_string(leadingInt(desktop));
    std::string entry = number;
    for (const std::string_view field : {width, height, preview, title}) {
        entry += '\t';
        entry += field;
    }
    std::lock_guard lock(m_registryMutex);
    const QString path = registryPath(roomId);
    const std::string registry =
        readRegistry(path, legacyRegistryPath(m_root, roomId)).toStdString();
    std::string updated;
    bool replaced = false;
    std::string_view rest = registry;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        if (!line.empty()) {
            if (line.substr(0, line.find('\t')) == number) {
                if (!replaced) {
                    updated += entry;
                    updated += '\n';
                }
                replaced = true;
            } else {
                updated += line;
                updated += '\n';
            }
        }
        if (end == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(end + 1);
    }
    if (!replaced) {
        updated += entry;
        updated += '\n';
    }
    return writeWhole(path, updated) ? numberReply(200, 1) : numberReply(500, 0);
}

Reply OperatorServer::handleRequest(std::string_view method, std::string_view rawTarget) {
    std::string line(method);
    line += ' ';
    line += rawTarget;
    m_log.write(line);
    if (method != "GET" && method != "HEAD") {
        return Reply{405, {}};
    }
    if (hasControlBytes(rawTarget)) {
        return Reply{400, {}};
    }
    const RequestTarget target = parseTarget(rawTarget);
    const std::string& path = target.path;
    if (path.substr(0, kPcroom.size() + 1) == "/pcroom/") {
        return serveFile(path);
    }
    if (path == "/exist.jsp") {
        return existReply(value(target, "fn"));
    }
    if (path == "/getimage.jsp" || path == "/geticon.jsp") {
        return serveFile(value(target, "fn"));
    }
    if (path == "/is_file.jsp") {
        const std::string_view fn = value(target, "fn");
        if (!isSafeRelativePath(fn)) {
            return numberReply(403, 0);
        }
        return existReply(std::string(kPcroom) + std::string(fn));
    }
    if (path == "/getTitle.jsp") {
        return titleReply(value(target, "id"), value(target, "type"));
    }
    if (path == "/desktop_manager.jsp") {
        return registerDesktop(value(target, "id"), value(target, "type"), value(target, "fn"),
                               value(target, "width"), value(target, "height"),
                               value(target, "title"));
    }
    if (path == "/sync.jsp") {
        return numberReply(200, 1);
    }
    if (path == "/upload_file.jsp") {
        return Reply{405, {}};
    }
    return Reply{404, {}};
}

Reply OperatorServer::handlePost(std::string_view rawTarget, std::string_view contentType,
                                 std::string_view body) {
    std::string line = "POST ";
    line += rawTarget;
    if (parseTarget(rawTarget).path != "/upload_file.jsp" || hasControlBytes(rawTarget)) {
        m_log.write(line);
        return Reply{404, {}};
    }
    const auto upload = parseUpload(body, multipartBoundary(contentType));
    std::optional<QString> path;
    if (upload && isSafeRelativePath(upload->name) && acceptsRoom(upload->roomId)) {
        // Only inside the room's own folder: "room7" cannot replace "common/...", nor
        // the registry an earlier server kept there.
        const auto roomFolder = mapName(std::string(kPcroom) + upload->roomId);
        path = mapName(std::string(kPcroom) + upload->name);
        if (!roomFolder || !path || !path->startsWith(*roomFolder + u'/') ||
            path->compare(*roomFolder + QStringLiteral("/desktops.txt"), Qt::CaseInsensitive) ==
                0) {
            path.reset();
        }
    }
    if (!upload || !path) {
        m_log.write(line + " refused");
        return numberReply(upload ? 403 : 400, 0);
    }
    if (!writeWhole(*path, upload->content)) {
        m_log.write(line + " refused");
        return numberReply(500, 0);
    }
    m_log.write(line + ' ' + upload->name);
    return numberReply(200, 1);
}

void OperatorServer::attach(httplib::Server& server) {
    auto send = [](const Reply& reply, httplib::Response& res) {
        res.status = reply.status;
        res.set_content(reply.body, reply.contentType.c_str());
    };
    server.set_pre_routing_handler(
        [this, send](const httplib::Request& req, httplib::Response& res) {
            if (m_replyDelayMs > 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(m_replyDelayMs));
            }
            if (req.method == "POST") {
                if (req.is_multipart_form_data()) {
                    // The request object is the server's own, non-const one; only the
                    // routing hook sees it as const.
                    auto& request = const_cast<httplib::Request&>(req);
                    const std::string type = request.get_header_value("Content-Type");
                    request.headers.erase("Content-Type");
                    request.headers.emplace(kUploadTypeHeader, type);
                }
                return httplib::Server::HandlerResponse::Unhandled;
            }
            try {
                send(handleRequest(req.method, req.target), res);
            } catch (const std::exception&) {
                send(Reply{500, {}}, res);
            }
            return httplib::Server::HandlerResponse::Handled;
        });
    // The body is received into one string of its announced length; the upload's
    // file is a view into it, so a file is held in memory once.
    server.Post(R"([\s\S]*)", [this, send](const httplib::Request& req, httplib::Response& res,
                                           const httplib::ContentReader& content) {
        std::string body;
        const std::string length = req.get_header_value("Content-Length");
        char* end = nullptr;
        const unsigned long long announced = std::strtoull(length.c_str(), &end, 10);
        if (!length.empty() && *end == '\0' && announced <= kMaxRequestBodyBytes) {
            body.reserve(announced);
        }
        const bool received = content([&body](const char* data, std::size_t size) {
            body.append(data, size);
            return true;
        });
        if (!received) {
            if (res.status == -1) {
                res.status = 400;
            }
            return;  // too large (413), cut off or timed out
        }
        try {
            send(handlePost(req.target, req.get_header_value(kUploadTypeHeader), body), res);
        } catch (const std::exception&) {
            send(Reply{500, {}}, res);
        }
    });
}

}  // namespace vodirev::server
