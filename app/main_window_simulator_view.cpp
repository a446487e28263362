// The window's side of the simulated controller's view: the dock below the editor and its
// command in the USB menu.
#include "main_window.h"

#include "pattern_actions.h"
#include "simulated_lm740_view.h"

void MainWindow::showSimulatedController(lm740::SimController &controller,
                                         const lm740::SimOptions &faults, const QString &port)
{
    if (simulatorView) {
        simulatorView->addController(controller, faults, port);
        return;
    }
    simulatorView = new SimulatedLm740View(controller, faults, this);
    simulatorView->addController(controller, faults, port);
    addDockWidget(Qt::BottomDockWidgetArea, simulatorView);
    if (const auto *patterns = findChild<PatternActions *>())
        simulatorView->setLampLayout(patterns->layout.layout());
    // Below the editor, and only as tall as its LCD and a few requests need.
    resizeDocks({simulatorView}, {simulatorView->minimumSizeHint().height()}, Qt::Vertical);
    QAction *toggle = simulatorView->toggleViewAction();
    toggle->setObjectName(QStringLiteral("actionSimulatedLm740"));
    // The dock's title names the controller it watches; the menu entry keeps a name with a
    // mnemonic, set again after each title change, which renames the entry.
    const auto nameEntry = [this, toggle] { toggle->setText(tr("&Simulated Lm740")); };
    nameEntry();
    connect(simulatorView, &QWidget::windowTitleChanged, toggle, nameEntry);
    menuUSB->addSeparator();
    menuUSB->addAction(toggle);
}
