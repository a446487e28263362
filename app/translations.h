// Loads the program's Polish translation: "lm740_pl" from the working directory first, as the
// program always has; failing that, the translation built into the program when the user's locale
// asks for it. Qt's own translation of its standard dialogs comes along with it.
#pragma once

#include <QLocale>
#include <QTranslator>

class QCoreApplication;

namespace lm740 {

class Translations
{
public:
    // Installs the translators on the application (whatever the load result, as a missing file
    // simply leaves the English texts). Returns true when a program translation was loaded.
    bool install(QCoreApplication &app, const QLocale &locale = QLocale());

    QTranslator program;
    QTranslator qt;
};

} // namespace lm740
