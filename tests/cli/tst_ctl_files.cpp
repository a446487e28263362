// lm740ctl's file commands run for real: show, export and import between a settings image and the
// window's text files, byte for byte both ways, and the files they refuse.
#include "ctl_rig.h"
#include "file_size_limit.h"
#include "settings_image.h"
#include "text_files.h"

#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <memory>

#include <sys/file.h>

namespace {

using namespace lm740;

// A show with every field of every record set, lamps beyond `lamps` black as an import leaves them.
std::unique_ptr<Show> randomShow(int lamps, quint32 seed)
{
    QRandomGenerator random(seed);
    auto show = std::make_unique<Show>();
    show->setShowDefaults();
    auto colors = [&](ColorArray &array) {
        for (int lamp = 0; lamp < lamps; ++lamp)
            array[lamp] = QColor::fromRgb(random.bounded(0x1000000));
    };
    for (ColorArray &scene : show->sceneColors)
        colors(scene);
    for (t_chaser &chaser : show->chasers) {
        chaser.time = 100 * random.bounded(601);
        chaser.xfade = quint8(random.bounded(101));
        chaser.direction = quint8(1 + random.bounded(2));
        chaser.pattern_len = quint8(random.bounded(171));
        chaser.repeat_number = quint8(1 + random.bounded(170));
        colors(chaser.colors);
    }
    for (t_program &program : show->programs) {
        for (t_program_scene &step : program.scenes) {
            step.scene_time = 100 * random.bounded(601);
            step.scene_xfade = quint8(random.bounded(101));
            colors(step.colors);
        }
        markLastStep(program, random.bounded(31), true);
    }
    return show;
}

} // namespace

class TstCtlFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void exportThenImportGivesTheSameImage_data();
    void exportThenImportGivesTheSameImage();
    void showPrintsEveryRecord();
    void refused_data();
    void refused();
    void importOntoABaseKeepsItsOtherBytes();
    void exportThenImportOntoGivesTheBaseBack_data();
    void exportThenImportOntoGivesTheBaseBack();
    void leftoversOfKilledWritesGo();
    void exportIsAllOrNothing_data();
    void exportIsAllOrNothing();
    void namesThatAreNotUtf8AreRefused();
};

void TstCtlFiles::exportThenImportGivesTheSameImage_data()
{
    QTest::addColumn<int>("lamps");
    QTest::addColumn<int>("sceneTime");
    QTest::newRow("170 lamps") << 170 << 60;
    QTest::newRow("7 lamps") << 7 << 13;
    QTest::newRow("1 lamp") << 1 << 1;
}

void TstCtlFiles::exportThenImportGivesTheSameImage()
{
    QFETCH(int, lamps);
    QFETCH(int, sceneTime);
    CtlRig rig;
    const auto show = randomShow(lamps, quint32(lamps));
    const QByteArray image = image::packShow(*show, lamps, sceneTime, image::HeaderStyle::Save);
    QVERIFY(rig.write("a.set", image));

    CTL_CHECK(rig.run({"export", rig.path("a.set"), rig.path("show")}), 0, "", "");
    // The files are the window's own, byte for byte.
    QCOMPARE(rig.read("show/scenes.scs"), files::writeScenesFile(show->sceneColors, lamps));
    QCOMPARE(rig.read("show/chasers.chs"), files::writeChasersFile(show->chasers, lamps));
    for (int p = 0; p < kProgramCount; ++p)
        QCOMPARE(rig.read(QStringLiteral("show/program%1.pgm").arg(p + 1)),
                 files::writeProgramFile(show->programs[p], lamps));

    CTL_CHECK(rig.run({"import", rig.path("show"), rig.path("b.set")}), 0, "", "");
    QCOMPARE(rig.read("b.set"), image);
}

void TstCtlFiles::showPrintsEveryRecord()
{
    CtlRig rig;
    const auto show = randomShow(3, 5);
    show->chasers[3].time = 1500;
    show->chasers[3].direction = 2;
    show->programs[3].scenes[30].scene_time = 60000;
    QVERIFY(rig.write("a.set", image::packShow(*show, 3, 7, image::HeaderStyle::Generate)));

    const CtlRun text = rig.run({"show", rig.path("a.set")});
    CTL_CHECK(text, 0, "lamps: 3\nglobal scene time: 7 s\n", "");
    QVERIFY(text.out.contains(
        "\nscene 10\n  lamps 1-3:     " + show->sceneColors[9][0].name().toLatin1() + ' '));
    QVERIFY(text.out.contains("chaser 4: time 1500 ms, cross-fade"));
    QVERIFY(text.out.contains(", direction right, pattern length"));
    QVERIFY(text.out.contains("program 4 step 31: time 60000 ms"));

    const CtlRun json = rig.run({"--json", "show", rig.path("a.set")});
    QCOMPARE(json.status, 0);
    const QJsonObject root = QJsonDocument::fromJson(json.out).object();
    QCOMPARE(root["sceneTime"].toInt(), 7);
    QCOMPARE(root["scenes"][9]["colors"][2].toString(), show->sceneColors[9][2].name());
    QCOMPARE(root["chasers"][3]["time"].toInt(), 1500);
    QCOMPARE(root["programs"][3]["steps"][30]["time"].toInt(), 60000);
    QCOMPARE(root["programs"][3]["steps"][30]["colors"].toArray().size(), 3);
}

void TstCtlFiles::refused_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("spoil"); // a file of the exported show to replace first
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("err");
    const QStringList import{"import", "%d/show", "%d/b.set"};
    QTest::newRow("show, missing file")
        << QStringList{"show", "%d/none.set"} << "" << QByteArray() << 1 << QByteArray("none.set");
    QTest::newRow("show, short file") << QStringList{"show", "%d/show/scenes.scs"} << ""
                                      << QByteArray() << 1 << QByteArray("not 131072");
    QTest::newRow("show, two files") << QStringList{"show", "%d/a.set", "x"} << "" << QByteArray()
                                     << 2 << QByteArray("one settings file");
    QTest::newRow("export with --simulator") << QStringList{"--simulator", "export", "a", "b"} << ""
                                             << QByteArray() << 2 << QByteArray("files");
    QTest::newRow("export into a file") << QStringList{"export", "%d/a.set", "%d/a.set/x"} << ""
                                        << QByteArray() << 1 << QByteArray("a.set/x");
    QTest::newRow("import, missing folder") << QStringList{"import", "%d/none", "%d/b.set"} << ""
                                            << QByteArray() << 1 << QByteArray("no folder");
    QTest::newRow("import, missing program file")
        << import << "program3.pgm" << QByteArray() << 1 << QByteArray("program3.pgm");
    QTest::newRow("import, corrupted chasers")
        << import << "chasers.chs" << QByteArray("Values:6") << 1 << QByteArray("chasers.chs");
    QTest::newRow("import, lamp counts differ")
        << import << "program2.pgm" << files::writeProgramFile(randomShow(4, 1)->programs[0], 4)
        << 1 << QByteArray("program2.pgm has 4 lamps but");
    QTest::newRow("import, fewer lamps in a program")
        << import << "program2.pgm" << files::writeProgramFile(randomShow(1, 1)->programs[0], 1)
        << 1 << QByteArray("program2.pgm has 1 lamps but");
    // A link to a scene time that is not there is no scene time left out.
    QTest::newRow("import, scene time links nowhere")
        << import << "scene-time.txt" << QByteArray("->gone.txt") << 1
        << QByteArray("No such file or directory");
    QTest::newRow("import, scene time links to itself")
        << import << "scene-time.txt" << QByteArray("->scene-time.txt") << 1
        << QByteArray("Too many levels of symbolic links");
    QTest::newRow("import, unreadable base")
        << QStringList{"import", "%d/show", "%d/b.set", "--onto", "%d/show/scenes.scs"} << ""
        << QByteArray() << 1 << QByteArray("not 131072");
    QTest::newRow("import, scene time 61")
        << import << "scene-time.txt" << QByteArray("61") << 1 << QByteArray("scene-time.txt");
    // Values changed on the way in are said, and the command goes on.
    QTest::newRow("import, values changed")
        << import << "program1.pgm" << QByteArray("6 1 150 300 0 1 2 3 4 5 -6") << 0
        << QByteArray("warning: %d/show/program1.pgm: 3 values changed: program 1 step 1 time 150 "
                      "ms stored as 100 ms; program 1 step 1 cross-fade 300 stored as 44; program "
                      "1 step 1 lamp 2 blue -6 stored as 6\n");
    QTest::newRow("show, header out of range")
        << QStringList{"show", "%d/show/z.set"} << "z.set" << QByteArray(131072, 0) << 0
        << QByteArray("warning: %d/show/z.set: 2 values changed: lamp count 0 stored as 1");
}

void TstCtlFiles::refused()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, spoil);
    QFETCH(QByteArray, content);
    QFETCH(int, status);
    QFETCH(QByteArray, err);
    CtlRig rig;
    QVERIFY(rig.write("a.set", image::packShow(*randomShow(2, 2), 2, 5, image::HeaderStyle::Save)));
    QCOMPARE(rig.run({"export", rig.path("a.set"), rig.path("show")}).status, 0);
    if (!spoil.isEmpty()) {
        QFile::remove(rig.path("show/" + spoil));
        if (content.startsWith("->"))
            QVERIFY(QFile::link(content.mid(2), rig.path("show/" + spoil)));
        else if (!content.isEmpty())
            QVERIFY(rig.write("show/" + spoil, content));
    }
    CTL_CHECK(rig.run(arguments), status, "", err.replace("%d", QFile::encodeName(rig.dir.path())));
    QCOMPARE(QFile::exists(rig.path("b.set")), status == 0 && arguments.contains("%d/b.set"));
}

void TstCtlFiles::importOntoABaseKeepsItsOtherBytes()
{
    CtlRig rig;
    // A controller's backup: header bytes of its own, and lamps beyond the count that no text
    // file holds.
    QByteArray base = image::packShow(*randomShow(kMaxLamps, 9), 12, 9, image::HeaderStyle::Save);
    for (const int byte : {1, 7, 8, 11, 12})
        base[byte] = char(0xA0 + byte);
    QVERIFY(rig.write("base.set", base));
    CTL_CHECK(rig.run({"export", "%d/base.set", "%d/show"}), 0, "", "");

    CTL_CHECK(rig.run({"import", "%d/show", "%d/same.set", "--onto", "%d/base.set"}), 0, "", "");
    QCOMPARE(rig.read("same.set"), base);
    // Without a base the header is a fresh one's, the lamps beyond the count black.
    CTL_CHECK(rig.run({"import", "%d/show", "%d/fresh.set"}), 0, "", "");
    QVERIFY(rig.read("fresh.set") != base);

    // The files win where they say something else: two lamps fewer, another first colour, no
    // scene time (the base's stays). The channel count follows the lamp count.
    auto edited = randomShow(kMaxLamps, 9);
    edited->sceneColors[0][0] = QColor(1, 2, 3);
    QVERIFY(rig.write("show/scenes.scs", files::writeScenesFile(edited->sceneColors, 10)));
    QVERIFY(rig.write("show/chasers.chs", files::writeChasersFile(edited->chasers, 10)));
    for (int p = 0; p < kProgramCount; ++p)
        QVERIFY(rig.write(QStringLiteral("show/program%1.pgm").arg(p + 1),
                          files::writeProgramFile(edited->programs[p], 10)));
    QVERIFY(QFile::remove(rig.path("show/scene-time.txt")));
    CTL_CHECK(rig.run({"import", "%d/show", "%d/edited.set", "--onto", "%d/base.set"}), 0, "", "");
    const QByteArray out = rig.read("edited.set");
    auto show = std::make_unique<Show>();
    image::HeaderValues header;
    QVERIFY(image::unpackShow(out, *show, &header));
    QCOMPARE(header.lamps, 10);
    QCOMPARE(header.sceneTime, 9);
    QCOMPARE(show->sceneColors[0][0], QColor(1, 2, 3));
    QCOMPARE(quint8(out[3]) | quint8(out[4]) << 8, 30);
    QCOMPARE(out.left(2), base.left(2));
    QCOMPARE(out.mid(5, 8), base.mid(5, 8));
    QCOMPARE(show->sceneColors[0][11], randomShow(kMaxLamps, 9)->sceneColors[0][11]);
}

void TstCtlFiles::exportThenImportOntoGivesTheBaseBack_data()
{
    QTest::addColumn<QByteArray>("base");
    QByteArray noise(131072, '\0');
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    // Out of range: no lamp and no scene time, or more than either can be.
    QTest::newRow("zeros") << QByteArray(131072, '\0');
    QTest::newRow("ones") << QByteArray(131072, '\xff');
    QTest::newRow("noise") << noise;
}

void TstCtlFiles::exportThenImportOntoGivesTheBaseBack()
{
    QFETCH(QByteArray, base);
    CtlRig rig;
    QVERIFY(rig.write("base.set", base));
    CTL_CHECK(rig.run({"export", "%d/base.set", "%d/show"}), 0, "", "");
    CTL_CHECK(rig.run({"import", "%d/show", "%d/back.set", "--onto", "%d/base.set"}), 0, "", "");
    QCOMPARE(rig.read("back.set"), base);
}

// A writer killed outright leaves its hidden file or folder; the next write of the same target
// takes it away, but not one that a living writer holds, nor a file of the user's.
void TstCtlFiles::leftoversOfKilledWritesGo()
{
    CtlRig rig;
    QVERIFY(rig.write("a.set", image::packShow(*randomShow(2, 2), 2, 5, image::HeaderStyle::Save)));
    QVERIFY(QDir(rig.dir.path()).mkpath(".show.k1.part"));
    const QStringList left{".b.set.k2.part", ".show.k1.part/scenes.scs", ".b.set.k3.part",
                           ".b.set.mine12"};
    for (const QString &name : left)
        QVERIFY(rig.write(name, "x"));
    QFile living(rig.path(left[2]));
    QVERIFY(living.open(QIODevice::ReadOnly) && ::flock(living.handle(), LOCK_EX) == 0);
    CTL_CHECK(rig.run({"export", "%d/a.set", "%d/show"}), 0, "", ""); // made beside, moved in
    QVERIFY(rig.write("show/notes.txt", "mine")); // a folder with more in it is not swapped away
    CTL_CHECK(rig.run({"export", "%d/a.set", "%d/show"}), 0, "", "");
    QVERIFY(rig.read("show/notes.txt") == "mine" && QFile::remove(rig.path("show/notes.txt")));
    CTL_CHECK(rig.run({"export", "%d/a.set", "%d/show"}), 0, "", ""); // swapped with the old one
    CTL_CHECK(rig.run({"import", "%d/show", "%d/b.set"}), 0, "", "");
    QCOMPARE(QDir(rig.dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList({left[2], left[3], "a.set", "b.set", "show"}));
}

void TstCtlFiles::exportIsAllOrNothing_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("spoil"); // made a folder, so that it cannot be replaced
    QTest::addColumn<int>("limit");     // 1: a file-size limit, for a disk that fills up
    QTest::addColumn<QByteArray>("err");
    // The limit lets the scene and chaser files through: a program file is the first to fail.
    QTest::newRow("full, folder there") << "old"
                                        << "" << 1 << QByteArray("File too large");
    QTest::newRow("full, new folder") << "new/show"
                                      << "" << 1 << QByteArray("File too large");
    QTest::newRow("last file a folder")
        << "old"
        << "scene-time.txt" << 0 << QByteArray("scene-time.txt: it is not a regular file");
}

void TstCtlFiles::exportIsAllOrNothing()
{
    QFETCH(QString, folder);
    QFETCH(QString, spoil);
    QFETCH(int, limit);
    QFETCH(QByteArray, err);
    CtlRig rig;
    QVERIFY(rig.write("a.set", image::packShow(*randomShow(2, 2), 2, 5, image::HeaderStyle::Save)));
    const auto big = randomShow(170, 3);
    QVERIFY(rig.write("b.set", image::packShow(*big, 170, 6, image::HeaderStyle::Save)));
    const qint64 room = files::writeScenesFile(big->sceneColors, 170).size() + 10;
    CTL_CHECK(rig.run({"export", "%d/a.set", "%d/old"}), 0, "", "");
    if (!spoil.isEmpty()) {
        QVERIFY(QFile::remove(rig.path("old/" + spoil)));
        QVERIFY(QDir(rig.path("old")).mkdir(spoil));
    }
    auto listing = [&] {
        QStringList files;
        QDirIterator it(rig.dir.path(), QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString name = it.next();
            files << name + ':' + QString::number(QFileInfo(name).size()) + ':' +
                         QString::number(
                             qHash(rig.read(QDir(rig.dir.path()).relativeFilePath(name))));
        }
        files.sort();
        return files;
    };
    const QStringList before = listing();
    {
        std::optional<FileSizeLimit> full;
        if (limit)
            full.emplace(rlim_t(room));
        CTL_CHECK(rig.run({"export", "%d/b.set", "%d/" + folder}), 1, "", err);
    }
    QCOMPARE(listing(), before);
}

void TstCtlFiles::namesThatAreNotUtf8AreRefused()
{
    // Qt would take the byte 0xff as U+FFFD and write a file of another name.
    CtlRig rig;
    QVERIFY(rig.write("a.set", image::packShow(*randomShow(2, 2), 2, 5, image::HeaderStyle::Save)));
    QCOMPARE(rig.run({"export", "%d/a.set", "%d/show"}).status, 0);
    const QStringList before = QDir(rig.dir.path()).entryList();
    // $b is the byte 0xff.
    for (const char *command :
         {"import \"$1/show\" \"$1/t$b.set\"", "--simulator backup \"$1/t$b.set\"",
          "export \"$1/a.set\" \"$1/d$b\""}) {
        QProcess p;
        p.start("/bin/sh",
                {"-c", QStringLiteral("b=$(printf '\\377'); exec \"$0\" %1").arg(command),
                 LM740CTL_PROGRAM, rig.dir.path()});
        QVERIFY(p.waitForFinished(60000));
        QCOMPARE(p.exitCode(), 2);
        QVERIFY(p.readAllStandardError().contains("is not UTF-8"));
        QCOMPARE(QDir(rig.dir.path()).entryList(), before);
    }
}

QTEST_GUILESS_MAIN(TstCtlFiles)
#include "tst_ctl_files.moc"
