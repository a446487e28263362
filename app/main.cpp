// Entry point: application, translation, the main window, the event loop.
#include "main_window.h"
#include "translations.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("lm740"));
    QApplication::setApplicationVersion(QStringLiteral("1.07"));

    lm740::Translations translations;
    translations.install(app);

    auto *window = new MainWindow;   // deletes itself on "Exit"
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->resize(800, 700);

    return app.exec();
}
