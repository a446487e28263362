#include "key_commands.h"

#include "logging.h"
#include "scene.h"
#include "show_document.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>

namespace lm740 {

void runKeyCommand(const QKeyEvent &key, Scene &panel, ShowDocument &document, QLabel &status)
{
    // Keys of the numeric keypad carry a modifier of their own.
    const Qt::KeyboardModifiers mods =
        key.modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier |
                           Qt::MetaModifier | Qt::KeypadModifier);
    if (mods == Qt::NoModifier) {
        qCDebug(lcApp) << "key" << key.key();
        return;
    }
    switch (key.key()) {
    case Qt::Key_A:
        qCDebug(lcApp) << "select all";
        panel.selectAll();
        break;
    case Qt::Key_R:
        qCDebug(lcApp) << "select red sliders";
        panel.selectRed();
        break;
    case Qt::Key_G:
        qCDebug(lcApp) << "select green sliders";
        panel.selectGreen();
        break;
    case Qt::Key_B:
        qCDebug(lcApp) << "select blue sliders";
        panel.selectBlue();
        break;
    case Qt::Key_V: {
        document.nameEdit(ShowDocument::EditName::Paste);
        const int n = panel.pasteSelected();
        document.closeEdit();
        status.setText(QCoreApplication::translate("App", "%1 values pasted").arg(n));
        break;
    }
    case Qt::Key_C: {
        const int n = panel.copySelected();
        status.setText(QCoreApplication::translate("App", "%1 values copied").arg(n));
        break;
    }
    case Qt::Key_Up:
        panel.changePercentifSelected(5);
        break;
    case Qt::Key_Down:
        panel.changePercentifSelected(-5);
        break;
    case Qt::Key_PageUp:
        qCDebug(lcApp) << "set 255 selected";
        panel.setSelected(255);
        break;
    case Qt::Key_PageDown:
        qCDebug(lcApp) << "set 0 selected";
        panel.setSelected(0);
        break;
    default:
        qCDebug(lcApp) << "key" << key.key();
        break;
    }
}

} // namespace lm740
