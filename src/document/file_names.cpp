#include "document/file_names.h"

#include <algorithm>
#include <cstdio>

namespace vodirev {

namespace {

std::string Numbered(const char* pattern, int number) {
    char name[64];
    std::snprintf(name, sizeof name, pattern, number);
    return name;
}

QString NumberedName(const char* pattern, int number) {
    return QString::fromStdString(Numbered(pattern, number));
}

}  // namespace

QString MenuListName(int desktop) {
    return NumberedName("LIST_MENU_%03d.db", desktop);
}
QString SysMenuListName(int desktop) {
    return NumberedName("LIST_SYSMENU_%03d.db", desktop);
}
QString ImageListName(int desktop) {
    return NumberedName("LIST_IMAGE_%03d.db", desktop);
}
QString LauncherFileName(int desktop) {
    return NumberedName("LAUNCHER_%03d.TXT", desktop);
}
QString LayoutFileName(int desktop) {
    return NumberedName("desktop%03d.xml", desktop);
}

std::string SavedLayoutFileName(int desktop) {
    return desktop == 0 ? std::string("desktop.xml") : LayoutFileName(desktop).toStdString();
}

std::string PreviewFileName(int desktop) {
    return Numbered("desktop%03d.gif", desktop);
}

std::string LocalTimeStamp(const QDateTime& localTime) {
    const QDate date = localTime.date();
    const QTime time = localTime.time();
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%d%02d%02d%02d%02d%02d", date.year(), date.month(),
                  date.day(), time.hour(), time.minute(), time.second());
    return stamp;
}

std::string StoredImageName(std::string_view fileName, const QDateTime& localTime) {
    const auto plain = [](char c) {
        return c == '.' || c == '[' || c == '_' || (c >= '0' && c <= '9') ||
               (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    };
    if (std::all_of(fileName.begin(), fileName.end(), plain)) {
        return std::string(fileName);
    }
    const std::size_t dot = fileName.rfind('.');
    const std::string_view extension =
        dot == std::string_view::npos ? std::string_view() : fileName.substr(dot + 1);
    return LocalTimeStamp(localTime) + '.' + std::string(extension);
}

std::string ServerFolder(std::string_view room) {
    std::string folder = "pcroom/";
    folder += room;
    folder += '/';
    return folder;
}

std::string ServerPath(std::string_view room, std::string_view file) {
    return '/' + ServerFolder(room) + std::string(file);
}

std::string RoomFileName(std::string_view room, std::string_view file) {
    std::string name(room);
    name += '/';
    name += file;
    return name;
}

}  // namespace vodirev
