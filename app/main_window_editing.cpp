// The window's editor panel and its keyboard commands: selection toggles, copy and paste of
// selected channel values, percent steps and set-all-selected, with their status texts.
#include "main_window.h"

#include "logging.h"
#include "my_spin.h"
#include "scene.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>

void MainWindow::buildScenePanel()
{
    // The window shows first and the lamp controls follow: a lamp control costs as much to build
    // and paint as the rest of the window together.
    scene = std::make_unique<Scene>(nullptr, 0, nullptr);
    scene->holdLampsUntilShown();
    scene->addLamps(uint(document.show().ledsNumber), document.show().sceneColors[0].data());
    sceneFrameLayout->addWidget(scene->contentWidget());
    connect(scene.get(), &Scene::progress, progressBar, &QProgressBar::setValue);
}

void MainWindow::keyPressEvent(QKeyEvent *e)
{
    // Every command needs a modifier; keys of the numeric keypad carry one of their own.
    const Qt::KeyboardModifiers mods =
        e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                          Qt::MetaModifier | Qt::KeypadModifier);
    if (mods == Qt::NoModifier || !scene) {
        qCDebug(lcApp) << "key" << e->key();
        return;
    }
    switch (e->key()) {
    case Qt::Key_A:
        qCDebug(lcApp) << "select all";
        scene->selectAll();
        break;
    case Qt::Key_R:
        qCDebug(lcApp) << "select red sliders";
        scene->selectRed();
        break;
    case Qt::Key_G:
        qCDebug(lcApp) << "select green sliders";
        scene->selectGreen();
        break;
    case Qt::Key_B:
        qCDebug(lcApp) << "select blue sliders";
        scene->selectBlue();
        break;
    case Qt::Key_V: {
        document.nameEdit(lm740::ShowDocument::EditName::Paste);
        const int n = scene->pasteSelected();
        document.closeEdit();
        deviceMessageLabel->setText(QCoreApplication::translate("App", "%1 values pasted").arg(n));
        break;
    }
    case Qt::Key_C: {
        const int n = scene->copySelected();
        deviceMessageLabel->setText(QCoreApplication::translate("App", "%1 values copied").arg(n));
        break;
    }
    case Qt::Key_Up:
        scene->changePercentifSelected(5);
        break;
    case Qt::Key_Down:
        scene->changePercentifSelected(-5);
        break;
    case Qt::Key_PageUp:
        qCDebug(lcApp) << "set 255 selected";
        scene->setSelected(255);
        break;
    case Qt::Key_PageDown:
        qCDebug(lcApp) << "set 0 selected";
        scene->setSelected(0);
        break;
    default:
        qCDebug(lcApp) << "key" << e->key();
        break;
    }
    // Handled here in every case: nothing goes on to the base class.
}
