// Which Windows path the client PCs use for a program picked on this computer.

#include "document/client_drives.h"
#include "common/client_drives_fixture.h"
#include "common/cp949.h"

#include <gtest/gtest.h>

namespace vodirev {
namespace {

using test::Cp949;

TEST(ClientDrives, ProgramsUnderADriveTakeItsWindowsPathTheLongestFolderWinning) {
    test::ClientDrivesFixture fixture;
    const ClientDrives& drives = CurrentClientDrives();
    // The prefix's c: and d:, its z: (the whole file system) left out.
    EXPECT_EQ(drives.drives().size(), 2u);
    const QString game = fixture.Program(QStringLiteral("wine/drive_c/Games/게임/abc.exe"));
    const ClientProgram program = ClientProgramFor(game, drives);
    EXPECT_EQ(program.dir, "C:\\Games\\" + Cp949("게임"));
    EXPECT_EQ(program.name, "abc.exe");
    EXPECT_EQ(drives.WindowsPath(fixture.Program(QStringLiteral("disk_d/x.exe"))), "D:\\x.exe");
    EXPECT_EQ(drives.WindowsPath(fixture.Path(QStringLiteral("wine/drive_cc/x.exe"))),
              std::nullopt);

    // Outside every drive: the file name alone, the folder to be given.
    const ClientProgram outside =
        ClientProgramFor(fixture.Program(QStringLiteral("elsewhere/a.exe")), drives);
    EXPECT_FALSE(outside.folderKnown);
    EXPECT_EQ(outside.FullPath(), "a.exe");

    // The operator's entries: a longer local folder wins over the prefix's c:;
    // comments and lines that are no entry are skipped.
    fixture.SetOperatorLines(QStringLiteral("# the games copy\n") +
                             fixture.Path(QStringLiteral("wine/drive_c/Games")) +
                             QStringLiteral(" = D:\\Games\\\n"
                                            "relative/path = E:\\\n"
                                            "/mnt/x = not a windows path\n") +
                             fixture.Path(QStringLiteral("elsewhere")) + QStringLiteral(" = F:"));
    const ClientDrives& read = CurrentClientDrives();
    EXPECT_EQ(read.drives().size(), 4u);
    EXPECT_EQ(read.WindowsPath(game), "D:\\Games\\" + Cp949("게임") + "\\abc.exe");
    EXPECT_EQ(ClientProgramFor(fixture.Path(QStringLiteral("elsewhere/a.exe")), read).FullPath(),
              "F:\\a.exe");
}

}  // namespace
}  // namespace vodirev
