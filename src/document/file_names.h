#pragma once
// Every file name the editor, the server and the client PCs share: the lists and
// layouts of the working folder, numbered per desktop ("%03d": 5 -> "005"), and the
// server's folders they come from. Nothing else spells one of these names.

#include <QDateTime>
#include <QString>
#include <string>
#include <string_view>

namespace vodirev {

// Fixed names in the working folder (the common ones also on the server).
inline constexpr const char* kBackgroundList = "LIST_BACKGROUND.db";
inline constexpr const char* kBackgroundUserList = "LIST_BACKGROUND_USER.db";
inline constexpr const char* kCommonBackgroundUserList = "COMMON_BACKGROUND_USER.db";
inline constexpr const char* kFolderList = "LIST_FOLDER.db";
inline constexpr const char* kFolderUserList = "LIST_FOLDER_USER.db";
inline constexpr const char* kCommonFolderUserList = "COMMON_FOLDER_USER.db";
inline constexpr const char* kCommonMenuList = "LIST_MENU.db";
inline constexpr const char* kCommonSysMenuList = "LIST_SYSMENU.db";
// The common layout, kept locally under this name as the fallback of every desktop.
inline constexpr const char* kDefaultLayoutFile = "desktop_d.xml";

// Numbered names in the working folder for desktop n.
QString MenuListName(int desktop);      // "LIST_MENU_%03ld.db"
QString SysMenuListName(int desktop);   // "LIST_SYSMENU_%03ld.db"
QString ImageListName(int desktop);     // "LIST_IMAGE_%03ld.db"
QString LauncherFileName(int desktop);  // "LAUNCHER_%03ld.TXT"
QString LayoutFileName(int desktop);    // "desktop%03d.xml", the layout read at start-up
// The layout the save writes: "desktop.xml" for desktop 0, otherwise
// "desktop%03ld.xml" (the name the start-up reads).
std::string SavedLayoutFileName(int desktop);
// The preview: "desktop%03ld.gif", also for desktop 0 ("desktop000.gif").
std::string PreviewFileName(int desktop);

// A picture the operator imports is stored under a name of its own.
// The local time as 14 digits, "%d%02d%02d%02d%02d%02d" (year, month, day, hour 00 to
// 23, minute, second).
std::string LocalTimeStamp(const QDateTime& localTime);
// fileName itself when all its bytes are ".", digits, ASCII letters, "[" or "_";
// otherwise the time stamp, "." and the text after the name's last "."
// ("%d%02d%02d%02d%02d%02d.%s").
std::string StoredImageName(std::string_view fileName, const QDateTime& localTime);

// The server keeps each room under "pcroom/ROOM/"; the common files are the room
// "common".
inline constexpr std::string_view kCommonRoom = "common";
// "pcroom/ROOM/": the folder as the image requests name it.
std::string ServerFolder(std::string_view room);
// "/pcroom/ROOM/FILE": a file as the existence question and the downloads name it.
std::string ServerPath(std::string_view room, std::string_view file);
// "ROOM/FILE": a file as uploads and the registration name it.
std::string RoomFileName(std::string_view room, std::string_view file);

}  // namespace vodirev
