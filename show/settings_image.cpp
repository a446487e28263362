#include "settings_image.h"

#include "safe_file.h"

namespace lm740::image {

bool readSettingsFile(const QString &fileName, QByteArray *image, QString *error)
{
    QByteArray bytes;
    qint64 size = 0;
    QString why;
    // One byte more than an image, so that a longer file is told from an exact one without
    // reading all of it.
    if (!files::readRegularFile(fileName, layout::kImageSize + 1, &bytes, &size, &why)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(fileName, why);
        return false;
    }
    if (bytes.size() != layout::kImageSize) {
        if (error)
            *error = QStringLiteral("%1 is %2 bytes, not %3")
                         .arg(fileName)
                         .arg(bytes.size() > layout::kImageSize ? size : bytes.size())
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
    QString why;
    if (!files::writeFileSafely(fileName, image, &why)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(fileName, why);
        return false;
    }
    return true;
}

QByteArray packShow(const Show &show, int lamps, int sceneTime, HeaderStyle style)
{
    using namespace layout;
    QByteArray bytes(kImageSize, '\0');
    const Image image(reinterpret_cast<quint8 *>(bytes.data()), std::size_t(bytes.size()));

    image[kLampsNumber] = quint8(lamps);
    image[kInSceneTime] = quint8(sceneTime);
    if (style == HeaderStyle::Save) {
        const int channels = 3 * lamps;
        image[kChannelCountLow] = quint8(channels & 0xFF);
        image[kChannelCountHigh] = quint8((channels >> 8) & 0xFF);
        image[kHeaderByte7] = 2;
        image[kNumberNow] = 2;
        image[kHeaderByte11] = 12;
    } else {
        image[kHeaderByte1] = 1;
        image[kColorMode] = 1;
    }

    for (int s = 0; s < kSceneCount; ++s)
        packScene(image, s, show.sceneColors[s], kMaxLamps);
    for (int c = 0; c < kChaserCount; ++c)
        packChaser(image, c, show.chasers[c], kMaxLamps);
    for (int p = 0; p < kProgramCount; ++p)
        packProgram(image, p, show.programs[p], kMaxLamps);
    return bytes;
}

bool unpackShow(const QByteArray &bytes, Show &show, HeaderValues *header)
{
    using namespace layout;
    if (bytes.size() != kImageSize)
        return false;
    const ConstImage image(reinterpret_cast<const quint8 *>(bytes.constData()),
                           std::size_t(bytes.size()));
    for (int s = 0; s < kSceneCount; ++s)
        unpackScene(image, s, show.sceneColors[s], kMaxLamps);
    for (int c = 0; c < kChaserCount; ++c)
        unpackChaser(image, c, show.chasers[c], kMaxLamps);
    for (int p = 0; p < kProgramCount; ++p)
        unpackProgram(image, p, show.programs[p], kMaxLamps);
    if (header)
        *header = {image[kLampsNumber], image[kInSceneTime]};
    return true;
}

QStringList headerChanges(const HeaderValues &header)
{
    QStringList changes;
    const int lamps = qBound(kMinLamps, header.lamps, kMaxLamps);
    if (lamps != header.lamps)
        changes << QStringLiteral("lamp count %1 stored as %2").arg(header.lamps).arg(lamps);
    const int time = qBound(kMinSceneTime, header.sceneTime, kMaxSceneTime);
    if (time != header.sceneTime)
        changes << QStringLiteral("global scene time %1 s stored as %2 s")
                       .arg(header.sceneTime)
                       .arg(time);
    return changes;
}

bool canWriteSettingsFile(const QString &fileName, QString *error)
{
    QString why;
    if (!files::canWriteFileSafely(fileName, &why)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(fileName, why);
        return false;
    }
    return true;
}

} // namespace lm740::image
