// vodirev layout [--workdir DIR] FILE: what the editor reads from a layout file.
// vodirev layout [--workdir DIR] --rewrite IN OUT: reads IN and writes it again as the
// editor saves it.
// The image paths in a layout are relative to the working folder, which is where the
// layout file lies (the editor keeps it there) unless --workdir names another one;
// the tool may be started from any folder.

#include "commands.h"

#include "base/regular_file.h"
#include "base/text.h"
#include "base/text_file.h"
#include "document/desktop_info.h"
#include "document/image_cache.h"
#include "document/layout_reader.h"
#include "document/layout_writer.h"
#include "imaging/image_io.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <string>

using namespace vodirev;

namespace {

// A text for one terminal line: CP949 decoded, line ends shown as "\n".
QByteArray Shown(std::string_view cp949) {
    QString text = fromCp949(cp949);
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'\r', QStringLiteral("\\r"));
    text.replace(u'\n', QStringLiteral("\\n"));
    return QStringLiteral("\"%1\"").arg(text).toLocal8Bit();
}

QByteArray Size(const QImage& image) {
    return image.isNull()
               ? QByteArray("none")
               : QByteArray::number(image.width()) + 'x' + QByteArray::number(image.height());
}

// Reads the layout with the working folder as the current folder, as the editor
// does; the current folder is the tool's own again afterwards.
bool Load(CDesktopInfo& doc, const QString& path, const QString& workDir) {
    const QString file = QFileInfo(path).absoluteFilePath();
    const QString folder = workDir.isEmpty() ? QFileInfo(file).absolutePath() : workDir;
    if (!QFileInfo(folder).isDir()) {
        std::fprintf(stderr, "vodirev layout: no such folder: %s\n", qPrintable(folder));
        return false;
    }
    const QString previous = QDir::currentPath();
    QDir::setCurrent(folder);
    // The pictures of one layout share the editor's budget of decoded pixels.
    PixelBudget budget;
    ImageCache cache(&budget);
    const LayoutLoadStatus status = ReadLayoutFile(doc, file, cache);
    QDir::setCurrent(previous);
    for (const QString& refused : budget.Refused()) {
        std::fprintf(stderr, "vodirev layout: %s left out: the pictures together are too large\n",
                     qPrintable(refused));
    }
    switch (status) {
        case LayoutLoadStatus::kRead:
            return true;
        case LayoutLoadStatus::kMissing:
            std::fprintf(stderr, "vodirev layout: cannot open %s\n", qPrintable(path));
            return false;
        case LayoutLoadStatus::kNotWellFormed:
            std::fprintf(stderr, "vodirev layout: %s is not well-formed XML\n", qPrintable(path));
            return false;
        case LayoutLoadStatus::kRefused:
            std::fprintf(stderr, "vodirev layout: %s is too large or not a regular file\n",
                         qPrintable(path));
            return false;
    }
    return false;
}

void Print(const CDesktopInfo& doc) {
    std::printf("background width=%d height=%d image=%s bitmap=%s\n", doc.m_nWidth, doc.m_nHeight,
                Shown(doc.m_szBackground).constData(), Size(doc.m_imgBackground).constData());
    int number = 0;
    for (const CInfoFolder& icon : doc.m_arrFolder) {
        const ItemRect& rc = icon.m_rcItem;
        std::printf(
            "icon %d x=%d y=%d width=%d height=%d flag=%d type=%d showflag=%d "
            "rect=%d,%d,%d,%d image=%s bitmap=%s title=%s link=%s dir=%s\n",
            ++number, icon.m_nX, icon.m_nY, icon.m_nWidth, icon.m_nHeight, icon.m_nFlag,
            icon.m_nType, icon.m_bShow, rc.left, rc.top, rc.right, rc.bottom,
            Shown(icon.m_szImage).constData(), Size(icon.m_pBitmap).constData(),
            Shown(icon.m_strTitle).constData(), Shown(icon.m_strLink).constData(),
            Shown(icon.m_szDir).constData());
    }
    for (int slot = 0; slot < kLabelSlots; ++slot) {
        if (!doc.m_bLabelUsed[slot]) {
            continue;
        }
        const CInfoLabel& label = doc.m_label[slot];
        const ColorRef color = doc.m_crLabel[slot];
        std::printf(
            "window slot=%d x=%d y=%d height=%d weight=%d charset=%d fontname=%s "
            "color=%d,%d,%d title=%s\n",
            slot, label.m_nX, label.m_nY, label.m_nHeight, label.m_nWeight, label.m_nCharset,
            Shown(label.m_szFont).constData(), RedOf(color), GreenOf(color), BlueOf(color),
            Shown(label.m_strText).constData());
    }
    for (const CInfoUserImage& picture : doc.m_arrUserImage) {
        std::printf("image x=%d y=%d path=%s bitmap=%s\n", picture.m_nX, picture.m_nY,
                    Shown(picture.m_strPath).constData(), Size(picture.m_pBitmap).constData());
    }
}

}  // namespace

int RunLayoutCommand(const QStringList& words) {
    QStringList args = words;
    QString workDir;
    if (args.size() >= 2 && args[0] == u"--workdir") {
        workDir = QFileInfo(args[1]).absoluteFilePath();
        args = args.mid(2);
    }
    if (args.size() == 1 && !args[0].startsWith(u'-')) {
        CDesktopInfo doc;
        if (!Load(doc, args[0], workDir)) {
            return 1;
        }
        Print(doc);
        return 0;
    }
    if (args.size() == 3 && args[0] == u"--rewrite") {
        CDesktopInfo doc;
        if (!Load(doc, args[1], workDir)) {
            return 1;
        }
        if (!IsReplaceableTarget(args[2])) {
            std::fprintf(stderr,
                         "vodirev layout: %s exists and is not a regular file; not replaced\n",
                         qPrintable(args[2]));
            return 1;
        }
        if (!WriteTextFile(args[2], BuildLayoutText(doc, doc.m_nWidth, doc.m_nHeight, true))) {
            std::fprintf(stderr, "vodirev layout: cannot write %s\n", qPrintable(args[2]));
            return 1;
        }
        return 0;
    }
    std::fputs(
        "usage: vodirev layout [--workdir DIR] FILE\n"
        "       vodirev layout [--workdir DIR] --rewrite IN OUT\n",
        stderr);
    return 2;
}
