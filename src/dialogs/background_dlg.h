#pragma once
// "배경 이미지 선택": the background picker. Lists the pictures of both background
// lists as 128 x 128 thumbnails with their captions and hands the chosen picture's
// path back in the window's BackgroundChoice, which keeps it across openings. The
// window appears at once; the thumbnails fill in as the workers make them.

#include "document/info_background.h"
#include "editor/background_choice.h"
#include "imaging/thumbnail_maker.h"

#include <QDialog>
#include <QImage>
#include <memory>
#include <vector>

class QListWidget;
class QPushButton;

namespace vodirev {

class CBackgroundDlg : public QDialog {
public:
    // Reads the lists of the current folder and starts the thumbnails.
    CBackgroundDlg(BackgroundChoice& choice, QWidget* parent = nullptr,
                   std::shared_ptr<ThumbnailCache> cache = ThumbnailCache::Shared());

    // Fills the rows again from both lists; the choice stays.
    void OnInitDialog();
    // Every change of the list's selection, a deselection too.
    void OnBackgroundItemChanged(int row);
    // "적용" and "닫기" (or Escape): stop the thumbnails, empty the list, close.
    void OnOK();
    void reject() override;

    QListWidget* listBackground() const { return m_listBackground; }
    QPushButton* applyButton() const { return m_apply; }
    QPushButton* closeButton() const { return m_close; }
    const std::vector<CInfoBackground>& rows() const { return m_arrBackground; }
    // The thumbnail a row shows; null while it is being made or when it has none.
    QImage Thumbnail(int row) const;
    // Rows whose thumbnail has not arrived yet.
    int PendingThumbnails() const { return m_maker.Pending(); }

private:
    void OnThumbnail(int row, const QImage& thumbnail);
    void CleanUp();

    BackgroundChoice& m_choice;
    std::vector<CInfoBackground> m_arrBackground;
    std::vector<QImage> m_imgThumb;           // by row
    QListWidget* m_listBackground = nullptr;  // 1015
    QPushButton* m_apply = nullptr;           // 1 "적용"
    QPushButton* m_close = nullptr;           // 2 "닫기"
    ThumbnailMaker m_maker;
};

// Runs the picker modally over parent; true when it closed with "적용". The window
// registers it as the runner of BackgroundChoice.
bool RunBackgroundDlg(BackgroundChoice& choice, QWidget* parent);

}  // namespace vodirev
