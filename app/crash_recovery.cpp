#include "crash_recovery.h"

#include "prompts.h"
#include "recovery_file.h"
#include "show_document.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTimer>

CrashRecovery::CrashRecovery(lm740::ShowDocument &document, QObject *parent)
    : QObject(parent), m_document(document)
{
}

CrashRecovery::~CrashRecovery() = default;

void CrashRecovery::start(const QString &folder)
{
    m_file = std::make_shared<lm740::RecoveryFile>(folder);
    m_file->setLayout(m_layout);
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("autosaveTimer"));
    m_timer->setInterval(kAutosaveMs);
    connect(m_timer, &QTimer::timeout, this, &CrashRecovery::autosave);
    connect(&m_document, &lm740::ShowDocument::modifiedChanged, m_timer, [this](bool modified) {
        if (modified) {
            m_timer->start();
            return;
        }
        // Saved, sent or undone back to what was kept: a copy from before would be offered
        // after a crash as changes that were never kept.
        m_timer->stop();
        if (m_file) {
            m_file->setSnapshot(nullptr);
            m_file->remove();
        }
    });
    if (m_document.isModified())
        m_timer->start();
    // A snapshot of the modified show, at most a moment old, for a signal that finds the window
    // blocked (lastWords() from another thread).
    auto *snapshotTimer = new QTimer(this);
    snapshotTimer->setSingleShot(true);
    snapshotTimer->setInterval(kSnapshotMs);
    connect(snapshotTimer, &QTimer::timeout, this, [this] {
        if (m_file)
            m_file->setSnapshot(m_document.isModified() ? &m_document.show() : nullptr);
    });
    const auto soon = [snapshotTimer] {
        if (!snapshotTimer->isActive())
            snapshotTimer->start();
    };
    connect(&m_document, &lm740::ShowDocument::itemEdited, snapshotTimer, soon);
    connect(&m_document, &lm740::ShowDocument::itemChanged, snapshotTimer, soon);
    connect(&m_document, &lm740::ShowDocument::globalsChanged, snapshotTimer, soon);
    connect(&m_document, &lm740::ShowDocument::modifiedChanged, snapshotTimer, soon);
    soon();
}

std::function<void()> CrashRecovery::lastWords() const
{
    if (!m_file)
        return {};
    return [file = m_file] { file->saveSnapshot(); };
}

void CrashRecovery::autosave()
{
    // The records hold every edit already, also one still gathering: it is not closed, so that
    // a drag going on stays one step. Records unchanged since the last copy are not written again.
    if (m_file && m_document.isModified())
        m_file->saveInBackground(m_document.show());
}

void CrashRecovery::saveNow()
{
    if (m_file && m_document.isModified())
        m_file->saveNow(m_document.show());
}

void CrashRecovery::cleanExit()
{
    if (m_file)
        m_file->remove();
}

void CrashRecovery::setLayout(const std::optional<lm740::Layout> &layout)
{
    m_layout = layout;
    if (m_file)
        m_file->setLayout(layout);
}

void CrashRecovery::close()
{
    if (m_timer)
        m_timer->stop();
    m_file.reset();
}

std::optional<lm740::Show> CrashRecovery::takeLeft(QWidget *parent)
{
    if (!m_file)
        return std::nullopt;
    // Claimed: a program started meanwhile is not offered the same copy.
    const std::optional<lm740::RecoveryFile::Left> left = m_file->claimLeft();
    if (!left)
        return std::nullopt;
    const QMessageBox::StandardButton answer = lm740::prompts().question(
        parent, QCoreApplication::translate("MainWindow", "Recovered show -- Lm740"),
        QCoreApplication::translate("MainWindow",
                                    "Lm740 ended on %1 without keeping the changes of its show.\n"
                                    "Restore the show as it was then?")
            .arg(QLocale().toString(left->saved, QLocale::ShortFormat)),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return std::nullopt;
    lm740::Show recovered = m_document.show();
    std::optional<lm740::Layout> layout;
    QString error;
    if (!lm740::RecoveryFile::read(*left, &recovered, &error, &layout)) {
        // Kept until this program's first save, which holds a newer show.
        lm740::prompts().warning(
            parent, QCoreApplication::translate("MainWindow", "Recovered show -- Lm740"),
            QCoreApplication::translate("MainWindow", "The recovered show could not be read:\n%1")
                .arg(error));
        return std::nullopt;
    }
    // Restored: from here on this program's show holds it, and keeps it or lets it go.
    m_file->adopt(*left);
    emit layoutRestored(layout);
    return recovered;
}
