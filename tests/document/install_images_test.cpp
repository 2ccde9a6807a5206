// The installation images an installed editor brings into a working folder.

#include "document/install_images.h"

#include "common/temp_dir.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace vodirev;
using vodirev::test::ReadFileBytes;
using vodirev::test::WriteFileBytes;

namespace {

// An installed data folder with three pictures.
void writeInstalled(const QString& dir) {
    WriteFileBytes(dir + "/64X64_01.gif", "computer");
    WriteFileBytes(dir + "/64X64_16.gif", "folder");
    WriteFileBytes(dir + "/launcherA.bmp", "launcher");
}

}  // namespace

TEST(ProvideInstallImages, CopiesWhatTheFolderLacksAndKeepsWhatItHas) {
    QTemporaryDir installed;
    QTemporaryDir work;
    writeInstalled(installed.path());
    const QString bkicons = work.filePath("images/bkicons");
    // The operator's own picture under an installed name, and a link that points
    // nowhere: neither is replaced nor written through.
    WriteFileBytes(bkicons + "/64X64_01.gif", "own");
    ASSERT_TRUE(QFile::link(work.filePath("elsewhere.bmp"), bkicons + "/launcherA.bmp"));

    EXPECT_EQ(ProvideInstallImages(installed.path(), work.path()), 1);
    EXPECT_EQ(ReadFileBytes(bkicons + "/64X64_01.gif"), "own");
    EXPECT_EQ(ReadFileBytes(bkicons + "/64X64_16.gif"), "folder");
    EXPECT_FALSE(QFileInfo::exists(work.filePath("elsewhere.bmp")));

    // A fresh folder gets every picture; a second start copies nothing.
    QTemporaryDir fresh;
    EXPECT_EQ(ProvideInstallImages(installed.path(), fresh.path()), 3);
    EXPECT_EQ(ReadFileBytes(fresh.filePath("images/bkicons/launcherA.bmp")), "launcher");
    EXPECT_EQ(ProvideInstallImages(installed.path(), fresh.path()), 0);
}

TEST(ProvideInstallImages, WithoutAnInstalledDataFolderLeavesTheFolderAlone) {
    QTemporaryDir work;
    EXPECT_EQ(ProvideInstallImages(work.filePath("no-such-folder"), work.path()), 0);
    EXPECT_FALSE(QFileInfo::exists(work.filePath("images")));
    // Found from the program's folder, wherever the installation was moved.
    EXPECT_EQ(InstalledImagesFolder("/opt/vv/bin"), "/opt/vv/share/vodirev/bkicons");
}
