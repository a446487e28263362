#include "upgrade_file.h"

#include "release.h"
#include "safe_file.h"

namespace lm740::upgrade {

namespace {

constexpr int kChecksumSize = 2;

// One header line as the controller's tools write it: up to `max` bytes, ending after a line feed.
QByteArray readLine(const QByteArray &bytes, qint64 *at, int max)
{
    const qint64 start = *at;
    while (*at < bytes.size() && *at - start < max) {
        if (bytes.at((*at)++) == '\n')
            break;
    }
    return bytes.mid(start, *at - start);
}

quint16 checksumOf(const QByteArray &bytes)
{
    return qChecksum(bytes, Qt::ChecksumIso3309);
}

} // namespace

bool checksumIsRight(const QByteArray &bytes)
{
    if (bytes.size() < kChecksumSize || bytes.size() > kMaxFileSize)
        return false;
    const qsizetype body = bytes.size() - kChecksumSize;
    const quint16 stored = quint8(bytes.at(body)) | quint16(quint8(bytes.at(body + 1)) << 8);
    return checksumOf(bytes.left(body)) == stored;
}

bool checkFile(const QString &fileName)
{
    // One byte more than the largest file, so that a longer one is told from it.
    QByteArray bytes;
    return files::readRegularFile(fileName, kMaxFileSize + 1, &bytes) && checksumIsRight(bytes);
}

HeaderError readHeader(const QByteArray &bytes, Header *header)
{
    Header h;
    qint64 at = 0;
    h.nameLine = readLine(bytes, &at, kNameLineMax);
    if (!h.nameLine.contains(kProductName))
        return HeaderError::NotForLm740;
    QByteArray release = readLine(bytes, &at, kReleaseLineMax);
    release.chop(1);
    h.releaseText = QString::fromLatin1(release);
    h.release = releaseNumber(h.releaseText);
    if (h.release < 0)
        return HeaderError::WrongVersion;
    const qsizetype end = bytes.indexOf('\0', at);
    if (end < 0)
        return HeaderError::NoImage;
    h.imageOffset = end + 1;
    if (header)
        *header = h;
    return bytes.size() - h.imageOffset < kMinImageSize ? HeaderError::ShortImage
                                                        : HeaderError::None;
}

QByteArray imageOf(const QByteArray &bytes)
{
    const qsizetype end = bytes.indexOf('\0');
    if (end < 0)
        return {};
    return bytes.mid(end + 1, kMaxFileSize);
}

QByteArray makeImage(const QByteArray &releaseText, int size)
{
    // A pattern with no zero byte and no run, so that a block sent in the wrong place shows.
    QByteArray image(size, '\0');
    for (int i = 0; i < size; ++i)
        image[i] = char(1 + (i * 7 + i / 251) % 255);
    // The record last, so that the controller names the new release only when all of it came.
    const QByteArray record = kReleaseTag + releaseText + '\0';
    if (record.size() <= size)
        image.replace(size - record.size(), record.size(), record);
    return image;
}

QByteArray imageRelease(QByteArrayView image)
{
    const qsizetype tag = image.indexOf(QByteArrayView(kReleaseTag));
    if (tag < 0)
        return {};
    const QByteArrayView rest = image.sliced(tag + qsizetype(sizeof kReleaseTag) - 1);
    const qsizetype end = rest.indexOf('\0');
    return rest.first(end < 0 ? rest.size() : end).toByteArray();
}

QByteArray makeFile(const QByteArray &releaseText, const QByteArray &image,
                    const QByteArray &nameLine)
{
    QByteArray file = nameLine + '\n' + releaseText + '\n' + '\0' + image;
    const quint16 sum = checksumOf(file);
    file.append(char(sum & 0xFF));
    file.append(char(sum >> 8));
    return file;
}

} // namespace lm740::upgrade
