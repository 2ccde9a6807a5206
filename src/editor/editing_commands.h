#pragma once
// The editing commands beyond the context menus' own: undo and redo, the selection,
// copy and paste, delete, alignment and moving off-canvas items inside. Each has a
// caption and a shortcut; the menus show them after their own entries, behind a
// separator, where they apply, and the window runs them from the keyboard too.

#include <QKeySequence>
#include <QPoint>
#include <optional>
#include <string_view>
#include <vector>

namespace vodirev {

enum EditingCommandId : int {
    ID_EDIT_UNDO = 33001,
    ID_EDIT_REDO,
    ID_EDIT_SELECT_ALL,
    ID_EDIT_COPY,
    ID_EDIT_PASTE,
    ID_EDIT_DUPLICATE,
    ID_EDIT_DELETE,
    ID_ALIGN_LEFT,
    ID_ALIGN_RIGHT,
    ID_ALIGN_TOP,
    ID_ALIGN_BOTTOM,
    ID_ALIGN_HORIZONTAL_CENTRES,
    ID_ALIGN_VERTICAL_CENTRES,
    ID_DISTRIBUTE_ACROSS,
    ID_DISTRIBUTE_DOWN,
    ID_SAVE,  // "저장하기": save and publish, the editor stays open
};

struct EditingEntry {
    int commandId = 0;  // 0 for a separator
    std::string_view captionUtf8;
    std::string_view shortcut;  // QKeySequence's portable text

    bool separator() const { return commandId == 0; }
};

// The entries a menu gains after its own: save, undo, redo, select all and paste on
// empty canvas; undo, redo, copy, duplicate, delete and select all on an item, and the
// alignment commands when two or more items are selected. None for a menu id that
// opens no menu.
std::vector<EditingEntry> EditingEntries(int menuId, int selectedCount);

// The editing command a key press runs; 0 for none.
int EditingCommandForKey(const QKeySequence& keys);

// How far an arrow key moves the selection: 1 pixel, 10 with Shift; nothing for
// other keys or other modifiers.
std::optional<QPoint> NudgeForKey(int key, Qt::KeyboardModifiers modifiers);

}  // namespace vodirev
