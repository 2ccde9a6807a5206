#pragma once
// The two upload steps of saving: a file of the desktop that always goes up, and an
// image named in a list that goes up only when the server lacks it.

#include "server/server_client.h"

#include <string>
#include <string_view>

namespace vodirev {

// The request that takes every upload.
inline constexpr std::string_view kUploadTarget = "upload_file.jsp";

// What became of one file, so the save can tell the operator which files stayed
// only on this PC.
enum class PublishOutcome {
    Uploaded,         // sent and answered without an error status
    AlreadyOnServer,  // the server answered that it holds the file; nothing sent
    NotUploaded,      // the query or the upload failed, or no local file
    NotAttempted,     // the client had already lost the server: nothing was asked
    Refused,          // an unsafe path (absolute or leaving the working folder)
};

// "is_file.jsp?id=R&fn=R/name&type=2" (reply not used), then the upload of name
// under the remote name "R/name".
PublishOutcome PublishFile(CServerClient& server, std::string_view roomId,
                           const std::string& localName);

// The same query with every backslash of the remote name made a '/', and the upload
// (local path unchanged) only when the reply is exactly 0.
PublishOutcome PublishIfMissing(CServerClient& server, std::string_view roomId,
                                const std::string& imagePath);

}  // namespace vodirev
