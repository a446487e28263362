// Crash recovery: a program killed with SIGKILL after its background save is offered at the next
// start, and Yes restores its show (values the image cannot hold too) as one step; No keeps the
// file until this program's first save replaces it; a clean exit removes the file; a signal saves
// at once; two programs never write the same file.
#include "recovery_file.h"
#include "super_rgb.h"
#include "window_rig.h"

#include <QProcess>
#include <QtTest>

#include <csignal>
#include <cstdio>

using namespace lm740;

namespace {

// The show a killed program leaves: one lamp edited, and values beyond the image's fields.
void editLikeTheKilledProgram(MainWindow &w)
{
    w.scene->lamp(3)->setRGB(11, 22, 33);
    w.document.change("beyond the image", w.panelItem, [](Show &show) {
        show.chasers[2].time = 75000;
        show.programs[1].scenes[30].colors[170] = QColor(1, 2, 3);
    });
}

// Run as a child: edits, saves in the background, says so, and waits to be killed.
int runChild(const QString &folder)
{
    WindowRig rig;
    MainWindow &w = *rig.window;
    w.startRecovery(folder);
    editLikeTheKilledProgram(w);
    w.autosave();
    w.recovery->waitForSave();
    std::printf("saved\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

QStringList filesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files, QDir::Name);
}

} // namespace

class TstRecovery : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void killedProgramIsOffered_data();
    void killedProgramIsOffered();
    void cleanExitAndSignals();

private:
    QString killedProgram(); // a folder with what a killed program left
    QTemporaryDir m_dir;
    int m_folders = 0;
};

QString TstRecovery::killedProgram()
{
    const QString folder = m_dir.filePath(QString::number(++m_folders));
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"--child", folder});
    if (!child.waitForStarted())
        return {};
    while (!child.readAllStandardOutput().contains("saved"))
        if (!child.waitForReadyRead(60000))
            return {};
    ::kill(pid_t(child.processId()), SIGKILL);
    child.waitForFinished();
    return folder;
}

void TstRecovery::killedProgramIsOffered_data()
{
    QTest::addColumn<bool>("restore");
    QTest::newRow("yes") << true;
    QTest::newRow("no") << false;
}

void TstRecovery::killedProgramIsOffered()
{
    QFETCH(bool, restore);
    const QString folder = killedProgram();
    QVERIFY(!folder.isEmpty());
    const QStringList left = filesIn(folder);
    QVERIFY2(left.filter(".set").size() == 1, qPrintable(left.join(' ')));

    WindowRig rig;
    MainWindow &w = *rig.window;
    w.startRecovery(folder);
    rig.prompts.answers << (restore ? QMessageBox::Yes : QMessageBox::No);
    w.offerRecovery();
    QCOMPARE(rig.prompts.calls.size(), 1);
    QCOMPARE(rig.prompts.calls[0].title, QString("Recovered show -- Lm740"));
    QCOMPARE(w.sceneColors[0][3], restore ? QColor(11, 22, 33) : QColor(Qt::black));
    QCOMPARE(w.scene->lamp(3)->lampColor(), w.sceneColors[0][3]);
    QCOMPARE(w.chasers[2].time, restore ? 75000u : 1000u);
    QCOMPARE(w.programs[1].scenes[30].colors[170], restore ? QColor(1, 2, 3) : QColor());
    QCOMPARE(w.isWindowModified(), restore);
    QCOMPARE(w.actionUndo->isEnabled(), restore);

    // The left files stay until this program's first save replaces them.
    QCOMPARE(filesIn(folder).filter(".set").size(), 1);
    w.scene->lamp(0)->setRGB(1, 1, 1);
    w.document.closeEdit();
    QVERIFY(w.autosaveTimer->isActive());
    w.autosave();
    w.recovery->waitForSave();
    QCOMPARE(filesIn(folder).filter(".set"), QStringList{QFileInfo(w.recovery->path()).fileName()});
    // A second program in the same folder writes its own file and is offered nothing.
    RecoveryFile other(folder);
    QVERIFY(other.path() != w.recovery->path());
    QVERIFY(!other.findLeft());
}

void TstRecovery::cleanExitAndSignals()
{
    const QString folder = m_dir.filePath("clean");
    {
        WindowRig rig;
        MainWindow &w = *rig.window;
        w.startRecovery(folder);
        QVERIFY(!w.autosaveTimer->isActive());
        w.autosave(); // unmodified: nothing to save
        w.recovery->waitForSave();
        QVERIFY(filesIn(folder).filter(".set").isEmpty());
        editLikeTheKilledProgram(w);
        QCOMPARE(w.autosaveTimer->interval(), 30000);
        QVERIFY(w.autosaveTimer->isActive());
        // A signal ends the program: saved at once, and left for the next start.
        w.saveRecoveryNow();
        QVERIFY(QFileInfo::exists(w.recovery->path()));
        // Undone back to what was kept: no longer modified, no more saves.
        w.document.undo();
        w.document.undo();
        QVERIFY(!w.autosaveTimer->isActive());
    }
    {
        RecoveryFile next(folder);
        QVERIFY(next.findLeft());
        Show show;
        show.setShowDefaults();
        QVERIFY(RecoveryFile::read(*next.findLeft(), &show));
        QCOMPARE(show.chasers[2].time, 75000u);
        QCOMPARE(show.sceneColors[0][3], QColor(11, 22, 33));
    }
    // A clean exit, after discarding the edits, leaves nothing behind.
    WindowRig rig;
    MainWindow &w = *rig.window;
    w.startRecovery(folder);
    rig.prompts.answers << QMessageBox::No;
    w.offerRecovery();
    editLikeTheKilledProgram(w);
    w.autosave();
    w.recovery->waitForSave();
    rig.prompts.answers << QMessageBox::Discard;
    QVERIFY(w.close());
    QCOMPARE(filesIn(folder).filter(QRegularExpression("\\.(set|txt)$")), QStringList());
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 3 && QByteArray(argv[1]) == "--child")
        return runChild(QString::fromLocal8Bit(argv[2]));
    TstRecovery test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
