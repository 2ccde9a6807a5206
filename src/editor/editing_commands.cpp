#include "editor/editing_commands.h"

#include "editor/context_menu.h"

namespace vodirev {

namespace {

constexpr EditingEntry kUndo{ID_EDIT_UNDO, "실행 취소", "Ctrl+Z"};
constexpr EditingEntry kRedo{ID_EDIT_REDO, "다시 실행", "Ctrl+Y"};
constexpr EditingEntry kSelectAll{ID_EDIT_SELECT_ALL, "모두 선택", "Ctrl+A"};
constexpr EditingEntry kCopy{ID_EDIT_COPY, "복사", "Ctrl+C"};
constexpr EditingEntry kPaste{ID_EDIT_PASTE, "붙여넣기", "Ctrl+V"};
constexpr EditingEntry kDuplicate{ID_EDIT_DUPLICATE, "복제", "Ctrl+D"};
constexpr EditingEntry kDelete{ID_EDIT_DELETE, "삭제", "Del"};
constexpr EditingEntry kSave{ID_SAVE, "저장하기", "Ctrl+S"};
constexpr EditingEntry kSeparator{};

constexpr EditingEntry kAlignment[] = {
    {ID_ALIGN_LEFT, "왼쪽 맞춤", "Ctrl+Shift+Left"},
    {ID_ALIGN_RIGHT, "오른쪽 맞춤", "Ctrl+Shift+Right"},
    {ID_ALIGN_TOP, "위쪽 맞춤", "Ctrl+Shift+Up"},
    {ID_ALIGN_BOTTOM, "아래쪽 맞춤", "Ctrl+Shift+Down"},
    {ID_ALIGN_HORIZONTAL_CENTRES, "가로 가운데 맞춤", "Ctrl+Shift+H"},
    {ID_ALIGN_VERTICAL_CENTRES, "세로 가운데 맞춤", "Ctrl+Shift+E"},
    {ID_DISTRIBUTE_ACROSS, "가로 간격 같게", "Ctrl+Shift+J"},
    {ID_DISTRIBUTE_DOWN, "세로 간격 같게", "Ctrl+Shift+K"},
};

}  // namespace

std::vector<EditingEntry> EditingEntries(int menuId, int selectedCount) {
    std::vector<EditingEntry> entries;
    switch (menuId) {
        case kMenuTop:
            entries = {kSeparator, kSave, kSeparator, kUndo, kRedo, kSelectAll, kPaste};
            break;
        case kMenuFolder:
        case kMenuShortcut:
        case kMenuText:
        case kMenuBase:
        case kMenuSystem:
        case kMenuImage:
            entries = {kSeparator, kUndo,      kRedo,   kSeparator,
                       kCopy,      kDuplicate, kDelete, kSelectAll};
            break;
        default:
            return {};
    }
    if (selectedCount >= 2) {
        entries.push_back(kSeparator);
        entries.insert(entries.end(), std::begin(kAlignment), std::end(kAlignment));
    }
    return entries;
}

int EditingCommandForKey(const QKeySequence& keys) {
    // Ctrl+Shift+Z redoes as well, as it always has.
    if (keys == QKeySequence(QStringLiteral("Ctrl+Shift+Z"))) {
        return ID_EDIT_REDO;
    }
    for (const EditingEntry& entry :
         {kSave, kUndo, kRedo, kSelectAll, kCopy, kPaste, kDuplicate, kDelete}) {
        if (keys ==
            QKeySequence(QString::fromLatin1(entry.shortcut.data(), entry.shortcut.size()))) {
            return entry.commandId;
        }
    }
    for (const EditingEntry& entry : kAlignment) {
        if (keys ==
            QKeySequence(QString::fromLatin1(entry.shortcut.data(), entry.shortcut.size()))) {
            return entry.commandId;
        }
    }
    return 0;
}

std::optional<QPoint> NudgeForKey(int key, Qt::KeyboardModifiers modifiers) {
    // Arrow keys carry the keypad flag on some keyboards; it does not change the step.
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    int step = 0;
    if (held == Qt::NoModifier) {
        step = 1;
    } else if (held == Qt::ShiftModifier) {
        step = 10;
    } else {
        return std::nullopt;
    }
    switch (key) {
        case Qt::Key_Left:
            return QPoint(-step, 0);
        case Qt::Key_Right:
            return QPoint(step, 0);
        case Qt::Key_Up:
            return QPoint(0, -step);
        case Qt::Key_Down:
            return QPoint(0, step);
        default:
            return std::nullopt;
    }
}

}  // namespace vodirev
