// The layout the open show's lamps hang in, kept beside its settings file as NAME.layout: loaded
// with the show and saved with it. Without one (or with a plain strip) the lamps are drawn in a
// line, as they always were.
#pragma once

#include "layout.h"

#include <QObject>

#include <optional>

class ShowLayout : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // The layout set, or null when the lamps hang in a strip.
    const lm740::Layout *layout() const { return m_layout ? &*m_layout : nullptr; }
    // The layout patterns are drawn on: the one set, else a strip of `lamps` lamps.
    lm740::Layout effective(int lamps) const;
    // Sets it; a strip counts as none. False when it was that already.
    bool set(const std::optional<lm740::Layout> &layout);

    // The show was loaded from `showFile`: its layout file is read. A missing file leaves the
    // show without a layout; a broken one too, and the reason comes back for the user.
    QString loaded(const QString &showFile, int lamps);
    // The show was saved to `showFile`: its layout goes beside it. Without a layout nothing is
    // written, unless a layout file is there already: it becomes a strip, so that an old layout
    // never comes back with the show. False with *error set when the file could not be written.
    bool saved(const QString &showFile, QString *error);

Q_SIGNALS:
    void changed();

private:
    std::optional<lm740::Layout> m_layout;
};
