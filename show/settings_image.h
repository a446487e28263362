// The settings image as a file: the controller's whole 131072-byte settings memory, which is also
// the .set file format. One reader and one writer, shared by the window, the simulated controller
// and the command-line tool.
#pragma once

#include "settings_layout.h"
#include "show.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace lm740::image {

// Reads a .set file of exactly kImageSize bytes into *image. A file that cannot be opened, or is
// shorter or longer, gives false with *error set to a sentence for the user and *image untouched.
bool readSettingsFile(const QString &fileName, QByteArray *image, QString *error = nullptr);

// Writes `image` (kImageSize bytes) whole or not at all: the file it replaces stays as it was
// until the new one is complete. False with *error set when it could not be written.
bool writeSettingsFile(const QString &fileName, const QByteArray &image, QString *error = nullptr);

// The two writers of a whole show differ only in their header: File > Save writes the one the
// controller keeps itself, the generator a plainer one.
enum class HeaderStyle { Save, Generate };

// The whole show as an image: header, 10 scenes, 4 chasers and 4 programs, every record with all
// 170 lamps whatever `lamps` says. `lamps` (1..170) and `sceneTime` (seconds, 1..60) go into the
// header, one byte each. Bytes that no field covers are zero.
QByteArray packShow(const Show &show, int lamps, int sceneTime, HeaderStyle style);

// What an image's header tells a loader: the lamp count and the global scene time as stored,
// to be bounded by whoever applies them.
struct HeaderValues
{
    int lamps = 0;
    int sceneTime = 0;
};

// The header values the show cannot take as they are, each in words ("lamp count 0 stored as
// 1"): the lamp count is bounded to 1..170 and the global scene time to 1..60 s when applied.
QStringList headerChanges(const HeaderValues &header);

// Copies every record of an image (kImageSize bytes) into the show, all 170 lamps of each, and
// gives the header's lamp count and scene time. Times come back in whole 100 ms. The lamp count
// and the current selection of `show` are left to the caller. False, touching nothing, for an
// image of the wrong size.
bool unpackShow(const QByteArray &image, Show &show, HeaderValues *header);

// Whether writeSettingsFile() could write fileName now: its folder takes a new file, and the file,
// when there is one, may be replaced. Nothing is left behind. False with *error set otherwise.
bool canWriteSettingsFile(const QString &fileName, QString *error = nullptr);

} // namespace lm740::image
