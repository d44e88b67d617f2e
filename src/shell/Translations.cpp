// Installs the translators for the chosen language.
#include "shell/Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QTranslator>

#include "i18n/Translate.h"

namespace k52 {
namespace {

QPointer<QTranslator>& Installed() {
    static QPointer<QTranslator> translator;
    return translator;
}

}  // namespace

void InstallTranslations(Language language) {
    SetLanguage(language);
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    if (QTranslator* old = Installed()) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
    auto* translator = new QTranslator(app);
    // A missing file (Qt's translations not installed) leaves that part in Qt's English; not an error.
    const bool loaded = language == Language::English
                            ? translator->load(QStringLiteral(":/translations/k52_en.qm"))
                            : translator->load(QStringLiteral("qtbase_zh_TW"),
                                               QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (loaded) QCoreApplication::installTranslator(translator);
    Installed() = translator;
}

}  // namespace k52
