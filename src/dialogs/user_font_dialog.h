#pragma once
// "폰트 수정": face, style and size of one label, made for one use.

#include "editor/label_font.h"

#include <QDialog>

class QLineEdit;
class QListWidget;

namespace vodirev {

class CUserFontDialog : public QDialog {
public:
    // Fills the lists in their order and selects the model's rows (InitUserFont).
    CUserFontDialog(UserFontModel& model, QWidget* parent = nullptr);

    QListWidget* faceList() const { return m_listFace; }
    QListWidget* styleList() const { return m_listStyle; }
    QListWidget* sizeList() const { return m_listSize; }
    QLineEdit* sizeEdit() const { return m_editSize; }

    void accept() override;  // "수정": the edit's size text into the model

private:
    UserFontModel& m_model;
    QListWidget* m_listFace = nullptr;   // 1031
    QListWidget* m_listStyle = nullptr;  // 1035
    QListWidget* m_listSize = nullptr;   // 1034
    QLineEdit* m_editSize = nullptr;     // 1036
};

// True when the operator chose "수정"; the model then holds face, weight and size.
bool RunUserFontDialog(UserFontModel& model, QWidget* parent);

}  // namespace vodirev
