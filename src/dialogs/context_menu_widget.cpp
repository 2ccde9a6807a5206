#include "dialogs/context_menu_widget.h"

#include "editor/command_router.h"
#include "editor/context_menu.h"
#include "editor/editing_commands.h"

#include <QAction>
#include <QMenu>

namespace vodirev {

QMenu* BuildContextMenu(int menuId, QWidget* parent, const CommandRouter& router) {
    const ContextMenu data = FindContextMenu(menuId);
    if (data.entries.empty()) {
        return nullptr;
    }
    auto* menu = new QMenu(parent);
    menu->setObjectName(QString::fromLatin1(data.popupName.data(), data.popupName.size()));
    bool first = true;
    for (const MenuEntry& entry : data.entries) {
        if (entry.separator) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(entry.caption());
        action->setData(entry.commandId);
        // Commands whose handlers have not landed show disabled.
        action->setEnabled(router.IsRouted(entry.commandId));
        const int id = entry.commandId;
        QObject::connect(action, &QAction::triggered, menu, [&router, id] { router.Dispatch(id); });
        if (first) {
            QFont bold = action->font();
            bold.setBold(true);
            action->setFont(bold);
            menu->setDefaultAction(action);
            first = false;
        }
    }
    return menu;
}

void AppendEditingEntries(QMenu* menu, int menuId, int selectedCount,
                          const CommandRouter& editRouter) {
    if (menu == nullptr) {
        return;
    }
    for (const EditingEntry& entry : EditingEntries(menuId, selectedCount)) {
        if (entry.separator()) {
            menu->addSeparator();
            continue;
        }
        QAction* action = menu->addAction(
            QString::fromUtf8(entry.captionUtf8.data(), qsizetype(entry.captionUtf8.size())));
        action->setData(entry.commandId);
        // Shown only: the window runs the keys itself, menu open or not.
        action->setShortcut(QKeySequence(
            QString::fromLatin1(entry.shortcut.data(), qsizetype(entry.shortcut.size()))));
        action->setShortcutContext(Qt::WidgetShortcut);
        action->setShortcutVisibleInContextMenu(true);
        action->setEnabled(editRouter.IsRouted(entry.commandId));
        const int id = entry.commandId;
        QObject::connect(action, &QAction::triggered, menu,
                         [&editRouter, id] { editRouter.Dispatch(id); });
    }
}

}  // namespace vodirev
