#pragma once
// A Wine prefix of its own (c: and d: linked into it, z: the whole file system) and
// an operator's client-drives file, made the editor's client drives while it lives.

#include "document/client_drives.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

namespace vodirev::test {

class ClientDrivesFixture {
public:
    ClientDrivesFixture()
        : m_oldPrefix(qgetenv("WINEPREFIX")),
          m_oldConfig(qgetenv("XDG_CONFIG_HOME")),
          m_hadPrefix(qEnvironmentVariableIsSet("WINEPREFIX")),
          m_hadConfig(qEnvironmentVariableIsSet("XDG_CONFIG_HOME")) {
        const QString prefix = m_dir.filePath(QStringLiteral("wine"));
        QDir().mkpath(prefix + QStringLiteral("/dosdevices"));
        QDir().mkpath(prefix + QStringLiteral("/drive_c"));
        QDir().mkpath(m_dir.filePath(QStringLiteral("disk_d")));
        QFile::link(QStringLiteral("../drive_c"), prefix + QStringLiteral("/dosdevices/c:"));
        QFile::link(m_dir.filePath(QStringLiteral("disk_d")),
                    prefix + QStringLiteral("/dosdevices/d:"));
        QFile::link(QStringLiteral("/"), prefix + QStringLiteral("/dosdevices/z:"));
        QDir().mkpath(m_dir.filePath(QStringLiteral("config/vodirev")));
        qputenv("WINEPREFIX", prefix.toUtf8());
        qputenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toUtf8());
        ReloadClientDrives();
    }
    ~ClientDrivesFixture() {
        restore("WINEPREFIX", m_hadPrefix, m_oldPrefix);
        restore("XDG_CONFIG_HOME", m_hadConfig, m_oldConfig);
        ReloadClientDrives();
    }

    // The operator's client-drives file ("LOCAL = WINDOWS" lines), read at once.
    void SetOperatorLines(const QString& text) const {
        QFile file(m_dir.filePath(QStringLiteral("config/vodirev/client-drives")));
        if (file.open(QIODevice::WriteOnly)) {
            file.write(text.toUtf8());
        }
        file.close();
        ReloadClientDrives();
    }

    // A program file made at a path below the fixture's folder ("wine/drive_c/...").
    QString Program(const QString& relative) const {
        const QString path = m_dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write("MZ");
        }
        return path;
    }
    QString Path(const QString& relative) const { return m_dir.filePath(relative); }

private:
    static void restore(const char* name, bool had, const QByteArray& value) {
        if (had) {
            qputenv(name, value);
        } else {
            qunsetenv(name);
        }
    }

    QTemporaryDir m_dir;
    QByteArray m_oldPrefix;
    QByteArray m_oldConfig;
    bool m_hadPrefix;
    bool m_hadConfig;
};

}  // namespace vodirev::test
