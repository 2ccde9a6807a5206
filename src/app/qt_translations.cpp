#include "app/qt_translations.h"

#include "editor/korean_fonts.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>

namespace vodirev {

std::unique_ptr<QTranslator> LoadQtTranslator(const QLocale& locale) {
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto translator = std::make_unique<QTranslator>();
    const QLocale::Language language = locale.language();
    const bool own =
        language != QLocale::C && language != QLocale::English && language != QLocale::AnyLanguage;
    if (own && translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
        return translator;
    }
    if (translator->load(QLocale(QLocale::Korean, QLocale::SouthKorea), QStringLiteral("qtbase"),
                         QStringLiteral("_"), folder)) {
        return translator;
    }
    return nullptr;
}

void UseKoreanInterface(QCoreApplication& app) {
    if (std::unique_ptr<QTranslator> translator = LoadQtTranslator()) {
        QTranslator* installed = translator.release();
        installed->setParent(&app);
        QCoreApplication::installTranslator(installed);
    }
    InstallKoreanFontSubstitutions();
    // The face SetUpDialog gives our dialogs; without it message boxes and Qt's
    // dialogs would take a Latin face with Hangul borrowed from another.
    QApplication::setFont(QFont(QStringLiteral("굴림"), 9));
}

}  // namespace vodirev
