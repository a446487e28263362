#include "simulated_lm740_view.h"

#include "layout_view.h"
#include "playback.h"
#include "sim_controller.h"

#include <QAbstractTableModel>
#include <QBoxLayout>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

using lm740::SimController;
using lm740::SimPlayer;

namespace {

constexpr int kLcdColumns = 16;

// The names of the requests as the view shows them.
QString requestName(int code)
{
    namespace usb = lm740::usb;
    switch (code) {
    case usb::LM_ID_REQUEST:
        return SimulatedLm740View::tr("Identify");
    case usb::VERSION_REQUEST:
        return SimulatedLm740View::tr("Version");
    case usb::READ_MEMORY_REQUEST:
        return SimulatedLm740View::tr("Read memory");
    case usb::WRITE_BYTE_REQUEST:
        return SimulatedLm740View::tr("Write byte");
    case usb::WRITE_BLOCK_REQUEST:
        return SimulatedLm740View::tr("Write block");
    case usb::END_PASS_REQUEST:
        return SimulatedLm740View::tr("End of pass");
    case usb::RUN_SCENE_REQUEST:
        return SimulatedLm740View::tr("Run scene");
    case usb::RUN_CHASER_REQUEST:
        return SimulatedLm740View::tr("Run chaser");
    case usb::RUN_PROGRAM_REQUEST:
        return SimulatedLm740View::tr("Run program");
    case usb::BLACKOUT_REQUEST:
        return SimulatedLm740View::tr("Blackout");
    case usb::UPGRADE_DATA_REQUEST:
        return SimulatedLm740View::tr("Upgrade data");
    case usb::UPGRADE_WRITE_REQUEST:
        return SimulatedLm740View::tr("Upgrade write");
    case usb::UPGRADE_READ_REQUEST:
        return SimulatedLm740View::tr("Upgrade read");
    default:
        return SimulatedLm740View::tr("Request %1").arg(code);
    }
}

QStringList describeFaults(const lm740::SimOptions &o)
{
    QStringList lines;
    if (o.absent)
        lines << SimulatedLm740View::tr("not on the bus at all");
    if (o.noPermission)
        lines << SimulatedLm740View::tr("this user may not open it");
    if (o.otherDevice)
        lines << SimulatedLm740View::tr("identifies itself as another device");
    if (o.upgradeMode)
        lines << SimulatedLm740View::tr("waits in its upgrade mode");
    if (o.failProbability > 0)
        lines << SimulatedLm740View::tr("%1 % of the requests fail (seed %2)")
                     .arg(o.failProbability * 100)
                     .arg(o.seed);
    if (o.shortProbability > 0)
        lines << SimulatedLm740View::tr("%1 % of the answers come one byte short")
                     .arg(o.shortProbability * 100);
    if (o.latencyMs > 0)
        lines << SimulatedLm740View::tr("%1 ms per request").arg(o.latencyMs);
    if (o.unplugAfter > 0)
        lines << SimulatedLm740View::tr("leaves the bus after %1 requests, back after %2 searches")
                     .arg(o.unplugAfter)
                     .arg(o.plugBackAfter);
    if (o.busyPolls > 0)
        lines << SimulatedLm740View::tr("ignores %1 polls after programming a block")
                     .arg(o.busyPolls);
    if (o.refuseRequest >= 0)
        lines << SimulatedLm740View::tr("%1: %2 fail after %3 went through")
                     .arg(requestName(o.refuseRequest))
                     .arg(o.refuseCount)
                     .arg(o.refuseAfter);
    if (!o.release.isEmpty())
        lines << SimulatedLm740View::tr("reports release %1")
                     .arg(QString::fromLatin1(lm740::printableBytes(o.release)));
    if (!o.serial.isEmpty())
        lines << SimulatedLm740View::tr("serial number %1")
                     .arg(QString::fromLatin1(lm740::printableBytes(o.serial)));
    if (lines.isEmpty())
        lines << SimulatedLm740View::tr("none");
    return lines;
}

// The two lines of 16 characters the controller's own display would show. Each character sits in
// a cell of its own, as on the controller's display, so the columns line up in the window's own
// bold text (the status bar's), which costs no font of its own at start-up.
class Lcd : public QWidget
{
public:
    explicit Lcd(const QStringList &lines, QWidget *parent) : QWidget(parent), m_lines(lines)
    {
        QFont bold = font();
        bold.setBold(true);
        setFont(bold);
        const QFontMetrics m(bold);
        m_cell = QSize(m.horizontalAdvance(QLatin1Char('M')) + 1, m.height() + 2);
        setFixedSize(m_cell.width() * kLcdColumns + 2 * kLcdMargin,
                     m_cell.height() * 2 + 2 * kLcdMargin);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.fillRect(rect(), QColor(24, 48, 24));
        p.setPen(QColor(140, 240, 110));
        for (int row = 0; row < 2; ++row)
            for (int column = 0; column < kLcdColumns; ++column) {
                const QRect cell(QPoint(kLcdMargin + column * m_cell.width(),
                                        kLcdMargin + row * m_cell.height()),
                                 m_cell);
                p.fillRect(cell.adjusted(1, 1, -1, -1), QColor(30, 60, 30)); // the unlit dots
                const QString line = m_lines.value(row);
                if (column < line.size())
                    p.drawText(cell, Qt::AlignCenter, line.mid(column, 1));
            }
    }

private:
    static constexpr int kLcdMargin = 6;
    const QStringList &m_lines;
    QSize m_cell;
};

// The controller's outputs, one cell per lamp of its memory's lamp count, sharing out the width.
class LampRow : public QWidget
{
public:
    LampRow(const SimController &controller, QWidget *parent)
        : QWidget(parent), m_controller(&controller)
    {
        setMinimumSize(lm740::kMaxLamps, 32);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        const int n = m_controller->player().lamps();
        const int w = width();
        const int h = height();
        if (n == 0) {
            p.fillRect(rect(), palette().window());
            return;
        }
        if (m_layout) {
            LayoutView::paint(
                p, rect(), *m_layout, n, [this](int lamp) { return m_controller->output(lamp); },
                false, palette().color(QPalette::Window));
            return;
        }
        for (int i = 0; i < n; ++i) {
            const int x = i * w / n;
            p.fillRect(x, 0, (i + 1) * w / n - x, h, m_controller->output(i));
        }
    }

public:
    void watch(const SimController &controller)
    {
        m_controller = &controller;
        update();
    }
    void setLampLayout(const lm740::Layout *layout)
    {
        m_layout.reset();
        if (layout)
            m_layout = *layout;
        // Rows of cells need the height a line of lamps does not.
        setMinimumHeight(layout ? std::clamp(layout->height() * 5, 32, 120) : 32);
        update();
    }

private:
    const SimController *m_controller;
    std::optional<lm740::Layout> m_layout;
};

} // namespace

// The controller's recent requests as rows: kind, page and offset, length, outcome.
class SimulatedLm740View::RequestModel : public QAbstractTableModel
{
public:
    RequestModel(const SimController &controller, QObject *parent)
        : QAbstractTableModel(parent), m_controller(&controller)
    {
    }
    void reload(const SimController *controller = nullptr)
    {
        beginResetModel();
        if (controller)
            m_controller = controller;
        endResetModel();
    }
    int rowCount(const QModelIndex &parent) const override
    {
        return parent.isValid() ? 0 : int(m_controller->recentRequests().size());
    }
    int columnCount(const QModelIndex &parent) const override { return parent.isValid() ? 0 : 4; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        switch (section) {
        case 0:
            return SimulatedLm740View::tr("Request");
        case 1:
            return SimulatedLm740View::tr("Page:offset");
        case 2:
            return SimulatedLm740View::tr("Length");
        default:
            return SimulatedLm740View::tr("Result");
        }
    }
    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto &recent = m_controller->recentRequests();
        if (!index.isValid() || index.row() >= int(recent.size()))
            return {};
        const SimController::Request &r = recent[std::size_t(index.row())];
        if (role == Qt::ToolTipRole && r.times > 1)
            return SimulatedLm740View::tr("%n times in a row", nullptr, r.times);
        if (role != Qt::DisplayRole)
            return {};
        switch (index.column()) {
        case 0:
            return r.times > 1 ? SimulatedLm740View::tr("%1 (repeated)").arg(requestName(r.request))
                               : requestName(r.request);
        case 1:
            return QStringLiteral("%1:%2").arg(r.value).arg(r.index);
        case 2:
            return r.length;
        default:
            if (r.result < 0)
                return SimulatedLm740View::tr("failed");
            // An answer to the host, or data taken from it, that fell short of what was asked.
            if (r.result < r.length)
                return SimulatedLm740View::tr("short: %1").arg(r.result);
            return SimulatedLm740View::tr("ok");
        }
    }

private:
    const SimController *m_controller;
};

SimulatedLm740View::SimulatedLm740View(SimController &controller, const lm740::SimOptions &faults,
                                       QWidget *parent)
    : QDockWidget(tr("Simulated Lm740"), parent), m_controller(&controller)
{
    m_watched.push_back({&controller, faults.absent, describeFaults(faults), {}, {}});
    setObjectName(QStringLiteral("simulatedLm740"));
    tickTimer = new QTimer(this);
    tickTimer->setInterval(int(lm740::playback::kTickMs));
    connect(tickTimer, &QTimer::timeout, this, &SimulatedLm740View::tick);

    auto *content = new QWidget(this);
    auto *grid = new QGridLayout(content);
    auto *left = new QVBoxLayout;
    m_lcd = new Lcd(m_lcdLines, content);
    m_lcd->setObjectName(QStringLiteral("lcd"));
    m_bus = new QLabel(content);
    left->addWidget(m_lcd);
    left->addWidget(m_bus);
    auto *faultTitle = new QLabel(tr("Faults:"), content);
    m_faultList = new QLabel(faultLines().join(QLatin1Char('\n')), content);
    m_faultList->setWordWrap(true);
    left->addWidget(faultTitle);
    left->addWidget(m_faultList);
    left->addStretch();
    grid->addLayout(left, 0, 0, 2, 1);

    m_lampRow = new LampRow(controller, content);
    grid->addWidget(m_lampRow, 0, 1);
    m_model = new RequestModel(controller, this);
    m_requests = new QTreeView(content);
    m_requests->setModel(m_model);
    m_requests->setRootIsDecorated(false);
    m_requests->setUniformRowHeights(true);
    m_requests->setAlternatingRowColors(true);
    m_requests->setSelectionMode(QAbstractItemView::NoSelection);
    m_requests->setMinimumHeight(80);
    const QFontMetrics metrics(m_requests->font());
    QHeaderView *header = m_requests->header();
    header->resizeSection(0, metrics.horizontalAdvance(tr("Read memory (repeated)")) +
                                 metrics.averageCharWidth() * 3);
    for (int column = 1; column < 3; ++column)
        header->resizeSection(column, metrics.averageCharWidth() * 12);
    // A header longer in the language shown than its values widens its column, uncut.
    for (int column = 0; column < 3; ++column)
        header->resizeSection(
            column, std::max(header->sectionSize(column), header->sectionSizeHint(column)));
    m_requests->setAccessibleName(tr("Requests received, newest first"));
    grid->addWidget(m_requests, 1, 1);
    grid->setColumnStretch(1, 1);
    setWidget(content);

    m_controller->setActivityHook([this] { controllerActive(); });
    refresh(true);
}

SimulatedLm740View::~SimulatedLm740View()
{
    m_controller->setActivityHook({});
}

void SimulatedLm740View::addController(SimController &controller, const lm740::SimOptions &faults,
                                       const QString &port)
{
    if (m_watched.size() == 1 && m_watched.front().port.isEmpty())
        m_watched.front().port = port; // the first, given at construction
    if (&controller != m_watched.front().controller) {
        m_watched.push_back({&controller, faults.absent, describeFaults(faults), port, {}});
        m_watched.back().away.start(); // nobody has ticked it since the start
    }
    titleWatched();
}

void SimulatedLm740View::watch(const QString &port)
{
    std::size_t next = 0;
    while (next < m_watched.size() && m_watched[next].port != port)
        ++next;
    if (port.isEmpty() || next == m_watched.size() || next == m_current)
        return;
    Watched &was = m_watched[m_current];
    was.controller->setActivityHook({});
    if (!was.away.isValid()) // when hidden, it has been away since then
        was.away.start();
    m_current = next;
    Watched &now = m_watched[m_current];
    m_controller = now.controller;
    if (isVisible()) {
        m_controller->catchUp(now.away.elapsed());
        now.away.invalidate();
    }
    static_cast<LampRow *>(m_lampRow)->watch(*m_controller);
    m_model->reload(m_controller);
    m_shownRevision = m_controller->recentRevision();
    m_faultList->setText(now.faultLines.join(QLatin1Char('\n')));
    m_controller->setActivityHook([this] { controllerActive(); });
    titleWatched();
    refresh(true);
}

void SimulatedLm740View::titleWatched()
{
    setWindowTitle(m_watched.size() > 1 ? tr("Simulated Lm740 %1").arg(watchedPort())
                                        : tr("Simulated Lm740"));
}

QAbstractItemModel *SimulatedLm740View::requestModel() const
{
    return m_model;
}

QString SimulatedLm740View::busState() const
{
    return m_bus->text();
}

void SimulatedLm740View::tick()
{
    refresh(m_controller->tick());
}

QList<QWidget *> SimulatedLm740View::refresh(bool lampsMoved)
{
    QList<QWidget *> changed;
    m_sinceRefresh.start();
    const SimPlayer &player = m_controller->player();
    // A byte written into what it plays changes the picture between two ticks.
    if (lampsMoved || player.lamps() != m_shownLamps || player.rereads() != m_shownRereads) {
        m_shownLamps = player.lamps();
        m_shownRereads = player.rereads();
        changed << m_lampRow;
    }

    QStringList lines;
    if (m_controller->upgradeMode()) {
        lines << tr("Upgrade mode");
        const int block = m_controller->programmedBlock();
        lines << (block >= 0 ? tr("Block %1").arg(block) : QString());
    } else {
        if (m_controller->mainLoopHeld())
            lines << tr("USB transfer");
        else if (player.item() == SimPlayer::Item::Scene)
            lines << tr("Scene %1").arg(player.number() + 1);
        else if (player.item() == SimPlayer::Item::Chaser)
            lines << tr("Chaser %1").arg(player.number() + 1);
        else if (player.item() == SimPlayer::Item::Program)
            lines << tr("Program %1 step %2").arg(player.number() + 1).arg(player.step() + 1);
        else
            lines << tr("Blackout");
        lines << QString::fromLatin1(m_controller->versionText()).section(QChar(0), 0, 0);
    }
    for (QString &line : lines)
        line.truncate(kLcdColumns);
    if (lines != m_lcdLines) {
        m_lcdLines = lines;
        // What a screen reader reads: the display is painted, it has no text of its own.
        m_lcd->setAccessibleName(lines.join(QLatin1Char('\n')));
        changed << m_lcd;
    }

    const bool absent = m_watched[m_current].absent;
    const QString bus = absent                   ? tr("Not on the bus")
                        : !m_controller->onBus() ? tr("Off the bus: unplugged")
                                                 : tr("On the bus");
    if (bus != m_bus->text()) {
        m_bus->setText(bus);
        m_bus->setStyleSheet(absent || !m_controller->onBus()
                                 ? QStringLiteral("color: rgb(200, 0, 0); font-weight: bold")
                                 : QString());
        changed << m_bus;
    }

    if (m_controller->recentRevision() != m_shownRevision) {
        m_shownRevision = m_controller->recentRevision();
        m_model->reload();
        changed << m_requests->viewport();
    }
    for (QWidget *w : std::as_const(changed))
        w->update();
    keepTicking();
    return changed;
}

void SimulatedLm740View::keepTicking()
{
    const bool playing = m_controller->player().moving() && !m_controller->mainLoopHeld() &&
                         !m_controller->upgradeMode();
    if (isVisible() && playing) {
        if (!tickTimer->isActive())
            tickTimer->start();
    } else {
        tickTimer->stop();
    }
}

void SimulatedLm740View::controllerActive()
{
    if (!isVisible())
        return;
    if (!m_refreshPending) {
        m_refreshPending = true;
        QTimer::singleShot(0, this, [this] {
            m_refreshPending = false;
            refresh(false);
        });
    }
    // A long transfer keeps the event loop from running: what changes is shown as it comes, a few
    // times a second, the way the progress bar is.
    if (m_sinceRefresh.isValid() && m_sinceRefresh.elapsed() < 100)
        return;
    for (QWidget *w : refresh(false))
        w->repaint();
}

void SimulatedLm740View::showEvent(QShowEvent *event)
{
    QDockWidget::showEvent(event);
    Watched &now = m_watched[m_current];
    if (now.away.isValid()) {
        m_controller->catchUp(now.away.elapsed());
        now.away.invalidate();
    }
    refresh(true);
}

void SimulatedLm740View::hideEvent(QHideEvent *event)
{
    QDockWidget::hideEvent(event);
    m_watched[m_current].away.start();
    tickTimer->stop();
}

void SimulatedLm740View::setLampLayout(const lm740::Layout *layout)
{
    static_cast<LampRow *>(m_lampRow)->setLampLayout(layout);
}
