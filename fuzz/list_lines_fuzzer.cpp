// List files: any bytes as a list file, through the line reader, the menu and
// launcher line parsers and the file readers built on them.

#include "base/text_file.h"
#include "document/desktop_session.h"
#include "document/list_files.h"
#include "fuzz_util.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace vodirev;

namespace {

using fuzz::Check;
using fuzz::InWorkDir;

bool SameIcon(const CInfoIcon& a, const CInfoIcon& b) {
    return a.m_nFolder == b.m_nFolder && a.m_strImage == b.m_strImage &&
           a.m_strName == b.m_strName && a.m_strDir == b.m_strDir &&
           a.m_strProgram == b.m_strProgram && a.m_strUrl == b.m_strUrl;
}

// A line as it is stored and read again: exactly one line, the same text.
std::string StoredAndRead(const std::string& lineWithEnd) {
    const std::string stored = ToCrLf(lineWithEnd);
    TextLineReader reader(QByteArray(stored.data(), qsizetype(stored.size())));
    TextLine line;
    Check(reader.readLine(line), "a written line is not read");
    TextLine extra;
    Check(!reader.readLine(extra), "a written line reads as two");
    return line.text;
}

void WriteFile(const char* name, const std::uint8_t* data, std::size_t size) {
    QFile file(QString::fromLatin1(name));
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    vodirev::fuzz::AbsoluteArtifactPrefix(argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const InWorkDir inWorkDir;
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    TextLineReader reader(bytes);
    TextLine line;
    std::size_t lines = 0;
    while (reader.readLine(line)) {
        ++lines;
        Check(line.text.size() <= kMaxLineBytes, "a line longer than the limit");
        Check(line.text.find('\n') == std::string::npos, "a line holds a line feed");
        if (line.tooLong) {
            continue;
        }
        const CInfoIcon icon = ParseMenuLine(line.text);
        // Lines the writers make longer than the limit (a longer folder number, the
        // word SYSTEM in place of short fields) cannot come back whole.
        const std::string menu = MenuLine(icon);
        if (menu.size() <= kMaxLineBytes) {
            Check(SameIcon(ParseMenuLine(StoredAndRead(menu)), icon),
                  "a menu line does not read back");
        }
        const std::string systemLine = SysMenuLine(icon);
        if (systemLine.size() <= kMaxLineBytes) {
            CInfoIcon system = icon;
            system.m_strDir = "SYSTEM";
            system.m_strUrl = "SYSTEM";
            Check(SameIcon(ParseMenuLine(StoredAndRead(systemLine)), system),
                  "a system menu line does not read back");
        }
        const LauncherValues launcher = ParseLauncherLine(line.text, {});
        const LauncherValues back =
            ParseLauncherLine(LauncherLine(launcher.x, launcher.y, launcher.type), {1, 2, 3});
        Check(back.x == launcher.x && back.y == launcher.y && back.type == launcher.type,
              "a launcher line does not read back");
    }
    // Every line end ends one line, and bytes after the last one make one more: the
    // tail of a long line never becomes a line of its own.
    const std::size_t ends = std::size_t(std::count(bytes.begin(), bytes.end(), '\n'));
    Check(lines == ends + (size > 0 && data[size - 1] != '\n' ? 1 : 0), "lines miscounted");

    WriteFile("LIST_SYSMENU_001.db", data, size);
    WriteFile("LAUNCHER_001.TXT", data, size);
    DesktopSession session;
    session.m_nDesktop = 1;
    LoadSysMenuList(session);
    for (const CInfoIcon& icon : session.m_arrSysMenu) {
        Check(icon.m_strUrl.size() <= kMaxLineBytes, "a system entry beyond the line limit");
    }
    Check(ReadLauncherFile(session), "the launcher file was not read");
    LoadBackgroundList(QStringLiteral("LAUNCHER_001.TXT"));
    LoadImageList(QStringLiteral("LAUNCHER_001.TXT"));
    return 0;
}
