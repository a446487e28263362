// The window as a desktop program: a show file given by name opens as its Load command opens it,
// the recent shows and the window's place outlive the window (and only where main() keeps them),
// the menus have standard keys and mnemonics in both languages, commands that succeed say so in
// the status line, and a screen reader can tell every control of a 30-lamp window apart.
#include "desktop_state.h"
#include "my_dock_widget.h"
#include "scene.h"
#include "sim_options.h"
#include "super_rgb.h"
#include "translations.h"
#include "window_rig.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QDockWidget>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolBar>
#include <QtTest>

#include <algorithm>
#include <iterator>

using namespace lm740;

namespace {

using Slot = void (MainWindow::*)(bool);

// The show's records.
struct Records
{
    std::array<ColorArray, kSceneCount> scenes;
    std::array<t_chaser, kChaserCount> chasers;
    std::array<t_program, kProgramCount> programs;
    bool operator==(const Records &) const = default;
};

// What a load leaves behind: the records, the lamp count and the tab in front.
struct Outcome
{
    QStringList prompts;
    int lamps = 0;
    int tab = 0;
    static std::shared_ptr<Records> snapshot(MainWindow &w)
    {
        return std::make_shared<Records>(Records{w.document().show().sceneColors,
                                                 w.document().show().chasers,
                                                 w.document().show().programs});
    }
    std::shared_ptr<Records> records;
};

Outcome outcomeOf(WindowRig &rig)
{
    Outcome o;
    for (const PromptCall &c : rig.prompts.calls)
        if (c.kind != QLatin1String("open"))
            o.prompts << c.kind + QLatin1Char('|') + c.title + QLatin1Char('|') + c.text;
    o.lamps = rig.window->document().show().ledsNumber;
    o.tab = rig.window->TabWidget->currentIndex();
    o.records = Outcome::snapshot(*rig.window);
    return o;
}

// Every accessible object below `iface` whose role a user can act on, with its name.
void walk(QAccessibleInterface *iface, QList<QPair<QString, QString>> &out)
{
    static const QList<QAccessible::Role> interactive = {
        QAccessible::PushButton,   QAccessible::CheckBox, QAccessible::RadioButton,
        QAccessible::Slider,       QAccessible::SpinBox,  QAccessible::ComboBox,
        QAccessible::EditableText, QAccessible::PageTab,  QAccessible::ScrollBar};
    for (int i = 0; i < iface->childCount(); ++i) {
        QAccessibleInterface *child = iface->child(i);
        if (!child)
            continue;
        QObject *o = child->object();
        const bool cell = o && (o->objectName() == QLatin1String("Frame1") ||
                                o->objectName() == QLatin1String("Framechaser1"));
        // What is not shown (another tab's buttons, Qt's tab scroll arrows) is not announced.
        if ((interactive.contains(child->role()) || cell) && !child->state().invisible)
            out << qMakePair(child->text(QAccessible::Name),
                             o ? o->objectName() + QLatin1Char(' ') +
                                     QString::fromLatin1(o->metaObject()->className())
                               : QString());
        walk(child, out);
    }
}

QStringList duplicatesIn(const QList<QPair<QString, QString>> &controls, int *named)
{
    QHash<QString, int> seen;
    *named = 0;
    for (const auto &c : controls) {
        *named += !c.first.isEmpty();
        ++seen[c.first.isEmpty() ? c.second : c.first];
    }
    QStringList twice;
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        if (it.value() > 1)
            twice << QStringLiteral("\"%1\" x%2").arg(it.key()).arg(it.value());
    return twice;
}

// The texts of a menu's entries (and of the menu bar's menus) with their mnemonic letters.
void checkMnemonics(const QString &where, const QList<QAction *> &actions, QStringList &faults)
{
    QHash<QChar, QString> letters;
    for (QAction *a : actions) {
        if (a->isSeparator() || !a->isVisible() || !a->isEnabled())
            continue;
        const QString text = a->text();
        const qsizetype amp = text.indexOf(QLatin1Char('&'));
        if (amp < 0 || amp + 1 >= text.size()) {
            faults << where + QStringLiteral(": no mnemonic in \"%1\"").arg(text);
            continue;
        }
        const QChar letter = text[amp + 1].toLower();
        if (letters.contains(letter))
            faults << where + QStringLiteral(": \"%1\" and \"%2\" share %3")
                                  .arg(letters[letter], text, letter);
        letters.insert(letter, text);
        if (a->menu())
            checkMnemonics(where + QLatin1Char('>') + text, a->menu()->actions(), faults);
    }
}

// The program in Polish while it lives, when asked; in English otherwise.
struct Language
{
    explicit Language(bool polish)
    {
        if (polish && !t.install(*QCoreApplication::instance(), QLocale(QLocale::Polish)))
            qFatal("the Polish translation did not load");
    }
    ~Language()
    {
        QCoreApplication::removeTranslator(&t.program);
        QCoreApplication::removeTranslator(&t.qt);
    }
    Translations t;
};

} // namespace

class TstDesktop : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void showFileOpensAsItsLoadCommand_data();
    void showFileOpensAsItsLoadCommand();
    void fileThatCannotBeOpenedSaysWhy_data();
    void fileThatCannotBeOpenedSaysWhy();
    void recentShowsAndPlaceOutliveTheWindow();
    void nothingIsKeptUnlessMainSaysWhere();
    void statusLineConfirms_data();
    void statusLineConfirms();
    void menusHaveStandardKeysAndMnemonics_data();
    void menusHaveStandardKeysAndMnemonics();
    void screenReaderTellsEveryControlApart_data();
    void screenReaderTellsEveryControlApart();
    void manualNamesTheProgramsKeys();
    void layoutAtTheNamedSizes_data();
    void layoutAtTheNamedSizes();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString data(const QString &name) const
    {
        return QStringLiteral(LM740_TEST_DATA_DIR "/") + name;
    }
    // A settings image of the window's default show, with lamp count 12.
    QString settingsFile()
    {
        const QString name = m_dir->filePath(QStringLiteral("show.set"));
        if (!QFile::exists(name)) {
            WindowRig rig;
            rig.window->document().setGlobals(12, rig.window->document().show().sceneTime);
            rig.prompts.fileNames << name;
            rig.window->Save(false);
        }
        return name;
    }
};

void TstDesktop::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    desktop::setStateFile({});
}

void TstDesktop::cleanup()
{
    desktop::setStateFile({});
}

void TstDesktop::showFileOpensAsItsLoadCommand_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("load"); // the slot of the matching Load command, below
    QTest::addColumn<bool>("yes"); // the answer to the fewer-lamps question
    QTest::newRow(".set") << QString() << 0 << true;
    QTest::newRow(".scn, yes") << data("scene_2.scn") << 1 << true;
    QTest::newRow(".scn, no") << data("scene_2.scn") << 1 << false;
    QTest::newRow(".scs") << data("scenes_170.scs") << 2 << true;
    QTest::newRow(".chr") << data("chaser_2.chr") << 3 << true;
    QTest::newRow(".chs") << data("chasers_170.chs") << 4 << true;
    QTest::newRow(".pgm") << data("program_170.pgm") << 5 << true;
    QTest::newRow(".pgs, no") << data("programs_2.pgs") << 6 << false;
}

void TstDesktop::showFileOpensAsItsLoadCommand()
{
    QFETCH(QString, file);
    QFETCH(int, load);
    QFETCH(bool, yes);
    static constexpr Slot loads[] = {&MainWindow::Load,         &MainWindow::Load_Scene,
                                     &MainWindow::Load_Scenes,  &MainWindow::Load_Chaser,
                                     &MainWindow::Load_Chasers, &MainWindow::Load_Program,
                                     &MainWindow::Load_Programs};
    if (file.isEmpty())
        file = settingsFile();
    const auto answer = yes ? QMessageBox::Yes : QMessageBox::No;

    WindowRig byCommand;
    byCommand.prompts.fileNames << file;
    byCommand.prompts.answers << answer;
    const Slot slot = loads[std::clamp(load, 0, int(std::size(loads)) - 1)];
    (byCommand.window.get()->*slot)(false);
    const Outcome expected = outcomeOf(byCommand);

    WindowRig byName;
    byName.prompts.answers << answer;
    byName.window->openShowFile(file);
    const Outcome got = outcomeOf(byName);

    QCOMPARE(got.prompts, expected.prompts);
    QCOMPARE(got.lamps, expected.lamps);
    QCOMPARE(got.tab, expected.tab);
    QVERIFY(*got.records == *expected.records);
    // The file dialog was never shown: the name took its place.
    for (const PromptCall &c : byName.prompts.calls)
        QVERIFY(c.kind != QLatin1String("open"));
    // A file loaded heads the recent shows and the status line says so; one refused does neither.
    const bool loaded = got.lamps != 30;
    QCOMPARE(byName.window->desktop().recentFiles().value(0) == QFileInfo(file).absoluteFilePath(),
             loaded);
    QCOMPARE(byName.window->desktop().confirmation().contains(QFileInfo(file).fileName()), loaded);
}

void TstDesktop::fileThatCannotBeOpenedSaysWhy_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("why");
    QTest::newRow("no show suffix") << data("make_text_files.py") << "is not a show file";
    QTest::newRow("Netpbm-like name, missing") << "missing.pgm"
                                               << "there is no such file";
    QTest::newRow("broken") << data("example.chr") << "File corrupted error";
}

void TstDesktop::fileThatCannotBeOpenedSaysWhy()
{
    QFETCH(QString, file);
    QFETCH(QString, why);
    if (why == QLatin1String("File corrupted error")) {
        file = m_dir->filePath(QStringLiteral("broken.chr"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("ChaserValues:\nnot a number\n");
    }
    WindowRig rig;
    const auto before = Outcome::snapshot(*rig.window);
    rig.window->openShowFile(file);
    QCOMPARE(rig.prompts.calls.size(), 1);
    QCOMPARE(rig.prompts.calls[0].kind, QStringLiteral("warning"));
    QVERIFY2(rig.prompts.calls[0].text.contains(why), qPrintable(rig.prompts.calls[0].text));
    QVERIFY(*Outcome::snapshot(*rig.window) == *before);
    QVERIFY(rig.window->desktop().recentFiles().isEmpty());
}

void TstDesktop::recentShowsAndPlaceOutliveTheWindow()
{
    const QString state = m_dir->filePath(QStringLiteral("state.conf"));
    desktop::setStateFile(state);
    QStringList saved;
    {
        WindowRig rig;
        QVERIFY(!rig.window->desktop().restoreWindowPlace()); // nothing kept yet
        rig.window->setGeometry(70, 80, 900, 640);
        rig.window->addDockWidget(Qt::BottomDockWidgetArea, rig.window->widgets().dockWidget);
        // Ten saves, the third one twice: eight files, the newest first, no file twice.
        for (int i : {0, 1, 2, 3, 4, 5, 6, 2, 7, 8, 9}) {
            const QString name = m_dir->filePath(QStringLiteral("scene%1.scn").arg(i));
            rig.prompts.fileNames << name;
            rig.window->Save_Scene(false);
            saved.prepend(name);
        }
    }
    saved.removeDuplicates();
    saved = saved.mid(0, desktop::kRecentShows);
    QVERIFY(QFile::remove(saved[1]));

    WindowRig rig;
    QVERIFY(rig.window->desktop().restoreWindowPlace());
    QCOMPARE(rig.window->size(), QSize(900, 640));
    QCOMPARE(rig.window->dockWidgetArea(rig.window->widgets().dockWidget),
             Qt::BottomDockWidgetArea);
    QMenu *menu = rig.window->desktop().recentShowsMenu();
    emit menu->aboutToShow();
    QStringList shown;
    for (QAction *a : menu->actions())
        if (a->objectName().startsWith(QLatin1String("recentShow")))
            shown << a->toolTip();
    QCOMPARE(shown, saved);
    QCOMPARE(menu->actions().first()->text(), QStringLiteral("&1 scene9.scn"));
    // Pointing at an entry leaves the status line's labels in place.
    rig.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.window.get()));
    menu->actions().first()->showStatusText(rig.window->menubar); // as the menu does on hover
    QVERIFY(rig.window->widgets().deviceMessageLabel->isVisible());

    // A file that is gone is taken off with a word; the others open from the menu.
    menu->findChild<QAction *>(QStringLiteral("recentShow2"))->trigger();
    QCOMPARE(rig.prompts.calls.size(), 1);
    QVERIFY(rig.prompts.calls[0].text.contains(QFileInfo(saved[1]).fileName()));
    QVERIFY(!rig.window->desktop().recentFiles().contains(saved[1]));
    rig.prompts.calls.clear();
    rig.window->actionLoad_Scene->setEnabled(false); // the Load command's state is no matter
    rig.window->TabWidget->setCurrentIndex(1);
    menu->findChild<QAction *>(QStringLiteral("recentShow3"))->trigger();
    QCOMPARE(rig.window->TabWidget->currentIndex(), 0);
    QCOMPARE(rig.window->desktop().recentFiles().first(), saved[3]);
    QVERIFY(rig.prompts.calls.isEmpty());

    menu->findChild<QAction *>(QStringLiteral("clearRecentShows"))->trigger();
    QVERIFY(rig.window->desktop().recentFiles().isEmpty());
    QVERIFY(QSettings(state, QSettings::IniFormat).value("recentShows").toStringList().isEmpty());
}

void TstDesktop::nothingIsKeptUnlessMainSaysWhere()
{
    QVERIFY(desktop::defaultStateFile(true) != desktop::defaultStateFile(false));
    {
        WindowRig rig;
        rig.prompts.fileNames << m_dir->filePath(QStringLiteral("a.scn"));
        rig.window->Save_Scene(false);
        QCOMPARE(rig.window->desktop().recentFiles().size(), 1);
        QVERIFY(!rig.window->desktop().restoreWindowPlace());
    }
    WindowRig rig;
    QVERIFY(rig.window->desktop().recentFiles().isEmpty());
}

void TstDesktop::statusLineConfirms_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("tab");
    QTest::addColumn<bool>("plugged");
    QTest::addColumn<QString>("said");
    QTest::newRow("blackout") << "actionBlackout" << 0 << true << "Blackout sent";
    QTest::newRow("blackout, no Lm740")
        << "actionBlackout" << 0 << false << "Blackout not sent: the Lm740 did not answer";
    QTest::newRow("write scene") << "actionWrite_Settings" << 0 << true
                                 << "Scene 1 written to the Lm740";
    QTest::newRow("read chaser") << "actionRead_Settings" << 1 << true
                                 << "Chaser 1 read from the Lm740";
    QTest::newRow("write step") << "actionWrite_Settings" << 2 << true
                                << "Program 1, step 1 written to the Lm740";
    QTest::newRow("write program")
        << "actionWrite_Current_Program" << 2 << true << "Program 1 written to the Lm740";
    QTest::newRow("read program") << "actionRead_Current_Program" << 0 << true
                                  << "Program 1 read from the Lm740";
    QTest::newRow("write, no Lm740")
        << "actionWrite_Settings" << 0 << false << "Nothing written: no Lm740 is connected";
    QTest::newRow("read, no Lm740")
        << "actionRead_Current_Program" << 0 << false << "Nothing read: no Lm740 is connected";
    QTest::newRow("run program") << "actionRun_Program" << 2 << true
                                 << "Program 1 playing on the preview strip";
}

void TstDesktop::statusLineConfirms()
{
    QFETCH(QString, command);
    QFETCH(int, tab);
    QFETCH(bool, plugged);
    QFETCH(QString, said);
    WindowRig rig;
    rig.window->show();
    rig.window->TabWidget->setCurrentIndex(tab);
    if (!plugged) {
        rig.bus.unplug(rig.controller);
        rig.window->USBCheckStatus();
    }
    rig.window->findChild<QAction *>(command)->trigger();
    QCOMPARE(rig.window->desktop().confirmation(), said);
    // A failure of a transfer says so in its box, never as a confirmation.
    QVERIFY(rig.prompts.calls.isEmpty());
    QVERIFY(rig.window->widgets().connectionLabel->isVisible());
    QVERIFY(rig.window->widgets().onlineLabel->isVisible());
}

void TstDesktop::menusHaveStandardKeysAndMnemonics_data()
{
    QTest::addColumn<bool>("polish");
    QTest::newRow("English") << false;
    QTest::newRow("Polish") << true;
}

void TstDesktop::menusHaveStandardKeysAndMnemonics()
{
    QFETCH(bool, polish);
    const Language language(polish);
    lm740::SimController second; // outlives the window that watches it
    WindowRig rig;
    // With two simulated controllers, whose view renames itself after the one it watches.
    rig.window->showSimulatedController(rig.controller, lm740::SimOptions{}, QStringLiteral("1-1"));
    rig.window->showSimulatedController(second, lm740::SimOptions{}, QStringLiteral("1-2"));
    QStringList faults;
    checkMnemonics(QStringLiteral("menu bar"), rig.window->menubar->actions(), faults);
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));

    // The keys reach their commands: the dialogs of Load and Save, the manual, the window's end.
    MainWindow *w = rig.window.get();
    w->setHelpViewer({QStringLiteral("/bin/true")});
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    QTest::keyClick(w, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(w, Qt::Key_S, Qt::ControlModifier);
    QStringList kinds;
    for (const PromptCall &c : rig.prompts.calls)
        kinds << c.kind + QLatin1Char(' ') + c.text;
    QCOMPARE(kinds,
             (QStringList{"open " + QCoreApplication::translate("App", "settings (*.set)",
                                                                "translate only Scenes"),
                          "save " + QCoreApplication::translate("App", "Settings (*.set)",
                                                                "translate only  Settings")}));
    QSignalSpy help(w->actionHelp, &QAction::triggered);
    QTest::keyClick(w, Qt::Key_F1);
    QCOMPARE(help.size(), 1);
    QTest::keyClick(w, Qt::Key_Q, Qt::ControlModifier);
    QTRY_VERIFY(!w->isVisible()); // closed by Exit, as the window's close button does
}

void TstDesktop::screenReaderTellsEveryControlApart_data()
{
    QTest::addColumn<bool>("polish");
    QTest::newRow("English") << false;
    QTest::newRow("Polish") << true;
}

void TstDesktop::screenReaderTellsEveryControlApart()
{
    QFETCH(bool, polish);
    const Language language(polish);
    WindowRig rig;
    rig.window->show();
    // The lamps out of view are built once the window is up; a screen reader meets them all.
    QTRY_COMPARE(rig.window->scene()->lampsBuilt(), rig.window->scene()->lampCount());
    QStringList faults;
    QSet<QString> names;
    for (int tab = 0; tab < 3; ++tab) {
        rig.window->TabWidget->setCurrentIndex(tab);
        QList<QPair<QString, QString>> controls;
        walk(QAccessible::queryAccessibleInterface(rig.window->centralWidget()), controls);
        walk(QAccessible::queryAccessibleInterface(rig.window->widgets().globalsToolBar), controls);
        int named = 0;
        const QStringList twice = duplicatesIn(controls, &named);
        qInfo("tab %d: %d interactive controls, %d named, %d names not unique", tab,
              int(controls.size()), named, int(twice.size()));
        faults << twice;
        for (const auto &c : controls) {
            if (c.first.isEmpty())
                faults << QStringLiteral("no name: ") + c.second;
            names << c.first;
        }
        // 30 lamps of 13 controls and an overview cell each.
        if (controls.size() < 30 * 14)
            faults << QStringLiteral("only %1 controls on tab %2").arg(controls.size()).arg(tab);
    }
    const QString lamp5 =
        polish ? QStringLiteral("Lampa 5, czerwony w górę") : QStringLiteral("Lamp 5, red up");
    const QString step =
        polish ? QStringLiteral("Program 1, krok 31") : QStringLiteral("Program 1, step 31");
    faults.removeDuplicates();
    QVERIFY2(faults.isEmpty(), qPrintable(faults.mid(0, 20).join(QLatin1Char('\n'))));
    QVERIFY(names.contains(lamp5));
    QVERIFY(names.contains(step));
}

void TstDesktop::layoutAtTheNamedSizes_data()
{
    QTest::addColumn<bool>("polish");
    QTest::newRow("English") << false;
    QTest::newRow("Polish") << true;
}

// At the smallest size every part of a lamp control and the strip's scroll bar are in view without
// scrolling the panel; the timing row's labels are whole from 800 x 700 on, on every tab; a taller
// window gives the sliders the room.
void TstDesktop::layoutAtTheNamedSizes()
{
    QFETCH(bool, polish);
    const Language language(polish);
    WindowRig rig;
    MainWindow *w = rig.window.get();
    w->show();
    QStringList faults;
    int lastSlider = 0;
    for (const QSize size : {QSize(750, 550), QSize(800, 700), QSize(1200, 850)}) {
        w->resize(size);
        for (int tab = 0; tab < 3; ++tab) {
            w->TabWidget->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            const QString where =
                QStringLiteral("%1x%2 tab %3: ").arg(size.width()).arg(size.height()).arg(tab);
            auto *area = w->findChild<QScrollArea *>(QStringLiteral("SceneScroll"));
            if (area->verticalScrollBar()->maximum() > 0)
                faults << where + QStringLiteral("the panel scrolls by %1")
                                      .arg(area->verticalScrollBar()->maximum());
            const QRect view(area->viewport()->mapTo(w, QPoint()), area->viewport()->size());
            SuperRGB *lamp = w->scene()->lamp(0);
            for (QWidget *part : {static_cast<QWidget *>(lamp->ButtonBMinus),
                                  static_cast<QWidget *>(lamp->LabelAddress3),
                                  static_cast<QWidget *>(w->scene()->scrollBar())})
                if (!view.contains(QRect(part->mapTo(w, QPoint()), part->size())))
                    faults << where + part->objectName() + QStringLiteral(" out of view");
            if (size.width() < 800)
                continue;
            for (QLabel *label : w->scene()->contentWidget()->findChildren<QLabel *>())
                if (label->objectName().endsWith(QLatin1String("Label")) && label->isVisible() &&
                    label->contentsRect().width() <
                        label->fontMetrics().horizontalAdvance(label->text()))
                    faults << where + label->text() + QStringLiteral(" is cut");
        }
        const int slider = w->scene()->lamp(0)->SliderRed->height();
        if (slider <= lastSlider)
            faults
                << QStringLiteral("sliders of %1 px at %2 px high").arg(slider).arg(size.height());
        lastSlider = slider;
    }
    QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
}

// Every key in the manual's key tables is one of the program's (a menu command's shortcut, or a
// keyboard command of the window that changes something), every shortcut is in the manual, and the
// percent step's example is what the program does.
void TstDesktop::manualNamesTheProgramsKeys()
{
    QFile file(QStringLiteral(LM740_SOURCE_DIR "/docs/manual.html"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString manual = QString::fromUtf8(file.readAll());
    QStringList keys;
    QString stepRow;
    static const QRegularExpression table(QStringLiteral("<table>\\s*<tr><th>Keys</th>.*?</table>"),
                                          QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression firstCell(
        QStringLiteral("<tr><td>(.*?)</td><td>(.*?)</td></tr>"),
        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression kbd(QStringLiteral("<kbd>(.*?)</kbd>(\\s*[+/]?)"));
    for (const auto &t : table.globalMatch(manual)) {
        for (const auto &row : firstCell.globalMatch(t.captured(0))) {
            QStringList modifiers;
            for (const auto &k : kbd.globalMatch(row.captured(1))) {
                QString name = k.captured(1);
                name.replace(QStringLiteral("Page Up"), QStringLiteral("PgUp"))
                    .replace(QStringLiteral("Page Down"), QStringLiteral("PgDown"));
                if (k.captured(2).trimmed() == QLatin1String("+")) {
                    modifiers << name;
                    continue;
                }
                keys << (modifiers + QStringList{name}).join(QLatin1Char('+'));
                if (name == QLatin1String("Up"))
                    stepRow = row.captured(2);
            }
        }
    }
    QVERIFY(keys.size() >= 14);

    WindowRig rig;
    MainWindow *w = rig.window.get();
    QStringList shortcuts;
    for (QAction *a : w->findChildren<QAction *>())
        for (const QKeySequence &k : a->shortcuts())
            shortcuts << k.toString();
    for (const QString &s : shortcuts)
        QVERIFY2(keys.contains(s), qPrintable(s + " is not in the manual"));

    // The window's own keys, pressed one after the other, each changing what a user can see.
    Scene *panel = w->scene();
    auto seen = [&] {
        return QStringLiteral("%1 %2 %3")
            .arg(panel->getSelectionFlags())
            .arg(panel->lamp(0)->lampColor().name())
            .arg(w->widgets().deviceMessageLabel->text());
    };
    panel->lamp(0)->SliderRed->setValue(100);
    for (const QString &key : keys) {
        if (shortcuts.contains(key))
            continue;
        const QKeySequence sequence = QKeySequence::fromString(key);
        QVERIFY2(sequence.count() == 1, qPrintable(key));
        if (panel->getSelectionFlags() == 0)
            panel->selectRed(); // the value keys act on selected sliders
        const QString before = seen();
        QKeyEvent press(QEvent::KeyPress, sequence[0].key(), sequence[0].keyboardModifiers());
        QApplication::sendEvent(w, &press);
        QVERIFY2(seen() != before, qPrintable(key + " does nothing"));
    }

    static const QRegularExpression example(QStringLiteral("(\\d+) becomes (\\d+) / (\\d+)"));
    const auto m = example.match(stepRow);
    QVERIFY2(m.hasMatch(), qPrintable(stepRow));
    if (!panel->lamp(0)->isRedSelected())
        panel->selectRed();
    for (int i = 0; i < 2; ++i) {
        panel->lamp(0)->SliderRed->setValue(m.captured(1).toInt());
        QKeyEvent press(QEvent::KeyPress, i ? Qt::Key_Down : Qt::Key_Up, Qt::ControlModifier);
        QApplication::sendEvent(w, &press);
        QCOMPARE(panel->lamp(0)->lampColor().red(), m.captured(2 + i).toInt());
    }
}

QTEST_MAIN(TstDesktop)
#include "tst_desktop.moc"
