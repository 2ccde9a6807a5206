#pragma once
// Asks for the desktop's name when the desktop is saved.

#include "editor/command_ui.h"

#include <QDialog>
#include <string>

class QLineEdit;
class QPushButton;

namespace vodirev {

class CDesktopSaveDlg : public QDialog {
public:
    explicit CDesktopSaveDlg(QWidget* parent = nullptr);

    // The desktop name, CP949. Set before the dialog runs; after "확인" it holds the
    // edit's text (empty allowed), after "닫기" it is unchanged.
    std::string m_strTitle;

    QLineEdit* titleEdit() const { return m_edit; }
    QPushButton* okButton() const { return m_ok; }
    QPushButton* cancelButton() const { return m_cancel; }

    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QLineEdit* m_edit = nullptr;  // control 1016
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

// Runs dialog over the model: the model's title in, the edited one out on "확인".
// True when the operator confirmed.
bool RunDesktopSaveDlg(CDesktopSaveDlg& dialog, DesktopSaveModel& model);

}  // namespace vodirev
