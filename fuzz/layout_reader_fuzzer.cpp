// Layout reader: any bytes as a layout file. What was read must be written as a file
// the reader takes again, and one more read and write must change nothing.

#include "base/text_file.h"
#include "document/desktop_info.h"
#include "document/image_cache.h"
#include "document/layout_reader.h"
#include "document/layout_writer.h"
#include "fuzz_util.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

using namespace vodirev;

namespace {

using fuzz::Check;
using fuzz::InWorkDir;

// One cache for the whole run: the pictures of the working folder never change, and
// decoding them again for every input would only slow the search down.
ImageCache& Pictures() {
    static ImageCache cache;
    return cache;
}

// The text as its file holds it (CR LF), read again and written again.
std::string ReadWriteRead(const std::string& text) {
    const std::string stored = ToCrLf(text);
    CDesktopInfo doc;
    Check(ReadLayoutBytes(doc, QByteArray(stored.data(), qsizetype(stored.size())), Pictures()) ==
              LayoutLoadStatus::kRead,
          "a written layout does not read back");
    return BuildLayoutText(doc, doc.m_nWidth, doc.m_nHeight, true);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    vodirev::fuzz::AbsoluteArtifactPrefix(argc, argv);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static QGuiApplication app(*argc, *argv);
    const InWorkDir inWorkDir;
    QDir().mkpath(QStringLiteral("images/bkicons"));
    QImage icon(8, 8, QImage::Format_RGB32);
    icon.fill(Qt::blue);
    icon.save(QStringLiteral("images/bkicons/64X64_16.gif"), "PNG");
    icon.save(QStringLiteral("images/bkicons/a.png"), "PNG");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const InWorkDir inWorkDir;
    {
        QFile file(QStringLiteral("desktop001.xml"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            return 0;
        }
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    CDesktopInfo doc;
    if (ReadLayoutFile(doc, QStringLiteral("desktop001.xml"), Pictures()) !=
        LayoutLoadStatus::kRead) {
        Check(doc.m_arrFolder.empty() && doc.m_arrUserImage.empty(),
              "a refused file left records behind");
        return 0;
    }
    const std::string first = BuildLayoutText(doc, doc.m_nWidth, doc.m_nHeight, true);
    // The first write normalises (trimmed texts, renumbered labels, line ends);
    // from then on the text must stay byte for byte the same.
    const std::string second = ReadWriteRead(first);
    const std::string third = ReadWriteRead(second);
    Check(second == third, "rewriting a written layout changed it");
    return 0;
}
