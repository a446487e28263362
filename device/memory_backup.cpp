#include "memory_backup.h"

#include "safe_file.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace lm740::backup {

QString folder()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/lm740/backups");
}

namespace {

// The name `n` of the series that starts with `first` (n = 1): first itself, then first-2.set, ...
QString inSeries(const QString &first, int n)
{
    if (n == 1)
        return first;
    const QString stem = first.endsWith(QLatin1String(".set")) ? first.chopped(4) : first;
    return QStringLiteral("%1-%2.set").arg(stem).arg(n);
}

bool taken(const QString &name)
{
    return QFileInfo::exists(name) || QFileInfo(name).isSymLink();
}

constexpr int kMostInSeries = 1000;

} // namespace

QString newFileName(const QString &folder, const QDateTime &when, const QString &port)
{
    QString stem =
        QStringLiteral("lm740-backup-%1").arg(when.toString(QStringLiteral("yyyy-MM-dd-HHmmss")));
    if (!port.isEmpty())
        stem += QLatin1Char('-') + port;
    const QString first = QDir(folder).filePath(stem + QStringLiteral(".set"));
    int n = 1;
    while (taken(inSeries(first, n)))
        ++n;
    return inSeries(first, n);
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
    for (int n = 1; n <= kMostInSeries; ++n) {
        const QString name = inSeries(fileName, n);
        bool nameTaken = false;
        QString error;
        if (files::writeNewFileSafely(name, image, &nameTaken, &error)) {
            result.saved = true;
            result.fileName = name;
            return result;
        }
        if (!nameTaken) {
            result.error = QStringLiteral("%1: %2").arg(name, error);
            return result;
        }
    }
    result.error =
        QStringLiteral("%1: %2 names of its series are taken").arg(fileName).arg(kMostInSeries);
    return result;
}

} // namespace lm740::backup
