#include "session/startup_sequence.h"

#include "base/paths.h"
#include "base/regular_file.h"
#include "base/text.h"
#include "base/text_file.h"
#include "document/file_names.h"
#include "document/image_cache.h"
#include "document/install_images.h"
#include "document/list_files.h"
#include "document/unpublished_record.h"
#include "imaging/image_io.h"
#include "server/server_client.h"
#include "session/file_list_text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStringDecoder>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace vodirev {

namespace {

constexpr std::size_t kCommandLineBytes = 63;
constexpr std::size_t kNumberWordBytes = 9;

// How a list names its images: which lines count, which fields hold paths, and the
// request that fetches one.
enum class Fields { kBackground, kWholeLine, kSecondOfMenu };

struct ListScan {
    QString file;
    std::size_t minLength;  // a line counts when longer than this (line end included)
    Fields fields;
    std::string addressPrefix;  // the picked field is appended unchanged
};

// An image a list names, and the request prefix that fetches it.
struct ListImage {
    const std::string* addressPrefix;
    std::string path;
};

void collectImage(std::vector<ListImage>& images, const std::string& addressPrefix,
                  std::string_view path) {
    // A list may name anything; only paths inside the working folder are fetched.
    if (isInsideWorkingFolder(path)) {
        images.push_back({&addressPrefix, std::string(path)});
    }
}

void scanList(const ListScan& scan, std::vector<ListImage>& images) {
    TextLineReader reader(scan.file);
    TextLine line;
    while (reader.readLine(line)) {
        if (line.tooLong || line.lengthWithLineEnd() <= scan.minLength) {
            continue;
        }
        const std::string_view text = line.text;
        switch (scan.fields) {
            case Fields::kWholeLine:
                collectImage(images, scan.addressPrefix, text);
                break;
            case Fields::kBackground: {
                const auto fields = SplitFields(text, ',');
                const std::size_t commas = fields.size() - 1;
                if (commas >= 3) {
                    collectImage(images, scan.addressPrefix, fields[2]);
                }
                if (commas == 3) {
                    collectImage(images, scan.addressPrefix, fields[3]);
                }
                break;
            }
            case Fields::kSecondOfMenu: {
                const auto fields = SplitFields(text, ';');
                if (fields.size() >= 3) {
                    collectImage(images, scan.addressPrefix, fields[1]);
                }
                break;
            }
        }
    }
}

// Counts the files of a start-up as they are asked for.
class StepCounter {
public:
    StepCounter(const StartupProgressFunction& progress, int total)
        : m_progress(progress), m_total(total) {}
    void AddToTotal(int more) { m_total += more; }
    void Next(std::string_view file) {
        ++m_index;
        m_total = std::max(m_total, m_index);
        if (m_progress) {
            m_progress({m_index, m_total, std::string(file)});
        }
    }

private:
    const StartupProgressFunction& m_progress;
    int m_index = 0;
    int m_total;
};

bool canOpenForReading(const QString& name) {
    return OpenRegularFile(name) != nullptr;
}

// Step 10: the launcher file, then its picture.
void loadLauncher(DesktopSession& session, ImageCache& images) {
    const bool read = ReadLauncherFile(session);
    if (read) {
        session.m_pLauncherBitmap =
            images.Load(session.m_nLauncherType == 1 ? kLauncherImageB : kLauncherImageA);
    }
    if (session.m_nLauncherType == 0) {
        session.m_pLauncherBitmap = images.Load(kLauncherImageA);
    }
}

// Step 10 when N > 0, steps 11 and 12, and the resolution the window takes from
// the layout. One budget of decoded pixels covers every picture they load.
StartupNotes loadFolder(DesktopSession& session, std::int64_t pixelBudget) {
    PixelBudget budget(pixelBudget);
    ImageCache images(&budget);
    if (session.m_nDesktop > 0) {
        loadLauncher(session, images);
    }
    LoadMenuList(session, &images);
    LoadSysMenuList(session);
    session.m_desktop.LoadDesktopXml(ChooseLayoutFile(session.m_nDesktop), images);
    StartupNotes notes;
    notes.refusedImages = budget.Refused();
    const int width = session.m_desktop.m_nWidth;
    const int height = session.m_desktop.m_nHeight;
    notes.layoutResolution = QSize(width, height);
    notes.resolutionRefused = width > kMaxResolutionSide || height > kMaxResolutionSide;
    // A layout without a background element gives no size; the editor then shows
    // the smallest of its resolutions rather than an empty window. A size past the
    // bound is handled the same way.
    const bool usable = !notes.resolutionRefused;
    session.m_nResWidth = usable && width > 0 ? width : kDefaultResolutionWidth;
    session.m_nResHeight = usable && height > 0 ? height : kDefaultResolutionHeight;
    return notes;
}

}  // namespace

QString RefusedResolutionMessage(QSize refused, int shownWidth, int shownHeight) {
    return QStringLiteral(
               "레이아웃의 해상도 %1 x %2 는 너무 커서 열 수 없습니다 "
               "(가로, 세로 최대 %3). %4 x %5 로 엽니다.")
        .arg(refused.width())
        .arg(refused.height())
        .arg(kMaxResolutionSide)
        .arg(shownWidth)
        .arg(shownHeight);
}

QString RoomIdProblem(const StartupCommandLine& words) {
    const QString usage = QStringLiteral("사용법: VeradaVodirev 방아이디 데스탑번호 템플릿번호");
    if (words.roomIdBytes == 0) {
        // Started from the menu entry, the words come from the room file: say which
        // file to create, where, and what its line holds.
        return QStringLiteral("방 아이디가 없습니다. 방 아이디는 1바이트에서 %1바이트까지입니다.\n")
                   .arg(kMaxRoomIdBytes) +
               usage +
               QStringLiteral(
                   "\n\n메뉴에서 시작할 때는 작업 폴더 %1에 vodirev-room.txt 파일을 "
                   "만들고 첫 줄에 \"방아이디 데스탑번호 템플릿번호\"를 씁니다 "
                   "(예: room7 1 0).")
                   .arg(QDir::toNativeSeparators(QDir::currentPath()));
    }
    if (words.roomIdBytes > kMaxRoomIdBytes) {
        return QStringLiteral(
                   "방 아이디가 %1바이트로 너무 깁니다. 방 아이디는 %2바이트까지입니다 "
                   "(한글은 한 글자에 2바이트).\n")
                   .arg(words.roomIdBytes)
                   .arg(kMaxRoomIdBytes) +
               usage;
    }
    return QString();
}

QString StartupServerMessage(const StartupNotes& notes) {
    QStringList parts;
    if (notes.serverUnreachable) {
        parts << QStringLiteral(
            "서버에 연결하지 못해 방의 파일을 가져오지 못했습니다. 이 컴퓨터에 있는 파일을 "
            "보여 줍니다.\n저장하고 끝내기를 하면 서버의 데스크탑을 바꾸기 전에 묻습니다.");
        // Which server was tried, and how to name another: the operator's way out.
        parts << QStringLiteral(
                     "연결하려 한 서버: %1\n다른 서버는 환경 변수 VERADA_SERVER에 "
                     "\"주소:포트\"로 지정한 뒤 다시 시작합니다.")
                     .arg(
                         QString::fromStdString(ServerAddressText(ServerAddressFromEnvironment())));
    }
    if (!notes.keptUnpublished.empty()) {
        QStringList lines;
        lines << QStringLiteral(
            "지난번에 서버에 올리지 못한 편집 내용을 서버의 파일로 덮어쓰지 않고 그대로 "
            "열었습니다. 저장하고 끝내기를 하면 서버에 올립니다:");
        AppendFileList(lines, notes.keptUnpublished);
        parts << lines.join(u'\n');
    }
    return parts.join(QStringLiteral("\n\n"));
}

QString RefusedImagesMessage(const QStringList& files) {
    // A hostile folder may name thousands; the first few tell the operator enough.
    constexpr qsizetype kNamesShown = 10;
    QString text =
        QStringLiteral(
            "그림을 모두 합친 크기가 한도(%1억 화소)를 넘어 다음 파일은 열지 않았습니다:")
            .arg(double(kFolderPixelBudget) / 1e8);
    for (qsizetype i = 0; i < files.size() && i < kNamesShown; ++i) {
        text += u'\n' + files[i];
    }
    if (files.size() > kNamesShown) {
        text += QStringLiteral("\n외 %1개").arg(files.size() - kNamesShown);
    }
    return text;
}

QString CommandLineFromArguments(int argc, const char* const* argv) {
    QStringList words;
    for (int i = 1; i < argc; ++i) {
        const QByteArrayView word(argv[i]);
        QStringDecoder utf8(QStringConverter::Utf8);
        QString text = utf8(word);
        words << (utf8.hasError() ? fromCp949(std::string_view(word.data(), word.size())) : text);
    }
    return words.join(u' ');
}

StartupCommandLine ParseCommandLine(std::string_view line) {
    StartupCommandLine result;
    line = line.substr(0, std::min(line.size(), kCommandLineBytes));
    std::size_t pos = 0;
    auto nextWord = [&]() {
        const std::size_t start = pos;
        while (pos < line.size() && line[pos] != ' ') {
            ++pos;
        }
        std::string_view word = line.substr(start, pos - start);
        while (pos < line.size() && line[pos] == ' ') {
            ++pos;
        }
        return word;
    };
    const std::string_view room = nextWord();
    result.roomIdBytes = room.size();
    result.roomId = cutCp949(room, kMaxRoomIdBytes);
    result.desktop = leadingInt(cutCp949(nextWord(), kNumberWordBytes));
    result.templ = leadingInt(cutCp949(nextWord(), kNumberWordBytes));
    return result;
}

bool SyncServerFile(CServerClient& server, std::string_view serverPath, const QString& localFile) {
    const int answer = server.QueryNumber("exist.jsp?fn=" + std::string(serverPath));
    if (answer == 1) {
        return server.DownloadFile(serverPath, localFile) == 0;
    }
    if (answer == 0) {
        QFile::remove(localFile);
        return true;
    }
    return false;
}

namespace {

// Downloads every listed image the working folder lacks, each counted as a file;
// those that did not come are added to notBrought.
void fetchListImages(CServerClient& server, const DesktopSession& session, StepCounter& steps,
                     std::vector<std::string>& notBrought) {
    for (const char* folder :
         {"images", "images/background", "images/bkicons", "images/icons", "images/user"}) {
        QDir().mkpath(QString::fromLatin1(folder));
    }
    const std::string room = session.m_szRoomId.str();
    const std::string roomPrefix = '/' + ServerFolder(room);
    const std::string commonImage = "getimage.jsp?fn=" + ServerFolder(kCommonRoom);
    const std::string commonIcon = "geticon.jsp?fn=" + ServerFolder(kCommonRoom);
    const std::string commonPrefix = '/' + ServerFolder(kCommonRoom);
    const int n = session.m_nDesktop;
    const std::vector<ListScan> scans = {
        {kBackgroundList, 10, Fields::kBackground, commonImage},
        {kBackgroundUserList, 0, Fields::kBackground, roomPrefix},
        {kCommonBackgroundUserList, 0, Fields::kBackground, commonPrefix},
        {kFolderList, 0, Fields::kWholeLine, commonImage},
        {kFolderUserList, 4, Fields::kWholeLine, roomPrefix},
        {kCommonFolderUserList, 4, Fields::kWholeLine, commonPrefix},
        {kCommonMenuList, 0, Fields::kSecondOfMenu, commonIcon},
        {MenuListName(n), 0, Fields::kSecondOfMenu, "geticon.jsp?fn=" + ServerFolder(room)},
        {kCommonSysMenuList, 0, Fields::kSecondOfMenu, commonIcon},
        {ImageListName(n), 5, Fields::kWholeLine, roomPrefix},
    };
    // Every list is read before the first image is asked for, so the count of files
    // to come is known; images never change the lists.
    std::vector<ListImage> images;
    for (const ListScan& scan : scans) {
        scanList(scan, images);
    }
    QSet<QString> missing;
    for (const ListImage& image : images) {
        const QString local = QDir::cleanPath(localPath(image.path));
        if (!QFileInfo::exists(local)) {
            missing.insert(local);
        }
    }
    steps.AddToTotal(int(missing.size()));
    for (const ListImage& image : images) {
        const QString local = localPath(image.path);
        if (QFileInfo::exists(local)) {
            continue;
        }
        const QString parent = QFileInfo(local).path();
        if (!parent.isEmpty() && parent != u".") {
            QDir().mkpath(parent);
        }
        steps.Next(image.path);
        if (server.DownloadFile(*image.addressPrefix + image.path, local) != 0) {
            notBrought.push_back(image.path);
        }
    }
}

}  // namespace

int FetchListImages(CServerClient& server, const DesktopSession& session) {
    const StartupProgressFunction none;
    StepCounter steps(none, 0);
    std::vector<std::string> notBrought;
    fetchListImages(server, session, steps, notBrought);
    return 0;
}

StartupNotes BringRoomFiles(DesktopSession& session, CServerClient& server,
                            std::string_view commandLine, const StartupProgressFunction& progress) {
    session.m_szWorkDir = toCp949(QDir::currentPath());
    session.m_nDesktop = 0;
    session.m_nTemplate = 0;
    session.m_bServerFilesMissing = false;
    // No command line gives an empty room id, refused like any other.
    const StartupCommandLine words = ParseCommandLine(commandLine);
    if (QString problem = RoomIdProblem(words); !problem.isEmpty()) {
        StartupNotes refused;
        refused.roomIdRefused = std::move(problem);
        return refused;
    }
    session.m_szRoomId = words.roomId;
    session.m_nDesktop = words.desktop;
    session.m_nTemplate = words.templ;

    StartupNotes notes;
    const int n = session.m_nDesktop;
    const int t = session.m_nTemplate;
    if (n <= 0) {
        return notes;
    }
    // Local files with edits the server lacks stay as they are.
    notes.keptUnpublished = KeptUnpublishedFiles(session.m_szRoomId.str());
    QSet<QString> keptLocal;
    for (const std::string& path : notes.keptUnpublished) {
        keptLocal.insert(QDir::cleanPath(localPath(path)));
    }
    const auto isKept = [&keptLocal](const QString& localName) {
        return keptLocal.contains(QDir::cleanPath(localName));
    };

    // What is asked for, in order: the common files (the common layout kept as every
    // desktop's fallback), then the room's files, each with its local name.
    struct Fetch {
        std::string serverPath;
        QString localName;
        bool sync;  // asked about first; deleted here when the server lacks it
    };
    std::vector<Fetch> fetches;
    const std::pair<std::string, const char*> commonFiles[] = {
        {kBackgroundList, kBackgroundList},
        {kFolderList, kFolderList},
        {kCommonMenuList, kCommonMenuList},
        {kCommonSysMenuList, kCommonSysMenuList},
        {LayoutFileName(1).toStdString(), kDefaultLayoutFile},
    };
    for (const auto& [serverName, localName] : commonFiles) {
        fetches.push_back(
            {ServerPath(kCommonRoom, serverName), QString::fromLatin1(localName), false});
    }
    const std::string room = session.m_szRoomId.str();
    if (t != 0) {
        fetches.push_back(
            {ServerPath(kCommonRoom, kBackgroundUserList), kCommonBackgroundUserList, true});
    }
    fetches.push_back({ServerPath(room, kBackgroundUserList), kBackgroundUserList, true});
    if (t != 0) {
        fetches.push_back({ServerPath(kCommonRoom, kFolderUserList), kCommonFolderUserList, true});
    } else {
        fetches.push_back({ServerPath(room, kFolderUserList), kFolderUserList, true});
    }
    // The numbered files come from the common folder under T, or from the room's
    // folder under N; locally they are always numbered N.
    for (QString (*name)(int) :
         {MenuListName, SysMenuListName, ImageListName, LayoutFileName, LauncherFileName}) {
        fetches.push_back({t != 0 ? ServerPath(kCommonRoom, name(t).toStdString())
                                  : ServerPath(room, name(n).toStdString()),
                           name(n), true});
    }
    std::erase_if(fetches, [&](const Fetch& fetch) { return isKept(fetch.localName); });

    StepCounter steps(progress, int(fetches.size()));
    server.Connect();
    for (const Fetch& fetch : fetches) {
        const std::string localName = toCp949(fetch.localName);
        steps.Next(localName);
        const bool brought = fetch.sync
                                 ? SyncServerFile(server, fetch.serverPath, fetch.localName)
                                 : server.DownloadFile(fetch.serverPath, fetch.localName) == 0;
        if (!brought) {
            notes.notBrought.push_back(localName);
        }
    }
    fetchListImages(server, session, steps, notes.notBrought);
    // A client that met a transport failure refuses every later request, so this
    // tells whether anything of the server's was missed on the way.
    session.m_bServerFilesMissing = server.m_bError;
    notes.serverUnreachable = session.m_bServerFilesMissing;
    return notes;
}

void LoadRoomFolder(DesktopSession& session, StartupNotes& notes) {
    if (!notes.roomIdRefused.isEmpty()) {
        return;
    }
    session.m_nLauncherType = 0;
    session.m_nLauncherX = 0;
    session.m_nLauncherY = 100;
    StartupNotes loaded = loadFolder(session, kFolderPixelBudget);
    notes.resolutionRefused = loaded.resolutionRefused;
    notes.layoutResolution = loaded.layoutResolution;
    notes.refusedImages = std::move(loaded.refusedImages);
}

StartupNotes RunStartupSequence(DesktopSession& session, CServerClient& server,
                                std::string_view commandLine,
                                const StartupProgressFunction& progress) {
    StartupNotes notes = BringRoomFiles(session, server, commandLine, progress);
    LoadRoomFolder(session, notes);
    return notes;
}

StartupNotes LoadWorkingFolder(DesktopSession& session, int desktop, std::int64_t pixelBudget) {
    session.m_nDesktop = desktop;
    session.m_nLauncherType = 0;
    session.m_nLauncherX = 0;
    session.m_nLauncherY = 100;
    return loadFolder(session, pixelBudget);
}

QString ChooseLayoutFile(int desktop) {
    const QString numberedName = LayoutFileName(desktop);
    return canOpenForReading(numberedName) ? numberedName : QString::fromLatin1(kDefaultLayoutFile);
}

}  // namespace vodirev
