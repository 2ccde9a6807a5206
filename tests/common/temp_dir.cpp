#include "common/temp_dir.h"

#include <QFile>
#include <QFileInfo>

namespace vodirev::test {

ScopedWorkDir::ScopedWorkDir() : m_previous(QDir::currentPath()) {
    QDir::setCurrent(m_dir.path());
}

ScopedWorkDir::~ScopedWorkDir() {
    QDir::setCurrent(m_previous);
}

QByteArray ReadFileBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return file.readAll();
}

void WriteFileBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
    }
}

}  // namespace vodirev::test
