// The time limits of a connection, on a socket pair with a clock the test moves:
// nothing here waits for real time.

#include "guarded_server.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <string>

namespace vodirev::server {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

class ConnectionLimitsTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, m_fds), 0); }
    void TearDown() override {
        ::close(m_fds[0]);
        ::close(m_fds[1]);
    }

    DeadlineSocketStream stream() {
        return DeadlineSocketStream(m_fds[0], ConnectionLimits{}, [this] { return m_now; });
    }
    void send(const std::string& bytes) {
        ASSERT_EQ(::write(m_fds[1], bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    // Reads what was sent; false when the stream refused.
    bool receive(DeadlineSocketStream& s, std::size_t bytes) {
        char buffer[4096];
        while (bytes > 0) {
            const ssize_t n = s.read(buffer, std::min(bytes, sizeof buffer));
            if (n <= 0) {
                return false;
            }
            bytes -= std::size_t(n);
        }
        return true;
    }

    int m_fds[2] = {-1, -1};
    Clock::time_point m_now{};
};

// Five seconds for the whole head, however it trickles in.
TEST_F(ConnectionLimitsTest, AHeadTricklingInIsCutAfterItsTime) {
    DeadlineSocketStream s = stream();
    send("G");
    EXPECT_TRUE(receive(s, 1));
    m_now += 3s;
    send("E");
    EXPECT_TRUE(receive(s, 1));
    m_now += 3s;
    send("T");
    EXPECT_FALSE(receive(s, 1));
    EXPECT_TRUE(s.Failed());
    EXPECT_FALSE(s.WaitForRequest());
}

// A body must keep bringing 16 KB every five seconds: the editor's paced upload
// does, a trickle does not.
TEST_F(ConnectionLimitsTest, ABodyMustKeepMoving) {
    const std::string head = "POST /upload_file.jsp HTTP/1.1\r\nContent-Length: 999999\r\n\r\n";
    DeadlineSocketStream paced = stream();
    send(head);
    EXPECT_TRUE(receive(paced, head.size()));
    for (int i = 0; i < 10; ++i) {  // 40 s in all, past the head's time
        m_now += 4s;
        send(std::string(16 * 1024, 'x'));
        EXPECT_TRUE(receive(paced, 16 * 1024)) << i;
    }
    EXPECT_FALSE(paced.Failed());

    // The next request on the connection has its own five seconds for its head.
    m_now += 100s;
    paced.BeginRequest();
    send(head);
    EXPECT_TRUE(receive(paced, head.size()));
    m_now += 4s;
    send(std::string(1024, 'x'));
    EXPECT_TRUE(receive(paced, 1024));
    m_now += 2s;
    send(std::string(1024, 'x'));
    EXPECT_FALSE(receive(paced, 1024));
    EXPECT_TRUE(paced.Failed());
}

}  // namespace
}  // namespace vodirev::server
