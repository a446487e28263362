#include "recovery_file.h"

#include "item.h"
#include "safe_file.h"
#include "settings_image.h"
#include "show_delta.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace lm740 {

namespace {

const QString kPrefix = QStringLiteral("recovery-");

QString lockPath(const QString &base)
{
    return base + QStringLiteral(".lock");
}

QString extraPath(const QString &base)
{
    return base + QStringLiteral(".txt");
}

// What the image cannot hold, one value a line: "lamp KIND NUMBER STEP LAMP #AARRGGBB" (or
// "invalid"), "field KIND NUMBER STEP FIELD VALUE", "selection SCENE CHASER PROGRAM STEP", and
// "layout BASE64" (the layout file's bytes) when the lamps hang in a layout.
QByteArray extras(const Show &show, const Show &fromImage, const std::optional<Layout> &layout)
{
    QByteArray out = "lm740 recovery 1\n";
    const ShowDelta lost = ShowDelta::between(fromImage, show);
    for (const ShowDelta::ItemChange &c : lost.items) {
        const QByteArray item = QByteArray::number(int(c.item.kind)) + ' ' +
                                QByteArray::number(c.item.number) + ' ' +
                                QByteArray::number(c.item.step);
        for (const ShowDelta::LampChange &l : c.lamps)
            out += "lamp " + item + ' ' + QByteArray::number(l.lamp) + ' ' +
                   (l.after.isValid() ? QByteArray::number(l.after.rgba()) : "invalid") + '\n';
        for (const ShowDelta::FieldChange &f : c.fields)
            out += "field " + item + ' ' + QByteArray::number(int(f.field)) + ' ' +
                   QByteArray::number(f.after) + '\n';
    }
    out += "selection " + QByteArray::number(show.actualSceneNumber) + ' ' +
           QByteArray::number(show.actualChaserNumber) + ' ' +
           QByteArray::number(show.actualProgramNumber) + ' ' +
           QByteArray::number(show.actualProgramSceneNumber) + '\n';
    if (layout)
        out += "layout " + layoutToJson(*layout).toBase64() + '\n';
    return out;
}

// Applies the lines of extras(); a line that does not fit the show is skipped.
void applyExtras(const QByteArray &text, Show &show, std::optional<Layout> &layout)
{
    for (const QByteArray &line : text.split('\n')) {
        const QList<QByteArray> w = line.split(' ');
        if (w[0] == "layout" && w.size() == 2) {
            layout = layoutFromJson(QByteArray::fromBase64(w[1]));
            continue;
        }
        std::vector<long long> n;
        bool ok = true;
        for (qsizetype i = 1; i < w.size() && ok; ++i)
            n.push_back(w[i] == "invalid" ? -1 : w[i].toLongLong(&ok));
        if (!ok)
            continue;
        if (w[0] == "selection" && n.size() == 4) {
            if (n[0] >= 0 && n[0] < kSceneCount)
                show.actualSceneNumber = int(n[0]);
            if (n[1] >= 0 && n[1] < kChaserCount)
                show.actualChaserNumber = int(n[1]);
            if (n[2] >= 0 && n[2] < kProgramCount && n[3] >= 0 && n[3] < kProgramSteps) {
                show.actualProgramNumber = int(n[2]);
                show.actualProgramSceneNumber = int(n[3]);
            }
            continue;
        }
        if (n.size() != 5 || n[0] < 0 || n[0] > 2)
            continue;
        const Item item{ItemKind(n[0]), int(n[1]), int(n[2])};
        if (!item.valid())
            continue;
        if (w[0] == "lamp" && n[3] >= 0 && n[3] < kColorSlots)
            colorsOf(show, item)[size_t(n[3])] =
                n[4] < 0 ? QColor() : QColor::fromRgba(QRgb(quint32(n[4])));
        else if (w[0] == "field" && n[3] >= 0 && n[3] < int(kFields.size()))
            setField(show, item, Field(n[3]), int(n[4]));
    }
}

} // namespace

QString RecoveryFile::defaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // XDG state folders are absolute; a relative one is ignored, as the desktop does.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/lm740");
}

RecoveryFile::RecoveryFile(const QString &folder)
    : m_folder(folder.isEmpty() ? defaultFolder() : folder)
{
    QDir().mkpath(m_folder);
    // The process id makes the name this program's; the lock proves it is alive. A name whose
    // lock another program holds, or whose files a program that ended left (its process id used
    // again), gets a number: what is left there is offered, never taken over.
    const QString pid = QString::number(QCoreApplication::applicationPid());
    for (int n = 0; n < 1000; ++n) {
        m_base = QDir(m_folder).filePath(kPrefix + pid + (n ? QStringLiteral("-%1").arg(n) : ""));
        if (QFileInfo::exists(path()))
            continue;
        auto lock = std::make_unique<QLockFile>(lockPath(m_base));
        lock->setStaleLockTime(0);
        if (lock->tryLock(0)) {
            m_lock = std::move(lock);
            break;
        }
    }
    removeLoneLocks();
}

void RecoveryFile::removeLoneLocks()
{
    // A program killed before its first copy leaves only its lock. One whose program is gone (the
    // lock can be taken) and that guards no copy goes, with a text file its copy never joined; a
    // lock beside a copy stays, since it marks the copy as left to offer.
    const QFileInfoList locks =
        QDir(m_folder).entryInfoList({kPrefix + QStringLiteral("*.lock")}, QDir::Files);
    for (const QFileInfo &info : locks) {
        const QString base = info.absolutePath() + u'/' + info.completeBaseName();
        if (base == m_base || QFileInfo::exists(base + QStringLiteral(".set")))
            continue;
        QLockFile lock(info.filePath());
        lock.setStaleLockTime(0);
        if (!lock.tryLock(0))
            continue;
        // While this lock is held no program writes under the name: a text file there is one
        // whose copy never came.
        QFile::remove(extraPath(base));
        lock.unlock();
    }
}

RecoveryFile::~RecoveryFile()
{
    waitForSave();
}

std::optional<RecoveryFile::Left> RecoveryFile::claimLeft()
{
    // Newest first. A lock that a living program holds (this one's too) passes the files over;
    // one that a program left when it ended is taken over.
    const QFileInfoList sets =
        QDir(m_folder).entryInfoList({kPrefix + QStringLiteral("*.set")}, QDir::Files, QDir::Time);
    for (const QFileInfo &set : sets) {
        const QString base = set.absolutePath() + u'/' + set.completeBaseName();
        if (base == m_base)
            continue;
        auto lock = std::make_shared<QLockFile>(lockPath(base));
        lock->setStaleLockTime(0);
        if (!lock->tryLock(0))
            continue;
        // Another program may have saved over them and let them go meanwhile.
        if (!QFileInfo::exists(set.filePath())) {
            lock->unlock();
            continue;
        }
        m_claims.append({base, false, std::move(lock)});
        return Left{base, set.lastModified()};
    }
    return std::nullopt;
}

bool RecoveryFile::read(const Left &left, Show *show, QString *error, std::optional<Layout> *layout)
{
    QByteArray image;
    if (!image::readSettingsFile(left.base + QStringLiteral(".set"), &image, error))
        return false;
    // From the same fresh show the image was compared with when it was written.
    Show recovered;
    recovered.setShowDefaults();
    image::HeaderValues header;
    image::unpackShow(image, recovered, &header);
    recovered.ledsNumber = std::clamp(header.lamps, kMinLamps, kMaxLamps);
    recovered.sceneTime = std::clamp(header.sceneTime, kMinSceneTime, kMaxSceneTime);
    QByteArray extra;
    std::optional<Layout> hung;
    if (files::readRegularFile(extraPath(left.base), 1 << 20, &extra))
        applyExtras(extra, recovered, hung);
    *show = recovered;
    if (layout)
        *layout = hung;
    return true;
}

void RecoveryFile::adopt(const Left &left)
{
    for (Claim &c : m_claims)
        if (c.base == left.base)
            c.adopted = true;
}

void RecoveryFile::release(const QList<Claim> &claims, bool all)
{
    // The files first: the lock let go, another program may claim whatever is still there.
    for (const Claim &c : claims)
        if (all || c.adopted) {
            QFile::remove(c.base + QStringLiteral(".set"));
            QFile::remove(extraPath(c.base));
            c.lock->unlock();
        }
}

bool RecoveryFile::write(const Show &show, const std::optional<Layout> &layout, QString *error)
{
    const QByteArray image =
        image::packShow(show, show.ledsNumber, show.sceneTime, image::HeaderStyle::Save);
    Show fromImage;
    fromImage.setShowDefaults();
    image::unpackShow(image, fromImage, nullptr);
    // Both or neither: an image is never there without what it cannot hold.
    return files::writeFilesSafely(
        {{extraPath(m_base), extras(show, fromImage, layout)}, {path(), image}}, nullptr, error);
}

void RecoveryFile::setLayout(const std::optional<Layout> &layout)
{
    const std::lock_guard lock(m_snapshotMutex);
    m_layout = layout;
}

std::optional<Layout> RecoveryFile::layout()
{
    const std::lock_guard lock(m_snapshotMutex);
    return m_layout;
}

bool RecoveryFile::saveInBackground(const Show &show)
{
    if (m_busy.exchange(true))
        return false;
    waitForSave();
    const std::optional<Layout> hung = layout();
    if (m_written && sameRecords(m_written->first, show) && m_written->second == hung) {
        m_busy = false;
        return false;
    }
    m_thread = std::thread([this, copy = show, hung, claims = m_claims] {
        if (write(copy, hung, nullptr)) {
            release(claims, true);
            m_written = {copy, hung};
        }
        m_busy = false;
    });
    return true;
}

bool RecoveryFile::saveNow(const Show &show, QString *error)
{
    waitForSave();
    const std::optional<Layout> hung = layout();
    if (!write(show, hung, error))
        return false;
    release(m_claims, true);
    dropReleased();
    m_written = {show, hung};
    return true;
}

void RecoveryFile::setSnapshot(const Show *show)
{
    auto copy = show ? std::make_unique<Show>(*show) : nullptr;
    const std::lock_guard lock(m_snapshotMutex);
    m_snapshot = std::move(copy);
}

bool RecoveryFile::saveSnapshot()
{
    const std::lock_guard lock(m_snapshotMutex);
    return m_snapshot && write(*m_snapshot, m_layout, nullptr);
}

void RecoveryFile::waitForSave()
{
    if (m_thread.joinable())
        m_thread.join();
    dropReleased();
}

void RecoveryFile::dropReleased()
{
    m_claims.removeIf([](const Claim &c) { return !c.lock->isLocked(); });
}

void RecoveryFile::remove()
{
    waitForSave();
    QFile::remove(path());
    QFile::remove(extraPath(m_base));
    m_written.reset();
    release(m_claims, false);
    dropReleased();
}

} // namespace lm740
