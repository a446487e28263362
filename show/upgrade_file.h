// Upgrade files (.upg): a name line that names the Lm740, a release line, the rest of a header up
// to a zero byte, then the firmware image as the controller takes it. The last two bytes of the
// file (also the last two of the image) hold the CRC-16 of every byte before them, little-endian,
// as qChecksum computes it. Pure functions, so that the window, the command-line tool, the tests
// and our own file maker share one reading of the format.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace lm740::upgrade {

// The checksum and the read-back cover at most this many bytes, so a longer file is refused.
inline constexpr qint64 kMaxFileSize = 50000;
inline constexpr int kNameLineMax = 10;
inline constexpr int kReleaseLineMax = 20;
inline constexpr char kProductName[] = "Lm740";
// The smallest image taken, with its two checksum bytes: one whole block of the upgrade (128
// bytes). The controller is programmed a block at a time, and a firmware image holds at least the
// processor's table of interrupt vectors and the code that answers the upgrade requests, far more
// than a block; an image shorter than that (an empty one above all) is a broken file, and sending
// it would leave the controller without a program.
inline constexpr qint64 kMinImageSize = 128;

// Whether `bytes` (a whole file) is 2 to kMaxFileSize bytes long and ends with the checksum of
// the bytes before it.
bool checksumIsRight(const QByteArray &bytes);
// The same for a file; false also when it cannot be read.
bool checkFile(const QString &fileName);

enum class HeaderError {
    None,
    NotForLm740,  // the name line does not contain "Lm740"
    WrongVersion, // the release line carries no release number
    NoImage,      // the file ends before the zero byte that ends the header
    ShortImage,   // the image after it holds fewer than kMinImageSize bytes
};

struct Header
{
    QByteArray nameLine;
    QString releaseText; // the release line without its last byte (normally the line feed)
    int release = -1;
    qint64 imageOffset = 0; // where the image starts: just after the header's zero byte
};

// Reads the header of a whole file. On HeaderError::None and ShortImage, *header holds every field.
HeaderError readHeader(const QByteArray &bytes, Header *header);

// The image of a whole file (everything after the header's zero byte), at most kMaxFileSize
// bytes; empty when the header has no end.
QByteArray imageOf(const QByteArray &bytes);

// Images of our own say which release they are in a record anywhere in them: kReleaseTag, the
// release text, a zero byte. The simulated controller reports that release once it runs such an
// image. makeImage() makes one of `size` bytes: a fixed pattern, and the record at its end.
inline constexpr char kReleaseTag[] = "Lm740 firmware release ";
QByteArray makeImage(const QByteArray &releaseText, int size);
// The release text of the record in `image`, or empty when it has none.
QByteArray imageRelease(QByteArrayView image);

// A valid upgrade file of our own: name line, release line, a zero byte, then `image` followed
// by the two checksum bytes. `releaseText` is put on its line as it is, e.g. "fw_1_05".
QByteArray makeFile(const QByteArray &releaseText, const QByteArray &image,
                    const QByteArray &nameLine = QByteArrayLiteral("Lm740"));

} // namespace lm740::upgrade
