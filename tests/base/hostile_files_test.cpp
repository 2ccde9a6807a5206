// Files a hostile working folder may hold in place of regular ones: FIFOs, device
// links, folders, and links that lead out of the working folder.
#include "base/paths.h"
#include "base/regular_file.h"
#include "base/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "common/temp_dir.h"

namespace vodirev {
namespace {

TEST(RegularFiles, OnlyRegularFilesAreReadAndReplacedWithoutBlocking) {
    test::ScopedWorkDir work;
    ASSERT_EQ(::mkfifo("fifo", 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", "zero"));
    ASSERT_TRUE(QDir().mkdir("folder"));
    test::WriteFileBytes("plain.txt", "a\r\nb\r\n");
    ASSERT_TRUE(QFile::link("plain.txt", "plain-link"));

    QByteArray bytes;
    for (const char* name : {"fifo", "zero", "folder", "missing"}) {
        EXPECT_EQ(OpenRegularFile(name), nullptr) << name;
        EXPECT_FALSE(ReadRegularFile(name, 1 << 20, bytes)) << name;
        EXPECT_FALSE(TextLineReader(QString::fromLatin1(name)).isOpen()) << name;
    }
    EXPECT_TRUE(ReadRegularFile("plain-link", 100, bytes));
    EXPECT_EQ(bytes, "a\r\nb\r\n");
    EXPECT_FALSE(ReadRegularFile("plain-link", 100, bytes, LinkPolicy::Refuse));
    EXPECT_FALSE(ReadRegularFile("plain.txt", 3, bytes)) << "never more than asked";

    // A rewrite never puts a regular file in place of a FIFO, device or folder.
    for (const char* name : {"fifo", "zero", "folder"}) {
        EXPECT_FALSE(IsReplaceableTarget(name)) << name;
        EXPECT_FALSE(WriteTextFile(name, "x\n")) << name;
    }
    EXPECT_TRUE(QFileInfo("zero").isSymLink());
    struct stat info {};
    ASSERT_EQ(::lstat("fifo", &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_TRUE(WriteTextFile("plain.txt", "c\n"));
    EXPECT_TRUE(WriteTextFile("new.txt", "d\n"));
    EXPECT_EQ(test::ReadFileBytes("new.txt"), "d\r\n");
}

TEST(RegularFiles, LinksOutOfTheWorkingFolderAreRefused) {
    QTemporaryDir outside;
    test::WriteFileBytes(outside.filePath("passwd"), "secret");
    test::ScopedWorkDir work;
    QDir().mkpath("images/own");
    test::WriteFileBytes("images/own/a.png", "x");
    ASSERT_TRUE(QFile::link(outside.path(), "images/user"));
    ASSERT_TRUE(QFile::link(outside.filePath("passwd"), "images/own/p.png"));
    ASSERT_TRUE(QFile::link(work.filePath("images/own"), "images/inside"));
    ASSERT_TRUE(QFile::link(work.filePath("nowhere"), "images/dangling"));

    EXPECT_FALSE(isInsideWorkingFolder("images\\user\\passwd"));
    EXPECT_FALSE(isInsideWorkingFolder("images\\user"));
    EXPECT_FALSE(isInsideWorkingFolder("images\\user\\not-yet.png"));
    EXPECT_FALSE(isInsideWorkingFolder("images\\own\\p.png"));
    EXPECT_FALSE(isInsideWorkingFolder("images\\dangling"));
    EXPECT_FALSE(LocalFileExists("images\\user\\passwd"));
    EXPECT_TRUE(isInsideWorkingFolder("images\\own\\a.png"));
    EXPECT_TRUE(isInsideWorkingFolder("images\\inside\\a.png"));
    EXPECT_TRUE(isInsideWorkingFolder("images\\new\\b.png")) << "a file still to be fetched";
    EXPECT_TRUE(LocalFileExists("images\\\\inside\\\\a.png"));
}

}  // namespace
}  // namespace vodirev
