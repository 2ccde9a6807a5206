#include "editor/icon_commands.h"

#include "base/paths.h"
#include "base/text.h"
#include "base/text_file.h"
#include "document/file_names.h"
#include "document/list_files.h"
#include "editor/command_ids.h"
#include "editor/command_router.h"
#include "editor/command_ui.h"
#include "imaging/image_io.h"
#include "imaging/scale_bitmap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace vodirev {

namespace {

constexpr int kAddCommands[] = {ID_ADD_SHORTCUT,     ID_ADD_FOLDER,       ID_SHOW_CONTROL_PANEL,
                                ID_SHOW_MY_COMPUTER, ID_SHOW_RECYCLE_BIN, ID_SHOW_USER_REVIEWS};
constexpr int kDeleteCommands[] = {ID_DELETE_FOLDER, ID_DELETE_SHORTCUT, ID_DELETE_BASE_FOLDER,
                                   ID_DELETE_CONTROL_PANEL};
constexpr int kChangeImageCommands[] = {ID_CHANGE_FOLDER_IMAGE, ID_CHANGE_SHORTCUT_IMAGE,
                                        ID_CHANGE_SYSTEM_IMAGE, ID_ADD_FOLDER_IMAGE};

constexpr const char* kImageFilter = "Program (*.jpg *.gif *.bmp *.png)";
constexpr const char* kFolderImageFormat = "images\\\\bkicons\\\\%s";

bool IsIconIndex(const DesktopSession& session, int index) {
    return index >= 0 && std::size_t(index) < session.m_desktop.m_arrFolder.size();
}

// A special icon is shown once: nothing when one of its type is on the desktop.
template <typename Add>
bool AddOnce(CDesktopInfo& desktop, int type, Add add) {
    if (desktop.FindIconOfType(type) >= 0) {
        return false;
    }
    (desktop.*add)();
    return true;
}

}  // namespace

CommandOutcome OnAddIconCommand(DesktopSession& session, int commandId) {
    CDesktopInfo& desktop = session.m_desktop;
    bool added = true;
    switch (commandId) {
        case ID_ADD_SHORTCUT:
            desktop.AddShortcutIcon();
            break;
        case ID_ADD_FOLDER:
            desktop.AddFolder();
            break;
        case ID_SHOW_CONTROL_PANEL:
            added = AddOnce(desktop, kTypeControlPanel, &CDesktopInfo::AddControlPanel);
            break;
        case ID_SHOW_MY_COMPUTER:
            added = AddOnce(desktop, kTypeMyComputer, &CDesktopInfo::AddMyComputer);
            break;
        case ID_SHOW_RECYCLE_BIN:
            added = AddOnce(desktop, kTypeRecycleBin, &CDesktopInfo::AddRecycleBin);
            break;
        case ID_SHOW_USER_REVIEWS:
            added = AddOnce(desktop, kTypeUserReviews, &CDesktopInfo::AddUserReviews);
            break;
        default:
            added = false;
    }
    return {added};
}

CommandOutcome OnDeleteIconCommand(DesktopSession& session, const CanvasState& state,
                                   int commandId) {
    std::vector<CInfoFolder>& icons = session.m_desktop.m_arrFolder;
    const int target = state.m_nContextFolder;
    // The target is the icon under the last right click; a stale index deletes nothing.
    if (target < 0 || target >= static_cast<int>(icons.size())) {
        return {};
    }
    const auto position = icons.begin() + target;
    switch (commandId) {
        case ID_DELETE_FOLDER:
            for (CInfoIcon& program : session.m_arrMenu) {
                if (program.m_nFolder == position->m_nFlag) {
                    program.m_nFolder = 0;
                }
            }
            icons.erase(position);
            break;
        case ID_DELETE_SHORTCUT:
        case ID_DELETE_BASE_FOLDER:
            icons.erase(position);
            break;
        case ID_DELETE_CONTROL_PANEL:
            icons.erase(position);
            for (CInfoIcon& entry : session.m_arrSysMenu) {
                entry.m_nFolder = 0;
            }
            break;
        default:
            return {};
    }
    return {true};
}

QString PictureRefusalReason(const QImage& picture, int scaleSide) {
    if (picture.isNull()) {
        return QStringLiteral("그림을 읽지 못했습니다: 손상된 파일이거나 읽을 수 없는 형식입니다.");
    }
    if (scaleSide > 0 && ScaleBitmap(picture, scaleSide, scaleSide).isNull()) {
        return QStringLiteral(
                   "그림 크기가 %1 x %2 입니다. %3 x %3 으로 맞출 때 한쪽은 늘리고 다른 쪽은 "
                   "줄여야 하는 그림은 쓸 수 없습니다: 가로와 세로가 모두 %3 이상이거나 모두 "
                   "%3 이하인 그림을 고르세요.")
            .arg(picture.width())
            .arg(picture.height())
            .arg(scaleSide);
    }
    return QString();
}

std::optional<std::string> ImportImageFile(CommandUi& ui, std::string_view workDir,
                                           const char* destinationFormat, const QString& refusal,
                                           int scaleSide, const QDateTime& now) {
    const QString chosen = ui.ChooseOpenFile(QString(), QString::fromLatin1(kImageFilter));
    if (!workDir.empty()) {
        QDir::setCurrent(fromCp949(workDir));
    }
    if (chosen.isEmpty()) {
        return std::nullopt;
    }
    const QImage picture = LoadImageBitmap(chosen);
    if (const QString reason = PictureRefusalReason(picture, scaleSide); !reason.isEmpty()) {
        ui.ShowMessage(refusal + u'\n' + reason);
        return std::nullopt;
    }
    const std::string storedName = StoredImageName(toCp949(QFileInfo(chosen).fileName()), now);
    char destination[512];
    std::snprintf(destination, sizeof destination, destinationFormat, storedName.c_str());
    // An existing file of that name stays and is used; a failed copy is not reported.
    const QString local = localPath(destination);
    QDir().mkpath(QFileInfo(local).path());
    QFile::copy(chosen, local);
    return std::string(destination);
}

CommandOutcome OnChangeIconImage(DesktopSession& session, const CanvasState& state, CommandUi& ui,
                                 const QDateTime& now) {
    const int target = state.m_nContextFolder;
    if (!IsIconIndex(session, target)) {
        return {};
    }
    const std::optional<std::string> path =
        ImportImageFile(ui, session.m_szWorkDir.str(), kFolderImageFormat,
                        QString::fromUtf8(kImageRefusedMessage), 0, now);
    if (!path) {
        return {};
    }
    AppendTextFile(QString::fromLatin1(kFolderUserList), PathLine(*path));
    session.m_desktop.ReplaceItemImage(*path, target);
    session.m_desktop.m_arrFolder[std::size_t(target)].m_szImage = *path;
    // The canvas shows the new picture at once, whatever the file dialog left behind.
    return {true};
}

void RouteIconCommands(CommandRouter& router, IconCommandContext context,
                       std::function<void(const CommandOutcome&)> apply) {
    DesktopSession& session = context.session;
    const CanvasState& state = context.state;
    for (const int id : kAddCommands) {
        router.Route(id, [&session, apply, id] { apply(OnAddIconCommand(session, id)); });
    }
    for (const int id : kDeleteCommands) {
        router.Route(
            id, [&session, &state, apply, id] { apply(OnDeleteIconCommand(session, state, id)); });
    }
    for (const int id : kChangeImageCommands) {
        router.Route(id, [context, apply] {
            apply(OnChangeIconImage(context.session, context.state, context.ui, context.now()));
        });
    }
}

}  // namespace vodirev
