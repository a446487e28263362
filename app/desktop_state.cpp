#include "desktop_state.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace lm740::desktop {

namespace {
QString g_stateFile;
} // namespace

QString defaultStateFile(bool simulator)
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           (simulator ? QStringLiteral("/lm740/simulator.conf")
                      : QStringLiteral("/lm740/lm740.conf"));
}

void setStateFile(const QString &path)
{
    g_stateFile = path;
}

std::unique_ptr<QSettings> openState()
{
    if (g_stateFile.isEmpty())
        return nullptr;
    return std::make_unique<QSettings>(g_stateFile, QSettings::IniFormat);
}

QStringList withRecent(QStringList list, const QString &path)
{
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    list.removeAll(clean);
    list.prepend(clean);
    while (list.size() > kRecentShows)
        list.removeLast();
    return list;
}

int showFileType(const QString &fileName)
{
    static const QString suffixes[] = {
        QStringLiteral("set"), QStringLiteral("scn"), QStringLiteral("scs"), QStringLiteral("chr"),
        QStringLiteral("chs"), QStringLiteral("pgm"), QStringLiteral("pgs")};
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    for (int i = 0; i < int(std::size(suffixes)); ++i)
        if (suffix == suffixes[i])
            return i;
    return -1;
}

} // namespace lm740::desktop
