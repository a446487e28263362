// The two places where a lamp widget would block on the user: the colour dialog and a running
// drag. Both go through this hook so that tests can answer at once instead of waiting on a person.
#pragma once

#include <QColor>
#include <Qt>

class QDrag;
class QWidget;

namespace lm740 {

class WidgetHooks
{
public:
    virtual ~WidgetHooks() = default;

    // The modal colour dialog; an invalid colour means the user cancelled.
    virtual QColor getColor(const QColor &initial, QWidget *parent) = 0;

    // Runs a drag to its end and returns the action the target took. The hook owns the drag from
    // here on and must dispose of it (QDrag::exec does that on its own).
    virtual Qt::DropAction execDrag(QDrag *drag, Qt::DropActions supportedActions) = 0;
};

// Real dialog and real drag and drop.
class QtWidgetHooks : public WidgetHooks
{
public:
    QColor getColor(const QColor &initial, QWidget *parent) override;
    Qt::DropAction execDrag(QDrag *drag, Qt::DropActions supportedActions) override;
};

// The hooks in use. Defaults to QtWidgetHooks; a test installs its own and restores the previous
// one (nullptr restores the default).
WidgetHooks &widgetHooks();
void setWidgetHooks(WidgetHooks *hooks);

} // namespace lm740
