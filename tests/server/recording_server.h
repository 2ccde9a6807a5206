#pragma once
// A bare HTTP/1.1 server on 127.0.0.1 for byte-level client tests: it records every
// request exactly as it arrived (request line, headers, body) and answers with a
// canned reply. Connections are kept alive.

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vodirev::test {

class RecordingServer {
public:
    RecordingServer();
    ~RecordingServer();
    RecordingServer(const RecordingServer&) = delete;
    RecordingServer& operator=(const RecordingServer&) = delete;

    int port() const { return m_port; }

    // The answer to every following request: status and body with a Content-Length.
    void setReply(int status, std::string body);
    // Exact bytes to answer with, after which the connection is closed (broken or
    // odd answers).
    void setRawReply(std::string bytes);

    // Requests for which drop returns true are recorded and then answered with
    // nothing: the connection is reset (a server that breaks off one request).
    void setDropWhen(std::function<bool(const std::string& request)> drop);

    // Every request so far, each as its raw bytes, in order.
    std::vector<std::string> requests() const;
    // How many connections the clients opened.
    int connections() const { return m_connections; }

private:
    void acceptLoop();
    void serve(int socket);

    int m_listen = -1;
    int m_port = 0;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_connections{0};
    mutable std::mutex m_mutex;
    std::string m_reply;
    bool m_closeAfterReply = false;
    std::function<bool(const std::string&)> m_drop;
    std::vector<std::string> m_requests;
    std::vector<int> m_sockets;
    std::vector<std::thread> m_threads;
    std::thread m_acceptThread;
};

// Sends bytes to 127.0.0.1:port on a fresh connection and returns everything the
// server answered until it closed the connection or stayed silent for a second.
std::string RawExchange(int port, const std::string& request);

// The status code of a raw HTTP answer, 0 when there is none.
int StatusOf(const std::string& answer);

// A port on 127.0.0.1 where nothing listens (bound, then released).
int UnusedPort();

}  // namespace vodirev::test
