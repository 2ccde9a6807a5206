#include "editor/desktop_commands.h"

#include "base/paths.h"
#include "base/text.h"
#include "base/text_file.h"
#include "document/file_names.h"
#include "document/install_images.h"
#include "document/list_files.h"
#include "editor/apply_messages.h"
#include "editor/background_picker.h"
#include "editor/command_ids.h"
#include "editor/command_router.h"
#include "editor/label_font.h"
#include "imaging/image_io.h"

#include <QFile>
#include <algorithm>

namespace vodirev {

namespace {

constexpr int kNewLabelX = 500;
constexpr int kNewLabelY = 150;
constexpr int kNewLabelHeight = -24;
constexpr int kNewLabelWeight = 1;
constexpr int kNewLabelCharset = 1;
constexpr const char* kNewLabelFace = "굴림체";
constexpr int kNewPictureX = 100;
constexpr int kNewPictureY = 100;
// A kept background line is longer than this, its line end counted.
constexpr std::size_t kShortBackgroundLine = 10;
constexpr const char* kBackgroundFormat = "images\\\\background\\\\%s";

CInfoLabel* ActiveLabel(DesktopSession& session, const CanvasState& state) {
    const int slot = state.m_nActiveText;
    if (slot < 0 || slot >= kLabelSlots || session.m_desktop.m_bLabelUsed[std::size_t(slot)] == 0) {
        return nullptr;
    }
    return &session.m_desktop.m_label[std::size_t(slot)];
}

// Every label command ends with no label targeted, whatever its outcome.
struct ActiveTextReset {
    CanvasState& state;
    ~ActiveTextReset() { state.m_nActiveText = -1; }
};

std::string WithoutCarriageReturns(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
    return text;
}

// The user list without its empty and too short lines, then the new line: written
// whole through a temporary file, so an interruption leaves the old list in place.
// The copy "LIST_BACKGROUND_USER_TMP.db" is still made, as before.
bool RewriteBackgroundUserList(const std::string& newLine) {
    const QString list = QString::fromLatin1(kBackgroundUserList);
    const QString copy = QString::fromLatin1(kBackgroundUserTmpList);
    QFile::remove(copy);
    QFile::copy(list, copy);
    std::string text;
    TextLineReader reader(list);
    TextLine line;
    while (reader.readLine(line)) {
        if (line.lengthWithLineEnd() > kShortBackgroundLine) {
            text += line.text;
            text += '\n';
        }
    }
    text += newLine;
    return WriteTextFile(list, text);
}

}  // namespace

CommandOutcome OnAddLabel(DesktopSession& session, CommandUi& ui) {
    CDesktopInfo& desktop = session.m_desktop;
    const int slot = desktop.FirstFreeLabelSlot();
    if (slot < 0) {
        ui.ShowMessage(QString::fromUtf8(kNoMoreLabelsMessage));
        return {};
    }
    CInfoLabel& label = desktop.m_label[std::size_t(slot)];
    label.m_nHeight = kNewLabelHeight;
    label.m_nWeight = kNewLabelWeight;
    label.m_nX = kNewLabelX;
    label.m_nY = kNewLabelY;
    label.m_nCharset = kNewLabelCharset;
    label.m_szFont = toCp949(QString::fromUtf8(kNewLabelFace));
    label.CreateFont();
    label.m_strText = toCp949(QString::fromUtf8(kNewLabelText));
    desktop.m_bLabelUsed[std::size_t(slot)] = 1;  // the colour of a reused slot stays
    return {true};
}

CommandOutcome OnEditLabelText(DesktopSession& session, CanvasState& state, CommandUi& ui) {
    ActiveTextReset reset{state};
    CInfoLabel* label = ActiveLabel(session, state);
    if (label == nullptr) {
        return {};
    }
    LabelTextModel dialog;
    dialog.m_strText = ToCrLf(label->m_strText);
    if (!ui.RunDialog(dialog) || !dialog.m_bApplied) {
        return {};
    }
    label->m_strText = BlankMarkupCharacters(WithoutCarriageReturns(dialog.m_strText));
    return {true};
}

CommandOutcome OnDeleteLabel(DesktopSession& session, CanvasState& state) {
    ActiveTextReset reset{state};
    if (ActiveLabel(session, state) == nullptr) {
        return {};
    }
    // The other fields of the slot stay until the next add overwrites them.
    session.m_desktop.m_bLabelUsed[std::size_t(state.m_nActiveText)] = 0;
    return {true};
}

CommandOutcome OnChangeLabelFont(DesktopSession& session, CanvasState& state, CommandUi& ui) {
    ActiveTextReset reset{state};
    CInfoLabel* label = ActiveLabel(session, state);
    if (label == nullptr) {
        return {};
    }
    UserFontModel dialog;
    dialog.m_strFont = label->m_szFont.str();
    dialog.m_nHeight = label->m_nHeight;
    dialog.m_nWeight = label->m_nWeight;
    if (!ui.RunDialog(dialog)) {
        return {};
    }
    label->m_szFont = dialog.m_strFont;
    label->m_nWeight = dialog.m_nWeight;
    label->m_nHeight = LabelHeightForSize(dialog.m_strSize);
    label->CreateFont();
    return {true};
}

CommandOutcome OnChangeLabelColor(DesktopSession& session, CanvasState& state, CommandUi& ui) {
    ActiveTextReset reset{state};
    if (ActiveLabel(session, state) == nullptr) {
        return {};
    }
    const std::optional<QColor> colour = ui.ChooseColor(Qt::black);
    if (!colour) {
        return {};
    }
    session.m_desktop.m_crLabel[std::size_t(state.m_nActiveText)] =
        MakeColorRef(colour->red(), colour->green(), colour->blue());
    return {true};
}

CommandOutcome OnAddPicture(DesktopSession& session, CommandUi& ui, const QDateTime& now) {
    const std::string format = "images\\\\user\\\\" + std::to_string(session.m_nDesktop) + "_%s";
    const std::optional<std::string> path =
        ImportImageFile(ui, session.m_szWorkDir.str(), format.c_str(),
                        QString::fromUtf8(kImageRefusedMessage), 0, now);
    if (!path) {
        return {};
    }
    CInfoUserImage picture;
    picture.m_strPath = *path;
    picture.m_nX = kNewPictureX;
    picture.m_nY = kNewPictureY;
    picture.m_pBitmap = LoadImageBitmap(localPath(*path));
    session.m_desktop.m_arrUserImage.push_back(std::move(picture));
    return {true};
}

CommandOutcome OnDeletePicture(DesktopSession& session, CanvasState& state) {
    auto& pictures = session.m_desktop.m_arrUserImage;
    const int target = state.m_nActiveImage;
    if (target < 0 || std::size_t(target) >= pictures.size()) {
        return {};
    }
    pictures.erase(pictures.begin() + target);
    state.m_nActiveImage = -1;
    return {true};
}

CommandOutcome OnSetBackground(DesktopSession& session, CommandUi& ui, BackgroundChoice& choice) {
    if (!ui.RunDialog(choice) || choice.m_nSelRow < 0 || choice.m_strSelImage.empty()) {
        return {};
    }
    session.m_desktop.m_szBackground = choice.m_strSelImage;
    session.m_desktop.m_imgBackground = LoadImageBitmap(localPath(choice.m_strSelImage));
    return {true};
}

CommandOutcome OnAddBackground(DesktopSession& session, CommandUi& ui, const QDateTime& now) {
    const std::optional<std::string> path =
        ImportImageFile(ui, session.m_szWorkDir.str(), kBackgroundFormat,
                        QString::fromUtf8(kBackgroundRefusedMessage), kBackgroundThumbSize, now);
    if (!path) {
        return {};
    }
    session.m_desktop.m_szBackground = *path;
    RewriteBackgroundUserList(BackgroundLine(*path));
    // The canvas shows what the layout will name, also when the list could not be
    // written.
    session.m_desktop.m_imgBackground = LoadImageBitmap(localPath(*path));
    return {true};
}

CommandOutcome OnToggleLauncher(DesktopSession& session) {
    const bool toB = session.m_nLauncherType == 0;
    session.m_pLauncherBitmap = LoadImageBitmap(localPath(toB ? kLauncherImageB : kLauncherImageA));
    session.m_nLauncherType = toB ? 1 : 0;
    return {true};
}

void RouteDesktopCommands(CommandRouter& router, DesktopCommandContext context,
                          std::function<void(const CommandOutcome&)> apply) {
    DesktopSession& session = context.session;
    CanvasState& state = context.state;
    CommandUi& ui = context.ui;
    const auto route = [&router, apply](int id, std::function<CommandOutcome()> command) {
        router.Route(id, [apply, command = std::move(command)] { apply(command()); });
    };
    route(ID_ADD_TEXT, [&session, &ui] { return OnAddLabel(session, ui); });
    route(ID_MODIFY_TEXT, [&session, &state, &ui] { return OnEditLabelText(session, state, ui); });
    route(ID_DELETE_TEXT, [&session, &state] { return OnDeleteLabel(session, state); });
    route(ID_CHANGE_FONT,
          [&session, &state, &ui] { return OnChangeLabelFont(session, state, ui); });
    route(ID_CHANGE_COLOR,
          [&session, &state, &ui] { return OnChangeLabelColor(session, state, ui); });
    route(ID_ADD_PICTURE,
          [context] { return OnAddPicture(context.session, context.ui, context.now()); });
    route(ID_DELETE_PICTURE, [&session, &state] { return OnDeletePicture(session, state); });
    route(ID_SET_BACKGROUND, [&session, &ui, &choice = context.background] {
        return OnSetBackground(session, ui, choice);
    });
    route(ID_ADD_BACKGROUND,
          [context] { return OnAddBackground(context.session, context.ui, context.now()); });
    route(ID_CHANGE_LAUNCHER, [&session] { return OnToggleLauncher(session); });
}

}  // namespace vodirev
