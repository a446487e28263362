// Crash recovery: a program killed with SIGKILL after its background save is offered at the next
// start, and Yes restores its show (values the image cannot hold too) as one step; No keeps the
// file until this program's first save replaces it; a signal saves at once; two programs never
// write the same file, and one left copy is offered to one program at a time (again once that one
// is killed); a copy is written again only after a change; and nothing is offered of a show that
// was kept, discarded or restored and then kept.
#include "pattern_actions.h"
#include "recovery_file.h"
#include "super_rgb.h"
#include "window_rig.h"

#include <QProcess>
#include <QtTest>

#include <csignal>
#include <cstdio>
#include <functional>

using namespace lm740;

namespace {

const char *const kLayout = "grid:10x17:serpentine";

ShowLayout &layoutOf(MainWindow &w)
{
    return w.findChild<PatternActions *>()->layout;
}

// The show a killed program leaves: one lamp edited, and values beyond the image's fields.
void editLikeTheKilledProgram(MainWindow &w)
{
    w.scene()->lamp(3)->setRGB(11, 22, 33);
    w.document().change("beyond the image", w.document().current(), [](Show &show) {
        show.chasers[2].time = 75000;
        show.programs[1].scenes[30].colors[170] = QColor(1, 2, 3);
    });
}

// Run as a child: edits (and chooses a layout), saves in the background (or only claims what
// another left, or does nothing), says so, and waits to be killed.
int runChild(const QString &folder, const QByteArray &mode)
{
    WindowRig rig;
    MainWindow &w = *rig.window;
    w.recovery().start(folder);
    if (mode == "--claim") {
        if (!w.recovery().file()->claimLeft())
            return 1;
    } else if (mode == "--child") {
        editLikeTheKilledProgram(w);
        w.findChild<PatternActions *>()->chooseLayout(Layout::fromShape(kLayout, 170));
        w.recovery().autosave();
        w.recovery().file()->waitForSave();
    }
    std::printf("saved\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

using Act = std::function<void(WindowRig &)>;

} // namespace

Q_DECLARE_METATYPE(Act)

class TstRecovery : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void killedProgramIsOffered_data();
    void killedProgramIsOffered();
    void whatTheNextStartIsOffered_data();
    void whatTheNextStartIsOffered();
    void damagedLinesAreSkipped_data();
    void damagedLinesAreSkipped();

private:
    // A folder with what a killed program left; with `claimant`, a second program claimed it
    // and was killed too; with `idle`, a program killed before its first copy.
    QString killedProgram(bool claimant, bool idle);
    bool runAndKill(const QString &mode, const QString &folder);
    QTemporaryDir m_dir;
    int m_folders = 0;
};

bool TstRecovery::runAndKill(const QString &mode, const QString &folder)
{
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {mode, folder});
    if (!child.waitForStarted())
        return false;
    while (!child.readAllStandardOutput().contains("saved"))
        if (!child.waitForReadyRead(60000))
            return false;
    ::kill(pid_t(child.processId()), SIGKILL);
    child.waitForFinished();
    return true;
}

QString TstRecovery::killedProgram(bool claimant, bool idle)
{
    const QString folder = m_dir.filePath(QString::number(++m_folders));
    if (!runAndKill("--child", folder) || (claimant && !runAndKill("--claim", folder)) ||
        (idle && !runAndKill("--idle", folder)))
        return {};
    return folder;
}

void TstRecovery::killedProgramIsOffered_data()
{
    QTest::addColumn<bool>("restore");
    QTest::addColumn<bool>("claimant"); // a program killed while it was offered the copy
    QTest::addColumn<bool>("idle");     // a program killed before its first copy
    QTest::newRow("yes") << true << false << false;
    QTest::newRow("no") << false << false << false;
    QTest::newRow("yes, after a program killed while offered it") << true << true << false;
    QTest::newRow("no, beside a program killed before its first copy") << false << false << true;
}

void TstRecovery::killedProgramIsOffered()
{
    QFETCH(bool, restore);
    QFETCH(bool, claimant);
    QFETCH(bool, idle);
    const QString folder = killedProgram(claimant, idle);
    QVERIFY(!folder.isEmpty());
    const QStringList left = filesIn(folder);
    QVERIFY2(left.filter(".set").size() == 1, qPrintable(left.join(' ')));
    QCOMPARE(left.filter(".lock").size(), 1 + int(claimant) + int(idle));

    WindowRig rig;
    MainWindow &w = *rig.window;
    RecoveryFile alive(folder); // a program running beside it, without a copy yet
    w.recovery().start(folder);
    // The locks of killed programs that guard no copy are gone; the copy's and the living
    // programs' stay.
    QCOMPARE(filesIn(folder).filter(".lock").size(), 3);
    rig.prompts.answers << (restore ? QMessageBox::Yes : QMessageBox::No);
    w.offerRecovery();
    QCOMPARE(rig.prompts.calls.size(), 1);
    QCOMPARE(rig.prompts.calls[0].title, QString("Recovered show -- Lm740"));
    // A program started meanwhile is not offered the same copy, whatever the answer.
    QVERIFY(!RecoveryFile(folder).claimLeft());
    QCOMPARE(w.document().show().sceneColors[0][3],
             restore ? QColor(11, 22, 33) : QColor(Qt::black));
    QCOMPARE(w.scene()->lamp(3)->lampColor(), w.document().show().sceneColors[0][3]);
    QCOMPARE(w.document().show().chasers[2].time, restore ? 75000u : 1000u);
    QCOMPARE(w.document().show().programs[1].scenes[30].colors[170],
             restore ? QColor(1, 2, 3) : QColor());
    QCOMPARE(w.isWindowModified(), restore);
    QCOMPARE(w.widgets().actionUndo->isEnabled(), restore);
    QCOMPARE(layoutOf(w).layout() ? layoutOf(w).layout()->shape() : "", restore ? kLayout : "");

    // The left files stay until this program's first save replaces them.
    QCOMPARE(filesIn(folder).filter(".set").size(), 1);
    w.scene()->lamp(0)->setRGB(1, 1, 1);
    w.document().closeEdit();
    QVERIFY(w.recovery().timer()->isActive());
    w.recovery().autosave();
    w.recovery().file()->waitForSave();
    QCOMPARE(filesIn(folder).filter(".set"),
             QStringList{QFileInfo(w.recovery().file()->path()).fileName()});
    // A second program in the same folder writes its own file and is offered nothing.
    RecoveryFile other(folder);
    QVERIFY(other.path() != w.recovery().file()->path());
    QVERIFY(!other.claimLeft());
}

void TstRecovery::whatTheNextStartIsOffered_data()
{
    // What a program does before it ends (a row that does not close it ends as a signal or a
    // kill would), with a crashed program's recovery offered first and answered, or none; and
    // what the next start is offered: nothing, this program's show, or the crashed one's.
    QTest::addColumn<int>("answer"); // to the offer of the crashed program's show; 0: none left
    QTest::addColumn<Act>("act");
    QTest::addColumn<QString>("offered");
    const Act edit = [](WindowRig &r) { editLikeTheKilledProgram(*r.window); };
    const Act inBackground = [edit](WindowRig &r) {
        r.window->recovery().autosave(); // unmodified: nothing to save
        r.window->recovery().file()->waitForSave();
        QVERIFY(!QFileInfo::exists(r.window->recovery().file()->path()));
        edit(r);
        QVERIFY(r.window->recovery().timer()->isActive());
        r.window->recovery().autosave();
        r.window->recovery().file()->waitForSave();
    };
    const Act signal = [](WindowRig &r) { r.window->recovery().saveNow(); };
    const auto then = [](Act a, Act b) { return Act([a, b](WindowRig &r) { a(r), b(r); }); };
    const auto closeAnswering = [](QMessageBox::StandardButton answer) {
        return Act([answer](WindowRig &r) {
            r.prompts.answers << answer;
            QVERIFY(r.window->close());
        });
    };
    const Act saveToFile = [](WindowRig &r) {
        r.prompts.fileNames << QDir(r.window->recovery().file()->folder()).filePath("../saved.set");
        r.window->Save(false);
        QVERIFY(!r.window->isWindowModified());
    };
    const Act undoAll = [](WindowRig &r) {
        while (r.window->document().undoStack().canUndo())
            r.window->commands().undo();
        QVERIFY(!r.window->isWindowModified());
        QVERIFY(!r.window->recovery().timer()->isActive());
    };
    const Act nothing = [](WindowRig &) {};
    // The copy marked old, and a save in the background over the same records.
    const Act unchangedAgain = [](WindowRig &r) {
        QFile copy(r.window->recovery().file()->path());
        QVERIFY(copy.open(QIODevice::ReadWrite));
        const QDateTime old(QDate(2001, 1, 1), QTime(0, 0));
        QVERIFY(copy.setFileTime(old, QFileDevice::FileModificationTime));
        copy.close();
        QVERIFY(!r.window->recovery().file()->saveInBackground(r.window->document().show()));
        r.window->recovery().file()->waitForSave();
        QCOMPARE(QFileInfo(copy.fileName()).lastModified(), old);
    };
    const Act redoInBackground = [](WindowRig &r) {
        while (r.window->document().undoStack().canRedo())
            r.window->commands().redo();
        r.window->recovery().autosave();
        r.window->recovery().file()->waitForSave();
    };
    // A layout chosen after the copy is a change of its own: the copy is written again with it.
    const Act layoutInBackground = [](WindowRig &r) {
        r.window->findChild<PatternActions *>()->chooseLayout(Layout::fromShape(kLayout, 170));
        r.window->recovery().autosave();
        r.window->recovery().file()->waitForSave();
        std::optional<Layout> layout;
        Show show;
        QVERIFY(RecoveryFile::read({r.window->recovery().file()->path().chopped(4), {}}, &show,
                                   nullptr, &layout));
        QCOMPARE(layout, Layout::fromShape(kLayout, 170));
    };
    QTest::newRow("a signal saves at once") << 0 << then(edit, signal) << "mine";
    QTest::newRow("a layout chosen after the copy")
        << 0 << then(inBackground, layoutInBackground) << "mine";
    QTest::newRow("unchanged since the last copy: not written again")
        << 0 << then(inBackground, unchangedAgain) << "mine";
    QTest::newRow("copy dropped, then the same show again")
        << 0 << then(then(inBackground, undoAll), redoInBackground) << "mine";
    QTest::newRow("edited, saved to a file, killed") << 0 << then(inBackground, saveToFile) << "";
    QTest::newRow("edited, undone to what was kept, killed")
        << 0 << then(then(edit, signal), undoAll) << "";
    QTest::newRow("edited, discarded at a clean exit")
        << 0 << then(inBackground, closeAnswering(QMessageBox::Discard)) << "";
    QTest::newRow("declined, clean exit without edits")
        << int(QMessageBox::No) << closeAnswering(QMessageBox::Discard) << "crashed";
    QTest::newRow("declined, then a signal after edits")
        << int(QMessageBox::No) << then(edit, signal) << "mine";
    QTest::newRow("restored, saved to a file, killed") << int(QMessageBox::Yes) << saveToFile << "";
    QTest::newRow("restored, discarded at a clean exit")
        << int(QMessageBox::Yes) << closeAnswering(QMessageBox::Discard) << "";
    QTest::newRow("restored, killed before its first save")
        << int(QMessageBox::Yes) << nothing << "crashed";
}

void TstRecovery::whatTheNextStartIsOffered()
{
    QFETCH(int, answer);
    QFETCH(Act, act);
    QFETCH(QString, offered);
    const QString folder = m_dir.filePath(QString::number(++m_folders) + "/state");
    if (answer) {
        // A crashed program's show: its files stay and its lock is free.
        RecoveryFile crashed(folder);
        Show show;
        show.setShowDefaults();
        show.sceneColors[0][3] = QColor(7, 7, 7);
        show.ledsNumber = 30;
        show.actualProgramNumber = 3; // the last step of the last program was shown
        show.actualProgramSceneNumber = 30;
        QVERIFY(crashed.saveNow(show));
    }
    {
        WindowRig rig;
        MainWindow &w = *rig.window;
        w.recovery().start(folder);
        if (answer)
            rig.prompts.answers << QMessageBox::StandardButton(answer);
        w.offerRecovery();
        QCOMPARE(rig.prompts.calls.size(), answer ? 1 : 0);
        rig.prompts.calls.clear();
        act(rig);
    }
    const QStringList sets = filesIn(folder).filter(QRegularExpression("\\.set$"));
    RecoveryFile next(folder);
    const std::optional<RecoveryFile::Left> left = next.claimLeft();
    QCOMPARE(left.has_value(), !offered.isEmpty());
    QCOMPARE(sets.size(), offered.isEmpty() ? 0 : 1);
    if (!left)
        return;
    Show show;
    show.setShowDefaults();
    QVERIFY(RecoveryFile::read(*left, &show));
    QCOMPARE(show.chasers[2].time, offered == "mine" ? 75000u : 1000u);
    QCOMPARE(show.sceneColors[0][3], offered == "mine" ? QColor(11, 22, 33) : QColor(7, 7, 7));
    if (offered == "crashed")
        QCOMPARE(std::pair(show.actualProgramNumber, show.actualProgramSceneNumber),
                 std::pair(3, 30));
}

void TstRecovery::damagedLinesAreSkipped_data()
{
    // A line added to what the image cannot hold; none of them may reach the show.
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("scene beyond") << QByteArray("selection 10 0 3 30");
    QTest::newRow("chaser beyond") << QByteArray("selection 0 4 3 30");
    QTest::newRow("program beyond") << QByteArray("selection 0 0 4 30");
    QTest::newRow("step beyond") << QByteArray("selection 0 0 3 31");
    QTest::newRow("negative") << QByteArray("selection -1 -1 -1 -1");
    QTest::newRow("program negative") << QByteArray("selection 0 0 -1 5");
    QTest::newRow("lamp slot beyond") << QByteArray("lamp 0 0 0 171 4278190335");
    QTest::newRow("item beyond") << QByteArray("lamp 0 10 0 3 4278190335");
    QTest::newRow("kind beyond") << QByteArray("lamp 3 0 0 3 4278190335");
    QTest::newRow("field beyond") << QByteArray("field 1 0 0 6 5");
    // 2^32 + 1 would be the cross-fade if it were cut to an int.
    QTest::newRow("field far beyond") << QByteArray("field 1 0 0 4294967297 77");
    QTest::newRow("not a number") << QByteArray("lamp 0 0 0 x 4278190335");
    QTest::newRow("too short") << QByteArray("lamp 0 0 0 3");
}

void TstRecovery::damagedLinesAreSkipped()
{
    QFETCH(QByteArray, line);
    const QString folder = m_dir.filePath(QString::number(++m_folders));
    Show saved;
    saved.setShowDefaults();
    saved.actualProgramNumber = 3;
    saved.actualProgramSceneNumber = 30;
    saved.sceneColors[0][3] = QColor(7, 7, 7);
    {
        RecoveryFile crashed(folder);
        QVERIFY(crashed.saveNow(saved));
        QFile extra(QString(crashed.path()).replace(".set", ".txt"));
        QVERIFY(extra.open(QIODevice::Append));
        extra.write(line + '\n');
    }
    RecoveryFile next(folder);
    const std::optional<RecoveryFile::Left> left = next.claimLeft();
    QVERIFY(left);
    Show show;
    QVERIFY(RecoveryFile::read(*left, &show));
    QVERIFY(sameRecords(show, saved));
    QCOMPARE(show.actualSceneNumber, 0);
    QCOMPARE(show.actualChaserNumber, 0);
    QCOMPARE(std::pair(show.actualProgramNumber, show.actualProgramSceneNumber), std::pair(3, 30));
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    const QByteArray mode = argc == 3 ? argv[1] : "";
    if (mode == "--child" || mode == "--claim" || mode == "--idle")
        return runChild(QString::fromLocal8Bit(argv[2]), mode);
    TstRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
