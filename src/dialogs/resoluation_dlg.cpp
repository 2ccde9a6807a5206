#include "dialogs/resoluation_dlg.h"

#include "dialogs/dialog_frame.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vodirev {

CResoluationDlg::CResoluationDlg(QWidget* parent) : QDialog(parent) {
    SetUpDialog(*this, QStringLiteral("해상도 설정"));

    auto* group = new QGroupBox(QStringLiteral("기본 해상도 설정"), this);
    auto* column = new QVBoxLayout(group);
    m_group = new QButtonGroup(this);
    const char* const captions[4] = {"1024 X 768", "1280 X 1024", "1680 X 1050", "1920 X 1080"};
    for (int i = 0; i < 4; ++i) {
        m_radios[i] = new QRadioButton(QString::fromLatin1(captions[i]), group);
        m_radios[i]->setObjectName(QString::number(1014 + i));
        m_group->addButton(m_radios[i], 1014 + i);
        column->addWidget(m_radios[i]);
    }
    connect(m_radios[0], &QRadioButton::clicked, this, &CResoluationDlg::OnBnClicked1024);
    connect(m_radios[1], &QRadioButton::clicked, this, &CResoluationDlg::OnBnClicked1280);
    connect(m_radios[2], &QRadioButton::clicked, this, &CResoluationDlg::OnBnClicked1680);
    connect(m_radios[3], &QRadioButton::clicked, this, &CResoluationDlg::OnBnClicked1920);

    const auto buttons =
        AddButtonColumn(*this, group, {QStringLiteral("적용"), QStringLiteral("닫기")});
    m_apply = buttons[0];
    m_close = buttons[1];
    connect(m_apply, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
    resize(474, 171);
}

void CResoluationDlg::showEvent(QShowEvent* event) {
    OnInitDialog();
    QDialog::showEvent(event);
}

void CResoluationDlg::OnInitDialog() {
    m_bChosen = 0;
    // An exclusive group cannot uncheck its checked button.
    m_group->setExclusive(false);
    for (QRadioButton* radio : m_radios) {
        radio->setChecked(false);
    }
    m_group->setExclusive(true);
}

void CResoluationDlg::Choose(int width, int height) {
    m_nWidth = width;
    m_nHeight = height;
    m_bChosen = 1;
}

void CResoluationDlg::OnBnClicked1024() {
    Choose(1024, 768);
}
void CResoluationDlg::OnBnClicked1280() {
    Choose(1280, 1024);
}
void CResoluationDlg::OnBnClicked1680() {
    Choose(1680, 1050);
}
void CResoluationDlg::OnBnClicked1920() {
    Choose(1920, 1080);
}

}  // namespace vodirev
