#include "server/publish.h"

#include "base/paths.h"
#include "document/file_names.h"

#include <algorithm>

namespace vodirev {

namespace {

std::string isFileQuery(std::string_view roomId, std::string_view remoteName) {
    std::string query = "is_file.jsp?id=";
    query += roomId;
    query += "&fn=";
    query += remoteName;
    query += "&type=2";
    return query;
}

PublishOutcome upload(CServerClient& server, std::string_view roomId, const std::string& localPath,
                      std::string_view remoteName) {
    if (server.UploadFile(localPath, remoteName, kUploadTarget, roomId) != 0) {
        return PublishOutcome::NotUploaded;
    }
    // The reply is not read, but an error status means the server kept nothing.
    return server.LastStatus() >= 400 ? PublishOutcome::NotUploaded : PublishOutcome::Uploaded;
}

}  // namespace

PublishOutcome PublishFile(CServerClient& server, std::string_view roomId,
                           const std::string& localName) {
    if (server.m_bError) {
        return PublishOutcome::NotAttempted;
    }
    const std::string remoteName = RoomFileName(roomId, localName);
    server.QueryNumber(isFileQuery(roomId, remoteName));
    return upload(server, roomId, localName, remoteName);
}

PublishOutcome PublishIfMissing(CServerClient& server, std::string_view roomId,
                                const std::string& imagePath) {
    // Paths come from lists the server made: one that leaves the working folder is
    // neither asked about nor read.
    if (!isInsideWorkingFolder(imagePath)) {
        return PublishOutcome::Refused;
    }
    if (server.m_bError) {
        return PublishOutcome::NotAttempted;
    }
    std::string remoteName = RoomFileName(roomId, imagePath);
    std::replace(remoteName.begin(), remoteName.end(), '\\', '/');
    const int reply = server.QueryNumber(isFileQuery(roomId, remoteName));
    if (reply != 0) {
        return reply > 0 ? PublishOutcome::AlreadyOnServer : PublishOutcome::NotUploaded;
    }
    return upload(server, roomId, imagePath, remoteName);
}

}  // namespace vodirev
