#pragma once
// "문구 추가 및 수정": edits one label's text. Enter in the text field starts a new
// line; Enter anywhere else does nothing, so it never applies by accident.

#include "editor/desktop_commands.h"

#include <QDialog>

class QPlainTextEdit;

namespace vodirev {

class CTextDlg : public QDialog {
public:
    explicit CTextDlg(QWidget* parent = nullptr);

    QPlainTextEdit* textEdit() const { return m_editText; }

    // Shows the model's text; on "적용" the model takes the edit's text (CR LF line
    // ends, CP949) and m_bApplied. Text left as it was keeps its bytes exactly, also
    // bytes that are no CP949 character.
    bool Run(LabelTextModel& model);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QPlainTextEdit* m_editText = nullptr;  // 1012
};

}  // namespace vodirev
