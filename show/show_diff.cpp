#include "show_diff.h"

namespace lm740 {

namespace {

// An unset slot reads as black everywhere else in the program; so it does here.
QRgb rgbOf(const QColor &color)
{
    return color.isValid() ? (color.rgb() | 0xFF000000u) : qRgb(0, 0, 0);
}

QString directionName(int value)
{
    return value == 1   ? QStringLiteral("left")
           : value == 2 ? QStringLiteral("right")
                        : QString::number(value);
}

class Collector
{
public:
    QList<ShowDifference> differences;

    void value(const QString &item, const QString &field, qint64 from, qint64 to,
               const QString &unit = {})
    {
        if (from != to)
            text(item, field, QString::number(from), QString::number(to), unit);
    }
    void text(const QString &item, const QString &field, const QString &from, const QString &to,
              const QString &unit = {})
    {
        if (from != to)
            differences.append({item, field, 0, 0, from, to, unit});
    }
    void lamps(const QString &item, const ColorArray &a, const ColorArray &b, int count)
    {
        for (int lamp = 0; lamp < count;) {
            const QRgb to = rgbOf(b[lamp]);
            if (rgbOf(a[lamp]) == to) {
                ++lamp;
                continue;
            }
            int last = lamp;
            while (last + 1 < count && rgbOf(b[last + 1]) == to && rgbOf(a[last + 1]) != to)
                ++last;
            differences.append({item, QStringLiteral("lamps"), lamp + 1, last + 1, QString(),
                                colorName(QColor::fromRgb(to)), QString()});
            lamp = last + 1;
        }
    }
};

} // namespace

QString colorName(const QColor &color)
{
    const QRgb rgb = rgbOf(color);
    static const struct
    {
        QRgb rgb;
        const char *name;
    } kNamed[] = {
        {qRgb(0, 0, 0), "black"},    {qRgb(255, 255, 255), "white"}, {qRgb(255, 0, 0), "red"},
        {qRgb(0, 255, 0), "green"},  {qRgb(0, 0, 255), "blue"},      {qRgb(255, 255, 0), "yellow"},
        {qRgb(0, 255, 255), "cyan"}, {qRgb(255, 0, 255), "magenta"},
    };
    for (const auto &n : kNamed)
        if (n.rgb == rgb)
            return QLatin1String(n.name);
    return QColor::fromRgb(rgb).name(QColor::HexRgb);
}

QString ShowDifference::text() const
{
    QString what;
    if (field == QLatin1String("lamps"))
        what = firstLamp == lastLamp
                   ? QStringLiteral("lamp %1 %2").arg(firstLamp).arg(to)
                   : QStringLiteral("lamps %1-%2 %3").arg(firstLamp).arg(lastLamp).arg(to);
    else if (field == QLatin1String("last step mark"))
        what = field +
               (to == QLatin1String("yes") ? QStringLiteral(" set") : QStringLiteral(" cleared"));
    else
        what = QStringLiteral("%1 %2 -> %3").arg(field, from, to) +
               (unit.isEmpty() ? QString() : QLatin1Char(' ') + unit);
    return item.isEmpty() ? what : item + QStringLiteral(": ") + what;
}

QList<ShowDifference> compareShows(const ComparedShow &a, const ComparedShow &b)
{
    Collector c;
    const Show &x = *a.show;
    const Show &y = *b.show;
    const int lamps = boundedLampCount(qMax(a.lamps, b.lamps));
    c.value({}, QStringLiteral("lamp count"), a.lamps, b.lamps);
    c.value({}, QStringLiteral("global scene time"), a.sceneTime, b.sceneTime, QStringLiteral("s"));
    for (int s = 0; s < kSceneCount; ++s)
        c.lamps(QStringLiteral("scene %1").arg(s + 1), x.sceneColors[s], y.sceneColors[s], lamps);
    for (int n = 0; n < kChaserCount; ++n) {
        const t_chaser &p = x.chasers[n];
        const t_chaser &q = y.chasers[n];
        const QString item = QStringLiteral("chaser %1").arg(n + 1);
        c.value(item, QStringLiteral("time"), p.time, q.time, QStringLiteral("ms"));
        c.value(item, QStringLiteral("cross-fade"), p.xfade, q.xfade, QStringLiteral("%"));
        c.text(item, QStringLiteral("direction"), directionName(p.direction),
               directionName(q.direction));
        c.value(item, QStringLiteral("pattern length"), p.pattern_len, q.pattern_len);
        c.value(item, QStringLiteral("repeat"), p.repeat_number, q.repeat_number);
        c.lamps(item, p.colors, q.colors, lamps);
    }
    for (int n = 0; n < kProgramCount; ++n) {
        for (int step = 0; step < kProgramSteps; ++step) {
            const t_program_scene &p = x.programs[n].scenes[step];
            const t_program_scene &q = y.programs[n].scenes[step];
            const QString item = QStringLiteral("program %1 step %2").arg(n + 1).arg(step + 1);
            c.value(item, QStringLiteral("time"), p.scene_time, q.scene_time, QStringLiteral("ms"));
            c.value(item, QStringLiteral("cross-fade"), p.scene_xfade, q.scene_xfade,
                    QStringLiteral("%"));
            // Any non-zero byte is the mark, as the controller reads it.
            c.text(item, QStringLiteral("last step mark"),
                   p.scene_laststep ? QStringLiteral("yes") : QStringLiteral("no"),
                   q.scene_laststep ? QStringLiteral("yes") : QStringLiteral("no"));
            c.lamps(item, p.colors, q.colors, lamps);
        }
    }
    return c.differences;
}

} // namespace lm740
