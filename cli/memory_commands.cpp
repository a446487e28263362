// The long transfers: backup and restore copy the controller's whole settings memory to a .set
// file and back, upgrade replaces its firmware. The passes are the device library's; here they get
// a progress line, a question before anything is destroyed, and a file that is only ever replaced
// whole.
#include "ctl.h"
#include "terminal.h"

#include "memory_backup.h"
#include "memory_copy.h"
#include "settings_image.h"
#include "text_files.h"
#include "upgrade.h"
#include "upgrade_file.h"

#include <QDateTime>

#include <functional>

namespace lm740::ctl {

namespace {

// What a pass that broke off after `bytes` bytes left behind, in the words of one command, with
// `then` (when not empty) what the user must do first, in its place.
using LeftBehind = std::function<QString(int bytes, const QString &then)>;

QString joined(const QString &first, const QString &then)
{
    return then.isEmpty() ? first : QStringLiteral("%1; %2").arg(first, then);
}

// One whole-memory pass with a progress line and Ctrl+C as a cancel, then what became of it:
// `done` runs after a complete pass, before an unanswered end of the pass is reported (whose
// message `unreleased` completes); `partly` says what a broken-off pass left behind.
template <typename Pass, typename Done>
int memoryPass(const char *doing, const LeftBehind &partly, Pass pass, Done done,
               const QString &unreleased)
{
    MemoryCopyResult r;
    {
        Interruption interruption;
        ProgressLine progress(QStringLiteral("%1 the Lm740's memory").arg(QLatin1String(doing)),
                              layout::kPageCount);
        MemoryCopyCallbacks callbacks;
        callbacks.goOn = [] { return !Interruption::requested(); };
        callbacks.pageMoved = [&progress](int page) { progress.show(page + 1); };
        r = pass(callbacks);
    }
    const QString what = QString::fromLatin1(doing).toLower();
    if (r.outcome == MemoryCopyResult::Outcome::Cancelled)
        return fail(QStringLiteral("interrupted while %1, after %2 bytes; %3")
                        .arg(what)
                        .arg(r.bytes)
                        .arg(partly(r.bytes, QString())));
    // The controller still waits for the rest of the pass.
    if (r.outcome == MemoryCopyResult::Outcome::BlockFailed)
        return fail(
            QStringLiteral("the Lm740 stopped answering while %1, at page %2, offset %3 (after %4 "
                           "bytes); %5")
                .arg(what)
                .arg(r.page)
                .arg(r.offset)
                .arg(r.bytes)
                .arg(partly(r.bytes, QStringLiteral("unplug its power connector and plug it in "
                                                    "again"))));
    const int status = done();
    if (status == kOk && !r.mainLoopReleased)
        return fail(QStringLiteral("the whole memory was copied, but the Lm740 did not answer at "
                                   "the end of the copy; %1unplug its power connector and plug it "
                                   "in again")
                        .arg(unreleased));
    return status;
}

} // namespace

int backup(Context &c)
{
    if (c.args.size() != 1)
        return usage(QStringLiteral("backup takes one settings file to write"));
    const QString &fileName = c.args[0];
    // Found out now rather than after the whole pass.
    QString error;
    if (!image::canWriteSettingsFile(fileName, &error))
        return fail(error);
    if (!c.open())
        return kFailed;
    QByteArray image;
    return memoryPass(
        "Reading",
        [&](int, const QString &then) {
            return joined(QStringLiteral("%1 was not touched").arg(fileName), then);
        },
        [&](const MemoryCopyCallbacks &callbacks) {
            return MemoryCopy::read(*c.link, &image, callbacks);
        },
        [&] { return image::writeSettingsFile(fileName, image, &error) ? kOk : fail(error); },
        QStringLiteral("%1 holds the whole memory; ").arg(fileName));
}

int restore(Context &c)
{
    if (c.args.size() != 1)
        return usage(QStringLiteral("restore takes one settings file to write into the Lm740"));
    const QString &fileName = c.args[0];
    QByteArray image;
    QString error;
    if (!image::readSettingsFile(fileName, &image, &error))
        return fail(error);
    c.untouched = QStringLiteral("nothing was written to the Lm740");
    if (!c.open())
        return kFailed;
    QString backupName = c.noBackup
                             ? QString()
                             : backup::newFileName(backup::folder(), QDateTime::currentDateTime(),
                                                   c.device->openPort());
    const bool asks = !c.yes && inputIsTerminal();
    if (asks && !confirm(QStringLiteral("All data in the Lm740 will be replaced by %1%2. Go on?")
                             .arg(fileName,
                                  c.noBackup ? QString()
                                             : QStringLiteral("; what it holds now is first saved "
                                                              "in %1")
                                                   .arg(backupName))))
        return fail(QStringLiteral("nothing written: the answer was no"));

    if (!c.noBackup) {
        const QString nothing = QStringLiteral("nothing was written to it");
        backup::Result saved;
        const int status = memoryPass(
            "Backing up", [&](int, const QString &then) { return joined(nothing, then); },
            [&](const MemoryCopyCallbacks &callbacks) {
                saved = backup::save(*c.link, backupName, callbacks);
                return saved.copy;
            },
            [&] {
                return saved.saved ? kOk
                                   : fail(QStringLiteral("the backup could not be saved: %1; %2")
                                              .arg(saved.error, nothing));
            },
            nothing + QStringLiteral("; "));
        if (status != kOk)
            return status;
        // Another restore may have taken the name meanwhile: this one went to the next free one.
        const bool moved = saved.fileName != backupName;
        backupName = saved.fileName;
        if (!asks || moved)
            out(QStringLiteral("What the Lm740 held is saved in %1.").arg(backupName));
    }

    const LeftBehind partly = [&](int bytes, const QString &then) {
        if (bytes == 0)
            return joined(QStringLiteral("nothing was written to the Lm740"), then);
        const QString holds = QStringLiteral("the Lm740 now holds the first %1 bytes of %2 and "
                                             "what it held before after them")
                                  .arg(bytes)
                                  .arg(fileName);
        if (c.noBackup)
            return joined(holds, then);
        const QString back =
            QStringLiteral("lm740ctl restore %1 puts back what it held").arg(backupName);
        return joined(holds, then.isEmpty() ? back : QStringLiteral("%1, then %2").arg(then, back));
    };
    return memoryPass(
        "Writing", partly,
        [&](const MemoryCopyCallbacks &callbacks) {
            return MemoryCopy::write(*c.link, image, callbacks);
        },
        [] { return kOk; }, QString());
}

int upgradeFirmware(Context &c)
{
    if (c.args.size() != 1)
        return usage(QStringLiteral("upgrade takes one upgrade file"));
    const QString &fileName = c.args[0];
    QByteArray bytes;
    QString error;
    if (!files::readWholeFile(fileName, &bytes, &error))
        return fail(QStringLiteral("%1: %2").arg(fileName, error));
    if (!upgrade::checksumIsRight(bytes))
        return fail(
            QStringLiteral("%1 is no sound upgrade file: %2")
                .arg(fileName,
                     bytes.size() > upgrade::kMaxFileSize
                         ? QStringLiteral("it is longer than %1 bytes").arg(upgrade::kMaxFileSize)
                         : QStringLiteral("its checksum is wrong")));
    upgrade::Header header;
    switch (upgrade::readHeader(bytes, &header)) {
    case upgrade::HeaderError::NotForLm740:
        return fail(QStringLiteral("%1 is not for the Lm740").arg(fileName));
    case upgrade::HeaderError::WrongVersion:
        return fail(QStringLiteral("%1 has no release number on its release line").arg(fileName));
    case upgrade::HeaderError::NoImage:
        return fail(QStringLiteral("%1 ends before its firmware image").arg(fileName));
    case upgrade::HeaderError::ShortImage:
        return fail(QStringLiteral("%1 holds a firmware image of %2 bytes; no firmware is shorter "
                                   "than %3")
                        .arg(fileName)
                        .arg(bytes.size() - header.imageOffset)
                        .arg(upgrade::kMinImageSize));
    case upgrade::HeaderError::None:
        break;
    }
    if (!c.open())
        return kFailed;

    const upgrade::Identity identity = upgrade::identify(*c.link);
    switch (identity.state) {
    case upgrade::Identity::State::Ready:
        break;
    case upgrade::Identity::State::NotDetected:
        return fail(QStringLiteral("no Lm740 found"));
    case upgrade::Identity::State::NotIdentified:
        return fail(QStringLiteral("the device found did not answer when asked what it is"));
    case upgrade::Identity::State::OtherDevice:
        return fail(QStringLiteral("the device found answered as another device, not as an "
                                   "Lm740"));
    case upgrade::Identity::State::NoVersion:
        return fail(QStringLiteral("could not read the firmware version from the Lm740"));
    case upgrade::Identity::State::UnknownVersion:
        return fail(QStringLiteral("the Lm740's firmware version \"%1\" carries no release number")
                        .arg(QString::fromLatin1(identity.versionText)));
    }
    const QString from = QStringLiteral("release %1 (%2)")
                             .arg(identity.release)
                             .arg(QString::fromLatin1(identity.versionText));
    const QString to =
        QStringLiteral("release %1 (%2)").arg(header.release).arg(header.releaseText);
    const bool newer = identity.release < header.release;
    if (!c.yes) {
        if (inputIsTerminal()) {
            if (!confirm(
                    QStringLiteral("Upgrade the Lm740 from %1 to %2%3?")
                        .arg(from, to, newer ? QString() : QStringLiteral(", which is not newer"))))
                return fail(QStringLiteral("nothing sent: the answer was no"));
        } else if (!newer) {
            return fail(QStringLiteral("the Lm740 has %1 and %2 holds %3, which is not newer: give "
                                       "--yes to upgrade all the same")
                            .arg(from, fileName, to));
        }
    }

    const QByteArray image = upgrade::imageOf(bytes);
    upgrade::SendResult sent;
    upgrade::VerifyResult verified = upgrade::VerifyResult::Cancelled;
    {
        Interruption interruption;
        upgrade::Callbacks callbacks;
        callbacks.goOn = [] { return !Interruption::requested(); };
        {
            ProgressLine progress(QStringLiteral("Upgrading the Lm740"),
                                  upgrade::blocksOf(image.size()));
            callbacks.progress = [&progress](int done) { progress.show(done); };
            sent = upgrade::sendImage(*c.link, image, callbacks);
        }
        if (sent.state == upgrade::SendResult::State::Sent) {
            ProgressLine progress(QStringLiteral("Verifying"), 2 * upgrade::blocksOf(image.size()));
            callbacks.progress = [&progress](int done) { progress.show(done); };
            verified = upgrade::verifyImage(*c.link, image, callbacks);
        }
    }
    c.device->close();
    switch (sent.state) {
    case upgrade::SendResult::State::Sent:
        break;
    case upgrade::SendResult::State::Cancelled:
        return fail(QStringLiteral("upgrade interrupted after %1 blocks; the Lm740 needs a whole "
                                   "upgrade before it runs again")
                        .arg(sent.blocksSent));
    case upgrade::SendResult::State::DataRefused:
        return fail(QStringLiteral("the Lm740 refused the firmware after %1 blocks: is it in its "
                                   "upgrade mode? (see lm740ctl(1))")
                        .arg(sent.blocksSent));
    case upgrade::SendResult::State::NotReady:
        return fail(QStringLiteral("the Lm740 did not come back after block %1 of the upgrade")
                        .arg(sent.blocksSent + 1));
    }
    switch (verified) {
    case upgrade::VerifyResult::Same:
        out(QStringLiteral("Upgraded to %1. Unplug the USB cable and plug it in again.").arg(to));
        return kOk;
    case upgrade::VerifyResult::Different:
        return fail(QStringLiteral("verification failed: the Lm740 holds another image than %1")
                        .arg(fileName));
    case upgrade::VerifyResult::ReadFailed:
        return fail(QStringLiteral("verification failed: the Lm740 did not give its image back"));
    case upgrade::VerifyResult::Cancelled:
        break;
    }
    return fail(QStringLiteral("verification interrupted; the firmware was sent whole"));
}

} // namespace lm740::ctl
