// vodirev render WORKDIR N OUT.png: the frame the editor shows for desktop N of a
// working folder, with the pointer outside the window. Reads only local files:
// the launcher, the menus and the layout, as start-up does without a server.

#include "base/text.h"
#include "commands.h"
#include "editor/canvas_state.h"
#include "editor/frame_renderer.h"
#include "editor/korean_fonts.h"
#include "imaging/image_io.h"
#include "session/startup_sequence.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

int RunRenderCommand(const QStringList& args) {
    using namespace vodirev;
    if (args.size() != 3) {
        std::fputs("usage: vodirev render WORKDIR N OUT.png\n", stderr);
        return 2;
    }
    bool numeric = false;
    const int desktop = args[1].toInt(&numeric);
    if (!numeric) {
        std::fprintf(stderr, "vodirev render: not a desktop number: %s\n", qPrintable(args[1]));
        return 2;
    }
    const QString workDir = args[0];
    if (!QFileInfo(workDir).isDir()) {
        std::fprintf(stderr, "vodirev render: no such folder: %s\n", qPrintable(workDir));
        return 1;
    }
    // The output is named from where the tool was started, the files from the
    // working folder.
    const QString out = QFileInfo(args[2]).absoluteFilePath();

    InstallKoreanFontSubstitutions();
    DesktopSession session;
    const QString previous = QDir::currentPath();
    QDir::setCurrent(workDir);
    session.m_szWorkDir = toCp949(QDir::currentPath());
    const StartupNotes notes = LoadWorkingFolder(session, desktop);
    if (notes.resolutionRefused) {
        std::fprintf(stderr, "vodirev render: %s\n",
                     RefusedResolutionMessage(notes.layoutResolution, session.m_nResWidth,
                                              session.m_nResHeight)
                         .toLocal8Bit()
                         .constData());
    }
    if (!notes.refusedImages.isEmpty()) {
        std::fprintf(stderr, "vodirev render: %s\n",
                     RefusedImagesMessage(notes.refusedImages).toLocal8Bit().constData());
    }
    QDir::setCurrent(previous);

    CanvasState outside;
    outside.m_ptMouse = QPoint(-1, -1);
    FrameRenderer renderer;
    const QImage frame = renderer.RenderFrame(session, outside);
    if (frame.isNull()) {
        std::fputs("vodirev render: the frame could not be made\n", stderr);
        return 1;
    }
    if (!SaveBitmapToFile(out, frame)) {
        std::fprintf(stderr, "vodirev render: cannot write %s\n", qPrintable(out));
        return 1;
    }
    std::printf("%s: %dx%d\n", qPrintable(out), frame.width(), frame.height());
    return 0;
}
