// diff: what changed between two shows, each a .set file or a folder that export wrote, in the
// words the window uses. As diff(1) does, it exits 0 when they are the same, 1 when they differ
// and 2 when it could not tell.
#include "ctl.h"

#include "show_diff.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cstdio>

namespace lm740::ctl {

int diff(Context &c)
{
    if (c.args.size() != 2)
        return usage(QStringLiteral("diff takes two shows: .set files or exported folders"));
    ShowFiles a;
    ShowFiles b;
    if (!readAnyShow(c.args[0], &a) || !readAnyShow(c.args[1], &b))
        return kUsage; // trouble, and the line that says why is out
    const QList<ShowDifference> differences =
        compareShows({a.show.get(), a.lamps, a.sceneTime}, {b.show.get(), b.lamps, b.sceneTime});
    if (c.json) {
        QJsonArray array;
        for (const ShowDifference &d : differences) {
            QJsonObject o{{QStringLiteral("field"), d.field}, {QStringLiteral("to"), d.to}};
            if (!d.item.isEmpty())
                o[QStringLiteral("item")] = d.item;
            if (d.firstLamp > 0) {
                o[QStringLiteral("firstLamp")] = d.firstLamp;
                o[QStringLiteral("lastLamp")] = d.lastLamp;
            } else {
                o[QStringLiteral("from")] = d.from;
            }
            if (!d.unit.isEmpty())
                o[QStringLiteral("unit")] = d.unit;
            o[QStringLiteral("text")] = d.text();
            array.append(o);
        }
        std::fputs(QJsonDocument(array).toJson(QJsonDocument::Indented).constData(), stdout);
    } else {
        for (const ShowDifference &d : differences)
            out(d.text());
    }
    return differences.isEmpty() ? kOk : kFailed;
}

} // namespace lm740::ctl
