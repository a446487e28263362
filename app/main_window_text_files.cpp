// The file commands of the Scenes, Chasers and Programs menus: saving and loading the current
// scene, chaser or program, or all of them, as text files.
#include "logging.h"
#include "main_window.h"
#include "navigator.h"
#include "prompts.h"
#include "save_name.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTabWidget>

using lm740::Item;
using lm740::prompts;
using lm740::files::Format;

namespace {

constexpr int ScenesTab = int(lm740::ItemKind::Scene);
constexpr int ChasersTab = int(lm740::ItemKind::Chaser);
constexpr int ProgramsTab = int(lm740::ItemKind::ProgramStep);

void addProgram(std::vector<Item> &items, int program)
{
    for (int step = 0; step < lm740::kProgramSteps; ++step)
        items.push_back(Item::programStep(program, step));
}

// The items a file of `format` holds: the current one of its kind, or all of them.
std::vector<Item> itemsOf(Format format, const lm740::Show &show)
{
    std::vector<Item> items;
    switch (format) {
    case Format::Scene:
        items.push_back(Item::scene(show.actualSceneNumber));
        break;
    case Format::Scenes:
        for (int s = 0; s < lm740::kSceneCount; ++s)
            items.push_back(Item::scene(s));
        break;
    case Format::Chaser:
        items.push_back(Item::chaser(show.actualChaserNumber));
        break;
    case Format::Chasers:
        for (int c = 0; c < lm740::kChaserCount; ++c)
            items.push_back(Item::chaser(c));
        break;
    case Format::Program:
        addProgram(items, show.actualProgramNumber);
        break;
    case Format::Programs:
        for (int p = 0; p < lm740::kProgramCount; ++p)
            addProgram(items, p);
        break;
    }
    return items;
}

const QString startDir = QStringLiteral("./");

QString corruptedScenes()
{
    return QCoreApplication::translate("App", "File corrupted error", "load scenes");
}
QString fewerLampsTitle()
{
    return QCoreApplication::translate("App", "Remove leds? -- Lm740",
                                       "loading secnes is smaller than actual");
}
QString fewerLampsText()
{
    return QCoreApplication::translate(
        "App", "Loading scenes have got less lamps than actual scene.\nFrom all scenes, chasers "
               "and programs LEDs will be removed.\nContinue operation?");
}

} // namespace

void MainWindow::connectFileActions()
{
    connect(actionSave, &QAction::triggered, this, &MainWindow::Save);
    connect(actionLoad, &QAction::triggered, this, &MainWindow::Load);
    connect(actionGenerate_set_file, &QAction::triggered, this, &MainWindow::Generate_set_file);
    connect(actionSave_Scene, &QAction::triggered, this, &MainWindow::Save_Scene);
    connect(actionSave_Scenes, &QAction::triggered, this, &MainWindow::Save_Scenes);
    connect(actionLoad_Scene, &QAction::triggered, this, &MainWindow::Load_Scene);
    connect(actionLoad_Scenes, &QAction::triggered, this, &MainWindow::Load_Scenes);
    connect(actionSave_Chaser, &QAction::triggered, this, &MainWindow::Save_Chaser);
    connect(actionSave_Chasers, &QAction::triggered, this, &MainWindow::Save_Chasers);
    connect(actionLoad_Chaser, &QAction::triggered, this, &MainWindow::Load_Chaser);
    connect(actionLoad_Chasers, &QAction::triggered, this, &MainWindow::Load_Chasers);
    connect(actionSave_Program, &QAction::triggered, this, &MainWindow::Save_Program);
    connect(actionSave_Programs, &QAction::triggered, this, &MainWindow::Save_Programs);
    connect(actionLoad_Program, &QAction::triggered, this, &MainWindow::Load_Program);
    connect(actionLoad_Programs, &QAction::triggered, this, &MainWindow::Load_Programs);
}

void MainWindow::reportSaveFailure(const QString &detail)
{
    prompts().warning(
        nullptr, QCoreApplication::translate("App", "Error", "error"),
        QCoreApplication::translate("App", "The file could not be saved:\n%1").arg(detail));
}

void MainWindow::saveShowFile(Format format, const QString &fileName, const QString &suffix)
{
    const QString name = lm740::saveName(fileName, suffix);
    if (name.isEmpty())
        return;
    document.closeEdit();
    const std::vector<Item> items = itemsOf(format, document.show());
    const lm740::KeptFiles::Saving saving(keptFiles, items);
    QString error;
    if (!lm740::files::writeWholeFile(
            name, lm740::files::writeTextFile(format, document.show(), ledsNumber), &error)) {
        reportSaveFailure(QStringLiteral("%1: %2").arg(name, error));
        return;
    }
    for (Item item : items)
        document.keep(item);
    keptFiles.keptIn(name, items);
    qCDebug(lcFiles) << "ledsNumber:" << ledsNumber << "file " << name << " saved";
    m_desktop->fileDone(name, false);
}

bool MainWindow::loadShowFile(Format format, const QString &fileName, int tab,
                              const QString &corruptedText, const QString &questionTitle,
                              const QString &questionText)
{
    if (!keepOrDiscardEdits(itemsOf(format, document.show())))
        return false;
    QByteArray bytes;
    QString why;
    lm740::files::TextFile file;
    if (!lm740::files::readWholeFile(fileName, &bytes, &why)) {
        // Not the file's fault: say what kept it from being read.
        prompts().warning(nullptr, QCoreApplication::translate("App", "Error", "error"),
                          QCoreApplication::translate("App", "The file could not be read:\n%1")
                              .arg(QStringLiteral("%1: %2").arg(fileName, why)));
        return false;
    }
    if (!lm740::files::readTextFile(format, bytes, &file, &why)) {
        qCDebug(lcFiles) << fileName << why;
        prompts().warning(nullptr, QCoreApplication::translate("App", "Error", "error"),
                          corruptedText);
        return false;
    }
    // Escape and closing the box answer No, like every answer but Yes.
    if (file.lamps() < ledsNumber &&
        prompts().question(this, questionTitle, questionText, QMessageBox::Yes | QMessageBox::No,
                           QMessageBox::No) != QMessageBox::Yes)
        return false;

    TabWidget->setCurrentIndex(tab);
    {
        const Navigator::Hold hold(*navigator);
        document.change(tr("Load %1").arg(QFileInfo(fileName).fileName()), document.current(),
                        [&](lm740::Show &show) {
                            lm740::files::storeInShow(file, show);
                            document.setGlobals(file.lamps(), show.sceneTime);
                        });
        navigator->loadPanel();
    }
    // The items loaded are what the file holds.
    const std::vector<Item> items = itemsOf(format, document.show());
    for (Item item : items)
        document.keep(item);
    keptFiles.keptIn(fileName, items);
    lampCountLoaded();
    QStringList changed;
    // The window keeps times to the millisecond: only what the records changed is said.
    for (const lm740::files::Change &c : file.changes)
        if (!c.controllerOnly)
            changed << lm740::files::describeChange(file, c, document.show());
    m_desktop->fileDone(fileName, true, changed);
    return true;
}

void MainWindow::Save_Scene(bool)
{
    TabWidget->setCurrentIndex(ScenesTab);
    const QString name = prompts().getSaveFileName(
        nullptr, QCoreApplication::translate("App", "Choose a file to save scene", "scene save"),
        startDir, QCoreApplication::translate("App", "Scene (*.scn)", "translate only Scene"));
    if (name.isEmpty())
        return;
    qCDebug(lcFiles) << "scene:" << actualSceneNumber;
    saveShowFile(Format::Scene, name, QStringLiteral(".scn"));
}

void MainWindow::Save_Scenes(bool)
{
    TabWidget->setCurrentIndex(ScenesTab);
    const QString name = prompts().getSaveFileName(
        nullptr, QCoreApplication::translate("App", "Chose a file to save scenes", "save scenes"),
        startDir, QCoreApplication::translate("App", "Scenes (*.scs)", "translate only Scenes"));
    if (name.isEmpty())
        return;
    saveShowFile(Format::Scenes, name, QStringLiteral(".scs"));
    qCDebug(lcFiles) << "save scenes";
}

void MainWindow::Load_Scene(bool)
{
    qCDebug(lcFiles) << "Load_Scene";
    TabWidget->setCurrentIndex(ScenesTab);
    const QString name = prompts().getOpenFileName(
        nullptr, QCoreApplication::translate("App", "Chose a file with scene - Lm740", "open file"),
        startDir, tr("Scene (*.scn)"));
    qCDebug(lcFiles) << name;
    if (name.isEmpty())
        return;
    loadShowFile(Format::Scene, name, ScenesTab,
                 QCoreApplication::translate("App", "File corrupted error", "load scene"),
                 QCoreApplication::translate("App", "Remove leds? -- Lm740",
                                             "loading secne is smaller than actual"),
                 QCoreApplication::translate(
                     "App",
                     "Loading scene have got less lamps than actual scene.\nFrom all scenes, "
                     "chasers and programs LEDs will be removed.\nContinue operation?"));
}

void MainWindow::Load_Scenes(bool)
{
    qCDebug(lcFiles) << "Load_Scenes";
    const QString name = prompts().getOpenFileName(
        nullptr,
        QCoreApplication::translate("App", "Choose a file with scenes - Lm740", "scenes load"),
        startDir, QCoreApplication::translate("App", "Scenes (*.scs)", "translate only Scenes"));
    if (name.isEmpty())
        return;
    loadShowFile(Format::Scenes, name, ScenesTab, corruptedScenes(), fewerLampsTitle(),
                 fewerLampsText());
}

void MainWindow::Save_Chaser(bool)
{
    TabWidget->setCurrentIndex(ChasersTab);
    const QString name = prompts().getSaveFileName(
        nullptr, QCoreApplication::translate("App", "Chose a file to save chaser", "chaser save"),
        startDir, QCoreApplication::translate("App", "Chaser (*.chr)", "chaser save"));
    if (name.isEmpty())
        return;
    qCDebug(lcFiles) << "chaser:" << actualChaserNumber;
    saveShowFile(Format::Chaser, name, QStringLiteral(".chr"));
    qCDebug(lcFiles) << "save chaser";
}

void MainWindow::Save_Chasers(bool)
{
    const QString name = prompts().getSaveFileName(
        nullptr, QCoreApplication::translate("App", "Chose a file to save chasers", "chasers save"),
        startDir, QCoreApplication::translate("App", "Chasers (*.chs)", "chasers save"));
    if (name.isEmpty())
        return;
    TabWidget->setCurrentIndex(ChasersTab);
    saveShowFile(Format::Chasers, name, QStringLiteral(".chs"));
    qCDebug(lcFiles) << "save chasers";
}

void MainWindow::Load_Chaser(bool)
{
    TabWidget->setCurrentIndex(ChasersTab);
    qCDebug(lcFiles) << "Load_Chaser";
    const QString name = prompts().getOpenFileName(
        nullptr,
        QCoreApplication::translate("App", "Chose a file with Chaser - Lm740", "chaser load"),
        startDir, QCoreApplication::translate("App", "Chaser (*.chr)", "chaser load"));
    if (name.isEmpty())
        return;
    loadShowFile(Format::Chaser, name, ChasersTab, corruptedScenes(), fewerLampsTitle(),
                 fewerLampsText());
}

void MainWindow::Load_Chasers(bool)
{
    qCDebug(lcFiles) << "Load_chasers";
    const QString name = prompts().getOpenFileName(
        nullptr,
        QCoreApplication::translate("App", "Chose a file with chaserss - Lm740", "chasers load"),
        startDir, QCoreApplication::translate("App", "Chasers (*.chs)", "chasers load"));
    if (name.isEmpty())
        return;
    loadShowFile(Format::Chasers, name, ChasersTab, corruptedScenes(), fewerLampsTitle(),
                 fewerLampsText());
}

void MainWindow::Save_Program(bool)
{
    TabWidget->setCurrentIndex(ProgramsTab);
    const QString name = prompts().getSaveFileName(
        nullptr, QCoreApplication::translate("App", "Chose a file to save program", "save program"),
        startDir, QCoreApplication::translate("App", "Program (*.pgm)", "save program"));
    if (name.isEmpty())
        return;
    saveShowFile(Format::Program, name, QStringLiteral(".pgm"));
    qCDebug(lcFiles) << "save scenes";
}

void MainWindow::Save_Programs(bool)
{
    const QString name = prompts().getSaveFileName(
        nullptr,
        QCoreApplication::translate("App", "Chose a file to save programs", "programs save"),
        startDir, QCoreApplication::translate("App", "Programs (*.pgs)"));
    if (name.isEmpty())
        return;
    TabWidget->setCurrentIndex(ProgramsTab);
    saveShowFile(Format::Programs, name, QStringLiteral(".pgs"));
    qCDebug(lcFiles) << "save scenes";
}

void MainWindow::Load_Program(bool)
{
    qCDebug(lcFiles) << "Load_program";
    const QString name = prompts().getOpenFileName(
        nullptr,
        QCoreApplication::translate("App", "Chose a file with pogram - Lm740", "program load"),
        startDir, QCoreApplication::translate("App", "Program (*.pgm)", "program load"));
    if (name.isEmpty())
        return;
    loadShowFile(Format::Program, name, ProgramsTab, corruptedScenes(), fewerLampsTitle(),
                 fewerLampsText());
}

void MainWindow::Load_Programs(bool)
{
    qCDebug(lcFiles) << "Load_programs";
    const QString name = prompts().getOpenFileName(
        nullptr,
        QCoreApplication::translate("App", "Chose a file with programs - Lm740", "load programs"),
        startDir, QCoreApplication::translate("App", "Programs (*.pgs)"));
    if (name.isEmpty())
        return;
    loadShowFile(Format::Programs, name, ProgramsTab, corruptedScenes(), fewerLampsTitle(),
                 fewerLampsText());
}
