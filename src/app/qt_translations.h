#pragma once
// Qt's own texts (file and colour dialogs, the standard buttons of message boxes)
// in the language of the editor's texts.

#include <QCoreApplication>
#include <QLocale>
#include <QTranslator>
#include <memory>

namespace vodirev {

// Loads Qt's translation for locale from Qt's translations folder; Korean when the
// locale is C or English or Qt has no translation for it, since the editor's own
// texts are Korean. Null when not even the Korean one is installed.
std::unique_ptr<QTranslator> LoadQtTranslator(const QLocale& locale = QLocale::system());

// Installs that translator and the Korean font substitutions, and gives message
// boxes and Qt's dialogs the dialogs' Korean face, so Hangul and Latin come from one
// face and rows are sized for Hangul.
void UseKoreanInterface(QCoreApplication& app);

}  // namespace vodirev
