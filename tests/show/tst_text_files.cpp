// The scene, chaser and program files: the writers byte for byte against files worked out by hand
// (tests/data/make_text_files.py), the readers' leniency, and every file they must refuse.
#include "text_files.h"

#include <QtTest>

#include <memory>

using namespace lm740;
using files::Format;

Q_DECLARE_METATYPE(lm740::files::Format)

namespace {

// The records of tests/data, by the rules of make_text_files.py.
QColor ruleColor(int record, int lamp)
{
    return QColor((37 * record + 3 * lamp) % 256, (11 * record + 5 * lamp + 1) % 256,
                  (5 * record + 7 * lamp + 2) % 256);
}

std::unique_ptr<Show> ruleShow()
{
    auto show = std::make_unique<Show>();
    show->setShowDefaults();
    for (int lamp = 0; lamp < kMaxLamps; ++lamp) {
        for (int s = 0; s < kSceneCount; ++s)
            show->sceneColors[s][lamp] = ruleColor(s, lamp);
        for (int c = 0; c < kChaserCount; ++c)
            show->chasers[c].colors[lamp] = ruleColor(10 + c, lamp);
        for (int p = 0; p < kProgramCount; ++p)
            for (int s = 0; s < kProgramSteps; ++s)
                show->programs[p].scenes[s].colors[lamp] = ruleColor(20 + 31 * p + s, lamp);
    }
    for (int c = 0; c < kChaserCount; ++c)
        show->chasers[c] = {show->chasers[c].colors, quint32(1550 + 1000 * c),
                            quint8(50 + c),          quint8(1 + c % 2),
                            quint8(c + 1),           quint8(2 + c)};
    for (int p = 0; p < kProgramCount; ++p)
        for (int s = 0; s < kProgramSteps; ++s) {
            t_program_scene &step = show->programs[p].scenes[s];
            step.scene_time = quint32(100 * s + 1000 * p + 150);
            step.scene_xfade = quint8((3 * s + p) % 101);
            step.scene_laststep = s == 12 + p ? 1 : 0;
        }
    return show;
}

// The two examples the formats give: lamp 0 red, lamp 1 dark green in scene 0; a chaser of 1500 ms
// to the right with a red and a blue lamp.
std::unique_ptr<Show> exampleShow()
{
    auto show = std::make_unique<Show>();
    show->setShowDefaults();
    show->sceneColors[0][0] = Qt::red;
    show->sceneColors[0][1] = QColor(0, 128, 0);
    show->chasers[0] = {show->chasers[0].colors, 1500, 50, 2, 1, 2};
    show->chasers[0].colors[0] = Qt::red;
    show->chasers[0].colors[1] = Qt::blue;
    return show;
}

QByteArray dataFile(const QString &name)
{
    QFile file(QStringLiteral(LM740_TEST_DATA_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::unique_ptr<Show> loaded(Format format, const QByteArray &text)
{
    auto show = std::make_unique<Show>();
    show->setShowDefaults();
    files::TextFile file;
    QString why;
    if (!files::readTextFile(format, text, &file, &why))
        qWarning() << why;
    files::storeInShow(file, *show);
    return show;
}

} // namespace

class TstTextFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void filesAreByteExactAndReadBack_data();
    void filesAreByteExactAndReadBack();
    void numbersAreReadLeniently_data();
    void numbersAreReadLeniently();
    void brokenFilesAreRefused_data();
    void brokenFilesAreRefused();
    void valuesAreStoredByTheirRules();
    void changesAreSaid_data();
    void changesAreSaid();
    void suffixIsAppendedCaseSensitively();
    void savesReplaceWholeOrNotAtAll();
};

void TstTextFiles::filesAreByteExactAndReadBack_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<Format>("format");
    QTest::addColumn<int>("lamps");
    QTest::newRow("scene example") << QString("example.scn") << Format::Scene << 2;
    QTest::newRow("chaser example") << QString("example.chr") << Format::Chaser << 2;
    for (const int lamps : {2, 170}) {
        const QString n = QString::number(lamps);
        QTest::newRow(qPrintable("scene " + n)) << "scene_" + n + ".scn" << Format::Scene << lamps;
        QTest::newRow(qPrintable("scenes " + n))
            << "scenes_" + n + ".scs" << Format::Scenes << lamps;
        QTest::newRow(qPrintable("chaser " + n))
            << "chaser_" + n + ".chr" << Format::Chaser << lamps;
        QTest::newRow(qPrintable("chasers " + n))
            << "chasers_" + n + ".chs" << Format::Chasers << lamps;
        QTest::newRow(qPrintable("program " + n))
            << "program_" + n + ".pgm" << Format::Program << lamps;
    }
    QTest::newRow("programs 2") << QString("programs_2.pgs") << Format::Programs << 2;
}

void TstTextFiles::filesAreByteExactAndReadBack()
{
    QFETCH(QString, file);
    QFETCH(Format, format);
    QFETCH(int, lamps);
    const auto show = file.startsWith(QLatin1String("example")) ? exampleShow() : ruleShow();
    const QByteArray expected = dataFile(file);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(files::writeTextFile(format, *show, lamps), expected);

    files::TextFile read;
    QVERIFY(files::readTextFile(format, expected, &read));
    QCOMPARE(read.lamps(), lamps);
    // Read into a fresh show, the records carry the file's values for the file's lamps, and
    // written again they give the same bytes.
    const auto back = loaded(format, expected);
    QCOMPARE(files::writeTextFile(format, *back, lamps), expected);
    if (format == Format::Program)
        QCOMPARE(back->programs[0].scenes[12].scene_laststep, 1);
}

void TstTextFiles::numbersAreReadLeniently_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<quint32>>("numbers");
    QTest::addColumn<int>("firstTooLarge");
    QTest::newRow("labels and marks vanish")
        << QByteArray("Values:6\r\nNext scene ##\r\n\r\n7") << QList<quint32>{6, 7} << -1;
    QTest::newRow("minus lost, word digits join")
        << QByteArray("-5 a1b2\t3\v4\f5") << QList<quint32>{5, 12, 3, 4, 5} << -1;
    QTest::newRow("Latin-1 spaces split") << QByteArray("1\x85"
                                                        "2\xA0"
                                                        "3")
                                          << QList<quint32>{1, 2, 3} << -1;
    QTest::newRow("other bytes join") << QByteArray("1\x01"
                                                    "2\xFF"
                                                    "3")
                                      << QList<quint32>{123} << -1;
    QTest::newRow("32-bit limit") << QByteArray("00004294967295 4294967296 1")
                                  << QList<quint32>{4294967295u, 0, 1} << 1;
    QTest::newRow("far too long") << QByteArray(100, '9') << QList<quint32>{0} << 0;
    QTest::newRow("nothing") << QByteArray(" \r\n-- ") << QList<quint32>{} << -1;
}

void TstTextFiles::numbersAreReadLeniently()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<quint32>, numbers);
    QFETCH(int, firstTooLarge);
    const files::Numbers read = files::readNumbers(text);
    QCOMPARE(QList<quint32>(read.values.begin(), read.values.end()), numbers);
    QCOMPARE(read.firstTooLarge, firstTooLarge);
}

void TstTextFiles::brokenFilesAreRefused_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<QByteArray>("text");
    QTest::newRow("empty") << Format::Scene << QByteArray();
    QTest::newRow("labels only") << Format::Chaser << QByteArray("ChaserValues:\r\nChaser_time");
    QTest::newRow("scene: 6 announced, 8 held") << Format::Scene << QByteArray("6 1 2 3 4 5 6 7 8");
    QTest::newRow("scene: 511 values") << Format::Scene << "511 " + QByteArray("1 ").repeated(511);
    QTest::newRow("scene: 33-bit value") << Format::Scene << QByteArray("6 1 2 3 4 5 8589934592");
    QTest::newRow("scene: only a 33-bit count") << Format::Scene << QByteArray("4294967296");
    QTest::newRow("scenes: count wraps in 32 bits")
        << Format::Scenes << QByteArray("510 8421505 1 2 3"); // 510 * 8421505 + 2 = 2^32 + 3
    QTest::newRow("scenes: 11 scenes") << Format::Scenes << "3 11 " + QByteArray("1 ").repeated(33);
    QTest::newRow("scenes: one number") << Format::Scenes << QByteArray("3");
    QTest::newRow("chaser: colour line missing")
        << Format::Chaser << QByteArray("6 1 2 1 1 50 1 2 3 4 5");
    QTest::newRow("chaser: huge colour")
        << Format::Chaser << QByteArray("3 1 2 1 1 50 1 2 99999999999");
    QTest::newRow("chasers: 5 chasers")
        << Format::Chasers << "0 5 " + QByteArray("1 ").repeated(25);
    QTest::newRow("chasers: huge header") << Format::Chasers << QByteArray("0 4294967296");
    QTest::newRow("program: 32 steps")
        << Format::Program << "0 32 " + QByteArray("1 ").repeated(96);
    QTest::newRow("program: two numbers") << Format::Program << QByteArray("0 0");
    QTest::newRow("program: count wraps")
        << Format::Program << QByteArray("510 4294967295 1 2 3"); // 513 * (2^32 - 1) + 2
    QTest::newRow("programs: 5 programs")
        << Format::Programs << "0 1 5 " + QByteArray("1 ").repeated(15);
    QTest::newRow("programs: one number missing")
        << Format::Programs << "3 1 2 " + QByteArray("1 ").repeated(11);
    // Records of no values match any count; only the show's capacity stops billions of them.
    QTest::newRow("scenes: 2^32-1 empty scenes") << Format::Scenes << QByteArray("0 4294967295");
    QTest::newRow("programs: 2^32-1 empty programs")
        << Format::Programs << QByteArray("0 0 4294967295");
}

void TstTextFiles::brokenFilesAreRefused()
{
    QFETCH(Format, format);
    QFETCH(QByteArray, text);
    files::TextFile file;
    QString why;
    QVERIFY(!files::readTextFile(format, text, &file, &why));
    QVERIFY(!why.isEmpty());
}

void TstTextFiles::valuesAreStoredByTheirRules()
{
    // Any first line with the digits 6 announces six values; a value above 255 makes its lamp
    // black; joined on one line the numbers read the same.
    auto show = loaded(Format::Scene, "Lamps 6\r\n255 256 0 1 2 3");
    QVERIFY(!show->sceneColors[0][0].isValid());
    QCOMPARE(show->sceneColors[0][1], QColor(1, 2, 3));

    // 8-bit fields keep the low 8 bits: a cross-fade of 300 is 44; the time is kept whole.
    show = loaded(Format::Chaser, "3 75000 258 1 1 300 9 8 7");
    QCOMPARE(show->chasers[0].xfade, 44);
    QCOMPARE(show->chasers[0].direction, 2);
    QCOMPARE(show->chasers[0].time, 75000u);

    // Leftover values stay in their record: scene 1 starts with its own first triple.
    show = loaded(Format::Scenes, "4 2 1 2 3 9 4 5 6 9");
    QCOMPARE(show->sceneColors[0][0], QColor(1, 2, 3));
    QCOMPARE(show->sceneColors[1][0], QColor(4, 5, 6));
    QCOMPARE(show->sceneColors[0][1], QColor(Qt::black)); // beyond the file's lamps: untouched
    show = loaded(Format::Chasers, "4 2 100 1 1 1 10 1 2 3 9 200 2 1 1 20 4 5 6 9");
    QCOMPARE(show->chasers[1].colors[0], QColor(4, 5, 6));
    QCOMPARE(show->chasers[1].time, 200u);
    QCOMPARE(show->chasers[2], exampleShow()->chasers[2]); // not in the file: as it was

    // A program file of 2 steps replaces those steps only; a last-step mark of 2 loads as 2.
    show = loaded(Format::Program, "4 2 100 10 2 1 2 3 9 200 20 0 4 5 6 9");
    QCOMPARE(show->programs[0].scenes[0].scene_laststep, 2);
    QCOMPARE(show->programs[0].scenes[1].colors[0], QColor(4, 5, 6));
    QCOMPARE(show->programs[0].scenes[2], exampleShow()->programs[0].scenes[2]);
    show = loaded(Format::Programs, "3 1 2 100 10 0 1 2 3 200 20 1 4 5 6");
    QCOMPARE(show->programs[1].scenes[0].colors[0], QColor(4, 5, 6));
    QCOMPARE(show->programs[1].scenes[0].scene_time, 200u);

    // The single-record files go into the current record.
    show->actualSceneNumber = 4;
    show->actualProgramNumber = 3;
    files::TextFile file;
    QVERIFY(files::readSceneFile("3 7 8 9", &file));
    files::storeInShow(file, *show);
    QVERIFY(files::readProgramFile("3 1 500 5 0 7 8 9", &file));
    files::storeInShow(file, *show);
    QCOMPARE(show->sceneColors[4][0], QColor(7, 8, 9));
    QCOMPARE(show->programs[3].scenes[0].scene_time, 500u);
    QCOMPARE(show->sceneColors[0][0], QColor(Qt::black));
}

void TstTextFiles::changesAreSaid_data()
{
    QTest::addColumn<Format>("format");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("said"); // the changes in words, the current records being the third
    QTest::newRow("8-bit fields") << Format::Chaser << QByteArray("3 1500 258 1 1 300 9 8 7")
                                  << "chaser 3 direction 258 stored as 2; chaser 3 cross-fade 300 "
                                     "stored as 44";
    QTest::newRow("colour above 255") << Format::Scenes << QByteArray("3 2 1 2 3 255 256 0")
                                      << "scene 2 lamp 1 colour 255 256 0 stored as black";
    QTest::newRow("sign lost, digits joined")
        << Format::Scene << QByteArray("6 -5 1x2 3 4 5 +6")
        << "scene 3 lamp 1 red -5 stored as 5; scene 3 lamp 1 green 1x2 stored as 12";
    QTest::newRow("times in tenths of 16 bits")
        << Format::Program << QByteArray("3 2 150 5 0 7 8 9 70000 5 257 1 2 3")
        << "program 3 step 1 time 150 ms stored as 100 ms; program 3 step 2 time 70000 ms stored "
           "as 4400 ms; program 3 step 2 last step 257 stored as 1";
    QTest::newRow("programs by their place")
        << Format::Programs << QByteArray("0 1 2 100 10 0 100 300 0")
        << "header lamp count 0 stored as 1; program 2 step 1 cross-fade 300 stored as 44";
    QTest::newRow("chasers by their place")
        << Format::Chasers << QByteArray("0 2 100 1 1 1 1 1.5 1 1 1 1")
        << "header lamp count 0 stored as 1; chaser 2 time 1.5 ms stored as 15 ms; chaser 2 time "
           "15 ms stored as 0 ms";
    QTest::newRow("header") << Format::Scene << QByteArray("Values:-3 1 2 3")
                            << "header number 1 Values:-3 stored as 3";
    QTest::newRow("no lamp") << Format::Scene << QByteArray("2 1 2")
                             << "header lamp count 0 stored as 1";
    QTest::newRow("labels, marks, zeros and plus signs")
        << Format::Program
        << QByteArray("SceneValues:3\r\nNumberOfScenes:1\r\nNext scene #\r\n"
                      "scene_time 60000 -0 +1 0 0 255")
        << "";
    QTest::newRow("a file of the writer") << Format::Chaser << dataFile("example.chr") << "";
}

void TstTextFiles::changesAreSaid()
{
    QFETCH(Format, format);
    QFETCH(QByteArray, text);
    QFETCH(QString, said);
    Show show;
    show.setShowDefaults();
    show.actualSceneNumber = show.actualChaserNumber = show.actualProgramNumber = 2;
    files::TextFile file;
    QVERIFY(files::readTextFile(format, text, &file));
    QStringList described;
    for (const files::Change &c : file.changes)
        described << files::describeChange(file, c, show);
    QCOMPARE(described.join("; "), said);
    // One line names the first few.
    if (described.size() > 1)
        QCOMPARE(files::namedChanges(described, 1),
                 described[0] + QString(" and %1 more").arg(described.size() - 1));
}

void TstTextFiles::suffixIsAppendedCaseSensitively()
{
    QCOMPARE(files::withSuffix("show", ".scn"), QString("show.scn"));
    QCOMPARE(files::withSuffix("show.scn", ".scn"), QString("show.scn"));
    QCOMPARE(files::withSuffix("show.SCN", ".scn"), QString("show.SCN.scn"));
}

void TstTextFiles::savesReplaceWholeOrNotAtAll()
{
    QTemporaryDir dir;
    const QString name = dir.filePath("show.scn");
    QVERIFY(files::writeWholeFile(name, "old"));
    QString error;
    QVERIFY(!files::writeWholeFile(dir.filePath("missing/show.scn"), "new", &error));
    QVERIFY(!error.isEmpty());
    QByteArray bytes;
    QVERIFY(files::readWholeFile(name, &bytes));
    QCOMPARE(bytes, QByteArray("old"));
    QVERIFY(!files::readWholeFile(dir.filePath("missing.scn"), &bytes, &error));
    // A file far larger than any of ours is not read at all.
    QFile huge(dir.filePath("huge.scn"));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(files::kMaxFileSize + 1));
    QVERIFY(!files::readWholeFile(huge.fileName(), &bytes, &error));
    QCOMPARE(bytes, QByteArray("old"));
}

QTEST_GUILESS_MAIN(TstTextFiles)
#include "tst_text_files.moc"
