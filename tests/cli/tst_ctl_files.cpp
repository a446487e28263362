// lm740ctl's file commands run for real: show, export and import between a settings image and the
// window's text files, byte for byte both ways, and the files they refuse.
#include "ctl_rig.h"
#include "settings_image.h"
#include "text_files.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>

#include <memory>

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
    QTest::newRow("import, scene time 61")
        << import << "scene-time.txt" << QByteArray("61") << 1 << QByteArray("scene-time.txt");
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
        if (!content.isEmpty())
            QVERIFY(rig.write("show/" + spoil, content));
    }
    CTL_CHECK(rig.run(arguments), status, "", err);
    QVERIFY(!QFile::exists(rig.path("b.set")));
}

QTEST_GUILESS_MAIN(TstCtlFiles)
#include "tst_ctl_files.moc"
