// Crash recovery in the window: while the show is modified it is saved in the background every
// 30 s to the recovery file; the signals that end the program without a question save it at once;
// a clean exit, and every change kept, removes it; the next start offers what a crashed or killed
// program left.
#include "main_window.h"
#include "navigator.h"

#include "my_spin.h"
#include "prompts.h"
#include "recovery_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTimer>

void MainWindow::startRecovery(const QString &folder)
{
    recovery = std::make_shared<lm740::RecoveryFile>(folder);
    autosaveTimer = new QTimer(this);
    autosaveTimer->setObjectName(QStringLiteral("autosaveTimer"));
    autosaveTimer->setInterval(kAutosaveMs);
    connect(autosaveTimer, &QTimer::timeout, this, &MainWindow::autosave);
    connect(&document, &lm740::ShowDocument::modifiedChanged, autosaveTimer, [this](bool modified) {
        if (modified) {
            autosaveTimer->start();
            return;
        }
        // Saved, sent or undone back to what was kept: a copy from before would be offered
        // after a crash as changes that were never kept.
        autosaveTimer->stop();
        recovery->setSnapshot(nullptr);
        recovery->remove();
    });
    if (document.isModified())
        autosaveTimer->start();
    // A snapshot of the modified show, at most a moment old, for a signal that finds the window
    // blocked (recovery->saveSnapshot() from another thread).
    auto *snapshotTimer = new QTimer(this);
    snapshotTimer->setSingleShot(true);
    snapshotTimer->setInterval(kSnapshotMs);
    connect(snapshotTimer, &QTimer::timeout, this,
            [this] { recovery->setSnapshot(document.isModified() ? &document.show() : nullptr); });
    const auto soon = [snapshotTimer] {
        if (!snapshotTimer->isActive())
            snapshotTimer->start();
    };
    connect(&document, &lm740::ShowDocument::itemEdited, snapshotTimer, soon);
    connect(&document, &lm740::ShowDocument::itemChanged, snapshotTimer, soon);
    connect(&document, &lm740::ShowDocument::globalsChanged, snapshotTimer, soon);
    connect(&document, &lm740::ShowDocument::modifiedChanged, snapshotTimer, soon);
    soon();
}

void MainWindow::autosave()
{
    // The records hold every edit already, also one still gathering: it is not closed, so that
    // a drag going on stays one step. Records unchanged since the last copy are not written again.
    if (recovery && document.isModified())
        recovery->saveInBackground(document.show());
}

void MainWindow::saveRecoveryNow()
{
    if (recovery && document.isModified())
        recovery->saveNow(document.show());
}

bool MainWindow::replaceKeptFile(const QString &path, QString *error)
{
    const QMessageBox::StandardButton answer = lm740::prompts().question(
        this, tr("Replace the show's file? -- Lm740"),
        tr("%1 holds the open show as it was last kept.\nReplaced, the show is kept nowhere "
           "but in this window until it is saved again.\nReplace it?")
            .arg(QDir::toNativeSeparators(QFileInfo(path).canonicalFilePath())),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes) {
        if (error)
            *error = tr("it holds the open show and was left as it was");
        return false;
    }
    document.keptCopyLost();
    // The window holds the show's only copy now: a recovery copy at once.
    autosave();
    return true;
}

void MainWindow::offerRecovery()
{
    if (!recovery)
        return;
    // Claimed: a program started meanwhile is not offered the same copy.
    const std::optional<lm740::RecoveryFile::Left> left = recovery->claimLeft();
    if (!left)
        return;
    const QMessageBox::StandardButton answer =
        lm740::prompts().question(this, tr("Recovered show -- Lm740"),
                                  tr("Lm740 ended on %1 without keeping the changes of its show.\n"
                                     "Restore the show as it was then?")
                                      .arg(QLocale().toString(left->saved, QLocale::ShortFormat)),
                                  QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    lm740::Show recovered = document.show();
    QString error;
    if (answer != QMessageBox::Yes || !lm740::RecoveryFile::read(*left, &recovered, &error)) {
        // Kept until this program's first save, which holds a newer show.
        if (answer == QMessageBox::Yes)
            lm740::prompts().warning(this, tr("Recovered show -- Lm740"),
                                     tr("The recovered show could not be read:\n%1").arg(error));
        return;
    }
    // Restored: from here on this program's show holds it, and keeps it or lets it go.
    recovery->adopt(*left);
    const lm740::Item shown = lm740::Item::current(recovered, document.current().kind);
    {
        const Navigator::Hold hold(*navigator);
        document.change(tr("Restore the recovered show"), document.current(),
                        [&](lm740::Show &show) {
                            show.sceneColors = recovered.sceneColors;
                            show.chasers = recovered.chasers;
                            show.programs = recovered.programs;
                            document.setGlobals(recovered.ledsNumber, recovered.sceneTime);
                        });
        navigator->loadPanel();
    }
    showItem(shown);
}
