#include "server/server_client.h"

#include <cstdlib>

namespace vodirev {

// Placeholder until the server client lands: behaves as if no connection exists.
ServerAddress ServerAddressFromEnvironment() { return {}; }

struct CServerClient::Impl {};

CServerClient::CServerClient() = default;
CServerClient::~CServerClient() = default;
void CServerClient::Connect() { m_bError = true; }
int CServerClient::DownloadFile(std::string_view, const QString&) { return -1; }
int CServerClient::QueryNumber(std::string_view) { return -1; }
int CServerClient::QueryText(std::string_view, std::string&, std::size_t) { return -1; }
int CServerClient::UploadFile(const std::string&, std::string_view, std::string_view,
                              std::string_view) {
    return -1;
}

}  // namespace vodirev
