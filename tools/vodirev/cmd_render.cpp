#include "commands.h"

#include <cstdio>

int RunRenderCommand(const QStringList&) {
    std::fputs("vodirev render: not built yet\n", stderr);
    return 1;
}
