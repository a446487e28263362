// Widget hooks for tests: the colour dialog answers from a script, and a drag is recorded and can
// be dropped on a chosen widget the way Qt would deliver it.
#pragma once

#include "widget_hooks.h"

#include <QCoreApplication>
#include <QDrag>
#include <QDropEvent>
#include <QList>
#include <QMimeData>
#include <QPointer>
#include <QWidget>

#include <functional>

class ScriptedWidgetHooks : public lm740::WidgetHooks
{
public:
    ScriptedWidgetHooks() { lm740::setWidgetHooks(this); }
    ~ScriptedWidgetHooks() override { lm740::setWidgetHooks(nullptr); }

    // Colour dialog.
    QList<QColor> colorAnswers; // taken in order; invalid (cancel) when empty
    QList<QColor> dialogInitials;
    int dialogsWithParent = 0;

    QColor getColor(const QColor &initial, QWidget *parent) override
    {
        dialogInitials << initial;
        if (parent)
            ++dialogsWithParent;
        return colorAnswers.isEmpty() ? QColor() : colorAnswers.takeFirst();
    }

    // Drags: what each carried, and which actions it offered.
    struct Drag
    {
        QStringList formats;
        QColor color;
        bool hasColor = false;
        Qt::DropActions actions;
        QObject *source = nullptr;
    };
    QList<Drag> drags;
    QPointer<QWidget> dropTarget; // where the next drag is released; none drops nowhere

    Qt::DropAction execDrag(QDrag *drag, Qt::DropActions supportedActions) override
    {
        const QMimeData *mime = drag->mimeData();
        Drag d;
        d.formats = mime->formats();
        d.hasColor = mime->hasColor();
        d.color = mime->colorData().value<QColor>();
        d.actions = supportedActions;
        d.source = drag->source();
        drags << d;
        Qt::DropAction result = Qt::IgnoreAction;
        if (dropTarget)
            result = deliverDrop(dropTarget, mime, supportedActions);
        drag->deleteLater();
        return result;
    }

    // Delivers enter, move and drop to `target` as Qt does; the drop only follows an accepted
    // enter. Returns the action the target took.
    static Qt::DropAction deliverDrop(QWidget *target, const QMimeData *mime,
                                      Qt::DropActions actions)
    {
        // Qt only offers drags to widgets that accept drops.
        if (!target->acceptDrops())
            return Qt::IgnoreAction;
        const QPointF pos = QRectF(target->rect()).center();
        QDragEnterEvent enter(pos.toPoint(), actions, mime, Qt::LeftButton, Qt::NoModifier);
        enter.ignore();
        QCoreApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return Qt::IgnoreAction;
        QDropEvent drop(pos, actions, mime, Qt::LeftButton, Qt::NoModifier);
        drop.setDropAction(enter.dropAction());
        drop.ignore();
        QCoreApplication::sendEvent(target, &drop);
        return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
    }
};
