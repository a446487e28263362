#include "layout_dialog.h"

#include "layout_view.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

using lm740::Layout;

LayoutDialog::LayoutDialog(const Layout *layout, int lamps, QWidget *parent)
    : QDialog(parent), m_lamps(lamps), m_layout(layout ? *layout : Layout::strip(lamps))
{
    setWindowTitle(tr("Layout - Lm740"));
    kind = new QComboBox;
    kind->addItems({tr("Strip (a line of lamps)"), tr("Grid, rows left to right"),
                    tr("Grid, serpentine rows"), tr("Grid, columns top to bottom"), tr("Ring"),
                    tr("Free placement")});
    auto spin = [](int max) {
        auto *s = new QSpinBox;
        s->setRange(1, max);
        return s;
    };
    widthSpin = spin(Layout::kMaxSide);
    heightSpin = spin(Layout::kMaxSide);
    ringSpin = spin(lm740::kMaxLamps);
    m_widthLabel = new QLabel(tr("Width"));
    m_heightLabel = new QLabel(tr("Height"));
    m_ringLabel = new QLabel(tr("Lamps on the ring"));
    for (auto [label, buddy] : {std::pair<QLabel *, QWidget *>{m_widthLabel, widthSpin},
                                {m_heightLabel, heightSpin},
                                {m_ringLabel, ringSpin}})
        label->setBuddy(buddy);
    auto *kindLabel = new QLabel(tr("&Kind"));
    kindLabel->setBuddy(kind);

    auto *row = new QHBoxLayout;
    row->addWidget(kindLabel);
    row->addWidget(kind);
    row->addSpacing(12);
    for (QWidget *w : std::initializer_list<QWidget *>{m_widthLabel, widthSpin, m_heightLabel,
                                                       heightSpin, m_ringLabel, ringSpin})
        row->addWidget(w);
    row->addStretch(1);

    view = new LayoutView;
    view->setNumbered(true);
    view->setEditable(true);
    note = new QLabel;
    note->setWordWrap(true);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *box = new QVBoxLayout(this);
    box->addLayout(row);
    box->addWidget(view, 1);
    box->addWidget(note);
    box->addWidget(buttons);

    // The dialog starts from the layout's own text.
    static const QRegularExpression text(QStringLiteral(
        "^(strip|ring|grid|free)(?::(\\d+)(?:x(\\d+))?)?(?::(serpentine|columns))?$"));
    const auto m = text.match(m_layout.shape());
    const QString name = m.captured(1);
    const QString order = m.captured(4);
    const int start = name == QLatin1String("ring")          ? Ring
                      : name == QLatin1String("free")        ? Free
                      : name != QLatin1String("grid")        ? Strip
                      : order == QLatin1String("serpentine") ? Serpentine
                      : order == QLatin1String("columns")    ? Columns
                                                             : Rows;
    kind->setCurrentIndex(start);
    widthSpin->setValue(
        name == QLatin1String("grid") || name == QLatin1String("free") ? m_layout.width() : 10);
    heightSpin->setValue(name == QLatin1String("grid") || name == QLatin1String("free")
                             ? m_layout.height()
                             : std::max(1, (lamps + 9) / 10));
    ringSpin->setValue(name == QLatin1String("ring") ? m.captured(2).toInt() : lamps);

    connect(kind, &QComboBox::currentIndexChanged, this, &LayoutDialog::remake);
    connect(widthSpin, &QSpinBox::valueChanged, this, &LayoutDialog::remake);
    connect(heightSpin, &QSpinBox::valueChanged, this, &LayoutDialog::remake);
    connect(ringSpin, &QSpinBox::valueChanged, this, &LayoutDialog::remake);
    connect(view, &LayoutView::edited, this, [this] {
        m_layout = view->grid();
        // A lamp moved by hand makes the layout free placement.
        const QSignalBlocker blocker(kind);
        kind->setCurrentIndex(Free);
        showLayout();
    });
    showLayout();
    resize(620, 560);
}

std::optional<Layout> LayoutDialog::chosen() const
{
    if (kind->currentIndex() == Strip)
        return std::nullopt;
    return m_layout;
}

void LayoutDialog::remake()
{
    const int w = widthSpin->value();
    const int h = heightSpin->value();
    const QString size = QStringLiteral("%1x%2").arg(w).arg(h);
    switch (kind->currentIndex()) {
    case Strip:
        m_layout = Layout::strip(m_lamps);
        break;
    case Rows:
        m_layout = *Layout::fromShape(QStringLiteral("grid:") + size, m_lamps);
        break;
    case Serpentine:
        m_layout = *Layout::fromShape(QStringLiteral("grid:%1:serpentine").arg(size), m_lamps);
        break;
    case Columns:
        m_layout = *Layout::fromShape(QStringLiteral("grid:%1:columns").arg(size), m_lamps);
        break;
    case Ring:
        if (auto ring =
                Layout::fromShape(QStringLiteral("ring:%1").arg(ringSpin->value()), m_lamps))
            m_layout = *ring;
        break;
    case Free: {
        // Lamps keep their cells while the grid still holds them.
        Layout free = *Layout::fromShape(QStringLiteral("free:") + size, m_lamps);
        for (int lamp = 0; lamp < m_layout.lampCount(); ++lamp)
            if (const auto cell = m_layout.cellOf(lamp); cell && cell->x() < w && cell->y() < h)
                free.place(lamp, cell);
        m_layout = free;
        break;
    }
    }
    showLayout();
}

void LayoutDialog::showLayout()
{
    const int k = kind->currentIndex();
    const bool grid = k == Rows || k == Serpentine || k == Columns || k == Free;
    for (QWidget *w : {static_cast<QWidget *>(m_widthLabel), static_cast<QWidget *>(widthSpin),
                       static_cast<QWidget *>(m_heightLabel), static_cast<QWidget *>(heightSpin)})
        w->setVisible(grid);
    m_ringLabel->setVisible(k == Ring);
    ringSpin->setVisible(k == Ring);
    view->setGrid(m_layout, m_lamps);
    // Soft colours running along the lamps' order show how the string is wired.
    std::vector<QColor> order;
    for (int lamp = 0; lamp < m_lamps; ++lamp)
        order.push_back(QColor::fromHsv(lamp * 300 / std::max(1, m_lamps), 90, 200));
    view->setColors(order);

    int placed = 0;
    for (int lamp = 0; lamp < m_lamps; ++lamp)
        placed += m_layout.cellOf(lamp) ? 1 : 0;
    QString text = tr("%1 of the show's %2 lamps have a cell; the others keep their colours when "
                      "a pattern is baked.")
                       .arg(placed)
                       .arg(m_lamps);
    if (placed == m_lamps)
        text = tr("All %1 lamps have a cell.").arg(m_lamps);
    note->setText(text + QLatin1Char(' ') +
                  tr("Drag a lamp to another cell to move it; click an empty cell to place the "
                     "next lamp without one; right-click a lamp to take it out."));
}
