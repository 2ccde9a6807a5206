// Runs the built vodirev tool's scale command end to end.

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>

#include "common/temp_dir.h"
#include "imaging/image_io.h"
#include "imaging/scale_bitmap.h"

namespace vodirev {
namespace {

using test::ScopedWorkDir;

struct ToolRun {
    int exitCode = -1;
    QByteArray err;
};

ToolRun RunScale(const QStringList& args) {
    const QString bin = qEnvironmentVariable("VODIREV_BIN_DIR") + "/tools/vodirev/vodirev";
    QProcess process;
    // A private runtime folder keeps Qt's start-up notice out of stderr.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", QDir::currentPath());
    process.setProcessEnvironment(environment);
    process.start(bin, QStringList{"scale"} + args);
    ToolRun run;
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit) {
        return run;
    }
    run.exitCode = process.exitCode();
    run.err = process.readAllStandardError();
    return run;
}

QImage Picture() {
    QImage image(48, 36, QImage::Format_RGB32);
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 48; ++x) {
            image.setPixel(x, y, qRgb((x * 5) & 0xF8, (y * 7) & 0xF8, 0x40));
        }
    }
    return image;
}

TEST(ScaleCommandTest, ScalesEveryInputFormatToEveryOutputFormat) {
    ASSERT_FALSE(qEnvironmentVariableIsEmpty("VODIREV_BIN_DIR"));
    ScopedWorkDir dir;
    for (const char* in : {"in.png", "in.jpg", "in.gif", "in.bmp"}) {
        ASSERT_TRUE(SaveBitmapToFile(in, Picture())) << in;
        const QImage expected = ScaleBitmap(LoadImageBitmap(in), 16, 12);
        for (const char* out : {"out.gif", "out.png", "out.bmp", "out.jpg"}) {
            const ToolRun run = RunScale({in, "16", "12", out});
            ASSERT_EQ(run.exitCode, 0) << in << " -> " << out << ": " << run.err.data();
            const QImage result = LoadImageBitmap(out);
            ASSERT_EQ(result.size(), QSize(16, 12)) << in << " -> " << out;
            if (QByteArray(out) != "out.jpg") {  // lossless (the GIF has few colours)
                EXPECT_EQ(result, expected) << in << " -> " << out;
            }
            QFile::remove(out);
        }
    }
}

TEST(ScaleCommandTest, FailsWithAOneLineMessage) {
    ScopedWorkDir dir;
    ASSERT_TRUE(SaveBitmapToFile("in.png", Picture()));
    test::WriteFileBytes("text.jpg", "not a picture");
    const QStringList cases[] = {
        {"in.png", "16", "12", "out.tif"},  // no encoder
        {"in.png", "16", "12", "out"},      // no extension
        {"in.png", "64", "12", "out.png"},  // grows and shrinks
        {"in.png", "0", "12", "out.png"},
        {"in.png", "x", "12", "out.png"},
        {"text.jpg", "16", "12", "out.png"},
        {"missing.png", "16", "12", "out.png"},
        {"in.png", "16", "12"},
    };
    for (const QStringList& args : cases) {
        const ToolRun run = RunScale(args);
        EXPECT_NE(run.exitCode, 0) << args.join(' ').toStdString();
        EXPECT_NE(run.exitCode, -1) << args.join(' ').toStdString();
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.data();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList{"in.png", "text.jpg"}));
}

}  // namespace
}  // namespace vodirev
