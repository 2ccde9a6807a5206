#include "session/file_list_text.h"

#include "base/text.h"

#include <QRegularExpression>

namespace vodirev {

void AppendFileList(QStringList& lines, const std::vector<std::string>& files) {
    const int count = static_cast<int>(files.size());
    for (int i = 0; i < count && i < kMaxListedFiles; ++i) {
        // Lists store "images\\\\user\\\\a.png" as often as "images\\user\\a.png": the operator
        // knows the name with single backslashes.
        QString name = fromCp949(files[static_cast<std::size_t>(i)]);
        name.replace(QRegularExpression(QStringLiteral("\\\\+")), QStringLiteral("\\"));
        lines << QStringLiteral("  ") + name;
    }
    if (count > kMaxListedFiles) {
        lines << QStringLiteral("  … 외 %1개").arg(count - kMaxListedFiles);
    }
}

}  // namespace vodirev
