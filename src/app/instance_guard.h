#pragma once
// Counting running editors: a process counts when it maps a file whose base name is
// exactly the editor's executable name (case-sensitive) and we may read its maps.

#include <string>

namespace vodirev {

inline constexpr const char* kEditorModuleName = "VeradaVodirev";

// True when process pid maps a file whose base name equals moduleName exactly.
// False when the process's map cannot be read.
bool ProcessHasModule(int pid, const std::string& moduleName,
                      const std::string& procRoot = "/proc");

// Number of processes under procRoot that have the module; -1 when the process list
// itself cannot be read.
int CountProcessesWithModule(const std::string& moduleName, const std::string& procRoot = "/proc");

}  // namespace vodirev
