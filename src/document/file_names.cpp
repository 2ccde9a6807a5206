#include "document/file_names.h"

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
