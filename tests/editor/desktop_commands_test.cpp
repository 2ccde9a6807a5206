// The label, picture, background and launcher commands on a plain session in a
// working folder, with the dialogs answered by the test.

#include "editor/desktop_commands.h"

#include "common/fake_command_ui.h"
#include "common/temp_dir.h"
#include "document/file_names.h"
#include "document/install_images.h"
#include "editor/label_font.h"
#include "editor_test_util.h"
#include "imaging/image_io.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace vodirev {
namespace {

using test::Cp949;

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class DesktopCommands : public ::testing::Test {
protected:
    void SetUp() override {
        session.m_nDesktop = 1;
        QDir().mkpath("chosen");
    }

    // A picture the operator picks in the file dialog.
    QString Chosen(const char* name, int width = 64, int height = 48) {
        const QString path = QDir::current().filePath(QStringLiteral("chosen/") + name);
        EXPECT_TRUE(SaveBitmapToFile(path, test::Solid(width, height, 0xFF3366CC)));
        return path;
    }

    CInfoLabel& Label(int slot) { return session.m_desktop.m_label[std::size_t(slot)]; }

    test::ScopedWorkDir work;
    DesktopSession session;
    CanvasState state;
    test::FakeCommandUi ui;
};

TEST_F(DesktopCommands, LabelsTakeTheFirstFreeSlotAndAReusedSlotKeepsItsColour) {
    auto& used = session.m_desktop.m_bLabelUsed;
    used = {1, 1, 0, 1, 0};
    ASSERT_TRUE(OnAddLabel(session, ui).repaint);
    EXPECT_EQ(used[2], 1);
    EXPECT_EQ(Label(2).m_strText, Cp949("문구수정 선택해 주세요"));
    EXPECT_EQ(Label(2).m_szFont.str(), Cp949("굴림체"));
    EXPECT_EQ(Label(2).m_nHeight, -24);
    EXPECT_EQ(Label(2).m_nWeight, 1);
    EXPECT_EQ(Label(2).m_nCharset, 1);
    EXPECT_EQ(Label(2).m_nX, 500);
    EXPECT_EQ(Label(2).m_nY, 150);
    EXPECT_EQ(Label(2).m_font.pixelSize(), 24);

    session.m_desktop.m_crLabel[0] = MakeColorRef(200, 10, 10);
    state.m_nActiveText = 0;
    ASSERT_TRUE(OnDeleteLabel(session, state).repaint);
    EXPECT_EQ(state.m_nActiveText, -1);
    OnAddLabel(session, ui);
    EXPECT_EQ(used[0], 1);
    EXPECT_EQ(session.m_desktop.m_crLabel[0], MakeColorRef(200, 10, 10));

    OnAddLabel(session, ui);  // slot 4: all five in use
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(OnAddLabel(session, ui).repaint);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], QStringLiteral("더이상 추가할 수 없습니다."));
}

TEST_F(DesktopCommands, EditedTextKeepsItsBytesAndLinesAndBlanksMarkup) {
    session.m_desktop.m_bLabelUsed[1] = 1;
    Label(1).m_strText = Cp949("첫 줄\n둘");
    std::string shown;
    ui.onDialog = [&shown](DialogModel& model) {
        auto& text = dynamic_cast<LabelTextModel&>(model);
        shown = text.m_strText;
        text.m_strText = Cp949("요금 안내\r\n&<>\r\n셋째 줄");
        text.m_bApplied = true;
        return true;
    };
    state.m_nActiveText = 1;
    ASSERT_TRUE(OnEditLabelText(session, state, ui).repaint);
    EXPECT_EQ(shown, Cp949("첫 줄\r\n둘"));  // the edit shows CR LF line ends
    EXPECT_EQ(Label(1).m_strText, Cp949("요금 안내\n   \n셋째 줄"));
    EXPECT_EQ(state.m_nActiveText, -1);

    // Closed with "닫기", or ended without "적용": nothing changes, the target is reset.
    for (const bool confirmed : {false, true}) {
        ui.onDialog = [confirmed](DialogModel& model) {
            dynamic_cast<LabelTextModel&>(model).m_strText = "x";
            return confirmed;
        };
        state.m_nActiveText = 1;
        EXPECT_FALSE(OnEditLabelText(session, state, ui).repaint);
        EXPECT_EQ(Label(1).m_strText, Cp949("요금 안내\n   \n셋째 줄"));
        EXPECT_EQ(state.m_nActiveText, -1);
    }
}

TEST_F(DesktopCommands, FontSizesFollowTheirTables) {
    EXPECT_EQ(LabelHeightForSize("72"), -95);
    EXPECT_EQ(LabelHeightForSize("34"), -46);
    EXPECT_EQ(LabelHeightForSize("8"), -11);
    for (const char* other : {"7", "100", "08", "", " 9"}) {
        EXPECT_EQ(LabelHeightForSize(other), -96) << other;
    }

    struct Opening {
        int height;
        const char* size;
        int row;
    };
    for (const Opening& o :
         {Opening{-95, "72", -1}, Opening{-96, "72", 15}, Opening{-17, "13", -1},
          Opening{-48, "36", 13}, Opening{-14, "72", -1}, Opening{-11, "8", 0}}) {
        UserFontModel model;
        model.m_nHeight = o.height;
        InitUserFont(model);
        EXPECT_EQ(model.m_strSize, o.size) << o.height;
        EXPECT_EQ(model.m_nSizeRow, o.row) << o.height;
    }
    UserFontModel model;
    model.m_strFont = Cp949("돋움");
    model.m_nWeight = 700;
    InitUserFont(model);
    EXPECT_EQ(model.m_nFaceRow, 4);
    EXPECT_EQ(model.m_nStyleRow, 1);
    model.m_strFont = "Arial";
    model.m_nWeight = 1;
    InitUserFont(model);
    EXPECT_EQ(model.m_nFaceRow, -1);
    EXPECT_EQ(model.m_nStyleRow, -1);
}

TEST_F(DesktopCommands, FontAndColourCommandsChangeTheTargetedLabelOnly) {
    session.m_desktop.m_bLabelUsed[2] = 1;
    Label(2).m_szFont = "Arial";
    Label(2).m_nHeight = -24;
    Label(2).m_nWeight = 400;
    ui.onDialog = [](DialogModel& model) {
        auto& font = dynamic_cast<UserFontModel&>(model);
        EXPECT_EQ(font.m_strFont, "Arial");
        EXPECT_EQ(font.m_nHeight, -24);
        font.m_strSize = "72";  // typed; the face is left as it was
        font.m_nWeight = 700;
        return true;
    };
    state.m_nActiveText = 2;
    ASSERT_TRUE(OnChangeLabelFont(session, state, ui).repaint);
    EXPECT_EQ(Label(2).m_szFont.str(), "Arial");
    EXPECT_EQ(Label(2).m_nHeight, -95);
    EXPECT_EQ(Label(2).m_nWeight, 700);
    EXPECT_EQ(Label(2).m_font.pixelSize(), 95);
    EXPECT_EQ(state.m_nActiveText, -1);

    session.m_desktop.m_crLabel[2] = MakeColorRef(1, 2, 3);
    ui.colours = {QColor(10, 20, 30)};
    state.m_nActiveText = 2;
    ASSERT_TRUE(OnChangeLabelColor(session, state, ui).repaint);
    ASSERT_EQ(ui.colourStarts.size(), 1u);
    EXPECT_EQ(ui.colourStarts[0], QColor(Qt::black));
    EXPECT_EQ(session.m_desktop.m_crLabel[2], MakeColorRef(10, 20, 30));
    EXPECT_EQ(state.m_nActiveText, -1);

    // No target: no dialog at all.
    EXPECT_FALSE(OnChangeLabelColor(session, state, ui).repaint);
    EXPECT_EQ(ui.colourStarts.size(), 1u);
}

TEST_F(DesktopCommands, TheSamePictureTwiceSharesOneStoredFile) {
    ui.files = {Chosen("photo_01.png"), Chosen("photo_01.png")};
    const QDateTime now = QDateTime::currentDateTime();
    ASSERT_TRUE(OnAddPicture(session, ui, now).repaint);
    ASSERT_TRUE(OnAddPicture(session, ui, now).repaint);
    const auto& pictures = session.m_desktop.m_arrUserImage;
    ASSERT_EQ(pictures.size(), 2u);
    for (const CInfoUserImage& picture : pictures) {
        EXPECT_EQ(picture.m_strPath, "images\\\\user\\\\1_photo_01.png");
        EXPECT_EQ(picture.m_nX, 100);
        EXPECT_EQ(picture.m_nY, 100);
        EXPECT_EQ(picture.m_pBitmap.size(), QSize(64, 48));
    }
    EXPECT_EQ(QDir("images/user").entryList(QDir::Files), QStringList{"1_photo_01.png"});

    state.m_nActiveImage = 0;
    ASSERT_TRUE(OnDeletePicture(session, state).repaint);
    EXPECT_EQ(pictures.size(), 1u);
    EXPECT_EQ(state.m_nActiveImage, -1);
    EXPECT_TRUE(QFile::exists("images/user/1_photo_01.png"));  // the file stays

    // A file that does not decode is refused and copied nowhere.
    QFile broken("chosen/broken.png");
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
    broken.write("not a picture");
    broken.close();
    ui.files = {QDir::current().filePath("chosen/broken.png")};
    EXPECT_FALSE(OnAddPicture(session, ui, now).repaint);
    EXPECT_EQ(ui.messages.back().section(u'\n', 0, 0),
              QStringLiteral("이미지를 등록 할 수 없습니다."));
    EXPECT_FALSE(QFile::exists("images/user/1_broken.png"));
}

TEST_F(DesktopCommands, AddedBackgroundsCleanTheUserListAndAppendTheirLine) {
    const QString list = QString::fromLatin1(kBackgroundUserList);
    const QByteArray old = "1,a,b\r\n\r\n1," + QByteArray::fromStdString(Cp949("사용자")) +
                           ",images\\\\background\\\\old.jpg,images\\\\background\\\\old.jpg\r\n";
    QFile file(list);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(old);
    file.close();
    ui.files = {Chosen("sky.png", 200, 150), Chosen("sky.png", 200, 150)};
    const QDateTime now = QDateTime::currentDateTime();
    ASSERT_TRUE(OnAddBackground(session, ui, now).repaint);
    ASSERT_TRUE(OnAddBackground(session, ui, now).repaint);
    const QByteArray line = "1," + QByteArray::fromStdString(Cp949("사용자")) +
                            ",images\\\\background\\\\sky.png,images\\\\background\\\\sky.png\r\n";
    EXPECT_EQ(FileBytes(list), "1," + QByteArray::fromStdString(Cp949("사용자")) +
                                   ",images\\\\background\\\\old.jpg,images\\\\background\\\\old."
                                   "jpg\r\n" +
                                   line + line);
    EXPECT_TRUE(QFile::exists(QString::fromLatin1(kBackgroundUserTmpList)));
    EXPECT_EQ(session.m_desktop.m_szBackground.str(), "images\\\\background\\\\sky.png");
    EXPECT_EQ(session.m_desktop.m_imgBackground.size(), QSize(200, 150));

    // A banner 300 x 60 would have to grow and shrink to make its 128 x 128
    // thumbnail: refused, and the message says why.
    ui.files = {Chosen("banner.png", 300, 60)};
    EXPECT_FALSE(OnAddBackground(session, ui, now).repaint);
    ASSERT_FALSE(ui.messages.empty());
    EXPECT_TRUE(
        ui.messages.back().startsWith(QStringLiteral("배경이미지로 등록 할 수 없습니다.\n")));
    EXPECT_TRUE(ui.messages.back().contains(QStringLiteral("300 x 60")));
    EXPECT_TRUE(ui.messages.back().contains(QStringLiteral("128 이상이거나 모두 128 이하")));
    EXPECT_EQ(session.m_desktop.m_szBackground.str(), "images\\\\background\\\\sky.png");

    // The picker's choice applies only when confirmed with a row and a path.
    BackgroundChoice choice;
    choice.m_nSelRow = 0;
    choice.m_strSelImage = "images\\\\background\\\\old.jpg";
    ui.onDialog = [](DialogModel&) { return false; };
    EXPECT_FALSE(OnSetBackground(session, ui, choice).repaint);
    ui.onDialog = [](DialogModel&) { return true; };
    choice.m_strSelImage.clear();
    EXPECT_FALSE(OnSetBackground(session, ui, choice).repaint);
    choice.m_strSelImage = "images\\\\user\\\\1_photo.png";
    QDir().mkpath("images/user");
    ASSERT_TRUE(SaveBitmapToFile("images/user/1_photo.png", test::Solid(30, 20, 0xFF000000)));
    ASSERT_TRUE(OnSetBackground(session, ui, choice).repaint);
    EXPECT_EQ(session.m_desktop.m_szBackground.str(), choice.m_strSelImage);
    EXPECT_EQ(session.m_desktop.m_imgBackground.size(), QSize(30, 20));
}

TEST_F(DesktopCommands, TheLauncherToggleAlternatesItsTwoShapes) {
    QDir().mkpath("images/bkicons");
    ASSERT_TRUE(SaveBitmapToFile("images/bkicons/launcherA.bmp", test::Solid(300, 40, 0xFF111111)));
    ASSERT_TRUE(SaveBitmapToFile("images/bkicons/launcherB.bmp", test::Solid(40, 300, 0xFF222222)));
    session.m_nLauncherX = 7;
    OnToggleLauncher(session);
    EXPECT_EQ(session.m_nLauncherType, 1);
    EXPECT_EQ(session.m_pLauncherBitmap.size(), QSize(40, 300));
    OnToggleLauncher(session);
    EXPECT_EQ(session.m_nLauncherType, 0);
    EXPECT_EQ(session.m_pLauncherBitmap.size(), QSize(300, 40));
    EXPECT_EQ(session.m_nLauncherX, 7);
}

}  // namespace
}  // namespace vodirev
