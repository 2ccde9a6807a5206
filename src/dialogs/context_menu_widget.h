#pragma once
// Builds a context menu from its data: the exact captions, order and separators,
// the first item as the bold default item, and each item enabled only when its
// command is routed. Choosing an item dispatches its command through the router.

class QMenu;
class QWidget;

namespace vodirev {

class CommandRouter;

// A new menu owned by parent, or nullptr for an id that names no menu. The router
// must outlive the menu.
QMenu* BuildContextMenu(int menuId, QWidget* parent, const CommandRouter& router);

// Appends the editing entries of that menu (after its own, behind a separator),
// each with its shortcut shown and enabled when routed in editRouter.
void AppendEditingEntries(QMenu* menu, int menuId, int selectedCount,
                          const CommandRouter& editRouter);

}  // namespace vodirev
