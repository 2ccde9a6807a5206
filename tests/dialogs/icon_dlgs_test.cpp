// The icon registration and icon path dialogs: their logic over a fake seam in a
// working folder of their own, and the controls over the model.

#include "dialogs/icon_insert_dlg.h"
#include "dialogs/icon_update_dlg.h"

#include "common/client_drives_fixture.h"
#include "common/cp949.h"
#include "common/fake_command_ui.h"
#include "common/temp_dir.h"
#include "imaging/image_io.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace vodirev {
namespace {

using test::Cp949;
using test::ReadFileBytes;

const QDateTime kNow(QDate(2024, 3, 5), QTime(9, 7, 2));
constexpr const char* kStamp = "20240305090702";

QImage Solid(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

class IconInsertLogic : public ::testing::Test {
protected:
    void SetUp() override {
        model.m_nDesktop = 7;
        model.m_szWorkDir = toCp949(work.path());
        model.m_readProgramIcon = [this](const QString&) { return programIcon; };
        ASSERT_TRUE(SaveBitmapToFile(Picture("my pic.png"), Solid(40, 40, 0xFF0000FF)));
        ASSERT_TRUE(SaveBitmapToFile(Picture("logo_1.png"), Solid(64, 64, 0xFF00FF00)));
    }

    // A picture outside the working folder, where the operator keeps them.
    QString Picture(const char* name) const { return pictures.filePath(QString::fromUtf8(name)); }

    QByteArray MenuList(const char* name = "LIST_MENU_007.db") const {
        return ReadFileBytes(work.filePath(QString::fromLatin1(name)));
    }

    test::ScopedWorkDir work;
    QTemporaryDir pictures;
    test::FakeCommandUi ui;
    IconInsertModel model;
    QImage programIcon = Solid(32, 32, 0xFFFF0000);
};

TEST_F(IconInsertLogic, ProgramChoiceNamesTheIconAfterTheProgram) {
    ui.files = {QStringLiteral("C:\\Games\\abc.exe")};
    ASSERT_TRUE(SelectProgram(model, ui, kNow));
    EXPECT_EQ(ui.fileFilters.back(), QStringLiteral("Program (*.exe)"));
    EXPECT_EQ(model.m_strName, "abc");
    EXPECT_EQ(model.m_strProgram, "abc.exe");
    EXPECT_EQ(model.m_strDir, "C:\\Games");
    EXPECT_EQ(model.m_strImage, "images\\\\icons\\\\abc.png");
    EXPECT_EQ(model.m_imgIcon, programIcon);
    EXPECT_FALSE(QFile::exists(work.filePath("images/icons/abc.png")));  // not before "등록"

    // A Hangul name gives a time-stamp image. Outside every client drive the folder
    // is unknown: nothing is registered until the operator gives it.
    ui.files = {QString::fromUtf8("/mnt/pc/게임/한글.exe")};
    ASSERT_TRUE(SelectProgram(model, ui, kNow));
    EXPECT_EQ(model.m_strImage, std::string("images\\\\icons\\\\") + kStamp + ".png");
    EXPECT_EQ(model.m_strName, Cp949("한글"));
    EXPECT_EQ(model.m_strDir, "");
    EXPECT_FALSE(RegisterIcon(model, ui));
    EXPECT_EQ(ui.messages, std::vector{ClientFolderQuestion(QString::fromUtf8("한글.exe"))});
    EXPECT_FALSE(QFile::exists(work.filePath("LIST_MENU_007.db")));

    // Cancelled: everything stays; the working folder is current again either way.
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    EXPECT_FALSE(SelectProgram(model, ui, kNow));
    EXPECT_EQ(model.m_strName, Cp949("한글"));
    EXPECT_EQ(QDir::currentPath(), work.path());
}

TEST_F(IconInsertLogic, PictureChoiceCopiesAtOnceUnderItsStoredName) {
    // Not a picture: a message, nothing copied, the earlier choice stays.
    test::WriteFileBytes(Picture("broken.png"), "\x89PNG not really");
    ui.files = {Picture("broken.png"), Picture("my pic.png"), Picture("logo_1.png")};
    EXPECT_FALSE(SelectIconImage(model, ui, kNow));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(ui.messages[0].startsWith(QStringLiteral("아이콘으로 등록 할 수 없습니다.\n")));
    EXPECT_EQ(model.m_strImage, "");
    EXPECT_FALSE(QDir(work.filePath("images/icons")).exists());

    ASSERT_TRUE(SelectIconImage(model, ui, kNow));
    EXPECT_EQ(ui.fileFilters.back(), QStringLiteral("Program (*.jpg *.gif *.ico *.png *.bmp)"));
    EXPECT_EQ(model.m_strImage, std::string("images\\\\icons\\") + kStamp + ".png");
    EXPECT_EQ(ReadFileBytes(work.filePath(QStringLiteral("images/icons/") + kStamp + ".png")),
              ReadFileBytes(Picture("my pic.png")));

    // A plain name is kept; a file already there under that name is not overwritten.
    test::WriteFileBytes(work.filePath("images/icons/logo_1.png"), "older icon");
    ASSERT_TRUE(SelectIconImage(model, ui, kNow));
    EXPECT_EQ(model.m_strImage, "images\\\\icons\\logo_1.png");
    EXPECT_EQ(ReadFileBytes(work.filePath("images/icons/logo_1.png")), "older icon");
}

TEST_F(IconInsertLogic, RegisteringAppendsOneLinePerIconAndSavesTheProgramIcon) {
    ui.files = {QStringLiteral("C:\\Games\\abc.exe")};
    ASSERT_TRUE(SelectProgram(model, ui, kNow));
    model.m_strUrl = "http://a.kr/?a=1;b=2";  // the last field may hold ";"
    ASSERT_TRUE(RegisterIcon(model, ui));
    const QImage saved = LoadImageBitmap(work.filePath("images/icons/abc.png"));
    EXPECT_TRUE(ReadFileBytes(work.filePath("images/icons/abc.png")).startsWith("\x89PNG"));
    EXPECT_EQ(saved.convertToFormat(QImage::Format_ARGB32), programIcon);

    // A second icon in the same opening: a second line, nothing of the first changed.
    model.m_strName = Cp949("둘째");
    model.m_strUrl.clear();
    ASSERT_TRUE(RegisterIcon(model, ui));
    const std::string line = "0;images\\\\icons\\\\abc.png;abc;C:\\Games;abc.exe;";
    EXPECT_EQ(MenuList().toStdString(), line + "http://a.kr/?a=1;b=2\r\n" +
                                            "0;images\\\\icons\\\\abc.png;" + Cp949("둘째") +
                                            ";C:\\Games;abc.exe;\r\n");
    EXPECT_TRUE(ui.messages.empty());

    // Four-digit desktops are written in full.
    model.m_nDesktop = 1234;
    ASSERT_TRUE(RegisterIcon(model, ui));
    EXPECT_TRUE(MenuList("LIST_MENU_1234.db").startsWith("0;images"));
}

TEST_F(IconInsertLogic, ProgramThenPictureKeepsThePicture) {
    ui.files = {QStringLiteral("C:\\Games\\abc.exe"), Picture("logo_1.png")};
    ASSERT_TRUE(SelectProgram(model, ui, kNow));
    ASSERT_TRUE(SelectIconImage(model, ui, kNow));
    ASSERT_TRUE(RegisterIcon(model, ui));
    EXPECT_EQ(ReadFileBytes(work.filePath("images/icons/logo_1.png")),
              ReadFileBytes(Picture("logo_1.png")));
    EXPECT_FALSE(QFile::exists(work.filePath("images/icons/abc.png")));
    EXPECT_EQ(MenuList(), "0;images\\\\icons\\logo_1.png;abc;;abc.exe;\r\n");
}

TEST_F(IconInsertLogic, IncompleteOrBreakingIconsWriteNothing) {
    ui.files = {QStringLiteral("C:\\Games\\abc.exe")};
    ASSERT_TRUE(SelectProgram(model, ui, kNow));

    // No name: the dialog stays open.
    model.m_strName.clear();
    EXPECT_FALSE(RegisterIcon(model, ui));
    EXPECT_EQ(ui.messages.back(), QStringLiteral("아이콘명을 등록해 주세요."));

    // ";" in a field, or a line break anywhere, would split the line: refused, open.
    const auto refused = [&](IconInsertModel changed) {
        ui.messages.clear();
        return !RegisterIcon(changed, ui) && ui.messages == std::vector{MenuFieldRefusal()};
    };
    IconInsertModel changed = model;
    changed.m_strName = "a;b";
    EXPECT_TRUE(refused(changed));
    changed.m_strName = "abc";
    changed.m_strUrl = "http://a.kr/\r\n0;x";
    EXPECT_TRUE(refused(changed));

    // No program: a message, no line, no picture, and the dialog closes.
    model.m_strName = "abc";
    model.m_strProgram.clear();
    ui.messages.clear();
    EXPECT_TRUE(RegisterIcon(model, ui));
    EXPECT_EQ(ui.messages, std::vector{QStringLiteral("프로그램를 등록해 주세요.")});
    EXPECT_FALSE(QFile::exists(work.filePath("LIST_MENU_007.db")));
    EXPECT_FALSE(QFile::exists(work.filePath("images/icons/abc.png")));
}

TEST(IconUpdateLogic, ChosenProgramReplacesThePathAndConfirmingKeepsTheOldOne) {
    test::ScopedWorkDir work;
    test::FakeCommandUi ui;
    IconUpdateModel model;
    model.m_strFullPath = "C:\\Games\\abc.exe";
    model.m_szWorkDir = toCp949(work.path());

    // "수정" without a choice keeps the icon's program.
    IconUpdateModel unchanged = model;
    ConfirmIconUpdate(unchanged);
    EXPECT_EQ(unchanged.m_strDir, "C:\\Games");
    EXPECT_EQ(unchanged.m_strProgram, "abc.exe");

    // An icon opened from the folder editor keeps a program field with slashes and
    // its folder byte for byte.
    IconUpdateModel steam = IconUpdateModelFor("C:\\Steam", "steam://rungameid/730", "");
    ConfirmIconUpdate(steam);
    EXPECT_EQ(steam.m_strDir, "C:\\Steam");
    EXPECT_EQ(steam.m_strProgram, "steam://rungameid/730");

    ui.files = {QStringLiteral("D:\\My;Apps\\x.exe"), QString::fromUtf8("D:\\앱\\새.exe")};
    QTemporaryDir elsewhere;
    QDir::setCurrent(elsewhere.path());
    EXPECT_FALSE(ChangeProgramPath(model, ui));  // ";" would break the menu line
    EXPECT_EQ(ui.messages, std::vector{MenuFieldRefusal()});
    EXPECT_EQ(model.m_strFullPath, "C:\\Games\\abc.exe");
    EXPECT_TRUE(ChangeProgramPath(model, ui));
    EXPECT_EQ(ui.fileFilters, std::vector<QString>(2, QStringLiteral("Program (*.exe)")));
    EXPECT_EQ(QDir::currentPath(), work.path());
    ConfirmIconUpdate(model);
    EXPECT_EQ(model.m_strProgram, Cp949("새.exe"));
    EXPECT_EQ(model.m_strDir, Cp949("D:\\앱"));
    EXPECT_EQ(model.m_strFullPath, Cp949("D:\\앱\\새.exe"));

    // A program picked in the Wine prefix takes its Windows folder; one outside every
    // client drive is not confirmed until the operator gives the folder.
    test::ClientDrivesFixture drives;
    ui.files = {drives.Program(QStringLiteral("wine/drive_c/Games/x.exe")),
                drives.Program(QStringLiteral("elsewhere/y.exe"))};
    ASSERT_TRUE(ChangeProgramPath(model, ui));
    EXPECT_EQ(model.m_clientPath.shown, "C:\\Games\\x.exe");
    EXPECT_EQ(model.m_strDir, "C:\\Games");
    ASSERT_TRUE(ChangeProgramPath(model, ui));
    ui.messages.clear();
    EXPECT_FALSE(ConfirmIconUpdate(model, &ui));
    EXPECT_EQ(ui.messages, std::vector{ClientFolderQuestion(QStringLiteral("y.exe"))});
    TakeIconUpdateClientPath(model, "E:\\Tools\\y.exe");
    EXPECT_TRUE(ConfirmIconUpdate(model, &ui));
    EXPECT_EQ(model.m_strDir, "E:\\Tools");
    EXPECT_EQ(model.m_strProgram, "y.exe");
}

// Typing as the keyboard does it, for any character.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
    }
}

template <class T>
T* Control(QWidget& dialog, const char* id) {
    return dialog.findChild<T*>(QString::fromLatin1(id));
}

TEST(IconDialogs, ControlsMapOntoTheModel) {
    test::ScopedWorkDir work;
    test::FakeCommandUi ui;
    IconInsertModel model;
    model.m_szWorkDir = toCp949(work.path());
    model.m_nDesktop = 3;
    model.m_readProgramIcon = [](const QString&) { return Solid(24, 24, 0xFF123456); };
    model.m_strUrl = "http://pc.kr";
    CIconInsertDlg dlg(model, ui);
    ASSERT_EQ(Control<QLineEdit>(dlg, "1020"), dlg.nameEdit());
    ASSERT_EQ(Control<QLineEdit>(dlg, "1023"), dlg.urlEdit());
    ASSERT_EQ(Control<QLineEdit>(dlg, "1024"), dlg.programEdit());
    EXPECT_EQ(dlg.urlEdit()->text(), QStringLiteral("http://pc.kr"));
    dlg.show();

    // The name cannot grow past its box; Hangul counts 2 bytes a syllable.
    Type(dlg.nameEdit(), QString(20, QChar(0xAC00)));  // 가
    EXPECT_EQ(toCp949(dlg.nameEdit()->text()).size(), kIconNameMaxBytes);

    ui.files = {QStringLiteral("C:\\Games\\abc.exe")};
    QTest::mouseClick(Control<QPushButton>(dlg, "1022"), Qt::LeftButton);
    EXPECT_EQ(dlg.nameEdit()->text(), QStringLiteral("abc"));
    EXPECT_EQ(dlg.programEdit()->text(), QStringLiteral("abc.exe"));
    EXPECT_EQ(Control<QLabel>(dlg, "1026")->pixmap().size(), QSize(24, 24));

    // What is typed reaches the model and the line.
    dlg.nameEdit()->clear();
    Type(dlg.nameEdit(), QString::fromUtf8("게임"));
    QTest::mouseClick(Control<QPushButton>(dlg, "1"), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(
        ReadFileBytes(work.filePath("LIST_MENU_003.db")).toStdString(),
        "0;images\\\\icons\\\\abc.png;" + Cp949("게임") + ";C:\\Games;abc.exe;http://pc.kr\r\n");

    // The path dialog: the chosen program comes back on "수정".
    IconUpdateModel update;
    update.m_strFullPath = "C:\\Games\\abc.exe";
    CIconUpdateDlg updateDlg(update, ui);
    EXPECT_EQ(Control<QLineEdit>(updateDlg, "1029")->text(), QStringLiteral("C:\\Games\\abc.exe"));
    updateDlg.show();
    ui.files = {QStringLiteral("D:\\New\\b.exe")};
    QTest::mouseClick(Control<QPushButton>(updateDlg, "1028"), Qt::LeftButton);
    QTest::mouseClick(Control<QPushButton>(updateDlg, "1"), Qt::LeftButton);
    EXPECT_EQ(updateDlg.result(), QDialog::Accepted);
    EXPECT_EQ(update.m_strProgram, "b.exe");
    EXPECT_EQ(update.m_strDir, "D:\\New");
}

}  // namespace
}  // namespace vodirev
