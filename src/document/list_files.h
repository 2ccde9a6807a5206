#pragma once
// The list files beside the layout: the line of every format as it is
// written ("\n" line ends; WriteTextFile/AppendTextFile store CR LF), and the readers.

#include "document/file_names.h"
#include "document/info_background.h"
#include "document/info_icon.h"
#include "document/info_image.h"

#include <QString>
#include <string>
#include <string_view>
#include <vector>

namespace vodirev {

class DesktopSession;
class ImageCache;

// Size of the icons of the program menus.
inline constexpr int kMenuIconSize = 16;

// "1,사용자,%s,%s\n": a background added by the user, the path in both image fields.
std::string BackgroundLine(std::string_view path);
// "%s\n": one image path (folder image lists, the picture list).
std::string PathLine(std::string_view path);
// "%d;%s;%s;%s;%s;%s\n": folder, image, name, dir, program, url.
std::string MenuLine(const CInfoIcon& icon);
// "%d;%s;%s;SYSTEM;%s;SYSTEM\n": the working folder and the url are not written.
std::string SysMenuLine(const CInfoIcon& icon);
// "%ld,%ld,%ld" without a line end.
std::string LauncherLine(int x, int y, int type);

// One menu line (without its line end; a trailing "\n" or "\r\n" is dropped too):
// six fields split at semicolons, the first read as a number; a missing field is
// empty. The sixth field takes the rest of the line, so a web address holding a
// semicolon is kept whole and written back unchanged.
CInfoIcon ParseMenuLine(std::string_view line);

// Fills session.m_arrMenu from MenuListName(N) (N = m_nDesktop above 0) or
// "LIST_MENU.db"; an entry is kept only when its image decodes and scales to 16 x 16.
// Returns 0, or -1 when neither file opens. The cache, when given, shares decodes.
int LoadMenuList(DesktopSession& session, ImageCache* cache = nullptr);
// Replaces session.m_arrSysMenu with every entry of SysMenuListName(N) or
// "LIST_SYSMENU.db". Returns 0, or -1 when neither file opens.
int LoadSysMenuList(DesktopSession& session);

struct LauncherValues {
    int x = 0;
    int y = 100;
    int type = 0;
};
// The launcher line: the text before the first comma is x, between the first and
// second comma y, after the last comma the type; further commas only restart the
// field. Each field keeps its first 19 characters (the rest up to the next comma is
// ignored). Values without their comma keep the given ones, except the type, which
// is always read (an empty line gives type 0).
LauncherValues ParseLauncherLine(std::string_view line, LauncherValues values);
// Reads the first line of LauncherFileName(m_nDesktop) into m_nLauncherX/Y/Type.
// Returns whether the file was read; when it cannot be opened the values stay. The
// launcher bitmap is not loaded here.
bool ReadLauncherFile(DesktopSession& session);

// The background catalogue of a background list file (third and fourth fields; a
// missing field is empty), one record per non-empty line; a missing file gives none.
std::vector<CInfoBackground> LoadBackgroundList(const QString& fileName);
// The caption of a background: the text after the last backslash of the image path
// without its last four characters (the extension).
std::string BackgroundName(std::string_view imagePath);
// The folder images of a path list file: every line longer than five bytes (without
// its line end); a missing file gives none.
std::vector<CInfoImage> LoadImageList(const QString& fileName);

}  // namespace vodirev
