// vodirev: companion tool of the VeradaVodirev editor.

#include "commands.h"
#include "room_arguments.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

static int usage() {
    std::fputs(
        "usage: vodirev scale IN W H OUT\n"
        "       vodirev layout [--workdir DIR] FILE\n"
        "       vodirev layout [--workdir DIR] --rewrite IN OUT\n"
        "       vodirev render WORKDIR N OUT.png\n"
        "       vodirev pull ROOM N [T] [--dir DIR]\n"
        "       vodirev publish ROOM N [--dir DIR] [--title TEXT] [--to ROOM]... "
        "[--to-file FILE]\n",
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
    if (command == u"pull") {
        return RunPullCommand(vodirev::RoomCommandWords(argc, argv, 2));
    }
    if (command == u"publish") {
        return RunPublishCommand(vodirev::RoomCommandWords(argc, argv, 2));
    }
    return usage();
}
