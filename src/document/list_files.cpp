#include "document/list_files.h"

#include "base/text.h"
#include "base/text_file.h"
#include "document/desktop_session.h"
#include "document/image_cache.h"
#include "imaging/scale_bitmap.h"

#include <cstdio>

namespace vodirev {

namespace {

// "사용자" (user) in CP949.
constexpr std::string_view kUserCategory = "\xBB\xE7\xBF\xEB\xC0\xDA";

// A list line too short to hold a record: one byte or none, its line end counted
// as one byte (as a fixed-buffer reader sees it).
bool IsBlankRecord(const TextLine& line) {
    return line.lengthWithLineEnd() <= 1;
}

// Opens the numbered list, else the common one.
TextLineReader* OpenWithFallback(std::unique_ptr<TextLineReader>& reader, int desktop,
                                 const QString& numbered, const char* common) {
    if (desktop > 0) {
        reader = std::make_unique<TextLineReader>(numbered);
        if (reader->isOpen()) {
            return reader.get();
        }
    }
    reader = std::make_unique<TextLineReader>(QString::fromLatin1(common));
    return reader->isOpen() ? reader.get() : nullptr;
}

}  // namespace

std::string BackgroundLine(std::string_view path) {
    std::string line = "1,";
    line += kUserCategory;
    line += ',';
    line += path;
    line += ',';
    line += path;
    line += '\n';
    return line;
}

std::string PathLine(std::string_view path) {
    std::string line(path);
    line += '\n';
    return line;
}

std::string MenuLine(const CInfoIcon& icon) {
    return std::to_string(icon.m_nFolder) + ';' + icon.m_strImage + ';' + icon.m_strName + ';' +
           icon.m_strDir + ';' + icon.m_strProgram + ';' + icon.m_strUrl + '\n';
}

std::string SysMenuLine(const CInfoIcon& icon) {
    return std::to_string(icon.m_nFolder) + ';' + icon.m_strImage + ';' + icon.m_strName +
           ";SYSTEM;" + icon.m_strProgram + ";SYSTEM\n";
}

std::string LauncherLine(int x, int y, int type) {
    return std::to_string(x) + ',' + std::to_string(y) + ',' + std::to_string(type);
}

CInfoIcon ParseMenuLine(std::string_view line) {
    if (line.ends_with('\n')) {
        line.remove_suffix(line.ends_with("\r\n") ? 2 : 1);
    }
    std::string_view fields[6];
    std::size_t start = 0;
    for (int i = 0; i < 6 && start <= line.size(); ++i) {
        const std::size_t end = i == 5 ? std::string_view::npos : line.find(';', start);
        if (end == std::string_view::npos) {
            fields[i] = line.substr(start);
            break;
        }
        fields[i] = line.substr(start, end - start);
        start = end + 1;
    }
    CInfoIcon icon;
    icon.m_nFolder = leadingInt(fields[0]);
    icon.m_strImage = fields[1];
    icon.m_strName = fields[2];
    icon.m_strDir = fields[3];
    icon.m_strProgram = fields[4];
    icon.m_strUrl = fields[5];
    return icon;
}

int LoadMenuList(DesktopSession& session, ImageCache* cache) {
    std::unique_ptr<TextLineReader> holder;
    TextLineReader* reader = OpenWithFallback(holder, session.m_nDesktop,
                                              MenuListName(session.m_nDesktop), kCommonMenuList);
    if (!reader) {
        return -1;
    }
    ImageCache ownCache;
    ImageCache& images = cache ? *cache : ownCache;
    TextLine line;
    while (reader->readLine(line)) {
        if (line.tooLong || IsBlankRecord(line)) {
            continue;
        }
        CInfoIcon icon = ParseMenuLine(line.text);
        // An entry whose icon cannot be shown is left out (and so from the next save).
        const QImage image = images.Load(icon.m_strImage, ImageUse::kChecked);
        if (image.isNull() || ScaleBitmap(image, kMenuIconSize, kMenuIconSize).isNull()) {
            continue;
        }
        session.m_arrMenu.push_back(std::move(icon));
    }
    return 0;
}

int LoadSysMenuList(DesktopSession& session) {
    std::unique_ptr<TextLineReader> holder;
    TextLineReader* reader = OpenWithFallback(
        holder, session.m_nDesktop, SysMenuListName(session.m_nDesktop), kCommonSysMenuList);
    if (!reader) {
        return -1;
    }
    session.m_arrSysMenu.clear();
    TextLine line;
    while (reader->readLine(line)) {
        if (line.tooLong || IsBlankRecord(line)) {
            continue;
        }
        session.m_arrSysMenu.push_back(ParseMenuLine(line.text));
    }
    return 0;
}

LauncherValues ParseLauncherLine(std::string_view line, LauncherValues values) {
    constexpr std::size_t kFieldChars = 19;
    std::string field;
    std::size_t commas = 0;
    for (const char c : line) {
        if (c == ',') {
            if (commas == 0) {
                values.x = leadingInt(field);
            } else if (commas == 1) {
                values.y = leadingInt(field);
            }
            ++commas;
            field.clear();
        } else if (field.size() < kFieldChars) {
            field.push_back(c);
        }
    }
    values.type = leadingInt(field);
    return values;
}

bool ReadLauncherFile(DesktopSession& session) {
    TextLineReader reader(LauncherFileName(session.m_nDesktop));
    if (!reader.isOpen()) {
        return false;
    }
    // An over-long first line is read as far as the limit: with fields of at most
    // 19 characters its tail could only hold further commas.
    TextLine line;
    reader.readLine(line);
    const LauncherValues values = ParseLauncherLine(
        line.text, {session.m_nLauncherX, session.m_nLauncherY, session.m_nLauncherType});
    session.m_nLauncherX = values.x;
    session.m_nLauncherY = values.y;
    session.m_nLauncherType = values.type;
    return true;
}

std::string BackgroundName(std::string_view imagePath) {
    const std::size_t slash = imagePath.rfind('\\');
    std::string_view name =
        slash == std::string_view::npos ? imagePath : imagePath.substr(slash + 1);
    return std::string(name.size() > 4 ? name.substr(0, name.size() - 4) : std::string_view());
}

std::vector<CInfoBackground> LoadBackgroundList(const QString& fileName) {
    std::vector<CInfoBackground> list;
    TextLineReader reader(fileName);
    TextLine line;
    while (reader.readLine(line)) {
        if (line.tooLong || line.text.empty()) {
            continue;
        }
        CInfoBackground background;
        background.m_strThumb = Field(line.text, ',', 2);
        background.m_strImage = Field(line.text, ',', 3);
        background.m_strName = BackgroundName(background.m_strImage);
        list.push_back(std::move(background));
    }
    return list;
}

std::vector<CInfoImage> LoadImageList(const QString& fileName) {
    std::vector<CInfoImage> list;
    TextLineReader reader(fileName);
    TextLine line;
    while (reader.readLine(line)) {
        if (line.tooLong || line.text.size() <= 5) {
            continue;
        }
        list.push_back(CInfoImage{line.text});
    }
    return list;
}

}  // namespace vodirev
