// Keeping the show through the window: every save command and its load give the show back, broken
// files are refused with a message and change nothing, the fewer-lamps question only goes on for
// Yes, and saves that cannot be written are reported.
#include "file_size_limit.h"
#include "my_spin.h"
#include "recovery_file.h"
#include "settings_image.h"
#include "settings_layout.h"
#include "super_rgb.h"
#include "window_rig.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QPushButton>
#include <QtTest>

#include <memory>

#include <sys/stat.h>

using namespace lm740;

namespace {

using Slot = void (MainWindow::*)(bool);
enum Tab { ScenesTab, ChasersTab, ProgramsTab };
enum Carried { OneScene, AllScenes, OneChaser, AllChasers, OneProgram, AllPrograms, Everything };

void fill(Show &show)
{
    for (int lamp = 0; lamp < kMaxLamps; ++lamp) {
        const auto color = [lamp](int record) {
            return QColor((37 * record + 3 * lamp) % 256, (11 * record + 5 * lamp + 1) % 256,
                          (5 * record + 7 * lamp + 2) % 256);
        };
        for (int s = 0; s < kSceneCount; ++s)
            show.sceneColors[s][lamp] = color(s);
        for (int c = 0; c < kChaserCount; ++c)
            show.chasers[c].colors[lamp] = color(10 + c);
        for (int p = 0; p < kProgramCount; ++p)
            for (int s = 0; s < kProgramSteps; ++s)
                show.programs[p].scenes[s].colors[lamp] = color(20 + 31 * p + s);
    }
    for (int c = 0; c < kChaserCount; ++c)
        show.chasers[c] = {show.chasers[c].colors, quint32(1550 + 1000 * c),
                           quint8(10 + c),         quint8(1 + c % 2),
                           quint8(1 + c),          quint8(2 + c)};
    for (int p = 0; p < kProgramCount; ++p)
        for (int s = 0; s < kProgramSteps; ++s)
            show.programs[p].scenes[s] = {show.programs[p].scenes[s].colors,
                                          quint32(100 * s + 1000 * p + 150),
                                          quint8((3 * s + p) % 101), quint8(s == 12 + p ? 1 : 0)};
}

std::unique_ptr<Show> copyOf(const Show &show)
{
    return std::make_unique<Show>(show);
}

// The records as far as `lamps` reach, the lamps beyond black, times in whole 100 ms if asked.
std::unique_ptr<Show> trimmed(const Show &show, int lamps, bool whole100ms)
{
    auto t = copyOf(show);
    const auto trim = [lamps](ColorArray &colors) {
        for (int lamp = lamps; lamp < kColorSlots; ++lamp)
            colors[lamp] = QColor(Qt::black);
    };
    for (ColorArray &scene : t->sceneColors)
        trim(scene);
    for (t_chaser &chaser : t->chasers) {
        trim(chaser.colors);
        chaser.time = whole100ms ? chaser.time / 100 * 100 : chaser.time;
    }
    for (t_program &program : t->programs)
        for (t_program_scene &step : program.scenes) {
            trim(step.colors);
            step.scene_time = whole100ms ? step.scene_time / 100 * 100 : step.scene_time;
        }
    return t;
}

// A fresh show with what a file of `carried` took from `saved`.
std::unique_ptr<Show> expectedAfterLoad(const Show &saved, Carried carried)
{
    auto e = std::make_unique<Show>();
    e->setShowDefaults();
    switch (carried) {
    case OneScene:
        e->sceneColors[saved.actualSceneNumber] = saved.sceneColors[saved.actualSceneNumber];
        break;
    case AllScenes:
        e->sceneColors = saved.sceneColors;
        break;
    case OneChaser:
        e->chasers[saved.actualChaserNumber] = saved.chasers[saved.actualChaserNumber];
        break;
    case AllChasers:
        e->chasers = saved.chasers;
        break;
    case OneProgram:
        e->programs[saved.actualProgramNumber] = saved.programs[saved.actualProgramNumber];
        break;
    case AllPrograms:
        e->programs = saved.programs;
        break;
    case Everything:
        e->sceneColors = saved.sceneColors;
        e->chasers = saved.chasers;
        e->programs = saved.programs;
        break;
    }
    return e;
}

// Stands for a FIFO in place of the file.
const QByteArray kFifo("\0fifo", 5);

bool sameItems(const Show &a, const Show &b)
{
    return a.sceneColors == b.sceneColors && a.chasers == b.chasers && a.programs == b.programs;
}

// Program 1, step 13: the step with that program's last-step mark.
void toTab(MainWindow &w, int tab)
{
    w.TabWidget->setCurrentIndex(tab);
    if (tab == ProgramsTab) {
        w.widgets().TabProgramProgram->setCurrentIndex(1);
        w.widgets().programSteps(1)->button(13)->click();
    }
}

std::vector<QColor> panelColors(MainWindow &w)
{
    std::vector<QColor> colors(kColorSlots);
    w.scene()->getColors(colors.data(), uint(w.document().show().ledsNumber));
    colors.resize(std::size_t(w.document().show().ledsNumber));
    return colors;
}

} // namespace

Q_DECLARE_METATYPE(Slot)

class TstMainWindowFiles : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void savedShowLoadsBack_data();
    void savedShowLoadsBack();
    void brokenFilesChangeNothing_data();
    void brokenFilesChangeNothing();
    void onlyYesLoadsFewerLamps_data();
    void onlyYesLoadsFewerLamps();
    void escapeAndClosingAnswerNo();
    void failedSavesAreReported_data();
    void failedSavesAreReported();
    void addedSuffixAsksBeforeReplacing_data();
    void addedSuffixAsksBeforeReplacing();
    void saveTakesThePanelsEditsAndItsHeader_data();
    void saveTakesThePanelsEditsAndItsHeader();
    void changedValuesAreSaid_data();
    void changedValuesAreSaid();
    void writesOverTheShowsFileAskFirst_data();
    void writesOverTheShowsFileAskFirst();
    void fileDialogsReadNoFile();

private:
    QTemporaryDir m_dir;
};

void TstMainWindowFiles::savedShowLoadsBack_data()
{
    QTest::addColumn<Slot>("save");
    QTest::addColumn<Slot>("load");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<int>("carried");
    QTest::newRow("scene") << &MainWindow::Save_Scene << &MainWindow::Load_Scene << 0 << ".scn"
                           << int(OneScene);
    QTest::newRow("scenes") << &MainWindow::Save_Scenes << &MainWindow::Load_Scenes << 0 << ".scs"
                            << int(AllScenes);
    QTest::newRow("chaser") << &MainWindow::Save_Chaser << &MainWindow::Load_Chaser << 1 << ".chr"
                            << int(OneChaser);
    QTest::newRow("chasers") << &MainWindow::Save_Chasers << &MainWindow::Load_Chasers << 1
                             << ".chs" << int(AllChasers);
    QTest::newRow("program") << &MainWindow::Save_Program << &MainWindow::Load_Program << 2
                             << ".pgm" << int(OneProgram);
    QTest::newRow("programs") << &MainWindow::Save_Programs << &MainWindow::Load_Programs << 2
                              << ".pgs" << int(AllPrograms);
    QTest::newRow("settings on programs")
        << &MainWindow::Save << &MainWindow::Load << 2 << ".set" << int(Everything);
    QTest::newRow("settings on chasers")
        << &MainWindow::Save << &MainWindow::Load << 1 << ".set" << int(Everything);
    QTest::newRow("generated settings")
        << &MainWindow::Generate_set_file << &MainWindow::Load << 0 << ".set" << int(Everything);
}

void TstMainWindowFiles::savedShowLoadsBack()
{
    QFETCH(Slot, save);
    QFETCH(Slot, load);
    QFETCH(int, tab);
    QFETCH(QString, suffix);
    QFETCH(int, carried);
    WindowRig rig;
    MainWindow &w = *rig.window;
    toTab(w, tab);
    fill(w.document().show());
    w.document().setGlobals(25, w.document().show().sceneTime);
    w.widgets().ScenesTimeSpin->setValue(7);

    // Saved under a name without its suffix, which the save appends.
    const QString name = m_dir.filePath(QTest::currentDataTag());
    rig.prompts.fileNames << name;
    (w.*save)(false);
    QCOMPARE(rig.prompts.calls.size(), 1);
    QCOMPARE(rig.prompts.calls[0].dir, QString("./"));
    QVERIFY(!rig.prompts.calls[0].hasParent);
    // The command is its dialog and then the path API, which writes to the name as it is given.
    const QString again = name + ".again";
    QVERIFY(w.files().save(*ShowFiles::typeOf(name + suffix), again,
                           QTest::currentDataTag() == QByteArray("generated settings")));
    QByteArray bytes[2];
    QVERIFY(files::readWholeFile(again, &bytes[0]) &&
            files::readWholeFile(name + suffix, &bytes[1]));
    QCOMPARE(bytes[0], bytes[1]);
    const auto saved = copyOf(w.document().show());

    // A fresh show of 30 lamps, with edits in the panel that a load must not write back.
    w.document().show().setShowDefaults();
    w.document().setGlobals(30, w.document().show().sceneTime);
    w.widgets().ScenesTimeSpin->setValue(1);
    ColorArray white;
    white.fill(QColor(Qt::white));
    w.scene()->setColors(white.data(), 30);
    w.document().keepAll(); // set up as the test's starting point, nothing to lose

    rig.prompts.fileNames << name + suffix;
    rig.prompts.answers << QMessageBox::Yes; // 25 lamps are fewer than 30
    (w.*load)(false);
    QCOMPARE(w.document().show().ledsNumber, 25);
    QCOMPARE(w.widgets().LedsNumberSpin->value(), 25);
    QCOMPARE(w.TabWidget->currentIndex(), tab);
    const bool image = carried == Everything;
    QVERIFY(sameItems(*trimmed(w.document().show(), 25, false),
                      *trimmed(*expectedAfterLoad(*saved, Carried(carried)), 25, image)));
    if (image)
        QCOMPARE(w.widgets().ScenesTimeSpin->value(), 7);

    // The panel shows the loaded item, with a program step's time, cross-fade and mark, so that
    // moving on writes the loaded values back, not the old ones.
    const auto loaded = copyOf(w.document().show());
    if (tab == ProgramsTab) {
        const t_program_scene &step = w.document().show().programs[1].scenes[13];
        QCOMPARE(w.scene()->getSceneTime(), int(step.scene_time));
        QCOMPARE(w.scene()->getScenexFade(), int(step.scene_xfade));
        QCOMPARE(w.scene()->getLastStep(), 1);
        w.widgets().programSteps(1)->button(0)->click();
    } else {
        w.TabWidget->setCurrentIndex(tab == ScenesTab ? ChasersTab : ScenesTab);
    }
    QVERIFY(sameItems(w.document().show(), *loaded));
}

void TstMainWindowFiles::brokenFilesChangeNothing_data()
{
    QTest::addColumn<Slot>("load");
    QTest::addColumn<int>("tab");
    QTest::addColumn<QByteArray>("content"); // no file at all when null
    QTest::addColumn<QString>("message");
    const QString corrupted = QStringLiteral("File corrupted error");
    const auto numbers = [](const char *head, int ones) {
        return QByteArray(head) + QByteArray("1\r\n").repeated(ones);
    };
    // A file that cannot be read is not called corrupted: the message says why.
    QTest::newRow("no scene file")
        << &MainWindow::Load_Scene << 0 << QByteArray() << "No such file or directory";
    QTest::newRow("chasers from a fifo")
        << &MainWindow::Load_Chasers << 1 << kFifo << "it is not a regular file";
    QTest::newRow("settings from a fifo")
        << &MainWindow::Load << 2 << kFifo << "it is not a regular file";
    QTest::newRow("empty scene") << &MainWindow::Load_Scene << 0 << QByteArray("") << corrupted;
    QTest::newRow("scene 6 of 8") << &MainWindow::Load_Scene << 0 << numbers("Values:6\r\n", 8)
                                  << corrupted;
    QTest::newRow("scene 511") << &MainWindow::Load_Scene << 0 << numbers("Values:511\r\n", 511)
                               << corrupted;
    QTest::newRow("11 scenes") << &MainWindow::Load_Scenes << 0
                               << numbers("SceneValues:3\r\nNumberOfScenes:11\r\n", 33)
                               << corrupted;
    QTest::newRow("scenes without end")
        << &MainWindow::Load_Scenes << 0 << QByteArray("SceneValues:0 NumberOfScenes:4294967295")
        << corrupted;
    QTest::newRow("chaser line missing")
        << &MainWindow::Load_Chaser << 1 << numbers("ChaserValues:90\r\n", 94) << corrupted;
    QTest::newRow("chaser 33-bit colour")
        << &MainWindow::Load_Chaser << 1 << numbers("ChaserValues:3\r\n", 7) + "8589934592"
        << corrupted;
    QTest::newRow("5 chasers") << &MainWindow::Load_Chasers << 1
                               << numbers("Values:0\r\nNumberOfChasers:5\r\n", 25) << corrupted;
    QTest::newRow("32 steps") << &MainWindow::Load_Program << 2
                              << numbers("SceneValues:0\r\nNumberOfScenes:32\r\n", 96) << corrupted;
    QTest::newRow("late 33-bit step colour")
        << &MainWindow::Load_Program << 2
        << numbers("SceneValues:3\r\nNumberOfScenes:2\r\n", 11) + "4294967296" << corrupted;
    QTest::newRow("programs one short")
        << &MainWindow::Load_Programs << 2
        << numbers("SceneValues:3 NumberOfScenes:1 NumberOfPrograms:2\r\n", 11) << corrupted;
    QTest::newRow("short settings")
        << &MainWindow::Load << 0 << QByteArray(layout::kImageSize - 1, '\x05') << "131071 bytes";
    QTest::newRow("long settings")
        << &MainWindow::Load << 2 << QByteArray(layout::kImageSize + 1, '\x05') << "131073 bytes";
    QTest::newRow("no settings file")
        << &MainWindow::Load << 1 << QByteArray() << "could not be read";
}

void TstMainWindowFiles::brokenFilesChangeNothing()
{
    QFETCH(Slot, load);
    QFETCH(int, tab);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    WindowRig rig;
    MainWindow &w = *rig.window;
    toTab(w, tab);
    fill(w.document().show());
    w.document().setGlobals(20, w.document().show().sceneTime);
    w.document().keepAll();
    const auto before = copyOf(w.document().show());
    const std::vector<QColor> panel = panelColors(w);

    const QString name = m_dir.filePath(QTest::currentDataTag());
    if (content == kFifo) {
        QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0644), 0);
    } else if (!content.isNull()) {
        QFile file(name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    rig.prompts.fileNames << name;
    rig.prompts.answers << QMessageBox::Yes; // should anything ask
    (w.*load)(false);

    QCOMPARE(rig.prompts.calls.size(), 2);
    const PromptCall &box = rig.prompts.calls[1];
    QCOMPARE(box.kind, QString("warning"));
    QVERIFY(!box.hasParent);
    QCOMPARE(box.title, QString("Error"));
    QVERIFY2(box.text.contains(message), qPrintable(box.text));
    QVERIFY(sameItems(w.document().show(), *before));
    QCOMPARE(w.document().show().ledsNumber, 20);
    QVERIFY(panelColors(w) == panel);
}

void TstMainWindowFiles::onlyYesLoadsFewerLamps_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("loads");
    QTest::newRow("yes") << int(QMessageBox::Yes) << true;
    QTest::newRow("no") << int(QMessageBox::No) << false;
    QTest::newRow("escape") << int(QMessageBox::Escape) << false;
    QTest::newRow("closed") << int(QMessageBox::NoButton) << false;
}

void TstMainWindowFiles::onlyYesLoadsFewerLamps()
{
    QFETCH(int, answer);
    QFETCH(bool, loads);
    WindowRig rig;
    MainWindow &w = *rig.window;
    const QString name = m_dir.filePath("two.scn");
    QVERIFY(files::writeWholeFile(name, "Values:6\r\n255\r\n0\r\n0\r\n0\r\n128\r\n0\r\n"));
    rig.prompts.fileNames << name;
    rig.prompts.answers << QMessageBox::StandardButton(answer);
    w.Load_Scene(false);

    const PromptCall &question = rig.prompts.calls.value(1);
    QCOMPARE(question.kind, QString("question"));
    QVERIFY(question.hasParent);
    QCOMPARE(question.title, QString("Remove leds? -- Lm740"));
    QCOMPARE(question.buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(question.defaultButton, QMessageBox::No);
    QCOMPARE(w.document().show().ledsNumber, loads ? 2 : 30);
    QCOMPARE(w.document().show().sceneColors[0][1], loads ? QColor(0, 128, 0) : QColor(Qt::black));
}

void TstMainWindowFiles::escapeAndClosingAnswerNo()
{
    // The real question box: neither Escape nor closing it may carry out the destructive choice.
    for (const bool escape : {true, false}) {
        QTimer::singleShot(0, this, [escape] {
            QWidget *box = QApplication::activeModalWidget();
            QVERIFY(box);
            if (escape)
                QTest::keyClick(box, Qt::Key_Escape);
            else
                box->close();
        });
        QtPrompts real;
        QCOMPARE(real.question(nullptr, "Remove leds? -- Lm740", "Continue operation?",
                               QMessageBox::Yes | QMessageBox::No, QMessageBox::No),
                 QMessageBox::No);
    }
}

void TstMainWindowFiles::failedSavesAreReported_data()
{
    QTest::addColumn<Slot>("save");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("reason");
    QTest::newRow("scene, no folder") << &MainWindow::Save_Scene << "no such folder/show"
                                      << "No such file or directory";
    QTest::newRow("programs, no folder") << &MainWindow::Save_Programs << "no such folder/show"
                                         << "No such file or directory";
    QTest::newRow("settings, no folder") << &MainWindow::Save << "no such folder/show"
                                         << "No such file or directory";
    // The disk fills up: the file that was there stays whole.
    QTest::newRow("scene, full") << &MainWindow::Save_Scene << "full.scn"
                                 << "File too large";
    QTest::newRow("programs, full") << &MainWindow::Save_Programs << "full.pgs"
                                    << "File too large";
    QTest::newRow("settings, full") << &MainWindow::Save << "full.set"
                                    << "File too large";
    QTest::newRow("chasers onto a folder") << &MainWindow::Save_Chasers << "folder.chs"
                                           << "it is not a regular file";
    QTest::newRow("settings onto a fifo") << &MainWindow::Generate_set_file << "fifo.set"
                                          << "it is not a regular file";
}

void TstMainWindowFiles::failedSavesAreReported()
{
    QFETCH(Slot, save);
    QFETCH(QString, name);
    QFETCH(QString, reason);
    WindowRig rig;
    MainWindow &w = *rig.window;
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    const QByteArray old(1000, 'o');
    if (name.startsWith("full"))
        QVERIFY(files::writeWholeFile(path, old));
    if (name.startsWith("folder"))
        QVERIFY(QDir(dir.path()).mkdir(name));
    if (name.startsWith("fifo"))
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
    rig.prompts.fileNames << path;
    {
        FileSizeLimit full(100);
        (w.*save)(false);
    }
    QCOMPARE(rig.prompts.calls.size(), 2);
    const PromptCall &box = rig.prompts.calls[1];
    QCOMPARE(box.kind, QString("warning"));
    QCOMPARE(box.title, QString("Error"));
    QVERIFY(box.text.startsWith("The file could not be saved:\n" + path));
    QVERIFY2(box.text.endsWith(": " + reason), qPrintable(box.text));
    const QStringList left =
        QDir(dir.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    QCOMPARE(left, name.contains('/') ? QStringList() : QStringList{name});
    if (name.startsWith("full")) {
        QByteArray bytes;
        QVERIFY(files::readWholeFile(path, &bytes));
        QCOMPARE(bytes, old);
    }
}

void TstMainWindowFiles::addedSuffixAsksBeforeReplacing_data()
{
    QTest::addColumn<Slot>("save");
    QTest::addColumn<QString>("suffix");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("answer"); // -1: nothing is asked
    QTest::addColumn<bool>("replaced");
    QTest::newRow("scene, yes") << &MainWindow::Save_Scene << ".scn"
                                << "show" << int(QMessageBox::Yes) << true;
    QTest::newRow("scene, no") << &MainWindow::Save_Scene << ".scn"
                               << "show" << int(QMessageBox::No) << false;
    QTest::newRow("programs, closed") << &MainWindow::Save_Programs << ".pgs"
                                      << "show" << int(QMessageBox::NoButton) << false;
    QTest::newRow("settings, no") << &MainWindow::Save << ".set"
                                  << "show" << int(QMessageBox::No) << false;
    QTest::newRow("generated, yes") << &MainWindow::Generate_set_file << ".set"
                                    << "show" << int(QMessageBox::Yes) << true;
    QTest::newRow("controller's settings, no") << &MainWindow::File_Read_Settings << ".set"
                                               << "show" << int(QMessageBox::No) << false;
    // The file dialog asked about this name already.
    QTest::newRow("suffix typed") << &MainWindow::Save_Chaser << ".chr"
                                  << "show.chr" << -1 << true;
}

void TstMainWindowFiles::addedSuffixAsksBeforeReplacing()
{
    QFETCH(Slot, save);
    QFETCH(QString, suffix);
    QFETCH(QString, typed);
    QFETCH(int, answer);
    QFETCH(bool, replaced);
    WindowRig rig;
    MainWindow &w = *rig.window;
    QTemporaryDir dir;
    const QString path = dir.filePath("show" + suffix);
    QVERIFY(files::writeWholeFile(path, "old"));
    rig.prompts.fileNames << dir.filePath(typed);
    if (answer >= 0)
        rig.prompts.answers << QMessageBox::StandardButton(answer);
    (w.*save)(false);

    if (answer >= 0) {
        const PromptCall &question = rig.prompts.calls.value(1);
        QCOMPARE(question.kind, QString("question"));
        QCOMPARE(question.title, QString("Replace file? -- Lm740"));
        QCOMPARE(question.text, path + " already exists.\nDo you want to replace it?");
        QCOMPARE(question.defaultButton, QMessageBox::No);
    }
    QByteArray bytes;
    QVERIFY(files::readWholeFile(path, &bytes));
    QCOMPARE(bytes != "old", replaced);
    if (!replaced) // and nothing else happened
        QCOMPARE(rig.prompts.calls.size(), 2);
}

void TstMainWindowFiles::saveTakesThePanelsEditsAndItsHeader_data()
{
    QTest::addColumn<Slot>("save");
    QTest::addColumn<int>("byte7");
    QTest::addColumn<int>("colorMode");
    QTest::newRow("save") << &MainWindow::Save << 2 << 0;
    QTest::newRow("generated") << &MainWindow::Generate_set_file << 0 << 1;
}

void TstMainWindowFiles::saveTakesThePanelsEditsAndItsHeader()
{
    QFETCH(Slot, save);
    QFETCH(int, byte7);
    QFETCH(int, colorMode);
    WindowRig rig;
    MainWindow &w = *rig.window;
    w.widgets().sceneButtons->button(4)->click();
    // Lamp 3 edited in the panel, and the save comes before anything else happens.
    w.scene()->lamp(3)->setRGB(12, 34, 56);
    QTemporaryDir dir;
    rig.prompts.fileNames << dir.filePath("show.set");
    (w.*save)(false);

    QByteArray image;
    QVERIFY(image::readSettingsFile(dir.filePath("show.set"), &image));
    auto show = std::make_unique<Show>();
    QVERIFY(image::unpackShow(image, *show, nullptr));
    QCOMPARE(show->sceneColors[4][3], QColor(12, 34, 56));
    QCOMPARE(int(quint8(image[layout::kHeaderByte7])), byte7);
    QCOMPARE(int(quint8(image[layout::kColorMode])), colorMode);
}

void TstMainWindowFiles::changedValuesAreSaid_data()
{
    QTest::addColumn<Slot>("load");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("said");
    // A time of 150 ms is kept whole by the window: only the controller counts tenths.
    QTest::newRow("chaser") << &MainWindow::Load_Chaser << QByteArray("3 150 258 1 1 300 9 8 7")
                            << "x loaded; 2 values changed: chaser 1 direction 258 stored as 2; "
                               "chaser 1 cross-fade 300 stored as 44";
    QTest::newRow("settings") << &MainWindow::Load << QByteArray(131072, 0)
                              << "x loaded; 2 values changed: lamp count 0 stored as 1; global "
                                 "scene time 0 s stored as 1 s";
    QTest::newRow("sound") << &MainWindow::Load_Scene << QByteArray("3 1 2 3") << "x loaded";
}

void TstMainWindowFiles::changedValuesAreSaid()
{
    QFETCH(Slot, load);
    QFETCH(QByteArray, content);
    QFETCH(QString, said);
    WindowRig rig;
    QFile file(m_dir.filePath("x"));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();
    rig.prompts.fileNames << file.fileName();
    rig.prompts.answers << QMessageBox::Yes; // fewer lamps
    (rig.window.get()->*load)(false);
    QCOMPARE(rig.window->desktop().confirmation(), said);
}

void TstMainWindowFiles::writesOverTheShowsFileAskFirst_data()
{
    QTest::addColumn<Slot>("keep"); // keeps the edited show in `kept`
    QTest::addColumn<QString>("kept");
    QTest::addColumn<Slot>("write"); // then writes `target` ("link...": a link to `kept`)
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("answer"); // -1: nothing is asked, and `kept` is replaced when named
    const Slot save = &MainWindow::Save, read = &MainWindow::File_Read_Settings;
    const Slot scene = &MainWindow::Save_Scene, scenes = &MainWindow::Save_Scenes;
    const int yes = QMessageBox::Yes, no = QMessageBox::No;
    QTest::newRow("read, yes") << save << "show.set" << read << "show.set" << yes;
    QTest::newRow("read, no") << save << "show.set" << read << "show.set" << no;
    QTest::newRow("by a link") << save << "show.set" << read << "link.set" << yes;
    QTest::newRow("spelt otherwise") << save << "show.set" << read << "d/../show.set" << no;
    QTest::newRow("hard link") << save << "show.set" << read << "hard.set" << no;
    QTest::newRow("renewed") << save << "show.set" << read << "show.set" << no; // by another
    QTest::newRow("elsewhere") << save << "show.set" << read << "other.set" << -1;
    QTest::newRow("another file") << save << "show.set" << read << "there.set" << -1;
    QTest::newRow("saved again") << save << "show.set" << save << "show.set" << -1;
    QTest::newRow("scenes over it") << save << "show.set" << scenes << "link.scs" << yes;
    QTest::newRow("scenes again") << scenes << "s.scs" << scenes << "s.scs" << -1;
    QTest::newRow("another scene") << scene << "s.scn" << scene << "s.scn" << no;
}

void TstMainWindowFiles::writesOverTheShowsFileAskFirst()
{
    QFETCH(Slot, keep);
    QFETCH(QString, kept);
    QFETCH(Slot, write);
    QFETCH(QString, target);
    QFETCH(int, answer);
    QTemporaryDir dir;
    WindowRig rig;
    MainWindow &w = *rig.window;
    w.recovery().start(dir.filePath("recovery"));
    QVERIFY(QDir(dir.path()).mkdir("d"));
    w.scene()->lamp(3)->setRGB(12, 34, 56);
    rig.prompts.fileNames << dir.filePath(kept);
    (w.*keep)(false);
    const QByteArray keptPath = QFile::encodeName(dir.filePath(kept));
    for (const char *link : {"link.set", "link.scs"})
        QCOMPARE(::symlink(keptPath, QFile::encodeName(dir.filePath(link))), 0);
    QCOMPARE(::link(keptPath, QFile::encodeName(dir.filePath("hard.set"))), 0);
    QVERIFY(files::writeWholeFile(dir.filePath("there.set"), "x"));
    if (QTest::currentDataTag() == QByteArray("renewed"))
        QVERIFY(QFile::remove(dir.filePath(kept)) &&
                QFile::copy(dir.filePath("hard.set"), dir.filePath(kept)));
    const auto inode = [&] {
        struct stat st = {};
        ::stat(keptPath.constData(), &st);
        return st.st_ino;
    };
    const ino_t before = inode();
    QVERIFY(!w.document().isModified());

    w.widgets().sceneButtons->button(4)->click(); // another scene, and nothing edited
    rig.prompts.calls.clear();
    rig.prompts.fileNames << dir.filePath(target);
    if (answer >= 0)
        rig.prompts.answers << QMessageBox::StandardButton(answer);
    (w.*write)(false);
    const PromptCall question = rig.prompts.calls.value(1);
    QCOMPARE(question.title == "Replace the show's file? -- Lm740", answer >= 0);
    const QString named = QFileInfo(dir.filePath(target)).canonicalFilePath();
    QCOMPARE(question.text.startsWith(named + " holds the open show"), answer >= 0);
    const bool lost = answer == QMessageBox::Yes;
    if (write == &MainWindow::File_Read_Settings) // asked before the memory is read for nothing
        QCOMPARE(rig.controller.requests().empty(), answer == QMessageBox::No);
    QCOMPARE(inode() != before, lost || (answer < 0 && target == kept));
    // Replaced, the show is kept nowhere: the title says so, Exit asks, a recovery copy is
    // there.
    QCOMPARE(w.isWindowModified(), lost);
    QCOMPARE(w.files().editsUnkept({lm740::Item::scene(9)}), lost);
    w.recovery().file()->waitForSave();
    QCOMPARE(QFile::exists(w.recovery().file()->path()), lost);
}

void TstMainWindowFiles::fileDialogsReadNoFile()
{
    // Without a suffix, only their bytes tell these two apart; a read of /proc/kmsg never ends.
    QTemporaryDir dir;
    QVERIFY(files::writeWholeFile(dir.filePath("a"), "%PDF-1.4\n"));
    QVERIFY(files::writeWholeFile(dir.filePath("b"), "text\n"));
    QStringList told;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        for (const char *name : {"a", "b"}) {
            const QFileInfo file(dir.filePath(name));
            told << dialog->iconProvider()->type(file) << dialog->iconProvider()->icon(file).name();
        }
        dialog->reject();
    });
    lm740::QtPrompts real;
    QCOMPARE(real.getOpenFileName(nullptr, "Open", dir.path(), "*"), QString());
    QCOMPARE(told.mid(0, 2), told.mid(2, 2));
}

QTEST_MAIN(TstMainWindowFiles)
#include "tst_main_window_files.moc"
