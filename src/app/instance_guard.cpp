#include "app/instance_guard.h"

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace vodirev {

static bool isPid(const char* name) {
    if (*name == '\0') {
        return false;
    }
    for (const char* p = name; *p; ++p) {
        if (*p < '0' || *p > '9') {
            return false;
        }
    }
    return true;
}

bool ProcessHasModule(int pid, const std::string& moduleName, const std::string& procRoot) {
    const std::string link = procRoot + "/" + std::to_string(pid) + "/exe";
    char target[4096];
    const ssize_t length = readlink(link.c_str(), target, sizeof target);
    if (length <= 0 || std::size_t(length) >= sizeof target) {
        return false;
    }
    std::string path(target, std::size_t(length));
    const std::string deleted = " (deleted)";
    if (path.size() > deleted.size() &&
        path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0) {
        path.resize(path.size() - deleted.size());
    }
    const std::size_t slash = path.rfind('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    return path.compare(nameStart, std::string::npos, moduleName) == 0;
}

int CountProcessesWithModule(const std::string& moduleName, const std::string& procRoot) {
    DIR* dir = opendir(procRoot.c_str());
    if (dir == nullptr) {
        return -1;
    }
    int count = 0;
    while (const dirent* entry = readdir(dir)) {
        if (isPid(entry->d_name) &&
            ProcessHasModule(std::atoi(entry->d_name), moduleName, procRoot)) {
            ++count;
        }
    }
    closedir(dir);
    return count;
}

}  // namespace vodirev
