// vodirev-server --root DIR [--host 127.0.0.1] [--port 8080] [--log FILE] [--rooms ID,ID...]
//                [--delay MS]
//
// --delay answers every request MS milliseconds late: a slow server for trying the
// editor's progress displays.
// Uploads and desktop registrations are taken for the rooms named by --rooms, by
// default for the rooms that have a folder under DIR/pcroom (never for "common").
// The operator's server for the editor: DIR holds pcroom/common/... and
// pcroom/ROOM/.... Prints "listening on HOST:PORT" as its first line (port 0 picks a
// free port), then one line per request.

#include "guarded_server.h"
#include "operator_server.h"

#include <httplib.h>

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void usage() {
    std::fputs(
        "usage: vodirev-server --root DIR [--host 127.0.0.1] [--port 8080] [--log FILE]\n"
        "                      [--rooms ID,ID...] [--delay MS]\n",
        stderr);
}

bool parseNumber(const char* text, int& number) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || value < 0 || value > 65535) {
        return false;
    }
    number = static_cast<int>(value);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::string root;
    std::string host = "127.0.0.1";
    std::string logPath;
    QStringList rooms;
    int port = 8080;
    int delayMs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            usage();
            return 0;
        }
        if (i + 1 >= argc) {
            usage();
            return 2;
        }
        const char* value = argv[++i];
        if (option == "--root") {
            root = value;
        } else if (option == "--host") {
            host = value;
        } else if (option == "--port") {
            if (!parseNumber(value, port)) {
                std::fprintf(stderr, "vodirev-server: bad port: %s\n", value);
                return 2;
            }
        } else if (option == "--log") {
            logPath = value;
        } else if (option == "--delay") {
            if (!parseNumber(value, delayMs)) {
                std::fprintf(stderr, "vodirev-server: bad delay: %s\n", value);
                return 2;
            }
        } else if (option == "--rooms") {
            rooms = QString::fromLocal8Bit(value).split(u',', Qt::SkipEmptyParts);
        } else {
            usage();
            return 2;
        }
    }
    if (root.empty()) {
        usage();
        return 2;
    }
    const QString rootDir = QString::fromLocal8Bit(root);
    if (!QFileInfo(rootDir).isDir()) {
        std::fprintf(stderr, "vodirev-server: no such folder: %s\n", root.c_str());
        return 2;
    }
    QDir(rootDir).mkpath(QStringLiteral("pcroom/common"));

    std::FILE* logFile = nullptr;
    if (!logPath.empty()) {
        logFile = std::fopen(logPath.c_str(), "ab");
        if (logFile == nullptr) {
            std::fprintf(stderr, "vodirev-server: cannot open log %s: %s\n", logPath.c_str(),
                         std::strerror(errno));
            return 2;
        }
    }
    // A client that hangs up mid-answer must not end the server.
    std::signal(SIGPIPE, SIG_IGN);

    vodirev::server::RequestLog log(logFile);
    vodirev::server::OperatorServer handler(rootDir, log, rooms);
    // Slow and idle clients get a few seconds (see ConnectionLimits), and enough
    // workers serve at once that a handful of them cannot starve the rest.
    vodirev::server::GuardedServer server;
    server.set_tcp_nodelay(true);
    server.set_keep_alive_max_count(1000);
    server.set_payload_max_length(vodirev::server::kMaxRequestBodyBytes);
    handler.setReplyDelay(delayMs);
    handler.attach(server);

    const int bound = server.Bind(host, port);
    if (bound <= 0) {
        if (errno == EADDRINUSE) {
            std::fprintf(stderr,
                         "vodirev-server: port %d on %s is already in use (is another server "
                         "running?)\n",
                         port, host.c_str());
        } else {
            std::fprintf(stderr, "vodirev-server: cannot listen on %s:%d\n", host.c_str(), port);
        }
        return 1;
    }
    std::printf("listening on %s:%d\n", host.c_str(), bound);
    std::fflush(stdout);
    const bool ok = server.listen_after_bind();
    if (logFile != nullptr) {
        std::fclose(logFile);
    }
    return ok ? 0 : 1;
}
