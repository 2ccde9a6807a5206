#include "dialogs/icon_update_dlg.h"

#include "base/text.h"
#include "dialogs/dialog_frame.h"
#include "dialogs/icon_insert_dlg.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace vodirev {

bool ChangeProgramPath(IconUpdateModel& model, CommandUi& ui) {
    const QString workDir = QDir::currentPath();
    const QString chosen = ui.ChooseOpenFile(QString(), ProgramFileFilter());
    bool taken = false;
    if (!chosen.isEmpty()) {
        const std::string path = toCp949(chosen);
        SplitPath split = SplitChosenPath(path);
        if (!FitsMenuField(split.dir) || !FitsMenuField(split.name)) {
            ui.ShowMessage(MenuFieldRefusal());
        } else {
            model.m_strProgram = std::move(split.name);
            model.m_strDir = std::move(split.dir);
            model.m_strFullPath = path;
            taken = true;
        }
    }
    if (model.m_szWorkDir.empty()) {
        QDir::setCurrent(workDir);
    } else {
        MakeWorkDirCurrent(model.m_szWorkDir);
    }
    return taken;
}

IconUpdateModel IconUpdateModelFor(const std::string& dir, const std::string& program,
                                   const std::string& workDir) {
    IconUpdateModel model;
    model.m_strFullPath = dir + '\\' + program;
    model.m_strDir = dir;
    model.m_strProgram = program;
    model.m_szWorkDir = workDir;
    return model;
}

void ConfirmIconUpdate(IconUpdateModel& model) {
    if (model.m_strProgram.empty() && model.m_strDir.empty()) {
        SplitPath split = SplitChosenPath(model.m_strFullPath);
        model.m_strDir = std::move(split.dir);
        model.m_strProgram = std::move(split.name);
    }
}

CIconUpdateDlg::CIconUpdateDlg(IconUpdateModel& model, CommandUi& ui, QWidget* parent)
    : QDialog(parent), m_model(model), m_ui(ui) {
    SetUpDialog(*this, QStringLiteral("아이콘 수정"));
    QFont font = QApplication::font();  // this dialog keeps the system's 8-point face
    font.setPointSize(8);
    setFont(font);

    auto* content = new QWidget(this);
    m_editPath = new QLineEdit(content);
    m_editPath->setObjectName(QStringLiteral("1029"));
    // Typing here would change nothing: the path comes from the file dialog only.
    m_editPath->setReadOnly(true);
    m_btnChange = new QPushButton(QStringLiteral("경로 및 URL 변경"), content);
    m_btnChange->setObjectName(QStringLiteral("1028"));
    m_btnChange->setAutoDefault(false);
    auto* row = new QHBoxLayout(content);
    row->addWidget(m_editPath, 1);
    row->addWidget(m_btnChange);

    const auto buttons =
        AddButtonColumn(*this, content, {QStringLiteral("수정"), QStringLiteral("닫기")});
    m_ok = buttons[0];
    m_cancel = buttons[1];
    connect(m_btnChange, &QPushButton::clicked, this, &CIconUpdateDlg::OnBnClickedPathChange);
    connect(m_ok, &QPushButton::clicked, this, &CIconUpdateDlg::OnOK);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(420, 80);

    m_editPath->setText(fromCp949(m_model.m_strFullPath));
}

void CIconUpdateDlg::OnBnClickedPathChange() {
    if (ChangeProgramPath(m_model, m_ui)) {
        m_editPath->setText(fromCp949(m_model.m_strFullPath));
    }
}

void CIconUpdateDlg::OnOK() {
    ConfirmIconUpdate(m_model);
    accept();
}

bool RunIconUpdateDlg(IconUpdateModel& model, CommandUi& ui, QWidget* parent) {
    CIconUpdateDlg dialog(model, ui, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace vodirev
