// vodirev layout and vodirev render, run as programs in a working folder.

#include "base/text.h"
#include "common/temp_dir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <zlib.h>
#include <QDir>
#include <QImage>
#include <QProcess>
#include <QtEndian>

using namespace vodirev;
using vodirev::test::ReadFileBytes;
using vodirev::test::ScopedWorkDir;
using vodirev::test::WriteFileBytes;

namespace {

struct ToolRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun runVodirev(const QStringList& args) {
    QProcess process;
    process.start(qEnvironmentVariable("VODIREV_BIN_DIR") + "/tools/vodirev/vodirev", args);
    ToolRun run;
    if (!process.waitForFinished(60000)) {
        process.kill();
        return run;
    }
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

void writeImage(const QString& path, QSize size, QColor color) {
    QDir().mkpath(QFileInfo(path).path());
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    ASSERT_TRUE(image.save(path));
}

QByteArray pngChunk(const char* type, const QByteArray& data) {
    QByteArray chunk(4, '\0');
    qToBigEndian<quint32>(quint32(data.size()), chunk.data());
    const QByteArray body = QByteArray(type) + data;
    QByteArray crc(4, '\0');
    qToBigEndian<quint32>(
        quint32(crc32(0, reinterpret_cast<const Bytef*>(body.constData()), uInt(body.size()))),
        crc.data());
    return chunk + body + crc;
}

// An 8-bit grey PNG of width x height black pixels: a valid picture of a hundred
// million pixels is under 100 KB.
void writeBlackPng(const QString& path, int width, int height) {
    z_stream z{};
    ASSERT_EQ(deflateInit2(&z, 9, Z_DEFLATED, 15, 9, Z_RLE), Z_OK);
    const std::vector<Bytef> row(std::size_t(width) + 1, 0);  // filter byte, pixels
    QByteArray compressed;
    std::vector<Bytef> out(1 << 16);
    for (int y = 0; y <= height; ++y) {
        const bool last = y == height;
        z.next_in = const_cast<Bytef*>(row.data());
        z.avail_in = last ? 0 : uInt(row.size());
        do {
            z.next_out = out.data();
            z.avail_out = uInt(out.size());
            deflate(&z, last ? Z_FINISH : Z_NO_FLUSH);
            compressed.append(reinterpret_cast<const char*>(out.data()),
                              qsizetype(out.size() - z.avail_out));
        } while (z.avail_out == 0);
    }
    deflateEnd(&z);
    QByteArray header(13, '\0');
    qToBigEndian<quint32>(quint32(width), header.data());
    qToBigEndian<quint32>(quint32(height), header.data() + 4);
    header[8] = 8;  // bits; colour type 0 (grey)
    QDir().mkpath(QFileInfo(path).path());
    WriteFileBytes(path, "\x89PNG\r\n\x1a\n" + pngChunk("IHDR", header) +
                             pngChunk("IDAT", compressed) + pngChunk("IEND", {}));
}

QByteArray layout(int width, int height, const std::string& iconTitle) {
    return QByteArray::fromStdString(
        "<?xml version=\"1.0\" encoding=\"euc-kr\" ?>\r\n<desktop>\r\n"
        "<background name=\"bg\" width=\"" +
        std::to_string(width) + "\" height=\"" + std::to_string(height) +
        "\">\r\n<image>images\\bg.png</image>\r\n</background>\r\n"
        "<icon name=\"icon1\" x=\"50\" y=\"60\" width=\"64\" height=\"64\"  flag=\"1\"  type=\"1\""
        " showflag=\"1\" >\r\n<title> " +
        iconTitle +
        "</title>\r\n"
        "<image> images\\icon.png</image>\r\n<link>http://a/?x=1&amp;y=2</link>\r\n"
        "<dir></dir>\r\n</icon>\r\n"
        "<image name=\"image\" x=\"5\" y=\"6\"><path>images\\pic.png</path></image>\r\n"
        "</desktop>\r\n");
}

}  // namespace

TEST(VodirevLayoutCommand, PrintsAndRewritesALayoutStably) {
    ScopedWorkDir work;
    writeImage("images/bg.png", {32, 24}, Qt::darkGreen);
    writeImage("images/icon.png", {32, 32}, Qt::yellow);
    writeImage("images/pic.png", {10, 10}, Qt::red);
    WriteFileBytes("in.xml", layout(800, 600, toCp949(QStringLiteral("폴더 100%"))));

    const ToolRun print = runVodirev({"layout", "in.xml"});
    ASSERT_EQ(print.exitCode, 0) << print.err.toStdString();
    const QString printed = QString::fromLocal8Bit(print.out);
    EXPECT_TRUE(printed.contains(QStringLiteral("폴더 100%"))) << printed.toStdString();
    EXPECT_TRUE(printed.contains(QStringLiteral("width=800"))) << printed.toStdString();

    ASSERT_EQ(runVodirev({"layout", "--rewrite", "in.xml", "out.xml"}).exitCode, 0);
    ASSERT_EQ(runVodirev({"layout", "--rewrite", "out.xml", "again.xml"}).exitCode, 0);
    const QByteArray written = ReadFileBytes("out.xml");
    EXPECT_EQ(ReadFileBytes("again.xml"), written);
    // The link's "&" is written as an entity and the picture is kept.
    EXPECT_TRUE(written.contains("<link>http://a/?x=1&amp;y=2</link>\r\n"));
    EXPECT_TRUE(
        written.contains("<image name=\"image\" x=\"5\" y=\"6\"><path>images\\pic.png"
                         "</path></image>\r\n"));
    EXPECT_TRUE(written.contains("<background name=\"bg\" width=\"800\" height=\"600\">\r\n"));

    const ToolRun missing = runVodirev({"layout", "nothing.xml"});
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_FALSE(missing.err.isEmpty());
}

// The image paths of a layout are relative to the layout's folder (or to --workdir):
// started anywhere, the tool reads the same pictures.
TEST(VodirevLayoutCommand, ResolvesImagesAgainstTheLayoutsFolderFromAnywhere) {
    ScopedWorkDir work;
    QDir().mkpath("room");
    QDir().mkpath("copies");
    QDir::setCurrent("room");
    writeImage("images/bg.png", {32, 24}, Qt::darkGreen);
    writeImage("images/icon.png", {32, 32}, Qt::yellow);
    writeImage("images/pic.png", {10, 10}, Qt::red);
    WriteFileBytes("desktop001.xml", layout(800, 600, "A"));
    const ToolRun inside = runVodirev({"layout", "desktop001.xml"});
    ASSERT_EQ(inside.exitCode, 0) << inside.err.toStdString();
    EXPECT_TRUE(inside.out.contains("bitmap=32x24")) << inside.out.toStdString();
    EXPECT_TRUE(inside.out.contains("image=\"images\\\\icon.png\" bitmap=32x32"))
        << inside.out.toStdString();
    EXPECT_TRUE(inside.out.contains("path=\"images\\\\pic.png\" bitmap=10x10"));
    ASSERT_EQ(runVodirev({"layout", "--rewrite", "desktop001.xml", "../inside.xml"}).exitCode, 0);
    QDir::setCurrent("..");
    WriteFileBytes("copies/elsewhere.xml", layout(800, 600, "A"));

    const ToolRun outside = runVodirev({"layout", "room/desktop001.xml"});
    ASSERT_EQ(outside.exitCode, 0) << outside.err.toStdString();
    EXPECT_EQ(outside.out, inside.out);
    const ToolRun chosen = runVodirev({"layout", "--workdir", "room", "copies/elsewhere.xml"});
    ASSERT_EQ(chosen.exitCode, 0) << chosen.err.toStdString();
    EXPECT_EQ(chosen.out, inside.out);
    // The rewrite keeps the icon's picture (a missing one would become the default).
    ASSERT_EQ(runVodirev({"layout", "--rewrite", "room/desktop001.xml", "outside.xml"}).exitCode,
              0);
    EXPECT_EQ(ReadFileBytes("outside.xml"), ReadFileBytes("inside.xml"));
    EXPECT_TRUE(ReadFileBytes("outside.xml").contains("<image> images\\icon.png</image>"));

    EXPECT_NE(runVodirev({"layout", "--workdir", "nowhere", "room/desktop001.xml"}).exitCode, 0);
}

TEST(VodirevRenderCommand, WritesTheFrameOfAWorkingFolderWithoutNetwork) {
    ScopedWorkDir work;
    QDir().mkpath("room");
    QDir::setCurrent("room");
    writeImage("images/bg.png", {32, 24}, QColor(0, 128, 0));
    writeImage("images/icon.png", {32, 32}, QColor(255, 255, 0));
    writeImage("images/pic.png", {10, 10}, QColor(255, 0, 0));
    writeImage("images/bkicons/launcherA.bmp", {60, 20}, QColor(0, 0, 255));
    WriteFileBytes("desktop001.xml", layout(640, 480, "A"));
    WriteFileBytes("LAUNCHER_001.TXT", "300,400,0");
    QDir::setCurrent("..");

    const ToolRun run = runVodirev({"render", "room", "1", "frame.png"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QImage frame("frame.png");
    ASSERT_EQ(frame.size(), QSize(640, 480 + 40));
    EXPECT_EQ(QColor(frame.pixel(400, 20)), QColor(200, 200, 200));  // the strip
    EXPECT_EQ(QColor(frame.pixel(400, 200)), QColor(0, 128, 0));     // the background
    EXPECT_EQ(QColor(frame.pixel(60, 110)), QColor(255, 255, 0));    // icon at canvas (50, 60)
    EXPECT_EQ(QColor(frame.pixel(8, 50)), QColor(255, 0, 0));        // picture at (5, 6)
    EXPECT_EQ(QColor(frame.pixel(310, 410)), QColor(0, 0, 255));     // launcher, client coords

    EXPECT_NE(runVodirev({"render", "room"}).exitCode, 0);
}

// Pictures that each pass the per-picture limits but together would take gigabytes:
// what passes the folder's pixel budget is left out before it is decoded, and the
// operator is told which files.
TEST(VodirevRenderCommand, LeavesOutPicturesPastTheFoldersPixelBudget) {
    ScopedWorkDir work;
    QDir().mkpath("room");
    QDir::setCurrent("room");
    writeImage("images/bg.png", {32, 24}, QColor(0, 128, 0));
    writeBlackPng("images/p0.png", 10000, 10000);
    ASSERT_LT(QFileInfo("images/p0.png").size(), 200'000);
    QByteArray pictures;
    for (int i = 0; i < 3; ++i) {
        const QString name = QStringLiteral("images/p%1.png").arg(i);
        if (i > 0) {
            ASSERT_TRUE(QFile::copy("images/p0.png", name));
        }
        pictures += "<image name=\"image\" x=\"10\" y=\"10\"><path>images\\p" +
                    QByteArray::number(i) + ".png</path></image>\r\n";
    }
    QByteArray desktop = layout(640, 480, "A");
    desktop.replace("</desktop>", pictures + "</desktop>");
    WriteFileBytes("desktop001.xml", desktop);
    QDir::setCurrent("..");

    const ToolRun run = runVodirev({"render", "room", "1", "frame.png"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QString err = QString::fromLocal8Bit(run.err);
    for (const char* name : {"images/p0.png", "images/p1.png", "images/p2.png"}) {
        EXPECT_EQ(err.count(QString::fromLatin1(name)), 1) << name << ": " << err.toStdString();
    }
    const QImage frame("frame.png");
    ASSERT_EQ(frame.size(), QSize(640, 480 + 40));
    EXPECT_EQ(QColor(frame.pixel(400, 200)), QColor(0, 128, 0));  // no black picture over it
}

// The editor's bound on the resolution holds for the tool: it renders at the
// default resolution and says why.
TEST(VodirevRenderCommand, RefusesAnAbsurdResolutionAsTheEditorDoes) {
    ScopedWorkDir work;
    QDir().mkpath("room");
    QDir::setCurrent("room");
    writeImage("images/bg.png", {32, 24}, QColor(0, 128, 0));
    WriteFileBytes("desktop001.xml", layout(40000, 40000, "A"));
    QDir::setCurrent("..");

    const ToolRun run = runVodirev({"render", "room", "1", "frame.png"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(QString::fromLocal8Bit(run.err).contains(QStringLiteral("40000 x 40000")))
        << run.err.toStdString();
    EXPECT_EQ(QImage("frame.png").size(), QSize(1024, 768 + 40));
}

// A FIFO read would never return; a rewrite onto a FIFO or a device link would put a
// regular file in its place.
TEST(VodirevLayoutCommand, RefusesFilesThatAreNotRegularFiles) {
    ScopedWorkDir work;
    ASSERT_EQ(::mkfifo("fifo.xml", 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/null", "null.xml"));
    WriteFileBytes("desktop001.xml", layout(800, 600, "A"));

    const ToolRun read = runVodirev({"layout", "fifo.xml"});
    EXPECT_EQ(read.exitCode, 1);
    EXPECT_TRUE(read.err.contains("not a regular file")) << read.err.toStdString();
    for (const char* target : {"fifo.xml", "null.xml"}) {
        const ToolRun run = runVodirev({"layout", "--rewrite", "desktop001.xml", target});
        EXPECT_EQ(run.exitCode, 1) << target;
        EXPECT_TRUE(run.err.contains("is not a regular file; not replaced"))
            << run.err.toStdString();
    }
    struct stat info {};
    ASSERT_EQ(::lstat("fifo.xml", &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_TRUE(QFileInfo("null.xml").isSymLink());
    EXPECT_EQ(runVodirev({"layout", "--rewrite", "desktop001.xml", "out.xml"}).exitCode, 0);
}
