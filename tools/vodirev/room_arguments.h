#pragma once
// The words pull and publish share: room ids and desktop numbers as the editor takes
// them from its own command line, and the working folder they work in.

#include <QString>
#include <QStringList>
#include <optional>
#include <string>

namespace vodirev {

// The tool's words after the sub-command, each taken as the editor takes its own
// arguments: UTF-8, or code page 949 bytes when it is not valid UTF-8.
QStringList RoomCommandWords(int argc, const char* const* argv, int first);

// The room id in code page 949, or nothing with the reason in problem: a blank or a
// control character, a character code page 949 cannot hold, or an id the editor
// refuses (empty, longer than 19 bytes).
std::optional<std::string> RoomIdArgument(const QString& word, QString& problem);

// A desktop or template number: one to nine digits.
std::optional<int> NumberArgument(const QString& word);

// Makes DIR the current folder (created when create is set); false with a message
// on standard error when it cannot be.
bool EnterWorkingFolder(const QString& command, const QString& dir, bool create);

}  // namespace vodirev
