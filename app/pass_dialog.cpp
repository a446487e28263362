#include "pass_dialog.h"

#include "prompts.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QWindow>

#include <algorithm>

namespace lm740 {

namespace {

bool isInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::HoverLeave:
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

// The program's top-level widget that `receiver` belongs to: a widget's window, the widget of a
// window, or the window of the widget that holds an action or a shortcut. Null for none.
QWidget *windowOf(QObject *receiver)
{
    if (auto *window = qobject_cast<QWindow *>(receiver)) {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->windowHandle() == window)
                return top;
        return nullptr;
    }
    QObject *o = receiver;
    while (o && !o->isWidgetType())
        o = o->parent();
    return o ? static_cast<QWidget *>(o)->window() : nullptr;
}

// The window a command came from: the active one, or (when a file dialog has just closed and
// none is active yet) the program's main window.
QWidget *commandWindow()
{
    if (QWidget *active = QApplication::activeWindow())
        return active;
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->isVisible() && top->inherits("QMainWindow"))
            return top;
    return nullptr;
}

} // namespace

PassDialog::PassDialog(const QString &title, const QString &label, int maximum)
{
    // No parent, and the standard Cancel button.
    setObjectName(QStringLiteral("passDialog"));
    setWindowTitle(title);
    setLabelText(label);
    setRange(0, maximum);
    setMinimumDuration(0);
    setAutoReset(false);
    setValue(0);
    ++s_running;
    qApp->installEventFilter(this);
    // Above the window the command came from, also when that window is clicked: the window
    // manager keeps a transient window over its parent. Not a child, which the window would
    // delete.
    if (QWidget *from = commandWindow()) {
        winId();
        windowHandle()->setTransientParent(from->windowHandle());
        placeOver(from);
    }
    show();
}

void PassDialog::placeOver(const QWidget *window)
{
    // Wide enough that the window manager's title bar shows the whole title beside its buttons,
    // and over the middle of the window, not wherever a dialog without a parent would go.
    constexpr int kTitleBarButtons = 140;
    adjustSize();
    resize(std::max(width(), fontMetrics().horizontalAdvance(windowTitle()) + kTitleBarButtons),
           height());
    move(window->frameGeometry().center() - QPoint(width() / 2, height() / 2));
}

PassDialog::~PassDialog()
{
    --s_running;
    if (!m_closeWhenOver)
        return;
    // The close waits for the end of the command that ran the pass: a deferred deletion runs
    // only when control is back in the event loop that the command was started from, not in the
    // loops of the messages the command shows after the pass.
    auto *closer = new QObject;
    connect(closer, &QObject::destroyed, m_closeWhenOver.data(), &QWidget::close);
    closer->deleteLater();
}

bool PassDialog::showsAgain(bool atEnd)
{
    constexpr int kInterval = 100; // ms
    if (!atEnd && m_shown.isValid() && m_shown.elapsed() < kInterval)
        return false;
    m_shown.start();
    return true;
}

bool PassDialog::goOn()
{
    QCoreApplication::processEvents();
    return !wasCanceled();
}

bool PassDialog::takesInput(QObject *receiver) const
{
    const QWidget *top = windowOf(receiver);
    if (!top || top == this)
        return true;
    const QWidget *box = QApplication::activeModalWidget();
    return box && top == box->window();
}

bool PassDialog::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Close) {
        auto *window = qobject_cast<QWidget *>(watched);
        if (!window || !window->isWindow() || takesInput(window))
            return false;
        event->ignore();
        askAboutClosing(window);
        return true;
    }
    if (event->type() == QEvent::ShortcutOverride && !takesInput(watched)) {
        // Taken by the field, so no shortcut of the window fires either.
        event->accept();
        return true;
    }
    return isInput(event->type()) && !takesInput(watched);
}

void PassDialog::askAboutClosing(QWidget *window)
{
    if (m_asking)
        return;
    m_asking = true;
    const QMessageBox::StandardButton answer = prompts().question(
        this, windowTitle(),
        QCoreApplication::translate("App", "A transfer with the Lm740 is running.\n\n"
                                           "Yes: stop it and close the window.\n"
                                           "No: close the window when it has ended.\n"
                                           "Cancel: keep the window open."),
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
    m_asking = false;
    if (answer == QMessageBox::Cancel)
        return;
    m_closeWhenOver = window;
    if (answer == QMessageBox::Yes)
        cancel();
}

} // namespace lm740
