#include "app/instance_guard.h"

#include <dirent.h>

#include <cstdlib>
#include <fstream>
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
    std::ifstream maps(procRoot + "/" + std::to_string(pid) + "/maps");
    if (!maps) {
        return false;
    }
    std::string line;
    while (std::getline(maps, line)) {
        // "address perms offset dev inode   pathname": the path starts at the first '/'.
        const std::size_t pathStart = line.find('/');
        if (pathStart == std::string::npos) {
            continue;
        }
        std::string path = line.substr(pathStart);
        const std::string deleted = " (deleted)";
        if (path.size() > deleted.size() &&
            path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0) {
            path.resize(path.size() - deleted.size());
        }
        const std::size_t slash = path.rfind('/');
        if (path.compare(slash + 1, std::string::npos, moduleName) == 0) {
            return true;
        }
    }
    return false;
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
