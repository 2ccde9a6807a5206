#include "commands.h"

#include <cstdio>

int RunScaleCommand(const QStringList&) {
    std::fputs("vodirev scale: not built yet\n", stderr);
    return 1;
}
