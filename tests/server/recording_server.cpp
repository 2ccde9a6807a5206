#include "server/recording_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace vodirev::test {

namespace {

int listenOnLoopback(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) {
        return -1;
    }
    const int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    socklen_t len = sizeof addr;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 || ::listen(fd, 16) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&addr), &len) != 0) {
        ::close(fd);
        return -1;
    }
    port = ntohs(addr.sin_port);
    return fd;
}

bool sendAll(int fd, const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return false;
        }
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

std::size_t contentLength(const std::string& head) {
    std::string lower = head;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const std::size_t pos = lower.find("\r\ncontent-length:");
    if (pos == std::string::npos) {
        return 0;
    }
    return static_cast<std::size_t>(std::strtoul(head.c_str() + pos + 17, nullptr, 10));
}

std::string cannedReply(int status, const std::string& body) {
    return "HTTP/1.1 " + std::to_string(status) +
           " X\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

}  // namespace

RecordingServer::RecordingServer() : m_reply(cannedReply(200, "")) {
    m_listen = listenOnLoopback(m_port);
    if (m_listen >= 0) {
        m_acceptThread = std::thread([this] { acceptLoop(); });
    }
}

RecordingServer::~RecordingServer() {
    m_stopping = true;
    if (m_listen >= 0) {
        ::shutdown(m_listen, SHUT_RDWR);
    }
    if (m_acceptThread.joinable()) {
        m_acceptThread.join();
    }
    {
        std::lock_guard lock(m_mutex);
        for (const int fd : m_sockets) {
            ::shutdown(fd, SHUT_RDWR);
        }
    }
    for (auto& thread : m_threads) {
        thread.join();
    }
    for (const int fd : m_sockets) {
        ::close(fd);
    }
    if (m_listen >= 0) {
        ::close(m_listen);
    }
}

void RecordingServer::setReply(int status, std::string body) {
    std::lock_guard lock(m_mutex);
    m_reply = cannedReply(status, body);
    m_closeAfterReply = false;
}

void RecordingServer::setRawReply(std::string bytes) {
    std::lock_guard lock(m_mutex);
    m_reply = std::move(bytes);
    m_closeAfterReply = true;
}

void RecordingServer::setDropWhen(std::function<bool(const std::string&)> drop) {
    std::lock_guard lock(m_mutex);
    m_drop = std::move(drop);
}

std::vector<std::string> RecordingServer::requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

void RecordingServer::acceptLoop() {
    while (!m_stopping) {
        pollfd pfd{m_listen, POLLIN, 0};
        if (::poll(&pfd, 1, 100) <= 0) {
            continue;
        }
        const int fd = ::accept(m_listen, nullptr, nullptr);
        if (fd < 0) {
            continue;
        }
        ++m_connections;
        std::lock_guard lock(m_mutex);
        m_sockets.push_back(fd);
        m_threads.emplace_back([this, fd] { serve(fd); });
    }
}

void RecordingServer::serve(int fd) {
    std::string buffer;
    char chunk[65536];
    for (;;) {
        std::size_t headEnd;
        while ((headEnd = buffer.find("\r\n\r\n")) == std::string::npos) {
            const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n <= 0) {
                return;  // the socket is closed by the destructor
            }
            buffer.append(chunk, static_cast<std::size_t>(n));
        }
        const std::size_t total = headEnd + 4 + contentLength(buffer.substr(0, headEnd + 2));
        while (buffer.size() < total) {
            const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n <= 0) {
                return;
            }
            buffer.append(chunk, static_cast<std::size_t>(n));
        }
        std::string reply;
        bool close;
        bool drop;
        {
            std::lock_guard lock(m_mutex);
            m_requests.push_back(buffer.substr(0, total));
            reply = m_reply;
            close = m_closeAfterReply;
            drop = m_drop && m_drop(m_requests.back());
        }
        if (drop) {
            // No linger: the close sends a reset instead of an orderly end.
            const linger reset{1, 0};
            ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
            ::shutdown(fd, SHUT_RDWR);
            return;
        }
        buffer.erase(0, total);
        if (!sendAll(fd, reply) || close) {
            ::shutdown(fd, SHUT_RDWR);
            return;
        }
    }
}

std::string RawExchange(int port, const std::string& request) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) {
        return {};
    }
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = htons(static_cast<uint16_t>(port));
    std::string answer;
    if (::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
        sendAll(fd, request)) {
        char chunk[65536];
        for (;;) {
            pollfd pfd{fd, POLLIN, 0};
            if (::poll(&pfd, 1, 1000) <= 0) {
                break;
            }
            const ssize_t n = ::recv(fd, chunk, sizeof chunk, 0);
            if (n <= 0) {
                break;
            }
            answer.append(chunk, static_cast<std::size_t>(n));
        }
    }
    ::close(fd);
    return answer;
}

int StatusOf(const std::string& answer) {
    if (answer.compare(0, 9, "HTTP/1.1 ") != 0 && answer.compare(0, 9, "HTTP/1.0 ") != 0) {
        return 0;
    }
    return std::atoi(answer.c_str() + 9);
}

int UnusedPort() {
    int port = 0;
    const int fd = listenOnLoopback(port);
    if (fd >= 0) {
        ::close(fd);
    }
    return port;
}

}  // namespace vodirev::test
