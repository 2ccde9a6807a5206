#pragma once
// The command seam for tests: every question answered at once from what the test
// queued, every message kept.

#include "editor/command_ui.h"

#include <deque>
#include <functional>
#include <vector>

namespace vodirev::test {

class FakeCommandUi : public CommandUi {
public:
    std::vector<QString> messages;
    std::deque<bool> answers;                    // AskYesNo; no answer left: no
    std::vector<bool> askDefaults;               // each question's default answer
    std::deque<QString> files;                   // ChooseOpenFile; none left: cancelled
    std::deque<std::optional<QColor>> colours;   // ChooseColor; none left: cancelled
    std::function<bool(DialogModel&)> onDialog;  // RunDialog; empty: cancelled
    std::vector<QString> fileCaptions;           // each file dialog's caption and filter
    std::vector<QString> fileFilters;
    std::vector<QColor> colourStarts;  // each colour dialog's initial colour

    void ShowMessage(const QString& text) override { messages.push_back(text); }
    bool AskYesNo(const QString& text, bool defaultYes = true) override {
        messages.push_back(text);
        askDefaults.push_back(defaultYes);
        return take(answers, false);
    }
    QString ChooseOpenFile(const QString& caption, const QString& filter) override {
        fileCaptions.push_back(caption);
        fileFilters.push_back(filter);
        return take(files, QString());
    }
    std::optional<QColor> ChooseColor(const QColor& initial) override {
        colourStarts.push_back(initial);
        return take(colours, std::optional<QColor>());
    }
    bool RunDialog(DialogModel& model) override { return onDialog && onDialog(model); }

private:
    template <class T>
    static T take(std::deque<T>& queue, T otherwise) {
        if (queue.empty()) {
            return otherwise;
        }
        T value = std::move(queue.front());
        queue.pop_front();
        return value;
    }
};

}  // namespace vodirev::test
