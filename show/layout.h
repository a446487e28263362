// Where each lamp hangs: a grid of width x height cells and, for each lamp, the cell it sits in or
// none. A pattern is drawn on the grid and each lamp takes the colour of its cell, so the layout is
// what turns a picture into lamp colours. A plain value, kept beside the show in a small JSON file.
#pragma once

#include "show.h"

#include <QByteArray>
#include <QPoint>
#include <QString>

#include <optional>
#include <vector>

namespace lm740 {

class Layout
{
public:
    // The widest side a grid may have; a ring of 170 lamps needs far less.
    static constexpr int kMaxSide = 256;

    // A strip of kDefaultLamps lamps.
    Layout();

    // Lamps 1..lamps in one row, left to right.
    static Layout strip(int lamps);
    // The ready-made layouts by their text:
    //   strip                   one row of `lamps` cells
    //   grid:WxH                rows left to right, top to bottom
    //   grid:WxH:serpentine     as rows, every second row right to left (as LED strings are wired)
    //   grid:WxH:columns        columns top to bottom, left to right
    //   ring:N                  N lamps on a circle clockwise from the top, on a square grid
    //   free:WxH                a grid with no lamp placed yet, for placing lamps one by one
    // Lamps past the last cell (and past N for a ring) have no cell. Nothing with *error set when
    // the text is none of these or a side is outside 1..kMaxSide.
    static std::optional<Layout> fromShape(const QString &shape, int lamps,
                                           QString *error = nullptr);

    int width() const { return m_width; }
    int height() const { return m_height; }
    // The text it was made from; "free:WxH" once a lamp was placed by hand.
    QString shape() const { return m_shape; }
    // How many lamps it names a cell (or none) for: lamps from there on have no cell.
    int lampCount() const { return int(m_cells.size()); }

    // The cell of lamp `lamp` (0 is lamp 1), or nothing when the layout leaves it out.
    std::optional<QPoint> cellOf(int lamp) const;
    // The lamp in a cell (0 is lamp 1), or -1 when the cell is empty or outside the grid.
    int lampAt(QPoint cell) const;

    // Puts lamp `lamp` (0..kMaxLamps-1) into a cell of the grid, or takes it out with nothing.
    // Refused (false with *error set) when the cell is outside the grid or another lamp sits there:
    // two lamps in one cell would always show one colour, which no user means.
    bool place(int lamp, std::optional<QPoint> cell, QString *error = nullptr);

    bool operator==(const Layout &) const = default;

private:
    Layout(int width, int height, QString shape);

    int m_width = 0;
    int m_height = 0;
    QString m_shape;
    std::vector<std::optional<QPoint>> m_cells; // by lamp
};

// The layout file kept beside a show: "show.set" -> "show.layout".
QString layoutFileName(const QString &showFileName);

// The file's bytes: {"version": 1, "width": W, "height": H, "shape": "...", "cells": [[x, y] or
// null, ...]}, one entry per lamp.
QByteArray layoutToJson(const Layout &layout);
// Reads those bytes; nothing with *error set to what is wrong with them.
std::optional<Layout> layoutFromJson(const QByteArray &bytes, QString *error = nullptr);

struct LayoutFile
{
    enum class Status { Read, Missing, Broken };
    Status status = Status::Missing;
    // The file's layout; a strip of the show's lamps when it is missing or broken, so that the
    // show still loads.
    Layout layout;
    // Why it was not read, for the caller to tell the user once; empty when it was.
    QString error;
};

// Reads a layout file; `lamps` sizes the strip used in its place.
LayoutFile readLayoutFile(const QString &fileName, int lamps);
// Writes it whole or not at all (as every file); false with *error set to the system's reason.
bool writeLayoutFile(const QString &fileName, const Layout &layout, QString *error = nullptr);

} // namespace lm740
