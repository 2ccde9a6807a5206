#pragma once
// A fresh temporary folder for one test, made the current folder while it lives
// (files of the system are relative to the working folder).

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>
#include <string>

namespace vodirev::test {

class ScopedWorkDir {
public:
    ScopedWorkDir();
    ~ScopedWorkDir();
    ScopedWorkDir(const ScopedWorkDir&) = delete;
    ScopedWorkDir& operator=(const ScopedWorkDir&) = delete;

    QString path() const { return m_dir.path(); }
    QString filePath(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
    QString m_previous;
};

QByteArray ReadFileBytes(const QString& path);
void WriteFileBytes(const QString& path, const QByteArray& bytes);

}  // namespace vodirev::test
