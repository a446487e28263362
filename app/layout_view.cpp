#include "layout_view.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

using lm740::Layout;

LayoutView::LayoutView(QWidget *parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void LayoutView::setGrid(const Layout &layout, int lamps)
{
    m_layout = layout;
    m_lamps = lamps;
    m_dragged = -1;
    update();
}

bool LayoutView::setColors(const std::vector<QColor> &colors)
{
    if (colors == m_colors)
        return false;
    m_colors = colors;
    update();
    return true;
}

void LayoutView::setNumbered(bool numbered)
{
    m_numbered = numbered;
    update();
}

void LayoutView::setEditable(bool editable)
{
    m_editable = editable;
    setCursor(editable ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

int LayoutView::cellSide(const QRect &area, const Layout &layout)
{
    if (layout.width() < 1 || layout.height() < 1)
        return 1;
    return std::max(1, std::min(area.width() / layout.width(), area.height() / layout.height()));
}

namespace {

// The top left corner of the grid, centred in `area`.
QPoint origin(const QRect &area, const Layout &layout, int side)
{
    return area.topLeft() + QPoint((area.width() - side * layout.width()) / 2,
                                   (area.height() - side * layout.height()) / 2);
}

} // namespace

QRect LayoutView::cellRect(QPoint cell) const
{
    const int side = cellSide(rect(), m_layout);
    return QRect(origin(rect(), m_layout, side) + QPoint(cell.x() * side, cell.y() * side),
                 QSize(side, side));
}

std::optional<QPoint> LayoutView::cellAt(QPoint pos) const
{
    const int side = cellSide(rect(), m_layout);
    const QPoint at = pos - origin(rect(), m_layout, side);
    if (at.x() < 0 || at.y() < 0)
        return std::nullopt;
    const QPoint cell(at.x() / side, at.y() / side);
    if (cell.x() >= m_layout.width() || cell.y() >= m_layout.height())
        return std::nullopt;
    return cell;
}

void LayoutView::paint(QPainter &painter, const QRect &area, const Layout &layout, int lamps,
                       const std::function<QColor(int)> &colorOf, bool numbered,
                       const QColor &background)
{
    painter.fillRect(area, background);
    const int side = cellSide(area, layout);
    const QPoint corner = origin(area, layout, side);
    // A line between cells once they are large enough to spare it.
    const int gap = side >= 6 ? 1 : 0;
    if (numbered) {
        painter.setPen(background.lightness() < 128 ? QColor(80, 80, 80) : QColor(180, 180, 180));
        for (int y = 0; y < layout.height(); ++y)
            for (int x = 0; x < layout.width(); ++x)
                if (layout.lampAt({x, y}) < 0 || layout.lampAt({x, y}) >= lamps)
                    painter.drawRect(corner.x() + x * side, corner.y() + y * side, side - 1 - gap,
                                     side - 1 - gap);
    }
    QFont small = painter.font();
    small.setPixelSize(std::clamp(side / 3, 6, 14));
    painter.setFont(small);
    const bool writeNumbers = numbered && side >= 16;
    const int count = std::min(lamps, layout.lampCount());
    for (int lamp = 0; lamp < count; ++lamp) {
        const std::optional<QPoint> cell = layout.cellOf(lamp);
        if (!cell)
            continue;
        const QRect r(corner.x() + cell->x() * side, corner.y() + cell->y() * side, side - gap,
                      side - gap);
        const QColor color = colorOf(lamp);
        painter.fillRect(r, color);
        if (writeNumbers) {
            painter.setPen(color.lightness() < 140 ? Qt::white : Qt::black);
            painter.drawText(r, Qt::AlignCenter, QString::number(lamp + 1));
        }
    }
}

QSize LayoutView::sizeHint() const
{
    return {420, 420};
}

QSize LayoutView::minimumSizeHint() const
{
    return {160, 120};
}

void LayoutView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor unlit(40, 40, 40);
    paint(
        painter, rect(), m_layout, m_lamps,
        [this, unlit](int lamp) {
            if (lamp == m_dragged)
                return palette().color(QPalette::Highlight);
            return size_t(lamp) < m_colors.size() ? m_colors[size_t(lamp)] : unlit;
        },
        m_numbered, palette().color(QPalette::Base));
    if (m_dragged >= 0) {
        // The lamp held follows the mouse.
        const int side = cellSide(rect(), m_layout);
        QRect held(QPoint(), QSize(side, side));
        held.moveCenter(m_dragAt);
        painter.setPen(palette().color(QPalette::Text));
        painter.setBrush(palette().color(QPalette::Highlight));
        painter.drawRect(held.adjusted(0, 0, -1, -1));
        painter.setPen(palette().color(QPalette::HighlightedText));
        painter.drawText(held, Qt::AlignCenter, QString::number(m_dragged + 1));
    }
}

void LayoutView::mousePressEvent(QMouseEvent *event)
{
    const std::optional<QPoint> cell = cellAt(event->position().toPoint());
    if (!m_editable || !cell)
        return;
    const int lamp = m_layout.lampAt(*cell);
    const bool present = lamp >= 0 && lamp < m_lamps;
    if (event->button() == Qt::RightButton) {
        if (present && m_layout.place(lamp, std::nullopt))
            emit edited();
        update();
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    if (present) {
        m_dragged = lamp;
        m_dragAt = event->position().toPoint();
        update();
        return;
    }
    // The next lamp without a cell goes into the empty cell.
    for (int next = 0; next < m_lamps; ++next)
        if (!m_layout.cellOf(next)) {
            if (m_layout.place(next, *cell))
                emit edited();
            update();
            return;
        }
}

void LayoutView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragged < 0)
        return;
    m_dragAt = event->position().toPoint();
    update();
}

void LayoutView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_dragged < 0)
        return;
    const int lamp = m_dragged;
    m_dragged = -1;
    if (const std::optional<QPoint> cell = cellAt(event->position().toPoint()))
        move(lamp, *cell);
    update();
}

void LayoutView::move(int lamp, QPoint cell)
{
    const std::optional<QPoint> from = m_layout.cellOf(lamp);
    if (!from || *from == cell)
        return;
    const int other = m_layout.lampAt(cell);
    if (other >= 0)
        m_layout.place(other, std::nullopt);
    m_layout.place(lamp, cell);
    if (other >= 0)
        m_layout.place(other, *from);
    emit edited();
}
