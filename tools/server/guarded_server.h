#pragma once
// The HTTP server under the operator server, with time limits that slow or idle
// clients cannot stretch: cpp-httplib's own socket loop waits up to its read
// time-out for every single byte, so a client sending one byte every few seconds
// holds a worker for ever, and a handful of idle connections held all of them.

#include <httplib.h>

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>

namespace vodirev::server {

struct ConnectionLimits {
    // The whole request head (request line and headers) must arrive in this time.
    std::chrono::milliseconds head{5000};
    // A body must bring bodyProgressBytes (or its end) in every such period. The
    // editor sends 100 KB a second.
    std::chrono::milliseconds bodyStall{5000};
    std::size_t bodyProgressBytes = 16 * 1024;
    // How long a connection may wait idle for its first or next request.
    std::chrono::milliseconds keepAlive{5000};
    // How long one write of the answer may wait for the client to take it.
    std::chrono::milliseconds write{5000};
    // Connections served at the same time, each by a worker made when needed; more
    // wait for a worker. Kept under the usual limit of 1024 open files.
    std::size_t workers = 768;
};

using SteadyClock = std::function<std::chrono::steady_clock::time_point()>;

// One connection's socket as httplib reads and writes it: reading fails once the
// head or the body is past its limit.
class DeadlineSocketStream : public httplib::Stream {
public:
    DeadlineSocketStream(socket_t sock, const ConnectionLimits& limits,
                         SteadyClock clock = &std::chrono::steady_clock::now);

    // Waits up to the keep-alive time for the next request to begin; false when
    // none comes (or the stream has failed).
    bool WaitForRequest();
    // Starts the limits of a new request: its head is due from now.
    void BeginRequest();
    // True once a limit was passed or the socket failed: the connection ends.
    bool Failed() const { return m_failed; }

    bool is_readable() const override;
    bool is_writable() const override;
    ssize_t read(char* ptr, size_t size) override;
    ssize_t write(const char* ptr, size_t size) override;
    void get_remote_ip_and_port(std::string& ip, int& port) const override;
    void get_local_ip_and_port(std::string& ip, int& port) const override;
    socket_t socket() const override { return m_sock; }

private:
    bool Fill();
    void Account(const char* bytes, std::size_t size);
    std::chrono::steady_clock::time_point Deadline() const;

    socket_t m_sock;
    ConnectionLimits m_limits;
    SteadyClock m_clock;
    char m_buffer[16 * 1024];
    std::size_t m_begin = 0;
    std::size_t m_end = 0;
    bool m_failed = false;
    bool m_closed = false;  // the client ended the stream
    bool m_inBody = false;
    bool m_lineEmpty = false;  // the head so far ends with a line break
    std::chrono::steady_clock::time_point m_headDeadline;
    std::chrono::steady_clock::time_point m_bodyDeadline;
    std::size_t m_bodyBytes = 0;  // since the body deadline was last renewed
};

// httplib's server with each connection served through a DeadlineSocketStream, as
// many workers as the limits say, and a listening socket that refuses a port
// another server already listens on (httplib's default shares it).
class GuardedServer : public httplib::Server {
public:
    explicit GuardedServer(const ConnectionLimits& limits = {});

    // Binds to host:port (port 0: any free port) and returns the port, or -1 with
    // errno telling why. The queue of connections not yet accepted is made long
    // (httplib's holds 5): a burst of clients is not turned away to retry later.
    int Bind(const std::string& host, int port);

private:
    bool process_and_close_socket(socket_t sock) override;

    ConnectionLimits m_limits;
};

}  // namespace vodirev::server
