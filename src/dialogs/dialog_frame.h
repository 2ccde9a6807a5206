#pragma once
// The frame every editing dialog shares: caption, no help button, the dialog font
// (굴림체 9), and the layout of a content area on the left with a column of push
// buttons on the right, the first of them the default.

#include <QDialog>
#include <QString>
#include <initializer_list>
#include <vector>

class QAbstractItemView;
class QBoxLayout;
class QPushButton;
class QWidget;

namespace vodirev {

// Sets caption, flags and font on dialog.
void SetUpDialog(QDialog& dialog, const QString& caption);

// Lays content and a button column out side by side in dialog (content takes the
// spare width) and returns the buttons, in the order of their captions. The first
// is the default button; the others do not take Enter when they have focus. The
// first two are the dialog's OK and cancel buttons, named "1" and "2" as their
// control ids.
std::vector<QPushButton*> AddButtonColumn(QDialog& dialog, QWidget* content,
                                          std::initializer_list<QString> captions);

// Sizes every row of view for a line of Hangul (glyphs a fallback face supplies
// included) and for an icon of iconSize pixels, whatever the row holds: with uniform
// row sizes the first row sets them all.
void SizeRowsForHangul(QAbstractItemView& view, int iconSize = 0);

}  // namespace vodirev
