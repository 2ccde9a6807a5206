#pragma once
// Offers the four canvas resolutions.

#include <QDialog>

class QButtonGroup;
class QPushButton;
class QRadioButton;

namespace vodirev {

class CResoluationDlg : public QDialog {
public:
    explicit CResoluationDlg(QWidget* parent = nullptr);

    // Kept between runs; only meaningful when m_bChosen is 1.
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_bChosen = 0;  // 1 once a resolution was clicked in this run

    // Run at every opening: nothing chosen, no button checked.
    void OnInitDialog();
    void OnBnClicked1024();
    void OnBnClicked1280();
    void OnBnClicked1680();
    void OnBnClicked1920();

    // Controls 1014 to 1017 in that order.
    QRadioButton* radioButton(int index) const { return m_radios[index]; }
    QPushButton* applyButton() const { return m_apply; }
    QPushButton* closeButton() const { return m_close; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Choose(int width, int height);

    QButtonGroup* m_group = nullptr;
    QRadioButton* m_radios[4] = {};
    QPushButton* m_apply = nullptr;
    QPushButton* m_close = nullptr;
};

}  // namespace vodirev
