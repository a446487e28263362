// The dock "Simulated Lm740": what the simulated controller does with what the window sends it.
// Its two-line LCD, its outputs as a row of lamps as wide as its memory's lamp count, the last
// requests it received (newest first), the faults it was started with and whether it is on the
// bus. Its tick (30 ms, like the preview's) is the controller's clock while the dock shows; it
// runs only while the picture can change, and a hidden dock costs nothing: the controller's time
// is caught up when it shows again. With several simulated controllers it watches one at a time,
// the one the window works with (watch()); the others' time is caught up when they are watched.
#pragma once

#include "layout.h"
#include "sim_options.h"

#include <QDockWidget>
#include <QElapsedTimer>
#include <QList>
#include <QStringList>

#include <vector>

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

    // One more controller that watch() can show, in its USB socket ("1-2"). With more than one,
    // the title names the socket of the one watched.
    void addController(lm740::SimController &controller, const lm740::SimOptions &faults,
                       const QString &port);
    // Shows the controller in `port` from now on; nothing changes for a port it does not know.
    void watch(const QString &port);
    QString watchedPort() const { return m_watched[m_current].port; }

    // What the LCD, the bus line and the fault list show now.
    QStringList lcdLines() const { return m_lcdLines; }
    QString busState() const;
    QStringList faultLines() const { return m_watched[m_current].faultLines; }
    QWidget *lampRow() const { return m_lampRow; }
    QAbstractItemModel *requestModel() const;
    QTimer *tickTimer = nullptr;
    // Draws the outputs in their cells of `layout`, or in a line with none.
    void setLampLayout(const lm740::Layout *layout);

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
    void titleWatched();

    struct Watched
    {
        lm740::SimController *controller;
        bool absent;
        QStringList faultLines;
        QString port;
        QElapsedTimer away; // since it was last ticked by the view, while it is not
    };
    std::vector<Watched> m_watched;
    std::size_t m_current = 0;
    lm740::SimController *m_controller; // the one watched
    QStringList m_lcdLines;
    QLabel *m_faultList = nullptr;
    QWidget *m_lcd = nullptr;
    QWidget *m_lampRow = nullptr;
    QLabel *m_bus = nullptr;
    QTreeView *m_requests = nullptr;
    class RequestModel;
    RequestModel *m_model = nullptr;
    int m_shownRevision = -1;
    bool m_refreshPending = false;
    int m_shownLamps = -1;
    int m_shownRereads = -1;
    QElapsedTimer m_sinceRefresh; // throttles refreshes during a long transfer
};
