#pragma once
// Paths as files and requests hold them ("images\bkicons\64X64_16.gif", sometimes
// with doubled backslashes) and their form on the local file system.

#include <QString>
#include <string_view>

namespace vodirev {

// The local file system path of a stored path, relative to the current folder:
// the CP949 bytes decoded, every run of backslashes made one '/'.
// Use it for every file-system access to a stored path and for nothing else.
QString localPath(std::string_view storedPath);

// True when a stored path stays inside the working folder: not empty, not absolute
// (no leading '/' or '\', no drive letter), no ".." component, no NUL or control byte.
// Paths from server-made lists and layouts that fail this are neither fetched,
// uploaded nor opened.
bool isSafeRelativePath(std::string_view storedPath);

// True when a stored path is safe and its real location, every link resolved, lies
// inside the current (working) folder. The part of the path that does not exist yet
// is taken as it stands; a dangling link is refused. Every file-system access of the
// editor to a stored path checks this: `images\user` as a link to /etc opens nothing.
bool isInsideWorkingFolder(std::string_view storedPath);

// True when a stored path is inside the working folder and names an existing file of the working
// folder.
bool LocalFileExists(std::string_view storedPath);

}  // namespace vodirev
