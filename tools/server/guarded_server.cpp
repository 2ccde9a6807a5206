#include "guarded_server.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

namespace vodirev::server {

namespace {

int PollMs(std::chrono::steady_clock::duration wait) {
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(wait).count();
    return static_cast<int>(std::clamp<long long>(ms, 0, INT_MAX));
}

// Waits until the socket has the events or the time is up; true when it has them.
bool PollFor(socket_t sock, short events, std::chrono::steady_clock::duration wait) {
    for (;;) {
        pollfd pfd{sock, events, 0};
        const int ready = ::poll(&pfd, 1, PollMs(wait));
        if (ready < 0 && errno == EINTR) {
            continue;
        }
        return ready > 0;
    }
}

void AddressOf(socket_t sock, bool peer, std::string& ip, int& port) {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    sockaddr* raw = reinterpret_cast<sockaddr*>(&address);
    if ((peer ? ::getpeername(sock, raw, &length) : ::getsockname(sock, raw, &length)) != 0) {
        return;
    }
    char host[NI_MAXHOST];
    char service[NI_MAXSERV];
    if (::getnameinfo(raw, length, host, sizeof host, service, sizeof service,
                      NI_NUMERICHOST | NI_NUMERICSERV) == 0) {
        ip = host;
        port = std::atoi(service);
    }
}

}  // namespace

DeadlineSocketStream::DeadlineSocketStream(socket_t sock, const ConnectionLimits& limits,
                                           SteadyClock clock)
    : m_sock(sock), m_limits(limits), m_clock(std::move(clock)) {
    BeginRequest();
}

bool DeadlineSocketStream::WaitForRequest() {
    if (m_failed) {
        return false;
    }
    return m_begin < m_end || PollFor(m_sock, POLLIN, m_limits.keepAlive);
}

void DeadlineSocketStream::BeginRequest() {
    m_inBody = false;
    m_lineEmpty = false;
    m_bodyBytes = 0;
    m_headDeadline = m_clock() + m_limits.head;
}

std::chrono::steady_clock::time_point DeadlineSocketStream::Deadline() const {
    return m_inBody ? m_bodyDeadline : m_headDeadline;
}

bool DeadlineSocketStream::is_readable() const {
    if (m_begin < m_end) {
        return true;
    }
    const auto now = m_clock();
    return !m_failed && now < Deadline() && PollFor(m_sock, POLLIN, Deadline() - now);
}

bool DeadlineSocketStream::is_writable() const {
    return !m_failed && PollFor(m_sock, POLLOUT, m_limits.write);
}

// Receives into the empty buffer; false at the end of the stream, when the socket
// failed or when the current limit passed first.
bool DeadlineSocketStream::Fill() {
    while (!m_failed) {
        const auto now = m_clock();
        if (now >= Deadline()) {
            m_failed = true;
            break;
        }
        if (!PollFor(m_sock, POLLIN, Deadline() - now)) {
            continue;  // the clock decides whether the time is up
        }
        const ssize_t n = ::recv(m_sock, m_buffer, sizeof m_buffer, 0);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            m_closed = n == 0;
            m_failed = true;
            break;
        }
        m_begin = 0;
        m_end = static_cast<std::size_t>(n);
        return true;
    }
    return false;
}

// Follows the bytes handed out: the head ends at its first empty line, and each
// bodyProgressBytes of the body renew its deadline.
void DeadlineSocketStream::Account(const char* bytes, std::size_t size) {
    std::size_t i = 0;
    while (!m_inBody && i < size) {
        const char c = bytes[i++];
        if (c == '\n') {
            if (m_lineEmpty) {
                m_inBody = true;
                m_bodyBytes = 0;
                m_bodyDeadline = m_clock() + m_limits.bodyStall;
            }
            m_lineEmpty = true;
        } else if (c != '\r') {
            m_lineEmpty = false;
        }
    }
    if (m_inBody) {
        m_bodyBytes += size - i;
        if (m_bodyBytes >= m_limits.bodyProgressBytes) {
            m_bodyBytes = 0;
            m_bodyDeadline = m_clock() + m_limits.bodyStall;
        }
    }
}

ssize_t DeadlineSocketStream::read(char* ptr, size_t size) {
    if (m_begin == m_end) {
        if (!Fill()) {
            return m_closed ? 0 : -1;
        }
    }
    const std::size_t n = std::min(size, m_end - m_begin);
    std::memcpy(ptr, m_buffer + m_begin, n);
    m_begin += n;
    Account(ptr, n);
    return static_cast<ssize_t>(n);
}

ssize_t DeadlineSocketStream::write(const char* ptr, size_t size) {
    if (!is_writable()) {
        return -1;
    }
    for (;;) {
        const ssize_t n = ::send(m_sock, ptr, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        return n;
    }
}

void DeadlineSocketStream::get_remote_ip_and_port(std::string& ip, int& port) const {
    AddressOf(m_sock, true, ip, port);
}

void DeadlineSocketStream::get_local_ip_and_port(std::string& ip, int& port) const {
    AddressOf(m_sock, false, ip, port);
}

namespace {

// Workers made as connections come, up to a cap, and kept for the next: a few hundred
// idle or trickling clients each hold one worker while a new client still gets its own
// at once. A fixed pool let 64 of them stall everyone for their head deadlines.
class ElasticPool : public httplib::TaskQueue {
public:
    explicit ElasticPool(std::size_t cap) : m_cap(cap) {}
    ~ElasticPool() override { shutdown(); }

    void enqueue(std::function<void()> fn) override {
        std::unique_lock lock(m_mutex);
        m_jobs.push_back(std::move(fn));
        // Every queued job needs a waiting worker of its own, or a new one.
        if (m_jobs.size() > m_idle && m_threads.size() < m_cap) {
            m_threads.emplace_back([this] { Work(); });
        } else {
            m_ready.notify_one();
        }
    }

    void shutdown() override {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_ready.notify_all();
        for (std::thread& thread : m_threads) {
            if (thread.joinable()) {
                thread.join();
            }
        }
    }

private:
    void Work() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            ++m_idle;
            m_ready.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
            --m_idle;
            if (m_jobs.empty()) {
                return;  // stopping, nothing left
            }
            std::function<void()> job = std::move(m_jobs.front());
            m_jobs.pop_front();
            lock.unlock();
            job();
            lock.lock();
        }
    }

    const std::size_t m_cap;
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<std::function<void()>> m_jobs;
    std::vector<std::thread> m_threads;  // only grows, under m_mutex until shutdown
    std::size_t m_idle = 0;
    bool m_stopping = false;
};

}  // namespace

GuardedServer::GuardedServer(const ConnectionLimits& limits) : m_limits(limits) {
    const std::size_t workers = std::max<std::size_t>(1, limits.workers);
    new_task_queue = [workers] { return new ElasticPool(workers); };
    // SO_REUSEADDR lets a restarted server bind at once; without SO_REUSEPORT a
    // port another server listens on is refused instead of shared.
    set_socket_options([](socket_t sock) {
        int yes = 1;
        ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    });
}

int GuardedServer::Bind(const std::string& host, int port) {
    errno = 0;
    const int bound = port == 0 ? bind_to_any_port(host) : bind_to_port(host, port) ? port : -1;
    if (bound > 0) {
        ::listen(svr_sock_, SOMAXCONN);  // listening again only changes the queue length
    }
    return bound > 0 ? bound : -1;
}

bool GuardedServer::process_and_close_socket(socket_t sock) {
    bool ret = false;
    {
        DeadlineSocketStream stream(sock, m_limits);
        std::size_t count = keep_alive_max_count_;
        while (svr_sock_ != INVALID_SOCKET && count > 0 && stream.WaitForRequest()) {
            stream.BeginRequest();
            bool closed = false;
            ret = process_request(stream, count == 1, closed, nullptr);
            if (!ret || closed || stream.Failed()) {
                break;
            }
            --count;
        }
    }
    ::shutdown(sock, SHUT_RDWR);
    ::close(sock);
    return ret;
}

}  // namespace vodirev::server
