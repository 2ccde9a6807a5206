#pragma once
// File names in the operator's messages: one indented line each, the first twenty,
// then how many more.

#include <QStringList>
#include <string>
#include <vector>

namespace vodirev {

// A room can name hundreds of images; a message lists the first ones.
inline constexpr int kMaxListedFiles = 20;

// Appends the CP949 names to lines, "  NAME" each (runs of backslashes shown as one), and "  … 외
// N개" for the rest.
void AppendFileList(QStringList& lines, const std::vector<std::string>& files);

}  // namespace vodirev
