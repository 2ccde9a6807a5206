#pragma once
// The files of the working folder that hold edits the server does not have yet. A
// save whose publishing failed names them here, so the next start-up keeps them
// instead of downloading the server's older copies over them, and the next save
// publishes them with the rest of the desktop.

#include <string>
#include <string_view>
#include <vector>

namespace vodirev {

// In the working folder; never uploaded.
inline constexpr const char* kUnpublishedRecordFile = "UNPUBLISHED_FILES.txt";

// More entries than any room's files: a record beyond this is damaged.
inline constexpr std::size_t kMaxUnpublishedEntries = 10000;

struct UnpublishedRecord {
    std::string roomId;              // the room the files belong to
    std::vector<std::string> files;  // stored paths (CP949, backslashes kept), each once
};

// Reads the record. A missing, unreadable or damaged record gives an empty one;
// entries that are not safe relative paths (absolute, "..", control bytes) or that
// are too long are dropped, so no entry ever names a file outside the working folder.
UnpublishedRecord ReadUnpublishedRecord();

// The record's files for this room that exist in the working folder; none when the
// record belongs to another room.
std::vector<std::string> KeptUnpublishedFiles(std::string_view roomId);

// Writes the record through a temporary file renamed over the old one; a record
// without files removes the file. Unsafe entries are left out. Returns success.
bool WriteUnpublishedRecord(const UnpublishedRecord& record);

}  // namespace vodirev
