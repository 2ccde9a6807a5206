#include "dialogs/icon_update_dlg.h"

#include "base/text.h"
#include "dialogs/dialog_frame.h"
#include "dialogs/icon_insert_dlg.h"

#include <QApplication>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

namespace vodirev {

bool ChangeProgramPath(IconUpdateModel& model, CommandUi& ui, const ClientDrives& drives) {
    const QString workDir = QDir::currentPath();
    const QString chosen = ui.ChooseOpenFile(QString(), ProgramFileFilter());
    bool taken = false;
    if (!chosen.isEmpty()) {
        const ClientProgram client = ClientProgramFor(chosen, drives);
        if (!FitsMenuField(client.dir) || !FitsMenuField(client.name)) {
            ui.ShowMessage(MenuFieldRefusal());
        } else {
            model.m_strProgram = client.name;
            model.m_strDir = client.dir;
            model.m_strFullPath = toCp949(chosen);
            model.m_clientPath.Choose(client);
            model.m_bClientPathEdited = false;
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
    model.m_clientPath.shown = JoinClientPath(dir, program);
    return model;
}

void TakeIconUpdateClientPath(IconUpdateModel& model, std::string_view text) {
    if (model.m_clientPath.Take(text)) {
        const ClientProgram split = SplitClientPath(model.m_clientPath.shown);
        model.m_strDir = split.dir;
        model.m_strProgram = split.name;
        model.m_bClientPathEdited = true;
    }
}

bool ConfirmIconUpdate(IconUpdateModel& model, CommandUi* ui) {
    if (model.m_clientPath.folderMissing) {
        if (ui != nullptr) {
            ui->ShowMessage(ClientFolderQuestion(fromCp949(model.m_strProgram)));
        }
        return false;
    }
    if (!model.m_bClientPathEdited && model.m_strProgram.empty() && model.m_strDir.empty()) {
        SplitPath split = SplitChosenPath(model.m_strFullPath);
        model.m_strDir = std::move(split.dir);
        model.m_strProgram = std::move(split.name);
    }
    return true;
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
    // What the program is stored as: the path the client PCs use, open to correction.
    m_editClientPath = new QLineEdit(content);
    m_editClientPath->setObjectName(QStringLiteral("clientPath"));
    auto* clientLabel = new QLabel(QStringLiteral("클라이언트 PC 경로"), content);
    clientLabel->setBuddy(m_editClientPath);
    auto* grid = new QGridLayout(content);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_editPath, 0, 0, 1, 2);
    grid->addWidget(m_btnChange, 0, 2);
    grid->addWidget(clientLabel, 1, 0);
    grid->addWidget(m_editClientPath, 1, 1, 1, 2);

    const auto buttons =
        AddButtonColumn(*this, content, {QStringLiteral("수정"), QStringLiteral("닫기")});
    m_ok = buttons[0];
    m_cancel = buttons[1];
    connect(m_btnChange, &QPushButton::clicked, this, &CIconUpdateDlg::OnBnClickedPathChange);
    connect(m_ok, &QPushButton::clicked, this, &CIconUpdateDlg::OnOK);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    resize(460, 110);

    m_editPath->setText(fromCp949(m_model.m_strFullPath));
    m_editClientPath->setText(fromCp949(m_model.m_clientPath.shown));
}

void CIconUpdateDlg::OnBnClickedPathChange() {
    TakeIconUpdateClientPath(m_model, toCp949(m_editClientPath->text()));
    if (ChangeProgramPath(m_model, m_ui)) {
        m_editPath->setText(fromCp949(m_model.m_strFullPath));
        m_editClientPath->setText(fromCp949(m_model.m_clientPath.shown));
    }
}

void CIconUpdateDlg::OnOK() {
    TakeIconUpdateClientPath(m_model, toCp949(m_editClientPath->text()));
    if (ConfirmIconUpdate(m_model, &m_ui)) {
        accept();
    }
}

bool RunIconUpdateDlg(IconUpdateModel& model, CommandUi& ui, QWidget* parent) {
    CIconUpdateDlg dialog(model, ui, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace vodirev
