#include "document/unpublished_record.h"

#include "base/paths.h"
#include "base/text_file.h"

#include <QFile>
#include <algorithm>

namespace vodirev {

namespace {

// "room=ROOM" on the first line, then one stored path per line.
constexpr std::string_view kRoomPrefix = "room=";

void AddOnce(std::vector<std::string>& files, std::string_view path) {
    if (isSafeRelativePath(path) && std::find(files.begin(), files.end(), path) == files.end()) {
        files.emplace_back(path);
    }
}

}  // namespace

UnpublishedRecord ReadUnpublishedRecord() {
    UnpublishedRecord record;
    TextLineReader reader(QString::fromLatin1(kUnpublishedRecordFile));
    TextLine line;
    if (!reader.readLine(line) || line.tooLong || !line.text.starts_with(kRoomPrefix)) {
        return record;
    }
    record.roomId = line.text.substr(kRoomPrefix.size());
    while (reader.readLine(line) && record.files.size() < kMaxUnpublishedEntries) {
        if (!line.tooLong) {
            AddOnce(record.files, line.text);
        }
    }
    return record;
}

std::vector<std::string> KeptUnpublishedFiles(std::string_view roomId) {
    UnpublishedRecord record = ReadUnpublishedRecord();
    if (record.roomId != roomId) {
        return {};
    }
    std::erase_if(record.files, [](const std::string& path) { return !LocalFileExists(path); });
    return record.files;
}

bool WriteUnpublishedRecord(const UnpublishedRecord& record) {
    std::vector<std::string> files;
    for (const std::string& path : record.files) {
        AddOnce(files, path);
    }
    const QString name = QString::fromLatin1(kUnpublishedRecordFile);
    if (files.empty()) {
        return !QFile::exists(name) || QFile::remove(name);
    }
    std::string text = std::string(kRoomPrefix) + record.roomId + '\n';
    for (const std::string& path : files) {
        text += path + '\n';
    }
    return WriteTextFile(name, text);
}

}  // namespace vodirev
