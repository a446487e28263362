#include "color_line_edit.h"
#include "key_forwarding.h"
#include "logging.h"
#include "widget_hooks.h"

#include <QDrag>
#include <QDropEvent>
#include <QMimeData>
#include <QPointer>

namespace {

// The colour a drag carries, or an invalid colour when it carries none we can use.
QColor colorOf(const QMimeData *mime)
{
    if (!mime || !mime->hasColor())
        return {};
    const QVariant data = mime->colorData();
    if (!data.canConvert<QColor>())
        return {};
    return data.value<QColor>();
}

} // namespace

ColorLineEdit::ColorLineEdit(QWidget *parent) : QLineEdit(parent)
{
    setAcceptDrops(true);
}

void ColorLineEdit::mousePressEvent(QMouseEvent *e)
{
    // Deliberately not passed to the line edit: a press always starts a colour drag. Focus still
    // follows the click, so the value fields can be typed into afterwards.
    if (e->button() == Qt::LeftButton) {
        QPointer<ColorLineEdit> self(this);
        auto *drag = new QDrag(this);
        auto *mime = new QMimeData;
        mime->setColorData(palette().color(QPalette::Base));
        drag->setMimeData(mime);
        lm740::widgetHooks().execDrag(drag, Qt::CopyAction);
        if (!self)
            return;
        // The press cannot place the cursor, and a value field always holds three digits, so
        // digits typed after a click would not fit. The click selects the value instead, for
        // what is typed next to replace it.
        if (hasFocus())
            selectAll();
    }
    update();
}

void ColorLineEdit::mouseDoubleClickEvent(QMouseEvent *)
{
    QPointer<ColorLineEdit> self(this);
    const QColor chosen = lm740::widgetHooks().getColor(palette().color(QPalette::Base), this);
    if (!self || !chosen.isValid())
        return;
    emitChannels(chosen);
}

void ColorLineEdit::dragEnterEvent(QDragEnterEvent *e)
{
    if (colorOf(e->mimeData()).isValid())
        e->acceptProposedAction();
}

void ColorLineEdit::dragMoveEvent(QDragMoveEvent *e)
{
    qCDebug(lcEditor) << "pos drag move" << e->position();
    // The line edit's own handling would ask for text; a colour drag is accepted as entered.
    if (colorOf(e->mimeData()).isValid())
        e->acceptProposedAction();
    else
        e->ignore();
}

void ColorLineEdit::dropEvent(QDropEvent *e)
{
    const QColor c = colorOf(e->mimeData());
    if (!c.isValid()) {
        e->ignore();
        return;
    }
    // A lamp is always opaque: a translucent colour from another program would show the
    // background instead of the lamp, and would not be corrected when the lamp's channels
    // already match it.
    QPalette p = palette();
    p.setColor(QPalette::Base, QColor(c.red(), c.green(), c.blue()));
    setPalette(p);
    qCDebug(lcEditor) << "red:" << c.red() << "green:" << c.green() << "blue:" << c.blue();
    e->acceptProposedAction();
    emitChannels(c);
}

void ColorLineEdit::keyPressEvent(QKeyEvent *e)
{
    lm740::windowFirstKeyPress(this, e, [&] { QLineEdit::keyPressEvent(e); });
}

bool ColorLineEdit::eventFilter(QObject *watched, QEvent *e)
{
    if (e->type() == QEvent::MouseButtonDblClick)
        qCDebug(lcEditor) << "double click" << watched->objectName();
    return false;
}

void ColorLineEdit::emitChannels(const QColor &c)
{
    QPointer<ColorLineEdit> self(this);
    emit redChanged(c.red());
    if (self)
        emit greenChanged(c.green());
    if (self)
        emit blueChanged(c.blue());
}
