#include "session/file_list_text.h"

#include "base/text.h"

namespace vodirev {

void AppendFileList(QStringList& lines, const std::vector<std::string>& files) {
    const int count = static_cast<int>(files.size());
    for (int i = 0; i < count && i < kMaxListedFiles; ++i) {
        lines << QStringLiteral("  ") + fromCp949(files[static_cast<std::size_t>(i)]);
    }
    if (count > kMaxListedFiles) {
        lines << QStringLiteral("  … 외 %1개").arg(count - kMaxListedFiles);
    }
}

}  // namespace vodirev
