// vodirev: companion tool of the VeradaVodirev editor.

#include "commands.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

static int usage() {
    std::fputs(
        "usage: vodirev scale IN W H OUT\n"
        "       vodirev layout [--workdir DIR] FILE\n"
        "       vodirev layout [--workdir DIR] --rewrite IN OUT\n"
        "       vodirev render WORKDIR N OUT.png\n",
        stderr);
    return 2;
}

int main(int argc, char** argv) {
    // Fonts and images need a GUI application, never a display.
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments();
    args.removeFirst();
    if (args.isEmpty()) {
        return usage();
    }
    const QString command = args.takeFirst();
    if (command == u"scale") {
        return RunScaleCommand(args);
    }
    if (command == u"layout") {
        return RunLayoutCommand(args);
    }
    if (command == u"render") {
        return RunRenderCommand(args);
    }
    return usage();
}
