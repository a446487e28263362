// Edit > Layout...: where the show's lamps hang. A ready-made kind with its size (a strip, a grid
// in rows, in serpentine rows or in columns, a ring) or free placement, with the lamps drawn in
// their cells and numbered; a lamp dragged to another cell moves there, and then the layout is
// free placement.
#pragma once

#include "layout.h"

#include <QDialog>

#include <optional>

class LayoutView;
class QComboBox;
class QLabel;
class QSpinBox;

class LayoutDialog : public QDialog
{
    Q_OBJECT
public:
    // The kinds in the order the dialog offers them.
    enum Kind { Strip, Rows, Serpentine, Columns, Ring, Free };

    // Starts from `layout` (none: a strip) for a show of `lamps` lamps.
    LayoutDialog(const lm740::Layout *layout, int lamps, QWidget *parent = nullptr);

    // The layout chosen; nothing for a strip.
    std::optional<lm740::Layout> chosen() const;

    QComboBox *kind = nullptr;
    QSpinBox *widthSpin = nullptr;
    QSpinBox *heightSpin = nullptr;
    QSpinBox *ringSpin = nullptr;
    LayoutView *view = nullptr;
    QLabel *note = nullptr;

private:
    // The layout made anew from the kind and sizes; free placement keeps the lamps that still fit.
    void remake();
    void showLayout();

    int m_lamps;
    lm740::Layout m_layout;
    QLabel *m_widthLabel = nullptr;
    QLabel *m_heightLabel = nullptr;
    QLabel *m_ringLabel = nullptr;
};
