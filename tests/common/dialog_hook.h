// Reaches a progress dialog while the window's command that shows it is still running: `hook`
// gets every visible QProgressDialog at each turn of the event loop that the command makes.
#pragma once

#include <QApplication>
#include <QProgressDialog>
#include <QTimer>

#include <functional>

class ProgressDialogHook
{
public:
    explicit ProgressDialogHook(std::function<void(QProgressDialog *)> hook)
    {
        m_timer.setInterval(0);
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [hook = std::move(hook)] {
            for (QWidget *w : QApplication::topLevelWidgets())
                if (auto *d = qobject_cast<QProgressDialog *>(w); d && d->isVisible())
                    hook(d);
        });
        m_timer.start();
    }

private:
    QTimer m_timer;
};
