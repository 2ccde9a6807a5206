#pragma once
// The command seam on real widgets: message boxes, file and colour dialogs, and the
// editing dialogs the window registers by model type.

#include "editor/command_ui.h"

#include <functional>
#include <typeindex>
#include <unordered_map>

class QWidget;

namespace vodirev {

class QtCommandUi : public CommandUi {
public:
    explicit QtCommandUi(QWidget* parent) : m_parent(parent) {}

    // Runs run(model) whenever a command asks for a dialog of type Model.
    template <class Model>
    void SetDialogRunner(std::function<bool(Model&)> run) {
        m_runners[typeid(Model)] = [run = std::move(run)](DialogModel& model) {
            return run(static_cast<Model&>(model));
        };
    }

    void ShowMessage(const QString& text) override;
    bool AskYesNo(const QString& text, bool defaultYes = true) override;
    QString ChooseOpenFile(const QString& caption, const QString& filter) override;
    std::optional<QColor> ChooseColor(const QColor& initial) override;
    bool RunDialog(DialogModel& model) override;

private:
    QWidget* m_parent;
    std::unordered_map<std::type_index, std::function<bool(DialogModel&)>> m_runners;
};

}  // namespace vodirev
