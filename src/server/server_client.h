#pragma once
// The HTTP client of the operator's server. Every operation is synchronous and
// sends its request target exactly as the bytes it is given (CP949, backslashes and
// all); only a space travels as %20, and a target holding CR, LF or another control
// byte is refused like a missing connection.

#include <QString>
#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vodirev {

// Host and port of the operator's server: "localhost":8080 unless the environment
// variable VERADA_SERVER names "host", "host:port" or "[v6-address]:port".
struct ServerAddress {
    std::string host = "localhost";
    int port = 8080;
};
ServerAddress ServerAddressFromEnvironment();

// The address as VERADA_SERVER would name it: "host:port", "[v6-address]:port".
std::string ServerAddressText(const ServerAddress& address);

// The agent string of every GET request: the application's name. Uploads name
// their own agent ("User-Agent: VADer").
inline constexpr const char* kAgentName = "VeradaVodirev";

// The multipart boundary token of every upload: 27 hyphens and "7d13a23b368".
inline constexpr std::string_view kUploadBoundary = "---------------------------7d13a23b368";

class CServerClient {
public:
    // Called for every protocol pause with its length; the default sleeps.
    using PauseFunction = std::function<void(int milliseconds)>;

    CServerClient();
    ~CServerClient();
    CServerClient(const CServerClient&) = delete;
    CServerClient& operator=(const CServerClient&) = delete;

    // Prepares the connection to the server; clears m_bError (and TransportFailed),
    // sets m_bError when no connection object could be made. Sends nothing: the
    // first request opens the connection, later ones reuse it while the server keeps
    // it alive. The server address is read from the environment here unless
    // SetServerAddress chose one.
    void Connect();

    // GET path, body saved to localFile (written to localFile + ".download" and
    // renamed on success; an error status or a broken transfer leaves localFile as it
    // was). Nothing is sent when the file cannot be created.
    // 0 = saved, -1 = not done.
    int DownloadFile(std::string_view path, const QString& localFile);

    // 100 ms pause, GET path; the number at the start of the reply (CR/LF dropped,
    // at most 1023 bytes kept), -1 when it does not start with a digit or nothing
    // could be asked.
    int QueryNumber(std::string_view path);

    // 100 ms pause, GET path; the reply (CR/LF dropped, lines joined) cut to
    // bufferSize - 1 bytes into buffer. 0, or -1 with buffer untouched.
    int QueryText(std::string_view path, std::string& buffer, std::size_t bufferSize = 1024);

    // 100 ms pause, then POST the multipart body to uploadPath. 0 = sent and reply
    // read, -1 = local file unreadable, no connection, or sending failed. A failure
    // while sending (a reset, no reply) fails this upload only; a server that cannot
    // be reached at all is a transport failure like any other.
    int UploadFile(const std::string& localPath, std::string_view remoteName,
                   std::string_view uploadPath, std::string_view roomId);

    // True once a request failed in transport (server down, reset, time-out). It also
    // sets m_bError, so later operations return -1 at once, as with no connection.
    // A request is sent once: one that dies on a kept-alive connection is not sent
    // again on a new one.
    bool TransportFailed() const { return m_bTransportFailed; }

    // HTTP status of the last answered request; 0 when the last operation got no
    // answer (nothing sent, or a transport failure).
    int LastStatus() const { return m_nLastStatus; }

    // The write sizes the last upload's body was planned in: 1000-byte writes while
    // at least 1000 bytes remain, then the remainder (0 when nothing remains).
    const std::vector<std::size_t>& LastUploadWrites() const { return m_lastUploadWrites; }

    // Replaces the pauses (tests shorten or record them); a null function sleeps.
    void SetPauseFunction(PauseFunction pause);

    // Chooses the server instead of the environment's; takes effect at Connect.
    void SetServerAddress(const ServerAddress& address);
    // A flag another thread may raise to give up waiting: the request under way and
    // every later one fail as when the server goes away. Null: never given up.
    void SetCancelFlag(const std::atomic<bool>* cancel);

    bool m_bError = true;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    bool m_bTransportFailed = false;
    int m_nLastStatus = 0;
    std::vector<std::size_t> m_lastUploadWrites;

    void Pause(int milliseconds);
    void NoteTransportFailure();
    bool ReadShortReply(std::string_view path, std::string& text);
};

}  // namespace vodirev
