// The record of files kept only on this computer: whatever the file holds, the record
// read names only safe relative paths, each once.

#include "base/paths.h"
#include "document/unpublished_record.h"
#include "fuzz_util.h"

#include <QFile>
#include <QGuiApplication>
#include <algorithm>
#include <cstdint>

using namespace vodirev;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::AbsoluteArtifactPrefix(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const fuzz::InWorkDir inWorkDir;
    {
        QFile file(QString::fromLatin1(kUnpublishedRecordFile));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    const UnpublishedRecord record = ReadUnpublishedRecord();
    for (std::size_t i = 0; i < record.files.size(); ++i) {
        fuzz::Check(isSafeRelativePath(record.files[i]), "an unsafe path in the record");
        fuzz::Check(std::count(record.files.begin(), record.files.end(), record.files[i]) == 1,
                    "a path twice in the record");
    }
    return 0;
}
