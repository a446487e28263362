#include "memory_backup.h"

#include "settings_image.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lm740::backup {

QString folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/lm740/backups");
}

QString newFileName(const QString &folder, const QDateTime &when)
{
    const QString stem = QDir(folder).filePath(
        QStringLiteral("lm740-backup-%1").arg(when.toString(QStringLiteral("yyyy-MM-dd-HHmmss"))));
    QString name = stem + QStringLiteral(".set");
    for (int n = 2; QFileInfo::exists(name) || QFileInfo(name).isSymLink(); ++n)
        name = QStringLiteral("%1-%2.set").arg(stem).arg(n);
    return name;
}

Result save(ControllerLink &link, const QString &fileName, const MemoryCopyCallbacks &callbacks)
{
    Result result;
    QByteArray image;
    result.copy = MemoryCopy::read(link, &image, callbacks);
    if (result.copy.outcome != MemoryCopyResult::Outcome::Complete)
        return result;
    const QString dir = QFileInfo(fileName).absolutePath();
    if (!QDir().mkpath(dir)) {
        result.error = QStringLiteral("%1: the folder could not be made").arg(dir);
        return result;
    }
    result.saved = image::writeSettingsFile(fileName, image, &result.error);
    return result;
}

} // namespace lm740::backup
