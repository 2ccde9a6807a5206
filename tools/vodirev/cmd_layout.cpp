#include "commands.h"

#include <cstdio>

int RunLayoutCommand(const QStringList&) {
    std::fputs("vodirev layout: not built yet\n", stderr);
    return 1;
}
