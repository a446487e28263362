// The Edit menu: Undo and Redo over the show document's steps, named after the step, on the
// standard keys. An undo first brings the item it changes into the panel, the way the user would
// switch to it, so that online the item left goes to the controller and the undone item follows
// at the next switch or write, as any edit does. The read of the item brought in only shows it:
// it is no step, so the history stays and the undo undoes what it names.
#include "main_window.h"

#include "busy_cursor.h"

#include <QApplication>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QScopedValueRollback>

using lm740::Item;

void MainWindow::buildEditMenu()
{
    menuEdit = new QMenu(tr("&Edit"), this);
    menuEdit->setObjectName(QStringLiteral("menuEdit"));
    menubar->insertMenu(menuScenes->menuAction(), menuEdit);
    actionUndo = menuEdit->addAction(tr("&Undo"));
    actionUndo->setObjectName(QStringLiteral("actionUndo"));
    actionUndo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    actionRedo = menuEdit->addAction(tr("&Redo"));
    actionRedo->setObjectName(QStringLiteral("actionRedo"));
    // The same keys on every desktop (the platform's own list differs between them), as the
    // manual names them.
    actionRedo->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    actionUndo->setEnabled(false);
    actionRedo->setEnabled(false);

    QUndoStack &stack = document.undoStack();
    connect(&stack, &QUndoStack::canUndoChanged, actionUndo, &QAction::setEnabled);
    connect(&stack, &QUndoStack::canRedoChanged, actionRedo, &QAction::setEnabled);
    connect(&stack, &QUndoStack::undoTextChanged, this, [this](const QString &text) {
        actionUndo->setText(text.isEmpty() ? tr("&Undo") : tr("&Undo %1").arg(text));
    });
    connect(&stack, &QUndoStack::redoTextChanged, this, [this](const QString &text) {
        actionRedo->setText(text.isEmpty() ? tr("&Redo") : tr("&Redo %1").arg(text));
    });
    connect(actionUndo, &QAction::triggered, this, &MainWindow::Undo);
    connect(actionRedo, &QAction::triggered, this, &MainWindow::Redo);
    connect(&document, &lm740::ShowDocument::modifiedChanged, this, &QWidget::setWindowModified);
    qApp->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
        for (int p = 0; p < lm740::kProgramCount; ++p)
            if (watched == programWidgets[size_t(p)].tabPage)
                programSteps(p);
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::FocusIn:
        document.newGesture();
        break;
    case QEvent::Drop:
        document.newGesture();
        document.nameEdit(lm740::ShowDocument::EditName::Drop);
        break;
    case QEvent::KeyPress: {
        // Typing into one field is one gesture; a command key or a key that finishes the value
        // begins the next.
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ||
            key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
            key->key() == Qt::Key_Tab)
            document.newGesture();
        break;
    }
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::sendChangedGlobals(int lampsBefore, int sceneTimeBefore)
{
    const lm740::Show &show = document.show();
    if ((show.ledsNumber == lampsBefore && show.sceneTime == sceneTimeBefore) || !deviceReady())
        return;
    lm740::BusyCursor busy;
    bool sent = true;
    if (show.sceneTime != sceneTimeBefore)
        sent = UsbSetGlobalSceneTime(char(show.sceneTime)) != -1;
    if (show.ledsNumber != lampsBefore)
        sent = UsbSetLampsNumber(char(show.ledsNumber)) != -1 && sent;
    if (sent)
        document.keepGlobals();
}

void MainWindow::Undo(bool)
{
    document.closeEdit();
    const QUndoStack &stack = document.undoStack();
    if (!stack.canUndo())
        return;
    if (const std::optional<Item> item = document.itemOfStep(stack.index() - 1)) {
        const QScopedValueRollback showing(showingStep, true);
        showItem(*item);
    }
    const int lamps = document.show().ledsNumber;
    const int sceneTime = document.show().sceneTime;
    document.undo();
    sendChangedGlobals(lamps, sceneTime);
}

void MainWindow::Redo(bool)
{
    document.closeEdit();
    const QUndoStack &stack = document.undoStack();
    if (!stack.canRedo())
        return;
    if (const std::optional<Item> item = document.itemOfStep(stack.index())) {
        const QScopedValueRollback showing(showingStep, true);
        showItem(*item);
    }
    const int lamps = document.show().ledsNumber;
    const int sceneTime = document.show().sceneTime;
    document.redo();
    sendChangedGlobals(lamps, sceneTime);
}
