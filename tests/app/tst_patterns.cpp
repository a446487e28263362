// The window's patterns: the layout kept beside the show, the Layout and Pattern dialogs, a bake
// from the window giving lm740ctl's bytes, and the strip and the simulated controller's panel
// drawing the lamps in their cells.
#include "desktop_state.h"
#include "layout_dialog.h"
#include "layout_view.h"
#include "my_dock_widget.h"
#include "pattern_actions.h"
#include "pattern_dialog.h"
#include "simulated_lm740_view.h"
#include "window_rig.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QtTest>

using lm740::Layout;

namespace {

QByteArray bytesOf(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Each lamp that has a cell shows `color(lamp)` in the middle of that cell of `widget`.
void expectLampsInCells(QWidget *widget, const Layout &layout, int lamps,
                        const std::function<QColor(int)> &color)
{
    const QImage image = widget->grab().toImage();
    LayoutView same;
    same.resize(widget->size());
    same.setGrid(layout, lamps);
    for (int lamp = 0; lamp < lamps; ++lamp)
        if (const auto cell = layout.cellOf(lamp))
            QCOMPARE(QColor(image.pixel(same.cellRect(*cell).center())).name(), color(lamp).name());
}

PatternActions &patternsOf(MainWindow &window)
{
    return *window.findChild<PatternActions *>();
}

} // namespace

class TstPatterns : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init() { QVERIFY(m_dir.isValid()); }
    void layoutKeptWithTheShow_data();
    void layoutKeptWithTheShow();
    void windowBakesLm740ctlsBytes_data();
    void windowBakesLm740ctlsBytes();
    void previewPaintsOnlyWhatChanges_data();
    void previewPaintsOnlyWhatChanges();
    void notesCountStepsAndLamps_data();
    void notesCountStepsAndLamps();
    void layoutDialogKindsAndHands();
    void playedOnTheLayoutInStripAndSimulator();

private:
    QTemporaryDir m_dir;
};

void TstPatterns::layoutKeptWithTheShow_data()
{
    QTest::addColumn<QString>("set");      // the layout when the show is saved; empty for none
    QTest::addColumn<QByteArray>("file");  // the layout file's bytes before the save
    QTest::addColumn<QByteArray>("after"); // and then before the load ("-": removed)
    QTest::addColumn<QString>("loaded");   // the layout after loading; empty for none
    QTest::addColumn<int>("warnings");
    const QByteArray keep;
    QTest::newRow("grid kept") << "grid:10x17:serpentine" << keep << keep << "grid:10x17:serpentine"
                               << 0;
    QTest::newRow("ring kept") << "ring:12" << keep << keep << "ring:12" << 0;
    QTest::newRow("none: no file, nothing said") << "" << keep << keep << "" << 0;
    QTest::newRow("old file replaced by a strip")
        << "" << layoutToJson(*Layout::fromShape("grid:3x3", 9)) << keep << "" << 0;
    QTest::newRow("broken: strip, told once") << "grid:4x4" << keep << QByteArray("{") << "" << 1;
    QTest::newRow("missing: strip, nothing said")
        << "grid:4x4" << keep << QByteArray("-") << "" << 0;
}

void TstPatterns::layoutKeptWithTheShow()
{
    QFETCH(QString, set);
    QFETCH(QByteArray, file);
    QFETCH(QByteArray, after);
    QFETCH(QString, loaded);
    QFETCH(int, warnings);
    const QString show = m_dir.filePath(QTest::currentDataTag() + QStringLiteral(".set"));
    const QString beside = lm740::layoutFileName(show);
    const auto write = [&](const QByteArray &bytes) {
        QFile f(beside);
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    };
    {
        WindowRig rig;
        if (!file.isEmpty())
            write(file);
        patternsOf(*rig.window)
            .chooseLayout(set.isEmpty() ? std::nullopt : Layout::fromShape(set, 30));
        QCOMPARE(rig.window->document().isModified(), !set.isEmpty()); // Exit asks
        rig.prompts.fileNames << show;
        rig.window->Save(false);
        QVERIFY(!rig.window->document().isModified());
        QCOMPARE(QFile::exists(beside), !set.isEmpty() || !file.isEmpty());
    }
    if (after == "-")
        QFile::remove(beside);
    else if (!after.isEmpty())
        write(after);
    WindowRig rig;
    patternsOf(*rig.window).layout.set(Layout::fromShape("grid:2x2", 30)); // the last show's
    rig.prompts.fileNames << show;
    rig.window->Load(false);
    const Layout *now = patternsOf(*rig.window).layout.layout();
    QCOMPARE(now ? now->shape() : QString(), loaded);
    QCOMPARE(rig.prompts.calls.count(), 1 + warnings); // the file dialog, and the warnings
}

void TstPatterns::windowBakesLm740ctlsBytes_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("number");      // from 1
    QTest::addColumn<int>("step");        // the pattern's step, or the first program step
    QTest::addColumn<int>("xfade");       // program only
    QTest::addColumn<int>("fit");         // 0 sample, 1 cut
    QTest::addColumn<QString>("set");     // NAME=VALUE for a property, or empty
    QTest::addColumn<QStringList>("ctl"); // lm740ctl's options for the same
    QTest::newRow("rainbow into program 1 over 31 steps")
        << "Rainbow" << int(PatternDialog::Program) << 1 << 1 << 0 << 0 << "steps=31"
        << QStringList{"--into",  "program:1", "--step-time", "500",
                       "--xfade", "0",         "--set",       "steps=31"};
    QTest::newRow("plasma cut into program 4 from step 20")
        << "Plasma" << int(PatternDialog::Program) << 4 << 20 << 50 << 1 << ""
        << QStringList{"--into", "program:4", "--first-step", "20",    "--step-time",
                       "500",    "--xfade",   "50",           "--fit", "cut"};
    QTest::newRow("bounce upright, step 4 into scene 3")
        << "Bounce" << int(PatternDialog::Scene) << 3 << 4 << 0 << 0 << "orientation=Vertical"
        << QStringList{"--into",   "scene:3", "--step", "4",
                       "--colors", "FF0000",  "--set",  "orientation=Vertical"};
    QTest::newRow("gradient into chaser 2")
        << "Gradient" << int(PatternDialog::Chaser) << 2 << 1 << 0 << 0 << ""
        << QStringList{"--into", "chaser:2", "--colors", "FF0000,0000FF"};
    QTest::newRow("gradient of three colours into scene 1")
        << "Gradient" << int(PatternDialog::Scene) << 1 << 1 << 0 << 0 << "colors=3"
        << QStringList{"--into", "scene:1", "--colors", "FF0000,0000FF,00FF00"};
}

void TstPatterns::windowBakesLm740ctlsBytes()
{
    QFETCH(QString, script);
    QFETCH(int, target);
    QFETCH(int, number);
    QFETCH(int, step);
    QFETCH(int, xfade);
    QFETCH(int, fit);
    QFETCH(QString, set);
    QFETCH(QStringList, ctl);
    const QString base = m_dir.filePath("base.set");
    const QString fromWindow = m_dir.filePath("window.set");
    const QString fromCtl = m_dir.filePath("ctl.set");
    const QString shape = "grid:10x17:serpentine";

    WindowRig rig;
    MainWindow &w = *rig.window;
    w.document().setGlobals(170, w.document().show().sceneTime);
    rig.prompts.fileNames << base;
    w.Save(false);
    patternsOf(w).layout.set(Layout::fromShape(shape, 170));

    const auto bake = [&] {
        PatternDialog dialog(w.document(), patternsOf(w).layout.effective(170), {});
        QVERIFY(dialog.chooseScript(script));
        dialog.targetKind->setCurrentIndex(target);
        dialog.itemSpin->setValue(number);
        (target == PatternDialog::Program ? dialog.firstStepSpin : dialog.stepSpin)->setValue(step);
        dialog.xfadeSpin->setValue(xfade);
        dialog.fitCombo->setCurrentIndex(fit);
        if (set.startsWith("colors="))
            dialog.colorCount->setValue(set.section('=', 1).toInt());
        else if (QWidget *field = dialog.propertyField(set.section('=', 0, 0))) {
            if (auto *spin = qobject_cast<QSpinBox *>(field))
                spin->setValue(set.section('=', 1).toInt());
            else
                qobject_cast<QComboBox *>(field)->setCurrentText(set.section('=', 1));
        } else {
            QVERIFY(set.isEmpty());
        }
        QVERIFY2(dialog.applyButton->isEnabled(), qPrintable(dialog.note->text()));
        QVERIFY(dialog.apply());
    };
    const int steps = w.document().undoStack().count();
    bake();
    // One step undoes the whole bake; baking again gives the same.
    QCOMPARE(w.document().undoStack().count(), steps + 1);
    w.commands().undo();
    rig.prompts.fileNames << fromWindow;
    w.Save(false);
    QCOMPARE(bytesOf(fromWindow), bytesOf(base));
    bake();
    rig.prompts.fileNames << fromWindow;
    w.Save(false);

    QProcess ctlRun;
    ctlRun.start(LM740CTL_PROGRAM,
                 QStringList{"pattern", "apply", script.toLower(), "--layout", shape} + ctl +
                     QStringList{base, fromCtl});
    QVERIFY(ctlRun.waitForFinished(30000));
    QVERIFY2(ctlRun.exitCode() == 0, ctlRun.readAllStandardError().constData());
    QVERIFY(bytesOf(fromWindow) != bytesOf(base));
    QCOMPARE(bytesOf(fromWindow), bytesOf(fromCtl));
    if (set == "steps=31") // the whole program, the last step marked
        QVERIFY(w.document().show().programs[0].scenes[30].scene_laststep);
}

void TstPatterns::previewPaintsOnlyWhatChanges_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<int>("target");
    QTest::addColumn<int>("xfade");
    QTest::addColumn<int>("changes"); // in 3 s at 0.3 s a step
    QTest::newRow("steps without a fade: one picture a step") << "Rainbow" << 2 << 0 << 10;
    QTest::newRow("a full cross-fade: a picture a tick") << "Rainbow" << 2 << 100 << 100;
    QTest::newRow("a scene stands still") << "Rainbow" << 0 << 0 << 0;
}

void TstPatterns::previewPaintsOnlyWhatChanges()
{
    QFETCH(QString, script);
    QFETCH(int, target);
    QFETCH(int, xfade);
    QFETCH(int, changes);
    WindowRig rig;
    PatternDialog dialog(rig.window->document(), *Layout::fromShape("grid:10x17:serpentine", 170),
                         {});
    QVERIFY(dialog.chooseScript(script));
    dialog.targetKind->setCurrentIndex(target);
    dialog.stepTimeSpin->setValue(0.3);
    dialog.xfadeSpin->setValue(xfade);
    dialog.show();
    QCOMPARE(dialog.previewTimer->isActive(), target == PatternDialog::Program);
    dialog.repaints = 0;
    for (int tick = 0; tick < 100; ++tick)
        dialog.tick();
    QVERIFY2(std::abs(dialog.repaints - changes) <= 1,
             qPrintable(QString::number(dialog.repaints)));
    dialog.hide();
    QVERIFY(!dialog.previewTimer->isActive());
}

void TstPatterns::notesCountStepsAndLamps_data()
{
    QTest::addColumn<int>("steps"); // Solid's, from step 2 of the target; in Polish when negative
    QTest::addColumn<int>("target");
    QTest::addColumn<QString>("note");
    const int program = PatternDialog::Program;
    QTest::newRow("one") << 1 << program
                         << "The pattern's one step fits. Program step 2, marked as the last.";
    QTest::newRow("two") << 2 << program
                         << "All 2 steps of the pattern fit. Program steps 2 to 3; step 3 is "
                            "marked as the last.";
    QTest::newRow("one, beyond") << 1 << int(PatternDialog::Scene) << "Solid has 1 step.";
    QTest::newRow("colours") << 1 << int(PatternDialog::Scene) << "Colours (start and end)";
    // The selected lamps of the panel's program step 4.
    QTest::newRow("a lamp") << 1 << int(PatternDialog::Selection) << "1 lamp of program 1";
    QTest::newRow("a lamp, from its step")
        << 1 << int(PatternDialog::Selection)
        << "The pattern's one step fits. Program step 4, marked as the last.";
    QTest::newRow("pl, cut") << -40 << program
                             << "Wzór ma 40 kroków, a mieści się 30: zostanie obcięty po kroku "
                                "30. Kroki programu od 2 do 31; krok 31 zostanie oznaczony jako "
                                "ostatni.";
}

void TstPatterns::notesCountStepsAndLamps()
{
    QFETCH(int, steps);
    QFETCH(int, target);
    QTranslator polish;
    QVERIFY(steps > 0 || (polish.load(":/i18n/lm740_pl.qm") && qApp->installTranslator(&polish)));
    WindowRig rig;
    if (target == PatternDialog::Selection)
        rig.window->document().setCurrent(lm740::Item::programStep(0, 3));
    PatternDialog dialog(rig.window->document(), Layout::strip(30), {4});
    QVERIFY(dialog.chooseScript("Solid"));
    qobject_cast<QSpinBox *>(dialog.propertyField("steps"))->setValue(std::abs(steps));
    dialog.fitCombo->setCurrentIndex(1);
    dialog.firstStepSpin->setValue(2);
    dialog.stepSpin->setValue(2);
    dialog.targetKind->setCurrentIndex(target);
    QStringList texts;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        texts << label->text();
    for (const QGroupBox *box : dialog.findChildren<QGroupBox *>())
        texts << box->title();
    QFETCH(QString, note);
    QVERIFY2(texts.contains(note), qPrintable(texts.join('|')));
}

void TstPatterns::layoutDialogKindsAndHands()
{
    LayoutDialog dialog(nullptr, 6, nullptr);
    QVERIFY(!dialog.chosen()); // a strip is no layout
    const struct
    {
        int kind;
        const char *shape;
    } kinds[] = {{LayoutDialog::Rows, "grid:3x2"},
                 {LayoutDialog::Columns, "grid:3x2:columns"},
                 {LayoutDialog::Ring, "ring:5"},
                 {LayoutDialog::Free, "free:3x2"},
                 {LayoutDialog::Serpentine, "grid:3x2:serpentine"}};
    dialog.widthSpin->setValue(3);
    dialog.heightSpin->setValue(2);
    dialog.ringSpin->setValue(5);
    for (const auto &k : kinds) {
        dialog.kind->setCurrentIndex(k.kind);
        QCOMPARE(dialog.chosen()->shape(), k.shape);
        QCOMPARE(dialog.widthSpin->isVisibleTo(&dialog), k.kind != LayoutDialog::Ring);
        // Opened again on it, the dialog shows the same kind.
        const std::optional<Layout> chosen = dialog.chosen();
        QCOMPARE(LayoutDialog(&*chosen, 6, nullptr).kind->currentIndex(), k.kind);
    }
    // Serpentine: 1 2 3 / 6 5 4. Lamp 1 dragged onto lamp 3's cell: they change places.
    LayoutView *view = dialog.view;
    view->resize(300, 200);
    QTest::mousePress(view, Qt::LeftButton, {}, view->cellRect({0, 0}).center());
    QTest::mouseMove(view, view->cellRect({1, 1}).center());
    QTest::mouseRelease(view, Qt::LeftButton, {}, view->cellRect({2, 0}).center());
    Layout hands = *dialog.chosen();
    QCOMPARE(dialog.kind->currentIndex(), int(LayoutDialog::Free));
    QCOMPARE(hands.cellOf(0), QPoint(2, 0));
    QCOMPARE(hands.cellOf(2), QPoint(0, 0));
    // A right click takes lamp 5 out; a click on its empty cell puts it back, the next without one.
    QTest::mouseClick(view, Qt::RightButton, {}, view->cellRect({1, 1}).center());
    QVERIFY(!dialog.chosen()->cellOf(4));
    QVERIFY(dialog.note->text().contains("5 of the show's 6"));
    QTest::mouseClick(view, Qt::LeftButton, {}, view->cellRect({1, 1}).center());
    QCOMPARE(dialog.chosen()->cellOf(4), QPoint(1, 1));
    // A smaller free grid keeps the lamps it still holds.
    dialog.widthSpin->setValue(2);
    QCOMPARE(dialog.chosen()->cellOf(1), QPoint(1, 0));
    QVERIFY(!dialog.chosen()->cellOf(0));
}

void TstPatterns::playedOnTheLayoutInStripAndSimulator()
{
    WindowRig rig;
    MainWindow &w = *rig.window;
    w.showSimulatedController(rig.controller, lm740::SimOptions{});
    w.resize(900, 800);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.document().setGlobals(170, w.document().show().sceneTime);
    const Layout layout = *Layout::fromShape("grid:10x17:serpentine", 170);
    const int stripHeight = w.widgets().dockWidget->minimumHeight();
    const int top = w.centralWidget()->y();
    patternsOf(w).layout.set(layout);
    QVERIFY(w.widgets().dockWidget->minimumHeight() > stripHeight);
    {
        PatternDialog dialog(w.document(), layout, {});
        QVERIFY(dialog.chooseScript("Rainbow"));
        dialog.targetKind->setCurrentIndex(PatternDialog::Program);
        QVERIFY(dialog.apply());
    }
    w.TabWidget->setCurrentIndex(2);
    w.start_program_simulation(true);
    for (int tick = 0; tick < 40; ++tick)
        w.widgets().dockWidget->tick();
    expectLampsInCells(w.widgets().dockWidget, layout, 170,
                       [&](int lamp) { return w.widgets().dockWidget->shownColor(lamp); });

    t_program baked = w.document().show().programs[0];
    QCOMPARE(w.UsbWriteProgram(&baked, 0, 170), 0);
    rig.controller.setByteAt(lm740::layout::kLampsNumber, 170);
    QCOMPARE(w.UsbRunProgram(0), 0);
    for (int tick = 0; tick < 40; ++tick)
        w.widgets().simulatorView->tick();
    expectLampsInCells(w.widgets().simulatorView->lampRow(), layout, 170,
                       [&](int lamp) { return rig.controller.output(lamp); });
    QVERIFY(rig.controller.output(0) != rig.controller.output(9)); // a rainbow, not one colour

    // Without a layout the strip is a line again, also when the window's kept state had it taller;
    // a layout makes it as tall as the layout needs, however tall it was before.
    lm740::desktop::setStateFile(m_dir.filePath("state.conf"));
    w.resizeDocks({w.widgets().dockWidget}, {200}, Qt::Vertical);
    w.desktop().keepWindowPlace();
    const auto editorTop = [&](const std::optional<Layout> &l, bool restore) {
        patternsOf(w).layout.set(l);
        if (restore)
            w.desktop().restoreWindowPlace(); // as the next start does
        QCoreApplication::processEvents();
        return w.centralWidget()->y() - w.widgets().dockWidget->minimumHeight();
    };
    for (bool restore : {false, true}) {
        w.resizeDocks({w.widgets().dockWidget}, {200}, Qt::Vertical);
        QCOMPARE(editorTop(std::nullopt, restore), top - stripHeight);
        QCOMPARE(editorTop(layout, restore), top - stripHeight);
    }
    lm740::desktop::setStateFile({});
}

QTEST_MAIN(TstPatterns)
#include "tst_patterns.moc"
