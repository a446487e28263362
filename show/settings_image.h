// The settings image as a file: the controller's whole 131072-byte settings memory, which is also
// the .set file format. One reader and one writer, shared by the window, the simulated controller
// and the command-line tool.
#pragma once

#include "settings_layout.h"

#include <QByteArray>
#include <QString>

namespace lm740::image {

// Reads a .set file of exactly kImageSize bytes into *image. A file that cannot be opened, or is
// shorter or longer, gives false with *error set to a sentence for the user and *image untouched.
bool readSettingsFile(const QString &fileName, QByteArray *image, QString *error = nullptr);

// Writes `image` (kImageSize bytes) whole or not at all: the file it replaces stays as it was
// until the new one is complete. False with *error set when it could not be written.
bool writeSettingsFile(const QString &fileName, const QByteArray &image, QString *error = nullptr);

// Whether writeSettingsFile() could write fileName now: its folder takes a new file, and the file,
// when there is one, may be replaced. Nothing is left behind. False with *error set otherwise.
bool canWriteSettingsFile(const QString &fileName, QString *error = nullptr);

} // namespace lm740::image
