// lm740ctl's long transfers run for real against the simulated controller: backup, restore and
// upgrade, whole and broken off by the controller's faults, and what is left in the files and the
// controller afterwards.
#include "ctl_rig.h"
#include "upgrade_file.h"

namespace {

QByteArray patternImage(char seed)
{
    QByteArray image(131072, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char(seed + i * 7 + i / 256);
    return image;
}

} // namespace

class TstCtlMemory : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void backup_data();
    void backup();
    void restore_data();
    void restore();
    void upgrade_data();
    void upgrade();
    void questionsOnATerminal_data();
    void questionsOnATerminal();
};

// A target that exists beforehand holds "old"; a failed backup must leave it so.
void TstCtlMemory::backup_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<bool>("written");
    QTest::newRow("whole") << QStringList() << "backup.set" << 0 << QByteArray() << true;
    QTest::newRow("block fails once mid-way")
        << QStringList{"refuse=read-memory:1:1000"} << "backup.set" << 0 << QByteArray() << true;
    QTest::newRow("block fails every try mid-way")
        << QStringList{"refuse=read-memory:6:1000"} << "backup.set" << 1 << QByteArray("page 250")
        << false;
    QTest::newRow("no controller")
        << QStringList{"absent"} << "backup.set" << 1 << QByteArray("no Lm740 found") << false;
    // The file is whole and kept; the controller may still hold its main loop.
    QTest::newRow("end of pass unanswered")
        << QStringList{"refuse=end-pass:6"} << "backup.set" << 1
        << QByteArray("holds the whole memory; unplug its power connector") << true;
    QTest::newRow("target folder missing")
        << QStringList() << "missing/backup.set" << 1 << QByteArray("missing/backup.set") << false;
}

void TstCtlMemory::backup()
{
    QFETCH(QStringList, faults);
    QFETCH(QString, target);
    QFETCH(int, status);
    QFETCH(QByteArray, err);
    QFETCH(bool, written);
    CtlRig rig;
    const QByteArray memory = patternImage(3);
    QVERIFY(rig.write("controller.set", memory));
    QVERIFY(rig.write("backup.set", "old"));
    QStringList arguments{"%c"};
    if (!faults.isEmpty())
        arguments << "--simulator-faults=" + faults.join(',');
    CTL_CHECK(rig.run(arguments << "backup" << rig.path(target)), status, "", err);
    if (target == QLatin1String("backup.set"))
        QCOMPARE(rig.read(target), written ? memory : QByteArray("old"));
    QCOMPARE(rig.read("controller.set"), memory);
}

void TstCtlMemory::restore_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("err");
    QTest::addColumn<int>("bytesWritten");
    QTest::addColumn<bool>("backedUp");
    const QByteArray image = patternImage(9);
    const QStringList none;
    QTest::newRow("whole") << none << image << 0 << QByteArray() << 131072 << true;
    QTest::newRow("whole, no backup")
        << QStringList{"--no-backup"} << image << 0 << QByteArray() << 131072 << false;
    QTest::newRow("short file") << none << image.left(131071) << 1
                                << QByteArray("131071 bytes, not 131072") << 0 << false;
    QTest::newRow("missing file") << none << QByteArray() << 1 << QByteArray("show.set") << 0
                                  << false;
    QTest::newRow("block fails once") << QStringList{"--simulator-faults=refuse=write-block:1:10"}
                                      << image << 0 << QByteArray() << 131072 << true;
    QTest::newRow("block fails every try mid-way")
        << QStringList{"--simulator-faults=refuse=write-block:6:10"} << image << 1
        << QByteArray("the Lm740 now holds the first 640 bytes of %f and what it held before "
                      "after them; unplug its power connector and plug it in again, then lm740ctl "
                      "restore %b puts back what it held")
        << 640 << true;
    QTest::newRow("block fails every try mid-way, no backup")
        << QStringList{"--no-backup", "--simulator-faults=refuse=write-block:6:10"} << image << 1
        << QByteArray("the Lm740 now holds the first 640 bytes of %f and what it held before "
                      "after them; unplug")
        << 640 << false;
    QTest::newRow("first block fails every try")
        << QStringList{"--simulator-faults=refuse=write-block:6"} << image << 1
        << QByteArray("(after 0 bytes); nothing was written to the Lm740;") << 0 << true;
    QTest::newRow("no controller")
        << QStringList{"--no-backup", "--simulator-faults=absent"} << image << 1
        << QByteArray("no Lm740 found (the simulated one is absent); nothing was written") << 0
        << false;
    QTest::newRow("backup fails")
        << QStringList{"--simulator-faults=refuse=read-memory:6:10"} << image << 1
        << QByteArray("while backing up, at page 2, offset 128 (after 640 bytes); nothing was "
                      "written to it")
        << 0 << false;
}

void TstCtlMemory::restore()
{
    QFETCH(QStringList, options);
    QFETCH(QByteArray, file);
    QFETCH(int, status);
    QFETCH(QByteArray, err);
    QFETCH(int, bytesWritten);
    QFETCH(bool, backedUp);
    CtlRig rig;
    const QByteArray before = patternImage(1);
    QVERIFY(rig.write("controller.set", before));
    if (!file.isEmpty())
        QVERIFY(rig.write("show.set", file));
    // No terminal: no question is asked, --yes or not; the backup is named on stdout instead.
    const CtlRun r = rig.run(QStringList{"%c"} + options << "restore" << rig.path("show.set"));
    const QStringList backups = rig.backups();
    QCOMPARE(backups.size(), backedUp ? 1 : 0);
    const QString backup = backups.value(0);
    QVERIFY2(backup.isEmpty() || QFileInfo(backup).fileName().startsWith("lm740-backup-"),
             qPrintable(backup));
    CTL_CHECK(r, status, backedUp ? QByteArray("saved in " + backup.toUtf8()) : QByteArray(),
              QByteArray(err)
                  .replace("%f", rig.path("show.set").toUtf8())
                  .replace("%b", backup.toUtf8()));
    if (backedUp)
        QCOMPARE(rig.read(backup.mid(rig.dir.path().size() + 1)), before);
    const QByteArray after = rig.read("controller.set");
    QCOMPARE(after.left(bytesWritten), file.left(bytesWritten));
    QCOMPARE(after.mid(bytesWritten), before.mid(bytesWritten));
}

void TstCtlMemory::upgrade_data()
{
    QTest::addColumn<QStringList>("faults");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("out");
    QTest::addColumn<QByteArray>("err");
    const QByteArray image = lm740::upgrade::makeImage("fw_1_05", 300);
    const QByteArray file = lm740::upgrade::makeFile("fw_1_05", image);
    const QStringList mode{"upgrade-mode"};
    QTest::newRow("newer release")
        << mode << file << false << 0 << QByteArray("Upgraded to release 105 (fw_1_05)")
        << QByteArray();
    QTest::newRow("same release, no --yes")
        << (mode + QStringList{"release=fw_1_05"}) << file << false << 1 << QByteArray()
        << QByteArray("give --yes");
    QTest::newRow("same release, --yes") << (mode + QStringList{"release=fw_1_05"}) << file << true
                                         << 0 << QByteArray("Upgraded") << QByteArray();
    QByteArray corrupt = file;
    corrupt[40] = char(corrupt[40] ^ 1);
    QTest::newRow("wrong checksum")
        << mode << corrupt << false << 1 << QByteArray() << QByteArray("checksum is wrong");
    QTest::newRow("not for the Lm740")
        << mode << lm740::upgrade::makeFile("fw_1_05", image, "XYZ") << false << 1 << QByteArray()
        << QByteArray("is not for the Lm740");
    QTest::newRow("not in upgrade mode")
        << QStringList() << file << false << 1 << QByteArray() << QByteArray("upgrade mode");
    QTest::newRow("never ready again") << (mode + QStringList{"busy=10"}) << file << false << 1
                                       << QByteArray() << QByteArray("did not come back");
    QTest::newRow("ready after 3 polls") << (mode + QStringList{"busy=3"}) << file << false << 0
                                         << QByteArray("Upgraded") << QByteArray();
    QTest::newRow("read-back fails") << (mode + QStringList{"refuse=upgrade-read:1"}) << file
                                     << false << 1 << QByteArray() << QByteArray("verification");
    QTest::newRow("no controller") << QStringList{"absent"} << file << false << 1 << QByteArray()
                                   << QByteArray("no Lm740 found");
    // Refused before the controller is looked for.
    QTest::newRow("empty image") << QStringList{"absent"} << lm740::upgrade::makeFile("fw_1_05", {})
                                 << false << 1 << QByteArray()
                                 << QByteArray("holds a firmware image of 2 bytes");
}

void TstCtlMemory::upgrade()
{
    QFETCH(QStringList, faults);
    QFETCH(QByteArray, file);
    QFETCH(bool, yes);
    QFETCH(int, status);
    QFETCH(QByteArray, out);
    QFETCH(QByteArray, err);
    CtlRig rig;
    QVERIFY(rig.write("new.upg", file));
    QStringList arguments{"--simulator"};
    if (!faults.isEmpty())
        arguments << "--simulator-faults=" + faults.join(',');
    if (yes)
        arguments << "--yes";
    CTL_CHECK(rig.run(arguments << "upgrade" << rig.path("new.upg")), status, out, err);
}

// On a terminal restore and upgrade ask first, and show their progress; --yes asks nothing.
void TstCtlMemory::questionsOnATerminal_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QByteArray>("answer");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("shown");
    QTest::newRow("restore, no") << "restore" << false << QByteArray("n\n") << 1
                                 << QByteArray("; what it holds now is first saved in ");
    QTest::newRow("restore, yes") << "restore" << false << QByteArray("yes\n") << 0
                                  << QByteArray("Writing the Lm740's memory: 100 %\n");
    QTest::newRow("restore, --yes") << "restore" << true << QByteArray() << 0
                                    << QByteArray("Writing the Lm740's memory: 100 %\n");
    QTest::newRow("upgrade, no") << "upgrade" << false << QByteArray("\n") << 1
                                 << QByteArray("to release 105 (fw_1_05)? [y/N]");
    QTest::newRow("upgrade, y") << "upgrade" << false << QByteArray("y\n") << 0
                                << QByteArray("Verifying: 100 %\n");
}

void TstCtlMemory::questionsOnATerminal()
{
    QFETCH(QString, command);
    QFETCH(bool, yes);
    QFETCH(QByteArray, answer);
    QFETCH(int, status);
    QFETCH(QByteArray, shown);
    CtlRig rig;
    const QByteArray before = patternImage(1);
    QVERIFY(rig.write("controller.set", before));
    QVERIFY(rig.write("show.set", patternImage(2)));
    QVERIFY(rig.write(
        "new.upg", lm740::upgrade::makeFile("fw_1_05", lm740::upgrade::makeImage("fw_1_05", 300))));
    QStringList arguments{"%c", "--simulator-faults=upgrade-mode"};
    if (command == QLatin1String("restore"))
        arguments = QStringList{"%c", "restore", rig.path("show.set")};
    else
        arguments << "upgrade" << rig.path("new.upg");
    if (yes)
        arguments << "--yes";
    const CtlRun r = rig.run(arguments, answer, true);
    QCOMPARE(r.status, status);
    QVERIFY2(r.err.contains(shown), r.err.constData());
    QCOMPARE(r.err.contains("[y/N]"), !yes);
    if (command == QLatin1String("restore")) {
        QCOMPARE(rig.read("controller.set"), status == 0 ? patternImage(2) : before);
        // Declined: said so, and no backup was made either.
        QCOMPARE(r.err.contains("nothing written: the answer was no"), status != 0);
        QCOMPARE(rig.backups().size(), yes || status == 0 ? 1 : 0);
        QCOMPARE(r.out.contains("saved in"), yes); // else the question named it
    }
}

QTEST_GUILESS_MAIN(TstCtlMemory)
#include "tst_ctl_memory.moc"
