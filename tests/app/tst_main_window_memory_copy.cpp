// USB > Read Settings and Write Settings against the simulated controller: the block requests in
// address order and the end of the pass, the progress dialog and its cancel, every message, and
// what becomes of the chosen file and of "error.set".
#include "dialog_hook.h"
#include "main_window.h"
#include "memory_copy.h"
#include "my_spin.h"
#include "recording_prompts.h"
#include "sim_rig.h"
#include "window_widgets.h"

#include <QButtonGroup>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

using namespace lm740;

class TstMainWindowMemoryCopy : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void pass_data();
    void pass();
    void dialogStandsOverTheWindowAndItsCancelIsClicked();
    void chosenFileIsKeptWhenNothingCanBeSaved_data();
    void chosenFileIsKeptWhenNothingCanBeSaved();
    void writeRefusesWrongSizeOrNo();
    void closingTheWindowDuringAPass_data();
    void closingTheWindowDuringAPass();
    void nothingElseReachesTheControllerDuringAPass();

private:
    static QByteArray pattern(int seed)
    {
        QByteArray bytes(layout::kImageSize, '\0');
        for (int i = 0; i < bytes.size(); ++i)
            bytes[i] = char((i * 13 + i / 256 + seed) & 0xFF);
        return bytes;
    }
    QByteArray memory() const
    {
        return QByteArray(reinterpret_cast<const char *>(m_rig->controller.memory().data()),
                          layout::kImageSize);
    }
    static QByteArray contents(const QString &fileName)
    {
        QFile f(fileName);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    }
    static void put(const QString &fileName, const QByteArray &bytes)
    {
        QFile f(fileName);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QList<SimController::Request> passRequests() const
    {
        QList<SimController::Request> r;
        for (const auto &q : m_rig->controller.requests())
            if (q.request == usb::READ_MEMORY_REQUEST || q.request == usb::WRITE_BLOCK_REQUEST ||
                q.request == usb::END_PASS_REQUEST)
                r << q;
        return r;
    }
    void duringPass(const std::function<void(QProgressDialog *)> &hook)
    {
        m_hook = std::make_unique<ProgressDialogHook>(hook);
    }

    std::unique_ptr<SimRig> m_rig;
    std::unique_ptr<RecordingPrompts> m_prompts;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<ProgressDialogHook> m_hook;
    QTemporaryDir m_dir;
    QString m_cwd;
};

void TstMainWindowMemoryCopy::init()
{
    m_rig = std::make_unique<SimRig>(SimRig::Start::Plugged);
    m_rig->makeDefaultBus();
    m_rig->controller.memory().assign(layout::kImageSize, 0);
    m_prompts = std::make_unique<RecordingPrompts>();
    m_window = std::make_unique<MainWindow>();
    m_rig->controller.clearRequests();
    m_cwd = QDir::currentPath();
    QDir::setCurrent(m_dir.path()); // "error.set" goes to the working folder
    qputenv("XDG_DATA_HOME", m_dir.filePath("data").toLocal8Bit()); // and the backups here
    QDir(m_dir.filePath("data")).removeRecursively();
}

void TstMainWindowMemoryCopy::cleanup()
{
    QDir::setCurrent(m_cwd);
    QFile::remove(m_dir.filePath("error.set"));
    m_hook.reset();
    m_window.reset();
    m_prompts.reset();
    m_rig.reset();
}

void TstMainWindowMemoryCopy::pass_data()
{
    QTest::addColumn<bool>("write");
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("blocks"); // block requests sent (after the backup, for a write)
    QTest::addColumn<QStringList>("messages");
    const QString ok = "OK|Settings succesfully saved in file\n%1";
    const QString ask = "Warning|All data in Lm740 will be destroyed.\nDo you want write settings?"
                        "\n\nWhat the Lm740 holds now is first saved in\n%2";
    const QString cancelled = "Canceled|Operation interrupted by user";
    const QString nothing = "Nothing was written to the Lm740.";
    // Reading adds ".set" to the name chosen, and asks before it replaces that file.
    const QString replace = "Replace file? -- Lm740|%1 already exists.\nDo you want to replace it?";
    const QString part = "\n\nThe Lm740 now holds the first %3 bytes of\n%1\nand what it held "
                         "before after them. Write Settings of the backup\n%2\nputs back what it "
                         "held.";
    QTest::newRow("read") << false << "" << 2048 << QStringList{replace, ok};
    QTest::newRow("read, cancel at page 10")
        << false << "cancel" << 41
        << QStringList{replace, cancelled,
                       "Error|Reading error...\nOnly 2624 bytes saved in \"error.set\" file"};
    QTest::newRow("read, block 100 fails every try")
        << false << "fail" << 100 + MemoryCopy::kAttempts
        << QStringList{replace, "Error|Read Error"};
    QTest::newRow("read, block 100 fails once")
        << false << "once" << 2049 << QStringList{replace, ok};
    QTest::newRow("read, no controller")
        << false << "unplug" << 0 << QStringList{replace, "Error|Read Error"};
    QTest::newRow("read, main loop not released")
        << false << "lock" << 2048
        << QStringList{replace,
                       "Lm740 MainLoop() Lock|Please reset device\n            Unplug and next "
                       "plug power connector",
                       ok};
    QTest::newRow("write") << true << "" << 2048
                           << QStringList{ask, "OK|Settings succesfully load\n"};
    QTest::newRow("write, cancel at page 10")
        << true << "cancel" << 41
        << QStringList{ask, cancelled,
                       "Error|Writing error...\nOnly 2624 bytes transfered" +
                           QString(part).replace("%3", "2624")};
    QTest::newRow("write, block 100 fails every try")
        << true << "fail" << 100 + MemoryCopy::kAttempts
        << QStringList{ask, "Read Error|Saved 6400 bytes\nPage:25 \nOffset: 0" +
                                QString(part).replace("%3", "6400")};
    QTest::newRow("write, first block fails every try")
        << true << "first" << MemoryCopy::kAttempts
        << QStringList{ask, "Read Error|Saved 0 bytes\nPage:0 \nOffset: 0\n\n" + nothing};
    QTest::newRow("write, main loop not released")
        << true << "lock" << 2048
        << QStringList{ask,
                       "Lm740 MainLoop() Lock|Please reset device\n        Unplug and next plug "
                       "power connector",
                       "OK|Settings succesfully load\n"};
    // Without a whole backup nothing is written.
    QTest::newRow("write, no controller")
        << true << "unplug" << 0
        << QStringList{ask, "Error|The Lm740's memory could not be read for a backup.\n" + nothing};
    QTest::newRow("write, backup cancelled")
        << true << "cancel backup" << 0 << QStringList{ask, cancelled + "\n" + nothing};
}

void TstMainWindowMemoryCopy::pass()
{
    QFETCH(bool, write);
    QFETCH(QString, fault);
    QFETCH(int, blocks);
    QFETCH(QStringList, messages);
    SimController &sim = m_rig->controller;
    const QByteArray old = pattern(1);
    sim.memory().assign(old.begin(), old.end());
    const QString chosen = m_dir.filePath("show.set");
    const QByteArray file = pattern(2);
    put(chosen, file);
    m_prompts->fileNames << (write ? chosen : m_dir.filePath("show")); // reading adds ".set"
    m_prompts->answers << QMessageBox::Yes; // replace the file, or write the controller
    const quint8 blockRequest = write ? usb::WRITE_BLOCK_REQUEST : usb::READ_MEMORY_REQUEST;
    if (fault == "fail")
        sim.failRequests(blockRequest, MemoryCopy::kAttempts, 100);
    if (fault == "first")
        sim.failRequests(blockRequest, MemoryCopy::kAttempts, 0);
    if (fault == "once")
        sim.failRequests(blockRequest, 1, 100);
    if (fault == "unplug")
        m_rig->bus.unplug(sim);
    if (fault == "lock") // the write's end of the pass, after the backup's
        sim.failRequests(usb::END_PASS_REQUEST, MemoryCopy::kAttempts, write ? 1 : 0);
    // The backup pass of a write comes first: 2048 reads and its end of pass.
    const int backupRequests = write && fault != "unplug" && fault != "cancel backup" ? 2049 : 0;
    QString lastLabel;
    int blocksAtCancel = -1;
    duringPass([&](QProgressDialog *d) {
        QCOMPARE(d->maximum(), 512);
        lastLabel = d->labelText();
        if (!fault.startsWith("cancel"))
            return;
        const int sent = int(passRequests().size());
        if (fault == "cancel" && sent == backupRequests + 41 && blocksAtCancel < 0) {
            d->cancel();
            blocksAtCancel = sent - backupRequests;
        }
        if (fault == "cancel backup" && sent == 41)
            d->cancel();
    });
    if (write)
        m_window->File_Write_Settings(false);
    else
        m_window->File_Read_Settings(false);

    QStringList shown;
    for (const PromptCall &c : m_prompts->calls.mid(1)) // after the file dialog
        shown << c.title + '|' + c.text;
    // The question names the backup, in the folder of backups.
    const QString backupName = write ? shown.value(0).section('\n', -1) : QString();
    const QString backupFolder = m_dir.filePath("data/lm740/backups/");
    if (write)
        QVERIFY2(backupName.startsWith(backupFolder + "lm740-backup-"), qPrintable(backupName));
    QCOMPARE(shown, messages.replaceInStrings("%1", chosen).replaceInStrings("%2", backupName));
    const bool complete = fault.isEmpty() || fault == "lock" || fault == "once";
    if (complete)
        QCOMPARE(lastLabel.section('\n', -1).simplified(),
                 write ? QString("Page:512/512") : QString("Page: 512/512"));
    if (fault == "cancel")
        QCOMPARE(blocksAtCancel, blocks); // answered before the next block

    // The blocks strictly in address order (a failed one sent again), then the end of the pass
    // unless a block failed every try.
    QList<SimController::Request> log = passRequests();
    if (write) {
        // The backup's 2048 reads and its end, then the write; without a whole backup no write.
        const int reads = backupRequests > 0 ? 2049 : 0;
        if (reads > 0)
            QCOMPARE(log[2048].request, usb::END_PASS_REQUEST);
        log = log.mid(reads);
        if (reads == 0) {
            for (const auto &q : log)
                QVERIFY(q.request != usb::WRITE_BLOCK_REQUEST);
            log.clear();
        }
    }
    const bool ended = blocks > 0 && fault != "fail" && fault != "first";
    const int attempts = fault == "lock" ? MemoryCopy::kAttempts : 1;
    QCOMPARE(log.size(), blocks + (ended ? attempts : 0));
    for (int i = 0; i < blocks; ++i) {
        int block = i;
        if (fault == "fail")
            block = qMin(i, 100);
        if (fault == "first")
            block = 0;
        if (fault == "once" && i > 100)
            block = i - 1;
        QCOMPARE(log[i].request, blockRequest);
        QCOMPARE(int(log[i].value) * 256 + log[i].index, 64 * block);
    }
    if (ended) {
        QCOMPARE(log.last().request, usb::END_PASS_REQUEST);
        QCOMPARE(log.last().value, quint16(write ? 1 : 0));
        QCOMPARE(int(log.last().index), fault == "cancel" ? 64 * ((blocks - 1) % 4) : 192);
    }

    // A read replaces the chosen file only when complete; a cancelled one leaves its bytes in
    // "error.set". A write changes the controller block by block, after a backup of all of it.
    const int moved = fault == "cancel" ? 64 * blocks
                      : complete        ? layout::kImageSize
                      : fault == "fail" ? 6400
                                        : 0;
    QCOMPARE(contents(chosen), write || !complete ? file : old);
    QCOMPARE(contents("error.set"),
             !write && fault == "cancel" ? old.left(moved) : QByteArray("(none)"));
    if (write) {
        QCOMPARE(memory(), file.left(moved) + old.mid(moved));
        QCOMPARE(contents(backupName), backupRequests > 0 ? old : QByteArray("(none)"));
        QCOMPARE(QDir(backupFolder).entryList(QDir::Files).size(), backupRequests > 0 ? 1 : 0);
    }
}

void TstMainWindowMemoryCopy::chosenFileIsKeptWhenNothingCanBeSaved_data()
{
    QTest::addColumn<QString>("chosen");
    QTest::addColumn<bool>("cancel");
    QTest::addColumn<QString>("message");
    QTest::newRow("chosen file cannot be written")
        << "missing/show.set" << false
        << "Settings could not be saved in file\n%1\nNo such file or directory";
    QTest::newRow("error.set cannot be written")
        << "show.set" << true
        << "Reading error...\nThe 64 bytes read could not be saved in \"error.set\" file\nit is "
           "not a regular file";
}

void TstMainWindowMemoryCopy::chosenFileIsKeptWhenNothingCanBeSaved()
{
    QFETCH(QString, chosen);
    QFETCH(bool, cancel);
    QFETCH(QString, message);
    QVERIFY(QDir(m_dir.path()).mkdir("error.set")); // no file can take that name
    put(m_dir.filePath("show.set"), "kept");
    m_prompts->fileNames << m_dir.filePath(chosen);
    duringPass([&](QProgressDialog *d) {
        if (cancel && !passRequests().isEmpty())
            d->cancel();
    });
    m_window->File_Read_Settings(false);
    QCOMPARE(m_prompts->calls.last().title, QString("Error"));
    QCOMPARE(m_prompts->calls.last().text, message.replace("%1", m_dir.filePath(chosen)));
    QCOMPARE(contents(m_dir.filePath("show.set")), QByteArray("kept"));
    QDir(m_dir.path()).rmdir("error.set");
}

void TstMainWindowMemoryCopy::writeRefusesWrongSizeOrNo()
{
    const QString chosen = m_dir.filePath("short.set");
    put(chosen, QByteArray(layout::kImageSize - 1, '\x11'));
    // A FIFO is no file of any size, and is not waited on.
    const QString fifo = m_dir.filePath("fifo.set");
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0644), 0);
    m_prompts->fileNames << chosen << chosen << fifo;
    m_prompts->answers << QMessageBox::No << QMessageBox::Yes << QMessageBox::Ok
                       << QMessageBox::Yes;
    m_window->File_Write_Settings(false); // No: nothing happens
    m_window->File_Write_Settings(false);
    m_window->File_Write_Settings(false);
    QCOMPARE(m_prompts->calls.size(), 8);
    QVERIFY(m_prompts->calls[1].hasParent);
    QCOMPARE(m_prompts->calls[1].defaultButton, QMessageBox::No);
    QCOMPARE(m_prompts->calls[4].text, QString("Wrong size of file\n131071 Bytes"));
    QCOMPARE(m_prompts->calls[7].text,
             QString("Cannot read file\n%1\nit is not a regular file").arg(fifo));
    QVERIFY(passRequests().isEmpty());
}

void TstMainWindowMemoryCopy::closingTheWindowDuringAPass_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("complete");
    QTest::addColumn<bool>("closes");
    QTest::newRow("stop and close") << int(QMessageBox::Yes) << false << true;
    QTest::newRow("close when ended") << int(QMessageBox::No) << true << true;
    QTest::newRow("keep the window") << int(QMessageBox::Cancel) << true << false;
}

void TstMainWindowMemoryCopy::closingTheWindowDuringAPass()
{
    // A close of the window while the pass runs is answered, never dropped; the window closes
    // after the command's last message, not under it. Meanwhile the window takes no input.
    QFETCH(int, answer);
    QFETCH(bool, complete);
    QFETCH(bool, closes);
    MainWindow &w = *m_window;
    w.show();
    m_prompts->fileNames << m_dir.filePath("show.set");
    m_prompts->answers << QMessageBox::StandardButton(answer);
    int blocksAtClose = -1;
    duringPass([&](QProgressDialog *d) {
        if (blocksAtClose >= 0 || passRequests().size() < 40)
            return;
        blocksAtClose = int(passRequests().size());
        // Kept above the window by the window manager.
        QCOMPARE(d->windowHandle()->transientParent(), w.windowHandle());
        QTest::mouseClick(w.widgets().sceneButtons->button(3), Qt::LeftButton);
        QTest::keyClick(&w, Qt::Key_A, Qt::ControlModifier);
        // A box that opens above the pass still takes its answer.
        QMessageBox box(QMessageBox::Question, "box", "box", QMessageBox::Ok | QMessageBox::No);
        QTimer::singleShot(
            0, &box, [&box] { QTest::mouseClick(box.button(QMessageBox::Ok), Qt::LeftButton); });
        QTimer::singleShot(0, &box, [&box] {
            if (box.isVisible())
                box.done(-1);
        });
        QCOMPARE(box.exec(), int(QMessageBox::Ok));
        QVERIFY(!w.close());
    });
    w.File_Read_Settings(false);
    QCOMPARE(w.document().show().actualSceneNumber, 0);
    QCOMPARE(w.scene()->getSelectionFlags(), quint8(0));

    const PromptCall &question = m_prompts->calls.at(1);
    QCOMPARE(question.kind, QString("question"));
    QVERIFY(question.hasParent);
    QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(question.defaultButton, QMessageBox::No);
    QCOMPARE(m_prompts->calls.last().title, complete ? QString("OK") : QString("Error"));
    const int blocks = int(passRequests().size()) - 1; // and the end of the pass
    QCOMPARE(blocks, complete ? 2048 : blocksAtClose);

    QVERIFY(w.isVisible()); // while the command shows its messages
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCOMPARE(w.isVisible(), !closes);
}

void TstMainWindowMemoryCopy::nothingElseReachesTheControllerDuringAPass()
{
    // Online, with the lamp count box holding the focus: the pass's dialog takes the focus from
    // the window, and the box reports the end of an edit; the controller must hear only the pass.
    MainWindow &w = *m_window;
    m_prompts->answers << QMessageBox::Yes;
    w.actionOnline->trigger();
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.widgets().LedsNumberSpin->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget *>(w.widgets().LedsNumberSpin));
    m_rig->controller.clearRequests();
    m_prompts->fileNames << m_dir.filePath("show.set");
    w.File_Read_Settings(false);
    const QList<SimController::Request> all = m_rig->controller.requests();
    QVERIFY(!all.isEmpty());
    // Between the first block and the end of the pass, nothing but the pass.
    int first = 0;
    while (all[first].request != usb::READ_MEMORY_REQUEST)
        ++first;
    int last = int(all.size()) - 1;
    while (all[last].request != usb::END_PASS_REQUEST)
        --last;
    QCOMPARE(last - first + 1, 2049);
}

// The pass's dialog comes up over the middle of the window the command came from, wide enough for
// its title; a click on the window goes nowhere, a click on Cancel ends the pass.
void TstMainWindowMemoryCopy::dialogStandsOverTheWindowAndItsCancelIsClicked()
{
    m_window->setGeometry(120, 90, 800, 600);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_prompts->fileNames << m_dir.filePath("show.set");
    int clicks = 0;
    duringPass([&](QProgressDialog *d) {
        if (clicks++ > 0)
            return;
        const QPoint off = d->frameGeometry().center() - m_window->frameGeometry().center();
        QVERIFY2(qAbs(off.x()) <= 2 && qAbs(off.y()) <= 2,
                 qPrintable(QString("%1,%2").arg(off.x()).arg(off.y())));
        QVERIFY(d->width() > d->fontMetrics().horizontalAdvance(d->windowTitle()));
        QTest::mouseClick(m_window->TabWidget->tabBar(), Qt::LeftButton, {},
                          m_window->TabWidget->tabBar()->tabRect(1).center());
        QCOMPARE(m_window->TabWidget->currentIndex(), 0);
        QVERIFY(!d->wasCanceled());
        auto *cancel = d->findChild<QPushButton *>();
        QVERIFY(cancel);
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(d->wasCanceled());
    });
    m_window->File_Read_Settings(false);
    QVERIFY(clicks > 0);
    // Cancelled at its first look: far fewer than the 2048 blocks were read.
    QVERIFY(passRequests().size() < 100);
}

QTEST_MAIN(TstMainWindowMemoryCopy)
#include "tst_main_window_memory_copy.moc"
