#include "settings_image.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace lm740::image {

bool readSettingsFile(const QString &fileName, QByteArray *image, QString *error)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(fileName, file.errorString());
        return false;
    }
    // One byte more than an image, so that a longer file is told from an exact one without
    // reading all of it.
    const QByteArray bytes = file.read(layout::kImageSize + 1);
    if (bytes.size() != layout::kImageSize) {
        if (error)
            *error = QStringLiteral("%1 is %2 bytes, not %3")
                         .arg(fileName)
                         .arg(bytes.size() > layout::kImageSize ? file.size() : bytes.size())
                         .arg(layout::kImageSize);
        return false;
    }
    *image = bytes;
    return true;
}

bool writeSettingsFile(const QString &fileName, const QByteArray &image, QString *error)
{
    if (image.size() != layout::kImageSize) {
        if (error)
            *error = QStringLiteral("%1: the image is %2 bytes, not %3")
                         .arg(fileName)
                         .arg(image.size())
                         .arg(layout::kImageSize);
        return false;
    }
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(image) != image.size() || !file.commit()) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(fileName, file.errorString());
        return false;
    }
    return true;
}

bool canWriteSettingsFile(const QString &fileName, QString *error)
{
    // The writer's own first step, then given up: the new file beside the old one goes again.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(fileName, file.errorString());
        return false;
    }
    file.cancelWriting();
    return true;
}

} // namespace lm740::image
