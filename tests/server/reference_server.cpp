#include "server/reference_server.h"

#include "base/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vodirev::test {

namespace {

constexpr int kStartWaitMs = 10000;

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace

ReferenceServer::ReferenceServer() {
    if (qEnvironmentVariableIsSet("VERADA_SERVER")) {
        m_previousAddress = qgetenv("VERADA_SERVER");
    }
    // ctest names the build folder; run by hand, the one this fixture was built in.
    QByteArray binDir = qgetenv("VODIREV_BIN_DIR");
    if (binDir.isEmpty()) {
        binDir = VODIREV_DEFAULT_BIN_DIR;
    }
    const QString program = QString::fromLocal8Bit(binDir) + "/tools/server/vodirev-server";
    QDir(m_dir.path()).mkpath(QStringLiteral("root/pcroom/common"));
    // The server takes uploads only for rooms that exist in its data folder.
    for (const char* room : {"R0", "R1", "R2", "room", "room7"}) {
        QDir(m_dir.path()).mkpath(QStringLiteral("root/pcroom/") + QLatin1String(room));
    }
    const QString stdoutPath = m_dir.filePath(QStringLiteral("stdout.txt"));
    m_process.setStandardOutputFile(stdoutPath);
    m_process.setStandardErrorFile(m_dir.filePath(QStringLiteral("stderr.txt")));
    m_process.start(program, {"--root", root(), "--port", "0", "--log",
                              m_dir.filePath(QStringLiteral("requests.log"))});
    if (!m_process.waitForStarted()) {
        m_error = "cannot start " + program + ": " + m_process.errorString();
        return;
    }
    // The first line names the port; the process's output goes to a file so a long
    // log can never block the server on a full pipe.
    for (int waited = 0; waited < kStartWaitMs; waited += 10) {
        const QByteArray out = readAll(stdoutPath);
        const qsizetype end = out.indexOf('\n');
        if (end >= 0) {
            const QByteArray line = out.left(end);
            const qsizetype colon = line.lastIndexOf(':');
            if (!line.startsWith("listening on ") || colon < 0) {
                m_error = "unexpected first line: " + QString::fromLocal8Bit(line);
                stop();
                return;
            }
            m_port = line.mid(colon + 1).toInt();
            break;
        }
        if (m_process.waitForFinished(10)) {
            m_error = "server ended: " +
                      QString::fromLocal8Bit(readAll(m_dir.filePath(QStringLiteral("stderr.txt"))));
            return;
        }
    }
    if (m_port <= 0) {
        if (m_error.isEmpty()) {
            m_error = QStringLiteral("server did not report its port");
        }
        stop();
        return;
    }
    qputenv("VERADA_SERVER", QByteArray::fromStdString(address()));
}

ReferenceServer::~ReferenceServer() {
    stop();
    if (m_previousAddress) {
        qputenv("VERADA_SERVER", *m_previousAddress);
    } else {
        qunsetenv("VERADA_SERVER");
    }
}

std::string ReferenceServer::address() const {
    return "127.0.0.1:" + std::to_string(m_port);
}

QString ReferenceServer::root() const {
    return m_dir.filePath(QStringLiteral("root"));
}

QString ReferenceServer::filePath(std::string_view name) const {
    return root() + u'/' + localPath(name);
}

void ReferenceServer::putFile(std::string_view name, const QByteArray& bytes) const {
    const QString path = filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(bytes);
    }
}

bool ReferenceServer::hasFile(std::string_view name) const {
    return QFileInfo(filePath(name)).isFile();
}

QByteArray ReferenceServer::fileBytes(std::string_view name) const {
    return readAll(filePath(name));
}

std::vector<std::string> ReferenceServer::allRequests() const {
    const QByteArray log = readAll(m_dir.filePath(QStringLiteral("requests.log")));
    std::vector<std::string> lines;
    qsizetype start = 0;
    while (start < log.size()) {
        qsizetype end = log.indexOf('\n', start);
        if (end < 0) {
            end = log.size();
        }
        lines.emplace_back(log.constData() + start, static_cast<std::size_t>(end - start));
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> ReferenceServer::requests() const {
    std::vector<std::string> lines = allRequests();
    lines.erase(lines.begin(),
                lines.begin() + static_cast<std::ptrdiff_t>(std::min(m_skipped, lines.size())));
    return lines;
}

void ReferenceServer::clearRequests() {
    m_skipped = allRequests().size();
}

void ReferenceServer::stop() {
    if (m_process.state() == QProcess::NotRunning) {
        return;
    }
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

}  // namespace vodirev::test
