#include "translations.h"

#include "logging.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>

namespace lm740 {

bool Translations::install(QCoreApplication &app, const QLocale &locale)
{
    bool loaded = program.load(QStringLiteral("lm740_pl"));
    QString language = QStringLiteral("pl");
    if (!loaded) {
        // The user's language: the copy installed beside the program, else the built-in one.
        const QString installed =
            QCoreApplication::applicationDirPath() + QStringLiteral("/../share/lm740/translations");
        loaded = program.load(locale, QStringLiteral("lm740"), QStringLiteral("_"), installed) ||
                 program.load(locale, QStringLiteral("lm740"), QStringLiteral("_"),
                              QStringLiteral(":/i18n"));
        language = loaded ? program.language().section(QLatin1Char('_'), 0, 0) : QString();
    }
    qCDebug(lcApp) << "translation loaded:" << loaded << language;
    app.installTranslator(&program);

    if (loaded && !language.isEmpty() &&
        qt.load(QStringLiteral("qtbase_") + language,
                QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qt);
    return loaded;
}

} // namespace lm740
