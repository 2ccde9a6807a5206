#include "document/client_drives.h"

#include "base/regular_file.h"
#include "base/text.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>
#include <cctype>

namespace vodirev {

namespace {

// A file or folder by its real place: links resolved where it exists.
QString realPath(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

bool looksLikeWindowsFolder(std::string_view path) {
    const bool drive = path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) &&
                       path[1] == ':' && (path.size() == 2 || path[2] == '\\');
    const bool share = path.size() > 2 && path.substr(0, 2) == "\\\\";
    return (drive || share) && path.find_first_of(";\r\n") == std::string_view::npos;
}

}  // namespace

void ClientDrives::Add(const QString& local, std::string_view windows) {
    ClientDrive drive{realPath(local), std::string(windows)};
    // "C:" and "C:\" are the drive's root; other folders lose a trailing "\".
    if (drive.windows.size() == 2) {
        drive.windows += '\\';
    }
    while (drive.windows.size() > 3 && drive.windows.back() == '\\') {
        drive.windows.pop_back();
    }
    std::erase_if(m_drives, [&](const ClientDrive& d) { return d.local == drive.local; });
    m_drives.push_back(std::move(drive));
    std::stable_sort(
        m_drives.begin(), m_drives.end(),
        [](const ClientDrive& a, const ClientDrive& b) { return a.local.size() > b.local.size(); });
}

ClientDrives ClientDrives::Read(const QString& winePrefix, const QString& driveFile) {
    ClientDrives drives;
    const QDir devices(winePrefix + QStringLiteral("/dosdevices"));
    static const QRegularExpression letter(QStringLiteral("^[a-zA-Z]:$"));
    for (const QFileInfo& entry : devices.entryInfoList(QDir::AllEntries | QDir::System)) {
        if (!letter.match(entry.fileName()).hasMatch() || !entry.isSymLink()) {
            continue;
        }
        const QString target = entry.canonicalFilePath();
        if (target.isEmpty() || target == QStringLiteral("/")) {
            continue;  // a dangling link, or the whole file system (Wine's z:)
        }
        drives.Add(target, entry.fileName().toUpper().toStdString());
    }
    QByteArray text;
    if (ReadRegularFile(driveFile, 1 << 20, text)) {
        for (const QByteArray& raw : text.split('\n')) {
            const QString line = QString::fromUtf8(raw).trimmed();
            const qsizetype equals = line.indexOf(u'=');
            if (line.isEmpty() || line.startsWith(u'#') || equals < 0) {
                continue;
            }
            QString local = line.left(equals).trimmed();
            if (local.startsWith(QStringLiteral("~/"))) {
                local = QDir::homePath() + local.mid(1);
            }
            const std::string windows = toCp949(line.mid(equals + 1).trimmed());
            if (QDir::isAbsolutePath(local) && looksLikeWindowsFolder(windows)) {
                drives.Add(local, windows);
            }
        }
    }
    return drives;
}

ClientDrives ClientDrives::FromEnvironment() {
    QString prefix = qEnvironmentVariable("WINEPREFIX");
    if (prefix.isEmpty()) {
        prefix = QDir::homePath() + QStringLiteral("/.wine");
    }
    return Read(prefix, ClientDrivesFile());
}

std::optional<std::string> ClientDrives::WindowsPath(const QString& localFile) const {
    const QString file = realPath(localFile);
    for (const ClientDrive& drive : m_drives) {
        const bool root = drive.local == QStringLiteral("/");
        if (!file.startsWith(drive.local) ||
            (!root && file.size() > drive.local.size() && file[drive.local.size()] != u'/')) {
            continue;
        }
        QString rest = file.mid(root ? 1 : drive.local.size());
        while (rest.startsWith(u'/')) {
            rest.remove(0, 1);
        }
        std::string path = drive.windows;
        if (!rest.isEmpty()) {
            if (path.back() != '\\') {
                path += '\\';
            }
            path += toCp949(rest.replace(u'/', u'\\'));
        }
        return path;
    }
    return std::nullopt;
}

QString ClientDrivesFile() {
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty()) {
        config = QDir::homePath() + QStringLiteral("/.config");
    }
    return config + QStringLiteral("/vodirev/client-drives");
}

namespace {
ClientDrives& currentDrives() {
    static ClientDrives drives = ClientDrives::FromEnvironment();
    return drives;
}
}  // namespace

const ClientDrives& CurrentClientDrives() {
    return currentDrives();
}

void ReloadClientDrives() {
    currentDrives() = ClientDrives::FromEnvironment();
}

std::string JoinClientPath(std::string_view dir, std::string_view program) {
    return dir.empty() ? std::string(program) : std::string(dir) + '\\' + std::string(program);
}

std::string ClientProgram::FullPath() const {
    return folderKnown ? JoinClientPath(dir, name) : name;
}

ClientProgram ClientProgramFor(const QString& localFile, const ClientDrives& drives) {
    // Already a Windows path (typed, or handed over by another program): as it is.
    if (const std::string given = toCp949(localFile); looksLikeWindowsFolder(given)) {
        return SplitClientPath(given);
    }
    if (const std::optional<std::string> windows = drives.WindowsPath(localFile)) {
        return SplitClientPath(*windows);
    }
    return {std::string(), toCp949(QFileInfo(localFile).fileName()), false};
}

ClientProgram SplitClientPath(std::string_view path) {
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string_view::npos) {
        return {std::string(), std::string(path), false};
    }
    return {std::string(path.substr(0, slash)), std::string(path.substr(slash + 1)), true};
}

QString ClientFolderQuestion(const QString& fileName) {
    return QStringLiteral(
               "%1 은(는) 클라이언트 PC 드라이브 밖에 있습니다.\n"
               "클라이언트 PC에서 이 프로그램이 있는 폴더를 "
               "\"클라이언트 PC 경로\"에 적어 주세요 (예: C:\\Games\\%1).")
        .arg(fileName);
}

}  // namespace vodirev
