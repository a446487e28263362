// The yardstick of the start-up benchmark: a bare Qt main window with a menu bar, a tool bar, a
// status bar and a tab widget, the frame the program's own window starts from, shown at the same
// size.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QTabWidget>
#include <QToolBar>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    for (const char *title : {"&File", "&USB", "&Help"}) {
        QMenu *menu = window.menuBar()->addMenu(QString::fromLatin1(title));
        for (int i = 1; i <= 6; ++i)
            menu->addAction(QStringLiteral("Command %1").arg(i));
    }
    QToolBar *tools = window.addToolBar(QStringLiteral("Tools"));
    tools->addAction(QStringLiteral("One"));
    tools->addAction(QStringLiteral("Two"));
    window.statusBar()->addWidget(new QLabel(QStringLiteral("Ready")));
    auto *tabs = new QTabWidget;
    for (const char *title : {"Scenes", "Chasers", "Programs"})
        tabs->addTab(new QWidget, QString::fromLatin1(title));
    window.setCentralWidget(tabs);
    window.show();
    window.resize(800, 700);
    return app.exec();
}
