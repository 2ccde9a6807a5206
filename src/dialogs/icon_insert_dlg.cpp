#include "dialogs/icon_insert_dlg.h"

#include "base/paths.h"
#include "base/text.h"
#include "base/text_file.h"
#include "dialogs/dialog_frame.h"
#include "document/file_names.h"
#include "document/info_icon.h"
#include "document/list_files.h"
#include "editor/icon_commands.h"
#include "imaging/image_io.h"
#include "imaging/program_icon.h"

#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <algorithm>

namespace vodirev {

namespace {

// The folder the icon images go to, as the menu lists name it and on disk.
constexpr const char* kProgramImagePrefix = "images\\\\icons\\\\";  // two and two
constexpr const char* kPictureImagePrefix = "images\\\\icons\\";    // two and one
constexpr const char* kIconFolder = "images/icons";
constexpr int kIconCheckSize = 64;

bool HasHighBit(std::string_view text) {
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return (static_cast<unsigned char>(c) & 0x80) != 0; });
}

// The name without its last 4 bytes (".exe"), cut at a whole character.
std::string WithoutExtension(std::string_view name) {
    return name.size() <= 4 ? std::string() : cutCp949(name, name.size() - 4);
}

}  // namespace

IconInsertModel::IconInsertModel() : m_readProgramIcon(ReadCatalogueIconFile) {}

SplitPath SplitChosenPath(std::string_view path) {
    const std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string_view::npos) {
        return {std::string(), std::string(path)};
    }
    return {std::string(path.substr(0, slash)), std::string(path.substr(slash + 1))};
}

QString ProgramFileFilter() {
    return QStringLiteral("Program (*.exe)");
}

bool FitsMenuField(std::string_view text, bool lastField) {
    return text.find_first_of(lastField ? "\r\n" : ";\r\n") == std::string_view::npos;
}

QString MenuFieldRefusal() {
    return QStringLiteral("';' 문자나 줄바꿈이 든 이름과 경로는 등록할 수 없습니다.");
}

void MakeWorkDirCurrent(std::string_view workDir) {
    if (!workDir.empty()) {
        QDir::setCurrent(fromCp949(workDir));
    }
}

bool SelectProgram(IconInsertModel& model, CommandUi& ui, const QDateTime& now,
                   const ClientDrives& drives) {
    const QString chosen = ui.ChooseOpenFile(QString(), ProgramFileFilter());
    if (chosen.isEmpty()) {
        MakeWorkDirCurrent(model.m_szWorkDir);
        return false;
    }
    const std::string path = toCp949(chosen);
    const ClientProgram client = ClientProgramFor(chosen, drives);
    model.m_strSourcePath = path;
    model.m_strSourceName = client.name;
    model.m_strDir = client.dir;
    model.m_strProgram = client.name;
    model.m_clientPath.Choose(client);
    model.m_strName = WithoutExtension(client.name);
    // A Hangul name would make a file name the server and the clients may not share.
    model.m_strImage = kProgramImagePrefix +
                       (HasHighBit(client.name) ? LocalTimeStamp(now) : model.m_strName) + ".png";
    MakeWorkDirCurrent(model.m_szWorkDir);
    model.m_imgIcon = model.m_readProgramIcon ? model.m_readProgramIcon(chosen) : QImage();
    model.m_imgShown = model.m_imgIcon;
    model.m_bProgramChosenLast = true;
    MakeWorkDirCurrent(model.m_szWorkDir);
    return true;
}

bool SelectIconImage(IconInsertModel& model, CommandUi& ui, const QDateTime& now) {
    const QString chosen =
        ui.ChooseOpenFile(QString(), QStringLiteral("Program (*.jpg *.gif *.ico *.png *.bmp)"));
    bool taken = false;
    if (!chosen.isEmpty()) {
        const QImage image = LoadImageBitmap(chosen);
        if (const QString reason = PictureRefusalReason(image, kIconCheckSize); !reason.isEmpty()) {
            ui.ShowMessage(QStringLiteral("아이콘으로 등록 할 수 없습니다.") + u'\n' + reason);
        } else {
            const std::string path = toCp949(chosen);
            model.m_strSourcePath = path;
            model.m_strSourceName = StoredImageName(SplitChosenPath(path).name, now);
            model.m_strDir.clear();
            model.m_imgShown = image;
            model.m_strImage = kPictureImagePrefix + model.m_strSourceName;
            model.m_bProgramChosenLast = false;
            MakeWorkDirCurrent(model.m_szWorkDir);
            // A file of that name already there stays as it is; a failed copy is silent.
            QDir().mkpath(QString::fromLatin1(kIconFolder));
            QFile::copy(chosen, localPath(model.m_strImage));
            taken = true;
        }
    }
    MakeWorkDirCurrent(model.m_szWorkDir);
    return taken;
}

std::string ClientPathShown(const IconInsertModel& model) {
    return JoinClientPath(model.m_strDir, model.m_strProgram);
}

void TakeClientPathField(IconInsertModel& model, std::string_view text) {
    if (model.m_clientPath.Take(text)) {
        const ClientProgram split = SplitClientPath(model.m_clientPath.shown);
        model.m_strDir = split.dir;
        model.m_strProgram = split.name;
    }
}

bool RegisterIcon(IconInsertModel& model, CommandUi& ui) {
    if (model.m_strName.empty()) {
        ui.ShowMessage(QStringLiteral("아이콘명을 등록해 주세요."));
        return false;
    }
    if (!model.m_strProgram.empty() && model.m_clientPath.folderMissing) {
        ui.ShowMessage(ClientFolderQuestion(fromCp949(model.m_strProgram)));
        return false;
    }
    // The catalogue entry is written to the menu list at the save too.
    const bool fits = FitsMenuField(model.m_strImage) && FitsMenuField(model.m_strName) &&
                      FitsMenuField(model.m_strDir) && FitsMenuField(model.m_strProgram) &&
                      FitsMenuField(model.m_strUrl, true);
    if (!fits) {
        ui.ShowMessage(MenuFieldRefusal());
        return false;
    }
    if (model.m_strProgram.empty()) {
        ui.ShowMessage(QStringLiteral("프로그램를 등록해 주세요."));
        return true;
    }
    MakeWorkDirCurrent(model.m_szWorkDir);
    CInfoIcon icon;
    icon.m_nFolder = 0;
    icon.m_strImage = model.m_strImage;
    icon.m_strName = model.m_strName;
    icon.m_strDir = model.m_strDir;
    icon.m_strProgram = model.m_strProgram;
    icon.m_strUrl = model.m_strUrl;
    AppendTextFile(MenuListName(model.m_nDesktop), MenuLine(icon));
    // Only the program's own ".png" path receives its icon, never a copied picture.
    if (model.m_bProgramChosenLast && !model.m_imgIcon.isNull()) {
        QDir().mkpath(QString::fromLatin1(kIconFolder));
        SaveBitmapToFile(localPath(model.m_strImage), model.m_imgIcon);
    }
    return true;
}

CIconInsertDlg::CIconInsertDlg(IconInsertModel& model, CommandUi& ui, QWidget* parent)
    : QDialog(parent), m_model(model), m_ui(ui) {
    SetUpDialog(*this, QStringLiteral("아이콘 등록하기"));

    auto* group = new QGroupBox(QStringLiteral(" 아이콘 "), this);
    const auto edit = [group](const char* id) {
        auto* line = new QLineEdit(group);
        line->setObjectName(QString::fromLatin1(id));
        return line;
    };
    m_editName = edit("1020");
    m_editUrl = edit("1023");
    m_editProgram = edit("1024");
    // The name never outgrows its box: as wide as its longest name, no wider.
    const QFontMetrics metrics(m_editName->font());
    m_editName->setFixedWidth(
        metrics.horizontalAdvance(QString(int(kIconNameMaxBytes), QLatin1Char('0'))) + 16);
    connect(m_editName, &QLineEdit::textEdited, this, &CIconInsertDlg::CapName);

    const auto button = [group](const QString& caption, const char* id) {
        auto* push = new QPushButton(caption, group);
        push->setObjectName(QString::fromLatin1(id));
        push->setAutoDefault(false);
        return push;
    };
    m_btnProgram = button(QStringLiteral("프그램명 선택"), "1022");
    m_btnIcon = button(QStringLiteral("아이콘 선택"), "1025");
    connect(m_btnProgram, &QPushButton::clicked, this, &CIconInsertDlg::OnBnClickedProgramSelect);
    connect(m_btnIcon, &QPushButton::clicked, this, &CIconInsertDlg::OnBnClickedIconSelect);

    m_picIcon = new QLabel(group);
    m_picIcon->setObjectName(QStringLiteral("1026"));
    m_picIcon->setFrameShape(QFrame::Box);
    m_picIcon->setAlignment(Qt::AlignCenter);
    m_picIcon->setFixedSize(kIconCheckSize + 8, kIconCheckSize + 8);

    auto* grid = new QGridLayout(group);
    const auto row = [&](int r, const QString& caption, QLineEdit* line) {
        auto* label = new QLabel(caption, group);
        label->setBuddy(line);
        grid->addWidget(label, r, 0);
        grid->addWidget(line, r, 1);
    };
    row(0, QStringLiteral("아이콘 이름"), m_editName);
    row(1, QStringLiteral("URL 입력"), m_editUrl);
    row(2, QStringLiteral("프로그램 이름"), m_editProgram);
    auto* choices = new QHBoxLayout;
    choices->addWidget(m_btnProgram);
    choices->addWidget(m_btnIcon);
    choices->addStretch(1);
    grid->addLayout(choices, 3, 1);
    // What the program is stored as: the path the client PCs use.
    m_editClientPath = edit("clientPath");
    auto* clientLabel = new QLabel(QStringLiteral("클라이언트 PC 경로"), group);
    clientLabel->setBuddy(m_editClientPath);
    grid->addWidget(clientLabel, 4, 0);
    grid->addWidget(m_editClientPath, 4, 1, 1, 2);
    grid->addWidget(m_picIcon, 0, 2, 4, 1, Qt::AlignCenter);

    const auto buttons =
        AddButtonColumn(*this, group, {QStringLiteral("등록"), QStringLiteral("취소")});
    m_ok = buttons[0];
    m_cancel = buttons[1];
    connect(m_ok, &QPushButton::clicked, this, &CIconInsertDlg::OnOK);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    LoadControls();
}

void CIconInsertDlg::TakeControls() {
    m_model.m_strName = toCp949(m_editName->text());
    m_model.m_strUrl = toCp949(m_editUrl->text());
    m_model.m_strProgram = toCp949(m_editProgram->text());
    TakeClientPathField(m_model, toCp949(m_editClientPath->text()));
}

void CIconInsertDlg::LoadControls() {
    m_editName->setText(fromCp949(m_model.m_strName));
    m_editUrl->setText(fromCp949(m_model.m_strUrl));
    m_editProgram->setText(fromCp949(m_model.m_strProgram));
    m_model.m_clientPath.shown = ClientPathShown(m_model);
    m_editClientPath->setText(fromCp949(m_model.m_clientPath.shown));
    m_lastName = m_editName->text();
    if (m_model.m_imgShown.isNull()) {
        m_picIcon->clear();
    } else {
        m_picIcon->setPixmap(QPixmap::fromImage(m_model.m_imgShown));  // real size, centred
    }
}

void CIconInsertDlg::CapName(const QString& text) {
    // What the edit took may grow the name only up to the cap (a longer name a program
    // choice set may shrink but not grow); of a longer insertion the part that fits.
    const std::size_t limit = std::max(kIconNameMaxBytes, toCp949(m_lastName).size());
    if (toCp949(text).size() > limit) {
        qsizetype prefix = 0;
        while (prefix < text.size() && prefix < m_lastName.size() &&
               text[prefix] == m_lastName[prefix]) {
            ++prefix;
        }
        qsizetype suffix = 0;
        while (suffix < text.size() - prefix && suffix < m_lastName.size() - prefix &&
               text[text.size() - 1 - suffix] == m_lastName[m_lastName.size() - 1 - suffix]) {
            ++suffix;
        }
        const QString kept = text.left(prefix) + text.right(suffix);
        const std::size_t room = limit - std::min(limit, toCp949(kept).size());
        const QString inserted =
            fromCp949(cutCp949(toCp949(text.mid(prefix, text.size() - prefix - suffix)), room));
        m_editName->setText(text.left(prefix) + inserted + text.right(suffix));
        m_editName->setCursorPosition(int(prefix + inserted.size()));
    }
    m_lastName = m_editName->text();
}

void CIconInsertDlg::OnBnClickedProgramSelect() {
    TakeControls();
    SelectProgram(m_model, m_ui, QDateTime::currentDateTime());
    LoadControls();
}

void CIconInsertDlg::OnBnClickedIconSelect() {
    TakeControls();
    SelectIconImage(m_model, m_ui, QDateTime::currentDateTime());
    LoadControls();
}

void CIconInsertDlg::OnOK() {
    TakeControls();
    if (!RegisterIcon(m_model, m_ui)) {
        return;
    }
    LoadControls();
    accept();
}

bool RunIconInsertDlg(IconInsertModel& model, CommandUi& ui, QWidget* parent) {
    CIconInsertDlg dialog(model, ui, parent);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace vodirev
