#pragma once
// How the operator server reads what the editor sends: request targets as raw bytes
// (never URL-decoded, CP949 and backslashes as they came) and the editor's upload
// body with its quirky "id" part.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vodirev::server {

// Only "%20" is decoded: the editor sends every other byte as it is and encodes
// nothing but the space.
std::string decodeSpaces(std::string_view text);

struct RequestTarget {
    std::string path;  // before the first '?', spaces decoded
    std::vector<std::pair<std::string, std::string>> params;  // in order, spaces decoded

    // The first parameter of that name, or null.
    const std::string* param(std::string_view name) const;
};

// Splits a raw target at the first '?' and its query at '&' and the first '='. A
// piece without '=' belongs to the value before it (a title "a&b" stays whole).
RequestTarget parseTarget(std::string_view rawTarget);

// The boundary parameter of a multipart Content-Type, empty when there is none.
std::string multipartBoundary(std::string_view contentType);

struct UploadRequest {
    std::string roomId;        // the id part: its value parameter, or its content
    std::string name;          // the file part's name: the remote name to store under
    std::string filename;      // the file part's filename: the editor's local path
    std::string_view content;  // the file's bytes, inside the body parsed
};

// The file part (the one with a filename) and the room id of an upload body. The
// editor ends the file's bytes with two line breaks before the closing delimiter;
// both belong to the framing. The content is not copied: it lives as long as the
// body. Null when the body is not well-formed multipart.
std::optional<UploadRequest> parseUpload(std::string_view body, std::string_view boundary);

}  // namespace vodirev::server
