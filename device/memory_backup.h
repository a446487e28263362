// The backup of the controller's whole memory that is made before anything overwrites it (USB >
// Write Settings, lm740ctl restore): a dated .set file in the user's data folder, so that a write
// broken off half-way, or one the user regrets, can be undone by writing the backup back.
#pragma once

#include "memory_copy.h"

#include <QDateTime>
#include <QString>

namespace lm740::backup {

// "lm740/backups" in the user's data folder ($XDG_DATA_HOME, ~/.local/share when unset).
QString folder();

// A name in `folder` for a backup made at `when` of the controller in `port` (left out when
// empty) that no file has yet: lm740-backup-2026-12-07-155512-1-4.2.set, then -2, -3, ... when
// that one is taken.
QString newFileName(const QString &folder, const QDateTime &when, const QString &port = {});

struct Result
{
    MemoryCopyResult copy;
    bool saved = false; // the file holds the whole memory
    QString error;      // why not, when the pass was complete but the file could not be written
    QString fileName;   // where it was saved: the name asked for, or the next free one after it
};

// Reads the whole memory and writes it to `fileName`, whose folder is made when missing, as a new
// file: never over another, so that two backups made at once of two controllers both stay. When
// the name was taken meanwhile, the next free one of its series (-2, -3, ...) is used. Nothing
// is written unless the pass was complete.
Result save(ControllerLink &link, const QString &fileName,
            const MemoryCopyCallbacks &callbacks = {});

} // namespace lm740::backup
