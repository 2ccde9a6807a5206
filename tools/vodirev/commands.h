#pragma once
// Sub-commands of the vodirev tool; each takes the words after its name and returns
// the exit status.

#include <QStringList>

int RunScaleCommand(const QStringList& args);
int RunLayoutCommand(const QStringList& args);
int RunRenderCommand(const QStringList& args);
