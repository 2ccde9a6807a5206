#pragma once
// Sub-commands of the vodirev tool; each takes the words after its name and returns
// the exit status.

#include <QStringList>

int RunScaleCommand(const QStringList& args);
int RunLayoutCommand(const QStringList& args);
int RunRenderCommand(const QStringList& args);
// The words of pull and publish are taken as the editor takes its arguments
// (RoomCommandWords): 0 all well, 1 something failed, 2 a usage error.
int RunPullCommand(const QStringList& words);
int RunPublishCommand(const QStringList& words);
