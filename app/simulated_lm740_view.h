// The dock "Simulated Lm740": what the simulated controller does with what the window sends it.
// Its two-line LCD, its outputs as a row of lamps as wide as its memory's lamp count, the last
// requests it received (newest first), the faults it was started with and whether it is on the
// bus. Its tick (30 ms, like the preview's) is the controller's clock while the dock shows; it
// runs only while the picture can change, and a hidden dock costs nothing: the controller's time
// is caught up when it shows again.
#pragma once

#include "sim_options.h"

#include <QDockWidget>
#include <QElapsedTimer>
#include <QList>
#include <QStringList>

class QLabel;
class QTimer;
class QTreeView;
class QAbstractItemModel;

namespace lm740 {
class SimController;
}

class SimulatedLm740View : public QDockWidget
{
    Q_OBJECT
public:
    SimulatedLm740View(lm740::SimController &controller, const lm740::SimOptions &faults,
                       QWidget *parent = nullptr);
    ~SimulatedLm740View() override;

    // What the LCD, the bus line and the fault list show now.
    QStringList lcdLines() const { return m_lcdLines; }
    QString busState() const;
    QStringList faultLines() const { return m_faultLines; }
    QWidget *lampRow() const { return m_lampRow; }
    QAbstractItemModel *requestModel() const;
    QTimer *tickTimer = nullptr;

public Q_SLOTS:
    // One tick of the controller's clock, and the picture brought up to date.
    void tick();

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void controllerActive();
    // Brings the parts up to date and schedules their repaint; gives those that changed.
    QList<QWidget *> refresh(bool lampsMoved);
    void keepTicking();

    lm740::SimController &m_controller;
    const bool m_absent;
    QStringList m_lcdLines;
    QStringList m_faultLines;
    QWidget *m_lcd = nullptr;
    QWidget *m_lampRow = nullptr;
    QLabel *m_bus = nullptr;
    QTreeView *m_requests = nullptr;
    class RequestModel;
    RequestModel *m_model = nullptr;
    int m_shownRevision = -1;
    bool m_refreshPending = false;
    int m_shownLamps = -1;
    QElapsedTimer m_hidden;       // since the dock was hidden
    QElapsedTimer m_sinceRefresh; // throttles refreshes during a long transfer
};
