#include "layout.h"

#include "safe_file.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace lm740 {

namespace {

constexpr int kLayoutVersion = 1;
// A layout file holds a few kilobytes; anything far larger is not one.
constexpr qint64 kMaxLayoutFileSize = 1 << 20;

bool setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
    return false;
}

// An integer given as a JSON number, or nothing (2.5, "3" and 1e300 are no integers).
std::optional<int> integerOf(const QJsonValue &value)
{
    if (!value.isDouble())
        return std::nullopt;
    const double d = value.toDouble();
    if (d != std::floor(d) || std::abs(d) > 1e9)
        return std::nullopt;
    return int(d);
}

} // namespace

Layout::Layout() : Layout(strip(kDefaultLamps)) {}

Layout::Layout(int width, int height, QString shape)
    : m_width(width), m_height(height), m_shape(std::move(shape))
{
}

Layout Layout::strip(int lamps)
{
    lamps = std::clamp(lamps, kMinLamps, kMaxLamps);
    Layout layout(lamps, 1, QStringLiteral("strip"));
    for (int lamp = 0; lamp < lamps; ++lamp)
        layout.m_cells.push_back(QPoint(lamp, 0));
    return layout;
}

std::optional<Layout> Layout::fromShape(const QString &shape, int lamps, QString *error)
{
    static const QRegularExpression grid(
        QStringLiteral("^(grid|free):(\\d{1,4})x(\\d{1,4})(?::(serpentine|columns))?$"));
    static const QRegularExpression ring(QStringLiteral("^ring:(\\d{1,4})$"));

    if (shape == QLatin1String("strip"))
        return strip(lamps);

    if (const auto m = ring.match(shape); m.hasMatch()) {
        const int n = m.captured(1).toInt();
        if (n < 1 || n > kMaxLamps) {
            setError(error,
                     QStringLiteral("A ring holds 1 to %1 lamps, not %2.").arg(kMaxLamps).arg(n));
            return std::nullopt;
        }
        // The smallest square on which every lamp of the circle gets a cell of its own.
        for (int side = std::max(1, int(std::ceil(n / std::numbers::pi))); side <= kMaxSide;
             ++side) {
            Layout layout(side, side, shape);
            const double centre = (side - 1) / 2.0;
            bool apart = true;
            for (int lamp = 0; lamp < n && apart; ++lamp) {
                const double angle = 2 * std::numbers::pi * lamp / n;
                const QPoint cell(int(std::floor(centre + centre * std::sin(angle) + 0.5)),
                                  int(std::floor(centre - centre * std::cos(angle) + 0.5)));
                apart = layout.lampAt(cell) < 0;
                layout.m_cells.push_back(cell);
            }
            if (apart)
                return layout;
        }
        setError(error, QStringLiteral("A ring of %1 lamps does not fit on the grid.").arg(n));
        return std::nullopt;
    }

    const auto m = grid.match(shape);
    if (!m.hasMatch()) {
        setError(error, QStringLiteral("\"%1\" is no layout: use strip, grid:WxH, "
                                       "grid:WxH:serpentine, grid:WxH:columns, ring:N or free:WxH.")
                            .arg(shape));
        return std::nullopt;
    }
    const bool free = m.captured(1) == QLatin1String("free");
    const int width = m.captured(2).toInt();
    const int height = m.captured(3).toInt();
    const QString order = m.captured(4);
    if (width < 1 || width > kMaxSide || height < 1 || height > kMaxSide) {
        setError(error, QStringLiteral("A grid's sides are 1 to %1 cells, not %2 x %3.")
                            .arg(kMaxSide)
                            .arg(width)
                            .arg(height));
        return std::nullopt;
    }
    if (free && !order.isEmpty()) {
        setError(error, QStringLiteral("A free layout has no order of its own: use free:WxH."));
        return std::nullopt;
    }
    Layout layout(width, height, shape);
    if (free)
        return layout;
    const int placed = std::min(width * height, kMaxLamps);
    for (int lamp = 0; lamp < placed; ++lamp) {
        if (order == QLatin1String("columns")) {
            layout.m_cells.push_back(QPoint(lamp / height, lamp % height));
            continue;
        }
        const int y = lamp / width;
        const int x = lamp % width;
        const bool reversed = order == QLatin1String("serpentine") && y % 2 == 1;
        layout.m_cells.push_back(QPoint(reversed ? width - 1 - x : x, y));
    }
    return layout;
}

std::optional<QPoint> Layout::cellOf(int lamp) const
{
    if (lamp < 0 || lamp >= lampCount())
        return std::nullopt;
    return m_cells[lamp];
}

int Layout::lampAt(QPoint cell) const
{
    const auto found = std::find(m_cells.begin(), m_cells.end(), std::optional<QPoint>(cell));
    return found == m_cells.end() ? -1 : int(found - m_cells.begin());
}

bool Layout::place(int lamp, std::optional<QPoint> cell, QString *error)
{
    if (lamp < 0 || lamp >= kMaxLamps)
        return setError(error, QStringLiteral("There is no lamp %1.").arg(lamp + 1));
    if (cell) {
        if (cell->x() < 0 || cell->x() >= m_width || cell->y() < 0 || cell->y() >= m_height)
            return setError(error, QStringLiteral("Cell %1,%2 is outside the %3 x %4 grid.")
                                       .arg(cell->x() + 1)
                                       .arg(cell->y() + 1)
                                       .arg(m_width)
                                       .arg(m_height));
        const int there = lampAt(*cell);
        if (there >= 0 && there != lamp)
            return setError(error, QStringLiteral("Lamp %1 already sits in cell %2,%3.")
                                       .arg(there + 1)
                                       .arg(cell->x() + 1)
                                       .arg(cell->y() + 1));
    }
    if (lamp >= lampCount())
        m_cells.resize(lamp + 1);
    m_cells[lamp] = cell;
    m_shape = QStringLiteral("free:%1x%2").arg(m_width).arg(m_height);
    return true;
}

QString layoutFileName(const QString &showFileName)
{
    const QFileInfo info(showFileName);
    const QString base = info.suffix().isEmpty() ? info.fileName() : info.completeBaseName();
    return info.dir().filePath(base + QStringLiteral(".layout"));
}

QByteArray layoutToJson(const Layout &layout)
{
    QJsonArray cells;
    for (int lamp = 0; lamp < layout.lampCount(); ++lamp) {
        const auto cell = layout.cellOf(lamp);
        cells.append(cell ? QJsonValue(QJsonArray{cell->x(), cell->y()}) : QJsonValue());
    }
    const QJsonObject object{{QStringLiteral("version"), kLayoutVersion},
                             {QStringLiteral("width"), layout.width()},
                             {QStringLiteral("height"), layout.height()},
                             {QStringLiteral("shape"), layout.shape()},
                             {QStringLiteral("cells"), cells}};
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

std::optional<Layout> layoutFromJson(const QByteArray &bytes, QString *error)
{
    QJsonParseError parse;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &parse);
    if (parse.error != QJsonParseError::NoError) {
        setError(
            error,
            QStringLiteral("not JSON (%1 at byte %2)").arg(parse.errorString()).arg(parse.offset));
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    const auto version = integerOf(object.value(QStringLiteral("version")));
    if (!document.isObject() || !version) {
        setError(error, QStringLiteral("no layout version"));
        return std::nullopt;
    }
    if (*version != kLayoutVersion) {
        setError(error,
                 QStringLiteral("layout version %1 is not known to this program").arg(*version));
        return std::nullopt;
    }
    const auto width = integerOf(object.value(QStringLiteral("width")));
    const auto height = integerOf(object.value(QStringLiteral("height")));
    if (!width || !height || *width < 1 || *width > Layout::kMaxSide || *height < 1 ||
        *height > Layout::kMaxSide) {
        setError(
            error,
            QStringLiteral("the grid's width and height must be 1 to %1").arg(Layout::kMaxSide));
        return std::nullopt;
    }
    const QJsonValue cellsValue = object.value(QStringLiteral("cells"));
    const QJsonArray cells = cellsValue.toArray();
    if (!cellsValue.isArray() || cells.size() > kMaxLamps) {
        setError(error,
                 QStringLiteral("the cells must be a list of at most %1 lamps").arg(kMaxLamps));
        return std::nullopt;
    }

    // The cells are what the file means; its shape only names them when it still matches.
    auto layout = Layout::fromShape(QStringLiteral("free:%1x%2").arg(*width).arg(*height), 0);
    for (int lamp = 0; lamp < int(cells.size()); ++lamp) {
        const QJsonValue entry = cells.at(lamp);
        std::optional<QPoint> cell;
        if (!entry.isNull()) {
            const QJsonArray pair = entry.toArray();
            const auto x = pair.size() == 2 ? integerOf(pair.at(0)) : std::nullopt;
            const auto y = pair.size() == 2 ? integerOf(pair.at(1)) : std::nullopt;
            if (!x || !y) {
                setError(error, QStringLiteral("lamp %1: a cell is [x, y] or null").arg(lamp + 1));
                return std::nullopt;
            }
            cell = QPoint(*x, *y);
        }
        QString why;
        if (!layout->place(lamp, cell, &why)) {
            setError(error, QStringLiteral("lamp %1: %2").arg(lamp + 1).arg(why));
            return std::nullopt;
        }
    }
    const QString shape = object.value(QStringLiteral("shape")).toString();
    auto named = Layout::fromShape(shape, layout->lampCount());
    if (named && named->width() == layout->width() && named->height() == layout->height()) {
        bool same = true;
        for (int lamp = 0; lamp < std::max(named->lampCount(), layout->lampCount()); ++lamp)
            same = same && named->cellOf(lamp) == layout->cellOf(lamp);
        if (same)
            return named;
    }
    return layout;
}

LayoutFile readLayoutFile(const QString &fileName, int lamps)
{
    LayoutFile file;
    file.layout = Layout::strip(lamps);
    if (!QFileInfo::exists(fileName)) {
        file.error = QStringLiteral("%1: no layout; the lamps hang in a strip.").arg(fileName);
        return file;
    }
    file.status = LayoutFile::Status::Broken;
    QByteArray bytes;
    qint64 size = 0;
    QString why;
    if (!files::readRegularFile(fileName, kMaxLayoutFileSize, &bytes, &size, &why)) {
        file.error = QStringLiteral("%1: %2; the lamps hang in a strip.").arg(fileName, why);
        return file;
    }
    if (size > kMaxLayoutFileSize) {
        file.error =
            QStringLiteral("%1: too large for a layout; the lamps hang in a strip.").arg(fileName);
        return file;
    }
    auto layout = layoutFromJson(bytes, &why);
    if (!layout) {
        file.error = QStringLiteral("%1: %2; the lamps hang in a strip.").arg(fileName, why);
        return file;
    }
    file.status = LayoutFile::Status::Read;
    file.layout = *layout;
    return file;
}

bool writeLayoutFile(const QString &fileName, const Layout &layout, QString *error)
{
    return files::writeFileSafely(fileName, layoutToJson(layout), error);
}

} // namespace lm740
