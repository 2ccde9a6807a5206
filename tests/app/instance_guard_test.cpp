#include "app/instance_guard.h"
#include "common/temp_dir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

using namespace vodirev;
using vodirev::test::WriteFileBytes;

namespace {

// A process under a fake /proc: the program it runs, and its memory map.
void fakeProcess(const QString& root, int pid, const char* program, const QByteArray& maps = {}) {
    const QString dir = QStringLiteral("%1/%2").arg(root).arg(pid);
    WriteFileBytes(dir + "/maps", maps);
    ASSERT_TRUE(QFile::link(QString::fromUtf8(program), dir + "/exe"));
}

QByteArray mapLine(const char* path) {
    return QByteArray("55d0c0a00000-55d0c0a21000 r--p 00000000 fe:01 1311 ") + path + "\n";
}

}  // namespace

TEST(InstanceGuard, CountsProcessesByTheProgramTheyRun) {
    QTemporaryDir proc;
    fakeProcess(proc.path(), 10, "/opt/vv/VeradaVodirev", mapLine("/usr/lib/libc.so.6"));
    fakeProcess(proc.path(), 11, "/home/op/VeradaVodirev (deleted)");
    fakeProcess(proc.path(), 12, "/opt/vv/veradavodirev");        // other letter case
    fakeProcess(proc.path(), 13, "/opt/vv/VeradaVodirev-copy");   // renamed copy
    fakeProcess(proc.path(), 14, "/opt/VeradaVodirev/bin/tool");  // folder of that name
    // A debugger or an indexer that maps the editor's file is no editor.
    fakeProcess(proc.path(), 15, "/usr/bin/gdb", mapLine("/opt/vv/VeradaVodirev"));
    QDir(proc.path()).mkpath("16");  // a process whose program we may not read
    QDir(proc.path()).mkpath("self-not-a-pid");

    const std::string root = proc.path().toStdString();
    EXPECT_TRUE(ProcessHasModule(10, kEditorModuleName, root));
    EXPECT_TRUE(ProcessHasModule(11, kEditorModuleName, root));
    for (int pid : {12, 13, 14, 15, 16}) {
        EXPECT_FALSE(ProcessHasModule(pid, kEditorModuleName, root)) << pid;
    }
    EXPECT_EQ(CountProcessesWithModule(kEditorModuleName, root), 2);
    EXPECT_EQ(CountProcessesWithModule(kEditorModuleName, "/nonexistent-proc"), -1);
}

namespace {

QString editorPath() {
    return QString::fromLocal8Bit(qgetenv("VODIREV_BIN_DIR")) + "/src/app/VeradaVodirev";
}

// Starts the editor in an empty working folder on the offscreen platform.
void startEditor(QProcess& process, const QString& program, const QString& workDir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(workDir);
    process.start(program, {});
    ASSERT_TRUE(process.waitForStarted(10000));
}

bool stillRunningAfter(QProcess& process, int ms) {
    return !process.waitForFinished(ms);
}

}  // namespace

TEST(InstanceGuard, SecondEditorEndsAtOnceWhileARenamedCopyRuns) {
    if (CountProcessesWithModule(kEditorModuleName) > 0) {
        GTEST_SKIP() << "an editor is already running on this machine";
    }
    QTemporaryDir work;
    QProcess first;
    startEditor(first, editorPath(), work.path());
    ASSERT_TRUE(stillRunningAfter(first, 1500)) << "the only editor must open";

    QElapsedTimer timer;
    timer.start();
    QProcess second;
    startEditor(second, editorPath(), work.path());
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_LT(timer.elapsed(), 8000);

    // A copy under another file name counts only the one editor running: it opens.
    const QString copy = work.filePath("VeradaVodirev-copy");
    ASSERT_TRUE(QFile::copy(editorPath(), copy));
    QFile::setPermissions(copy, QFile::permissions(editorPath()));
    QProcess renamed;
    startEditor(renamed, copy, work.path());
    EXPECT_TRUE(stillRunningAfter(renamed, 1500));

    for (QProcess* p : {&first, &renamed}) {
        p->kill();
        p->waitForFinished(5000);
    }
}
