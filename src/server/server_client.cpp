#include "server/server_client.h"

#include "base/paths.h"
#include "base/regular_file.h"
#include "base/text.h"

#include <curl/curl.h>

#include <QFile>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>

namespace vodirev {

namespace {

constexpr long kConnectTimeoutMs = 3000;
// A server that sends nothing for this long is treated as gone, so a stalled
// server cannot hold the editor's window for more than about ten seconds.
constexpr long kStallSeconds = 10;
constexpr std::size_t kShortReplySize = 1024;
constexpr std::size_t kUploadWrite = 1000;
constexpr int kQueryPauseMs = 100;
constexpr int kWritePauseMs = 10;

std::optional<int> parsePort(std::string_view text) {
    if (text.empty() || text.size() > 5) {
        return std::nullopt;
    }
    int port = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        port = port * 10 + (c - '0');
    }
    if (port < 1 || port > 65535) {
        return std::nullopt;
    }
    return port;
}

// The request target as it goes on the wire: a leading '/' added when missing, a
// space as %20. Bytes that would break the request line refuse the request.
std::optional<std::string> wireTarget(std::string_view path) {
    std::string target;
    target.reserve(path.size() + 8);
    if (path.empty() || path.front() != '/') {
        target.push_back('/');
    }
    for (const char c : path) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            return std::nullopt;
        }
        if (c == ' ') {
            target += "%20";
        } else {
            target.push_back(c);
        }
    }
    return target;
}

// Loopback is always reached directly, whatever proxy the environment names.
std::string noProxyList() {
    std::string list = "localhost,127.0.0.1,::1";
    for (const char* name : {"no_proxy", "NO_PROXY"}) {
        if (const char* value = std::getenv(name); value != nullptr && *value != '\0') {
            list += ',';
            list += value;
            break;
        }
    }
    return list;
}

// A list that only removes curl's default "Accept: */*": GET requests carry no
// accept list and no other extra header.
curl_slist* getHeaders() {
    return curl_slist_append(nullptr, "Accept:");
}

size_t discardBody(char*, size_t size, size_t count, void*) {
    return size * count;
}

struct ShortReply {
    std::string text;
};

// Every byte except CR and LF is kept, up to one byte past the reply buffer so the
// cut can tell whether the last kept character is whole.
size_t collectShortReply(char* data, size_t size, size_t count, void* user) {
    auto* reply = static_cast<ShortReply*>(user);
    const size_t total = size * count;
    for (size_t i = 0; i < total && reply->text.size() < kShortReplySize; ++i) {
        if (data[i] != '\r' && data[i] != '\n') {
            reply->text.push_back(data[i]);
        }
    }
    return total;
}

struct DownloadTarget {
    CURL* curl = nullptr;
    QFile* file = nullptr;
    bool errorStatus = false;
    bool writeFailed = false;
};

size_t writeDownload(char* data, size_t size, size_t count, void* user) {
    auto* target = static_cast<DownloadTarget*>(user);
    const size_t total = size * count;
    long status = 0;
    curl_easy_getinfo(target->curl, CURLINFO_RESPONSE_CODE, &status);
    if (status >= 400) {
        // Read the error page to its end so the connection stays usable.
        target->errorStatus = true;
        return total;
    }
    if (target->file->write(data, static_cast<qint64>(total)) != static_cast<qint64>(total)) {
        target->writeFailed = true;
        return 0;  // aborts the transfer with CURLE_WRITE_ERROR
    }
    return total;
}

struct UploadBody {
    const std::string* bytes = nullptr;
    const std::vector<std::size_t>* writes = nullptr;
    std::size_t index = 0;      // the planned write being handed out
    std::size_t handedOut = 0;  // bytes of that write already given to curl
    std::size_t offset = 0;     // bytes of the body given to curl
    const std::function<void(int)>* pause = nullptr;
};

// Hands curl one planned write at a time, pausing after every full 1000-byte write
// before the next one. The final zero-length write is the end of the body.
size_t readUploadBody(char* buffer, size_t size, size_t count, void* user) {
    auto* body = static_cast<UploadBody*>(user);
    const size_t room = size * count;
    const auto& writes = *body->writes;
    if (body->index >= writes.size()) {
        return 0;
    }
    if (body->handedOut == 0 && body->index > 0 && writes[body->index - 1] == kUploadWrite) {
        (*body->pause)(kWritePauseMs);
    }
    const size_t n = std::min(room, writes[body->index] - body->handedOut);
    std::memcpy(buffer, body->bytes->data() + body->offset, n);
    body->offset += n;
    body->handedOut += n;
    if (body->handedOut == writes[body->index]) {
        ++body->index;
        body->handedOut = 0;
    }
    return n;
}

// Called once the connection is up, right before the request goes out. libcurl
// sends a request again on a fresh connection when a kept-alive one died before
// answering; the protocol sends each request once, so a second send is refused.
int allowOneSend(void* user, char*, char*, int, int) {
    auto* sends = static_cast<int*>(user);
    return ++*sends > 1 ? CURL_PREREQFUNC_ABORT : CURL_PREREQFUNC_OK;
}

}  // namespace

std::string ServerAddressText(const ServerAddress& address) {
    const std::string port = ":" + std::to_string(address.port);
    return address.host.find(':') != std::string::npos ? "[" + address.host + "]" + port
                                                       : address.host + port;
}

ServerAddress ServerAddressFromEnvironment() {
    ServerAddress address;
    const char* value = std::getenv("VERADA_SERVER");
    if (value == nullptr) {
        return address;
    }
    const std::string_view text = trimWhite(value);
    if (text.empty()) {
        return address;
    }
    std::string_view host = text;
    std::string_view port;
    if (text.front() == '[') {
        const std::size_t close = text.find(']');
        if (close == std::string_view::npos) {
            return address;
        }
        host = text.substr(1, close - 1);
        if (close + 1 < text.size()) {
            if (text[close + 1] != ':') {
                return address;
            }
            port = text.substr(close + 2);
        }
    } else if (const std::size_t colon = text.find(':'); colon != std::string_view::npos) {
        if (text.find(':', colon + 1) != std::string_view::npos) {
            // A bare IPv6 address: no port given.
            address.host = std::string(text);
            return address;
        }
        host = text.substr(0, colon);
        port = text.substr(colon + 1);
    }
    if (host.empty()) {
        return address;
    }
    address.host = std::string(host);
    if (!port.empty()) {
        if (const auto number = parsePort(port)) {
            address.port = *number;
        }
    }
    return address;
}

// Called by curl while a transfer runs (and at least once a second when it idles):
// a raised flag aborts it.
static int abortWhenCancelled(void* cancel, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
    return static_cast<const std::atomic<bool>*>(cancel)->load() ? 1 : 0;
}

struct CServerClient::Impl {
    CURL* curl = nullptr;
    std::optional<ServerAddress> chosenAddress;
    std::string baseUrl;
    std::string noProxy;
    PauseFunction pause;
    const std::atomic<bool>* cancel = nullptr;
    int sends = 0;  // sends of the request of the moment
    char errorText[CURL_ERROR_SIZE] = {};

    ~Impl() {
        if (curl != nullptr) {
            curl_easy_cleanup(curl);
        }
    }

    // The settings every request shares. curl_easy_reset keeps the open connection.
    void prepare(const std::string& target, curl_slist* headers) {
        curl_easy_reset(curl);
        curl_easy_setopt(curl, CURLOPT_URL, baseUrl.c_str());
        curl_easy_setopt(curl, CURLOPT_REQUEST_TARGET, target.c_str());
        curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, CURL_HTTP_VERSION_1_1);
        curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, kStallSeconds);
        curl_easy_setopt(curl, CURLOPT_NOPROXY, noProxy.c_str());
        curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
        curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
        curl_easy_setopt(curl, CURLOPT_USERAGENT, kAgentName);
        sends = 0;
        curl_easy_setopt(curl, CURLOPT_PREREQFUNCTION, allowOneSend);
        curl_easy_setopt(curl, CURLOPT_PREREQDATA, &sends);
        if (cancel != nullptr) {
            curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
            curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, abortWhenCancelled);
            curl_easy_setopt(curl, CURLOPT_XFERINFODATA, cancel);
        }
        errorText[0] = '\0';
    }
};

CServerClient::CServerClient() : m_impl(std::make_unique<Impl>()) {}

CServerClient::~CServerClient() = default;

void CServerClient::SetPauseFunction(PauseFunction pause) {
    m_impl->pause = std::move(pause);
}

void CServerClient::SetServerAddress(const ServerAddress& address) {
    m_impl->chosenAddress = address;
}

void CServerClient::SetCancelFlag(const std::atomic<bool>* cancel) {
    m_impl->cancel = cancel;
}

void CServerClient::Pause(int milliseconds) {
    if (m_impl->pause) {
        m_impl->pause(milliseconds);
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
}

void CServerClient::NoteTransportFailure() {
    m_bTransportFailed = true;
    m_bError = true;
}

void CServerClient::Connect() {
    m_bError = false;
    m_bTransportFailed = false;
    const ServerAddress address = m_impl->chosenAddress.value_or(ServerAddressFromEnvironment());
    const bool v6 = address.host.find(':') != std::string::npos;
    m_impl->baseUrl = "http://" + (v6 ? "[" + address.host + "]" : address.host) + ":" +
                      std::to_string(address.port) + "/";
    m_impl->noProxy = noProxyList();
    if (m_impl->curl == nullptr) {
        m_impl->curl = curl_easy_init();
    }
    if (m_impl->curl == nullptr) {
        m_bError = true;
    }
}

int CServerClient::DownloadFile(std::string_view path, const QString& localFile) {
    m_nLastStatus = 0;
    if (m_bError) {
        return -1;
    }
    const auto target = wireTarget(path);
    if (!target) {
        return -1;
    }
    // The body goes to a temporary file beside the local one and replaces it only
    // when the whole answer arrived without an error status. No sync to disk: these
    // are copies of the server's files, and a start-up fetches hundreds of them.
    const QString tempName = localFile + QStringLiteral(".download");
    QFile file(tempName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return -1;
    }
    curl_slist* headers = getHeaders();
    m_impl->prepare(*target, headers);
    DownloadTarget sink{m_impl->curl, &file};
    curl_easy_setopt(m_impl->curl, CURLOPT_WRITEFUNCTION, writeDownload);
    curl_easy_setopt(m_impl->curl, CURLOPT_WRITEDATA, &sink);
    const CURLcode code = curl_easy_perform(m_impl->curl);
    curl_slist_free_all(headers);
    long status = 0;
    curl_easy_getinfo(m_impl->curl, CURLINFO_RESPONSE_CODE, &status);
    const bool written = file.flush() && !sink.writeFailed;
    file.close();
    if (code != CURLE_OK) {
        file.remove();
        if (!sink.writeFailed) {
            NoteTransportFailure();
        } else {
            m_nLastStatus = static_cast<int>(status);
        }
        return -1;
    }
    m_nLastStatus = static_cast<int>(status);
    if (status >= 400 || sink.errorStatus || !written ||
        std::rename(QFile::encodeName(tempName).constData(),
                    QFile::encodeName(localFile).constData()) != 0) {
        file.remove();
        return -1;
    }
    return 0;
}

bool CServerClient::ReadShortReply(std::string_view path, std::string& text) {
    const auto target = wireTarget(path);
    if (!target) {
        return false;
    }
    curl_slist* headers = getHeaders();
    m_impl->prepare(*target, headers);
    ShortReply reply;
    curl_easy_setopt(m_impl->curl, CURLOPT_WRITEFUNCTION, collectShortReply);
    curl_easy_setopt(m_impl->curl, CURLOPT_WRITEDATA, &reply);
    const CURLcode code = curl_easy_perform(m_impl->curl);
    curl_slist_free_all(headers);
    if (code != CURLE_OK) {
        NoteTransportFailure();
        return false;
    }
    long status = 0;
    curl_easy_getinfo(m_impl->curl, CURLINFO_RESPONSE_CODE, &status);
    m_nLastStatus = static_cast<int>(status);
    // The reply buffer is a C string of 1024 bytes: it ends at a NUL byte or after
    // 1023 bytes, never inside a two-byte character.
    const std::size_t nul = reply.text.find('\0');
    if (nul != std::string::npos) {
        reply.text.resize(nul);
    }
    text = cutCp949(reply.text, kShortReplySize - 1);
    return true;
}

int CServerClient::QueryNumber(std::string_view path) {
    m_nLastStatus = 0;
    if (m_bError) {
        return -1;
    }
    Pause(kQueryPauseMs);
    std::string text;
    if (!ReadShortReply(path, text)) {
        return -1;
    }
    if (text.empty() || text[0] < '0' || text[0] > '9') {
        return -1;
    }
    return leadingInt(text);
}

int CServerClient::QueryText(std::string_view path, std::string& buffer, std::size_t bufferSize) {
    m_nLastStatus = 0;
    if (m_bError) {
        return -1;
    }
    Pause(kQueryPauseMs);
    std::string text;
    if (!ReadShortReply(path, text)) {
        return -1;
    }
    buffer = bufferSize == 0 ? std::string() : cutCp949(text, bufferSize - 1);
    return 0;
}

int CServerClient::UploadFile(const std::string& localPath, std::string_view remoteName,
                              std::string_view uploadPath, std::string_view roomId) {
    m_nLastStatus = 0;
    Pause(kQueryPauseMs);
    if (m_bError) {
        return -1;
    }
    // Only a regular file is sent: a FIFO or device in the room would block or never end.
    const std::unique_ptr<QFile> file = vodirev::OpenRegularFile(vodirev::localPath(localPath));
    if (!file) {
        return -1;
    }
    const QByteArray content = file->readAll();
    file->close();
    const auto target = wireTarget(uploadPath);
    if (!target) {
        return -1;
    }

    const std::string delimiter = "--" + std::string(kUploadBoundary) + "\r\n";
    std::string body;
    body.reserve(static_cast<std::size_t>(content.size()) + 512);
    body += delimiter;
    body += "Content-Disposition: form-data; name=\"id\"; value=\"";
    body += roomId;
    body += "\";\r\n";
    body += delimiter;
    body += "Content-Disposition: form-data; name=\"";
    body += remoteName;
    body += "\"; filename=\"";
    body += localPath;
    body += "\"\r\nContent-Type: application/octet-stream\r\n\r\n";
    body.append(content.constData(), static_cast<std::size_t>(content.size()));
    body += "\r\n\r\n--";
    body += kUploadBoundary;
    body += "--\r\n";

    m_lastUploadWrites.clear();
    std::size_t remaining = body.size();
    while (remaining >= kUploadWrite) {
        m_lastUploadWrites.push_back(kUploadWrite);
        remaining -= kUploadWrite;
    }
    m_lastUploadWrites.push_back(remaining);

    const std::string contentLength = "Content-Length: " + std::to_string(body.size());
    const std::string contentType =
        "Content-Type: multipart/form-data; boundary=" + std::string(kUploadBoundary);
    curl_slist* headers = nullptr;
    headers = curl_slist_append(headers, "Accept: text/*");
    headers = curl_slist_append(headers, contentType.c_str());
    headers = curl_slist_append(headers, "User-Agent: VADer");
    headers = curl_slist_append(headers, contentLength.c_str());
    // The length is announced above and the body handed out write by write until
    // the final (possibly empty) one ends it: no chunked encoding, no 100-continue.
    headers = curl_slist_append(headers, "Transfer-Encoding:");
    headers = curl_slist_append(headers, "Expect:");

    m_impl->prepare(*target, headers);
    std::function<void(int)> pause = [this](int ms) { Pause(ms); };
    UploadBody source{&body, &m_lastUploadWrites, 0, 0, 0, &pause};
    curl_easy_setopt(m_impl->curl, CURLOPT_POST, 1L);
    curl_easy_setopt(m_impl->curl, CURLOPT_READFUNCTION, readUploadBody);
    curl_easy_setopt(m_impl->curl, CURLOPT_READDATA, &source);
    curl_easy_setopt(m_impl->curl, CURLOPT_WRITEFUNCTION, discardBody);
    const CURLcode code = curl_easy_perform(m_impl->curl);
    curl_slist_free_all(headers);
    if (code != CURLE_OK) {
        // A send that broke on its way fails this file only: the next request opens
        // a new connection. No connection at all means the server is unreachable.
        if (m_impl->sends == 0) {
            NoteTransportFailure();
        }
        return -1;
    }
    long status = 0;
    curl_easy_getinfo(m_impl->curl, CURLINFO_RESPONSE_CODE, &status);
    m_nLastStatus = static_cast<int>(status);
    return 0;
}

}  // namespace vodirev
