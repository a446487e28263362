// The lamps as they hang: a layout's grid of cells with each lamp drawn in its cell, numbered when
// there is room. The Layout dialog edits a layout on it (a lamp dragged to another cell moves
// there, swapping with the lamp it meets; a click on an empty cell places the next lamp that has
// none; a right click takes a lamp out), the Pattern dialog previews on it, and the preview strip
// and the simulated controller's panel draw their lamps with its painter.
#pragma once

#include "layout.h"

#include <QColor>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class LayoutView : public QWidget
{
    Q_OBJECT
public:
    explicit LayoutView(QWidget *parent = nullptr);

    // The layout drawn, for `lamps` lamps (those past the layout's own count have no cell).
    void setGrid(const lm740::Layout &layout, int lamps);
    const lm740::Layout &grid() const { return m_layout; }
    int lamps() const { return m_lamps; }

    // The lamps' colours, lamp 1 first; lamps without one are drawn dark. Repaints only when a
    // colour changed, and says whether one did.
    bool setColors(const std::vector<QColor> &colors);
    void setNumbered(bool numbered);
    // Whether the mouse moves, places and takes out lamps.
    void setEditable(bool editable);

    // Where a cell is drawn, and the cell under a point (nothing outside the grid).
    QRect cellRect(QPoint cell) const;
    std::optional<QPoint> cellAt(QPoint pos) const;

    // Draws `layout` into `area` of a painter: square cells as large as fit, centred; each of the
    // first `lamps` lamps with a cell filled with colorOf(lamp), the empty cells outlined when
    // `numbered`, and the numbers written when the cells have room for them.
    static void paint(QPainter &painter, const QRect &area, const lm740::Layout &layout, int lamps,
                      const std::function<QColor(int)> &colorOf, bool numbered,
                      const QColor &background);
    // The square cell side `paint` uses for `area`.
    static int cellSide(const QRect &area, const lm740::Layout &layout);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // The user moved, placed or took out a lamp.
    void edited();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // Moves lamp `lamp` into `cell`; a lamp sitting there goes to the cell the moved one left.
    void move(int lamp, QPoint cell);

    lm740::Layout m_layout;
    int m_lamps = 0;
    std::vector<QColor> m_colors;
    bool m_numbered = false;
    bool m_editable = false;
    int m_dragged = -1; // the lamp held by the mouse
    QPoint m_dragAt;
};
