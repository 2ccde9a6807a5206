#pragma once
// Counting running editors: a process counts when the program it runs (its
// /proc/PID/exe link) has exactly the editor's executable name as base name
// (case-sensitive). A process that merely maps the file (a debugger, an indexer)
// does not count.

#include <string>

namespace vodirev {

inline constexpr const char* kEditorModuleName = "VeradaVodirev";

// True when process pid runs a program whose base name equals moduleName exactly
// (also when that file was deleted or replaced since). False when the process's
// program link cannot be read.
bool ProcessHasModule(int pid, const std::string& moduleName,
                      const std::string& procRoot = "/proc");

// Number of processes under procRoot that have the module; -1 when the process list
// itself cannot be read.
int CountProcessesWithModule(const std::string& moduleName, const std::string& procRoot = "/proc");

}  // namespace vodirev
