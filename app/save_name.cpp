#include "save_name.h"

#include "prompts.h"
#include "text_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace lm740 {

QString saveName(const QString &chosen, const QString &suffix)
{
    if (chosen.isEmpty())
        return {};
    const QString name = files::withSuffix(chosen, suffix);
    const QFileInfo file(name);
    if (name == chosen || (!file.exists() && !file.isSymLink()))
        return name;
    const QMessageBox::StandardButton answer = prompts().question(
        nullptr, QCoreApplication::translate("App", "Replace file? -- Lm740"),
        QCoreApplication::translate("App", "%1 already exists.\nDo you want to replace it?")
            .arg(QDir::toNativeSeparators(name)),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes ? name : QString();
}

} // namespace lm740
