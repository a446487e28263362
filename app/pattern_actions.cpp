#include "pattern_actions.h"

#include "layout_dialog.h"
#include "main_window.h"
#include "my_dock_widget.h"
#include "pattern_dialog.h"
#include "prompts.h"
#include "show_files.h"
#include "simulated_lm740_view.h"
#include "window_widgets.h"

#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

PatternActions::PatternActions(MainWindow &window) : QObject(&window), m_window(window)
{
    window.widgets().menuEdit->addSeparator();
    actionPattern = window.widgets().menuEdit->addAction(tr("&Pattern..."));
    actionPattern->setObjectName(QStringLiteral("actionPattern"));
    actionPattern->setStatusTip(
        tr("Draws a pattern script over the lamps as they hang, into a scene, a chaser, a "
           "program or the selected lamps"));
    actionLayout = window.widgets().menuEdit->addAction(tr("La&yout..."));
    actionLayout->setObjectName(QStringLiteral("actionLayout"));
    actionLayout->setStatusTip(tr("Where the lamps hang: a strip, a grid, a ring or cells of "
                                  "your own choice"));
    connect(actionPattern, &QAction::triggered, this, &PatternActions::openPattern);
    connect(actionLayout, &QAction::triggered, this, &PatternActions::openLayout);

    panelButton = new QPushButton(tr("Pattern..."));
    panelButton->setObjectName(QStringLiteral("PatternButton"));
    panelButton->setToolTip(actionPattern->statusTip());
    // Beside the editor's tabs, where it costs the timing row none of its width.
    window.TabWidget->setCornerWidget(panelButton, Qt::TopRightCorner);
    connect(panelButton, &QPushButton::clicked, this, &PatternActions::openPattern);

    connect(&layout, &ShowLayout::changed, this, &PatternActions::layoutChanged);
    // A show restored after a crash comes back with the layout it had.
    connect(&window.recovery(), &CrashRecovery::layoutRestored, this,
            &PatternActions::chooseLayout);
    connect(&window.files(), &ShowFiles::settingsSaved, this, &PatternActions::showSaved);
    connect(&window.files(), &ShowFiles::settingsLoaded, this, &PatternActions::showLoaded);
}

void PatternActions::showSaved(const QString &showFile)
{
    QString error;
    if (!layout.saved(showFile, &error))
        lm740::prompts().warning(
            &m_window, tr("Layout - Lm740"),
            tr("The show was saved, but its layout could not be written to %1:\n%2")
                .arg(QDir::toNativeSeparators(lm740::layoutFileName(showFile)), error));
}

void PatternActions::showLoaded(const QString &showFile)
{
    const QString error = layout.loaded(showFile, m_window.document().show().ledsNumber);
    if (!error.isEmpty())
        lm740::prompts().warning(&m_window, tr("Layout - Lm740"),
                                 tr("The show was loaded, but its layout could not be read, so "
                                    "the lamps are shown in a strip:\n%1")
                                     .arg(error));
}

void PatternActions::openPattern()
{
    const int lamps = m_window.document().show().ledsNumber;
    // An edit still gathering in the panel is closed first, so that the bake is a step of its own.
    m_window.document().closeEdit();
    PatternDialog dialog(m_window.document(), layout.effective(lamps),
                         m_window.scene()->selectedLamps(), &m_window);
    dialog.exec();
}

void PatternActions::openLayout()
{
    LayoutDialog dialog(layout.layout(), m_window.document().show().ledsNumber, &m_window);
    if (dialog.exec() == QDialog::Accepted)
        chooseLayout(dialog.chosen());
}

void PatternActions::chooseLayout(const std::optional<lm740::Layout> &chosen)
{
    if (layout.set(chosen))
        m_window.document().keptCopyLost();
}

void PatternActions::layoutChanged()
{
    m_window.widgets().dockWidget->setLampLayout(layout.layout());
    m_window.recovery().setLayout(layout.layout() ? std::optional(*layout.layout()) : std::nullopt);
    if (m_window.widgets().simulatorView)
        m_window.widgets().simulatorView->setLampLayout(layout.layout());
}
