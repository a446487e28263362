#include "widget_hooks.h"

#include <QColorDialog>
#include <QDrag>

namespace lm740 {

namespace {
WidgetHooks *g_current = nullptr;
} // namespace

WidgetHooks &widgetHooks()
{
    static QtWidgetHooks real;
    return g_current ? *g_current : real;
}

void setWidgetHooks(WidgetHooks *hooks)
{
    g_current = hooks;
}

QColor QtWidgetHooks::getColor(const QColor &initial, QWidget *parent)
{
    return QColorDialog::getColor(initial, parent);
}

Qt::DropAction QtWidgetHooks::execDrag(QDrag *drag, Qt::DropActions supportedActions)
{
    return drag->exec(supportedActions);
}

} // namespace lm740
