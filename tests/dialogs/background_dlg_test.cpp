// The background picker on widgets: captions and pictures of both lists, the
// selection kept after clicking empty space and across openings, and closing while
// thumbnails are still being made.

#include "dialogs/background_dlg.h"

#include "base/paths.h"
#include "common/cp949.h"
#include "common/temp_dir.h"
#include "imaging/image_io.h"
#include "imaging/scale_bitmap.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace vodirev {
namespace {

QImage Picture(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    for (int y = 0; y < height; y += 7) {
        for (int x = 0; x < width; ++x) {
            image.setPixel(x, y, qRgb(x & 0xFF, y & 0xFF, 0));
        }
    }
    return image;
}

QByteArray Bytes(const QImage& image) {
    return QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes());
}

void ClickRow(QListWidget* list, int row) {
    const QRect rect = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
}

class BackgroundDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        ThumbnailCache::Shared()->SetDiskFolder(work.filePath("cache"));
        ThumbnailCache::Shared()->ClearMemory();
        QDir().mkpath("images/background");
        ASSERT_TRUE(SaveBitmapToFile("images/background/sea.png", Picture(400, 300, 0xFF2060A0)));
        ASSERT_TRUE(SaveBitmapToFile("images/background/a.jpg", Picture(640, 360, 0xFFA06020)));
        test::WriteFileBytes("images/background/broken.jpg", "\xff\xd8\xff cut short");
        test::WriteFileBytes(
            "LIST_BACKGROUND.db",
            "0,c,images\\background\\sea.png,images\\background\\sea.png\r\n"
            "0,c,images\\background\\broken.jpg,images\\background\\broken.jpg\r\n");
        test::WriteFileBytes("LIST_BACKGROUND_USER.db",
                             test::Cp949("1,사용자,images\\\\background\\\\a.jpg,"
                                         "images\\\\background\\\\a.jpg\r\n"
                                         "1,사용자,images\\\\background\\\\a.jpg\r\n")
                                 .c_str());
    }

    test::ScopedWorkDir work;
    BackgroundChoice choice;
};

TEST_F(BackgroundDlgTest, RowsOfBothListsWithCaptionsAndTheirOwnPictures) {
    CBackgroundDlg dialog(choice);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("배경 이미지 선택"));
    QListWidget* list = dialog.listBackground();
    EXPECT_EQ(list->objectName(), QStringLiteral("1015"));
    EXPECT_EQ(list->viewMode(), QListView::IconMode);
    EXPECT_EQ(list->iconSize(), QSize(128, 128));
    EXPECT_EQ(dialog.applyButton()->text(), QStringLiteral("적용"));
    EXPECT_EQ(dialog.closeButton()->text(), QStringLiteral("닫기"));
    // The captions are there at once, before any thumbnail.
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->item(0)->text(), QStringLiteral("sea"));
    EXPECT_EQ(list->item(1)->text(), QStringLiteral("broken"));
    EXPECT_EQ(list->item(2)->text(), QStringLiteral("a"));  // doubled backslashes
    EXPECT_EQ(list->item(3)->text(), QString());            // three fields
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.PendingThumbnails() == 0; }, 30000));

    for (int row : {0, 2}) {
        const QString file = localPath(dialog.rows()[std::size_t(row)].m_strImage);
        EXPECT_EQ(Bytes(dialog.Thumbnail(row)), Bytes(ScaleBitmap(LoadImageBitmap(file), 128, 128)))
            << row;
        EXPECT_FALSE(list->item(row)->icon().isNull()) << row;
    }
    // Rows are laid out for a whole thumbnail and its caption, also those that
    // had none yet when the window appeared.
    for (int row = 0; row < list->count(); ++row) {
        EXPECT_GE(list->visualItemRect(list->item(row)).height(), 128 + 12) << row;
    }
    // The broken picture's row has none; the row after it keeps its own.
    EXPECT_TRUE(list->item(1)->icon().isNull());
    EXPECT_TRUE(list->item(3)->icon().isNull());
    EXPECT_NE(Bytes(dialog.Thumbnail(0)), Bytes(dialog.Thumbnail(2)));

    // The second opening shows every thumbnail before its window appears.
    CBackgroundDlg again(choice);
    EXPECT_EQ(again.PendingThumbnails(), 0);
    EXPECT_EQ(Bytes(again.Thumbnail(2)), Bytes(dialog.Thumbnail(2)));
}

TEST_F(BackgroundDlgTest, SelectionKeptAfterClickingEmptySpaceAndAcrossOpenings) {
    {
        CBackgroundDlg dialog(choice);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        QListWidget* list = dialog.listBackground();
        ClickRow(list, 2);
        EXPECT_EQ(choice.m_nSelRow, 2);
        // Empty space: the deselection of row 2 is the latest change and names row 2.
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->viewport()->rect().bottomRight() - QPoint(5, 5));
        EXPECT_TRUE(list->selectedItems().isEmpty());
        EXPECT_EQ(choice.m_nSelRow, 2);
        EXPECT_EQ(choice.m_strSelImage, "images\\\\background\\\\a.jpg");
        dialog.applyButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(list->count(), 0) << "closing empties the list";
        EXPECT_EQ(choice.m_nSelRow, 2);
    }
    {
        // Opened again and applied untouched: the previous choice again.
        CBackgroundDlg dialog(choice);
        dialog.show();
        dialog.applyButton()->click();
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(choice.m_nSelRow, 2);
        EXPECT_EQ(choice.m_strSelImage, "images\\\\background\\\\a.jpg");
    }
    {
        // The three-field row gives an empty path (the window then applies nothing);
        // a picture that does not decode is still chosen by its path.
        CBackgroundDlg dialog(choice);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        ClickRow(dialog.listBackground(), 3);
        EXPECT_EQ(choice.m_nSelRow, 3);
        EXPECT_EQ(choice.m_strSelImage, "");
        ClickRow(dialog.listBackground(), 1);
        EXPECT_EQ(choice.m_strSelImage, "images\\background\\broken.jpg");
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_EQ(choice.m_nSelRow, 1) << "the choice is the dialog's, kept on close too";
    }
}

TEST_F(BackgroundDlgTest, ApplyOrCloseWhileThumbnailsAreMadeNeitherWaitsNorCrashes) {
    ASSERT_TRUE(SaveBitmapToFile("big.jpg", Picture(1920, 1080, 0xFF102030)));
    QByteArray lines;
    for (int i = 0; i < 24; ++i) {
        const QByteArray name = "images\\background\\big" + QByteArray::number(i) + ".jpg";
        ASSERT_TRUE(QFile::copy("big.jpg", localPath(name.toStdString())));
        lines += "0,c," + name + "," + name + "\r\n";
    }
    test::WriteFileBytes("LIST_BACKGROUND.db", lines);
    for (QPushButton* (CBackgroundDlg::*button)() const :
         {&CBackgroundDlg::closeButton, &CBackgroundDlg::applyButton}) {
        ThumbnailCache::Shared()->ClearMemory();
        QDir(work.filePath("cache")).removeRecursively();
        int pendingAtClose = -1;
        QElapsedTimer sinceClick;
        const BackgroundChoice before = choice;
        QTimer::singleShot(60, [&] {
            auto* dialog = dynamic_cast<CBackgroundDlg*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            pendingAtClose = dialog->PendingThumbnails();
            sinceClick.start();
            (dialog->*button)()->click();
        });
        const bool applied = RunBackgroundDlg(choice, nullptr);
        EXPECT_LT(sinceClick.elapsed(), 100) << "closing waited for the workers";
        EXPECT_EQ(applied, button == &CBackgroundDlg::applyButton);
        EXPECT_GT(pendingAtClose, 0) << "the thumbnails were still being made";
        EXPECT_EQ(choice.m_nSelRow, before.m_nSelRow);
        QTest::qWait(400);  // late thumbnails of the closed dialog arrive nowhere
    }
}

}  // namespace
}  // namespace vodirev
