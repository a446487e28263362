#include "my_dock_widget.h"

#include "logging.h"

#include <QTimer>

MyDockWidget::MyDockWidget(QWidget *parent) : QDockWidget(parent)
{
    qCDebug(lcApp) << "mydockwidget construct";
    lm740::setLampsBlack(targetColors);
    lm740::setLampsBlack(previousColors);
    tickTimer = new QTimer(this);
    connect(tickTimer, &QTimer::timeout, this, &MyDockWidget::ten_msec);
    setFloating(false);
    // A title-less strip: it is a preview, not a panel the user rearranges.
    setFeatures(QDockWidget::NoDockWidgetFeatures);
    setTitleBarWidget(new QWidget(this));
    // It has no title and cannot be closed, so the window's tool bar menu would list it as a
    // blank entry that does nothing.
    toggleViewAction()->setVisible(false);
    qCDebug(lcApp) << "mydockwidget construct end";
}

void MyDockWidget::ten_msec()
{
    elapsed += 30;
    update();
}
