#pragma once
// The context-menu commands on text labels, pictures, the background and the
// launcher. Plain functions over the editor's session; the window routes them
// through the command table and repaints as the outcome says.

#include "document/desktop_session.h"
#include "editor/background_choice.h"
#include "editor/canvas_state.h"
#include "editor/command_ui.h"
#include "editor/icon_commands.h"

#include <QDateTime>
#include <functional>
#include <string>

namespace vodirev {

class CommandRouter;

inline constexpr const char* kNoMoreLabelsMessage = "더이상 추가할 수 없습니다.";
inline constexpr const char* kNewLabelText = "문구수정 선택해 주세요";
inline constexpr const char* kBackgroundRefusedMessage = "배경이미지로 등록 할 수 없습니다.";
inline constexpr const char* kBackgroundUserTmpList = "LIST_BACKGROUND_USER_TMP.db";

// "문구 추가 및 수정": the text as the edit shows it (CP949, lines ended by "\r\n").
struct LabelTextModel : DialogModel {
    std::string m_strText;
    bool m_bApplied = false;  // closed with "적용"
};

// "문구 추가": the first free slot at (500, 150) in 굴림체 -24; a reused slot keeps
// its colour. A sixth label is refused with a message.
CommandOutcome OnAddLabel(DesktopSession& session, CommandUi& ui);

// The label commands on m_nActiveText, each resetting it to -1 whatever happens.
// Text: the dialog shows the text with CR LF line ends and gives it back with "\n";
// "&", ">" and "<" become blanks, every other byte stays.
CommandOutcome OnEditLabelText(DesktopSession& session, CanvasState& state, CommandUi& ui);
CommandOutcome OnDeleteLabel(DesktopSession& session, CanvasState& state);
CommandOutcome OnChangeLabelFont(DesktopSession& session, CanvasState& state, CommandUi& ui);
// The colour dialog starts at black, not at the label's colour.
CommandOutcome OnChangeLabelColor(DesktopSession& session, CanvasState& state, CommandUi& ui);

// "이미지 추가": the picture imported into "images\\user\\<desktop>_<name>" and
// placed at (100, 100). "이미지 삭제" removes m_nActiveImage (its file stays).
CommandOutcome OnAddPicture(DesktopSession& session, CommandUi& ui, const QDateTime& now);
CommandOutcome OnDeletePicture(DesktopSession& session, CanvasState& state);

// "배경 이미지 설정": the picker's confirmed, non-empty choice becomes the background.
CommandOutcome OnSetBackground(DesktopSession& session, CommandUi& ui, BackgroundChoice& choice);

// "배경 이미지 추가": a picture that scales to 128 x 128, imported into
// "images\\background\\", becomes the background; "LIST_BACKGROUND_USER.db" keeps its
// lines longer than 10 bytes and gains the new one, written whole before it
// replaces the old file.
CommandOutcome OnAddBackground(DesktopSession& session, CommandUi& ui, const QDateTime& now);

// "런처 모양 변경": launcherA.bmp and launcherB.bmp in turn, the position kept.
CommandOutcome OnToggleLauncher(DesktopSession& session);

struct DesktopCommandContext {
    DesktopSession& session;
    CanvasState& state;
    CommandUi& ui;
    BackgroundChoice& background;  // kept across openings of the picker
    std::function<QDateTime()> now = [] { return QDateTime::currentDateTime(); };
};

// Routes every command above; apply receives each outcome.
void RouteDesktopCommands(CommandRouter& router, DesktopCommandContext context,
                          std::function<void(const CommandOutcome&)> apply);

}  // namespace vodirev
