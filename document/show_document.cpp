#include "show_document.h"

#include <QTimer>
#include <QUndoCommand>

#include <algorithm>
#include <utility>

namespace lm740 {

namespace {

constexpr int kEditStepId = 1;

} // namespace

// One step of the history: the delta it made, the item it shows when undone or redone, and for a
// panel edit what it may merge with (the same kind of edit of the same item in the same gesture).
class ShowStep : public QUndoCommand
{
public:
    struct Merge
    {
        Item item;
        std::optional<Field> field;
        int gesture = 0;
        ShowDocument::EditName name = ShowDocument::EditName::Change;
        bool mergeable = false;
    };

    ShowStep(ShowDocument *doc, ShowDelta delta, const QString &text, Item shown, Merge merge)
        : m_doc(doc), m_delta(std::move(delta)), m_shown(shown), m_merge(merge)
    {
        setText(text);
    }

    int id() const override { return m_merge.mergeable ? kEditStepId : -1; }

    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *o = static_cast<const ShowStep *>(other);
        if (!o->m_merge.mergeable || !(o->m_merge.item == m_merge.item) ||
            o->m_merge.field != m_merge.field || o->m_merge.gesture != m_merge.gesture ||
            o->m_merge.name != m_merge.name)
            return false;
        m_delta.absorb(o->m_delta);
        // A gesture that ends where it began (a slider dragged away and back) leaves no step;
        // the stack drops a step made obsolete here.
        setObsolete(m_delta.isEmpty());
        setText(ShowDocument::editText(m_delta, m_merge.name));
        return true;
    }

    void undo() override
    {
        m_delta.apply(m_doc->m_show, false);
        m_doc->applied(m_delta);
    }

    void redo() override
    {
        // The change is already in the show when the step is pushed.
        if (m_pushed) {
            m_delta.apply(m_doc->m_show, true);
            m_doc->applied(m_delta);
        }
        m_pushed = true;
    }

    const ShowDelta &delta() const { return m_delta; }
    Item shown() const { return m_shown; }

private:
    ShowDocument *m_doc;
    ShowDelta m_delta;
    Item m_shown;
    Merge m_merge;
    bool m_pushed = false;
};

ShowDocument::ShowDocument(QObject *parent) : QObject(parent)
{
    // m_show and m_kept begin alike: a new show is kept.
}

ShowDocument::~ShowDocument()
{
    m_stack.clear();
}

bool ShowDocument::change(const QString &text, Item shown, const std::function<void(Show &)> &work)
{
    if (m_changeDepth > 0) {
        work(m_show);
        return true;
    }
    closeEdit();
    const Show before = m_show;
    ++m_changeDepth;
    work(m_show);
    --m_changeDepth;
    ShowDelta delta = ShowDelta::between(before, m_show);
    if (delta.isEmpty())
        return false;
    // The views take the new records at once, as an undo would give them.
    applied(delta);
    push(std::move(delta), text, shown);
    return true;
}

void ShowDocument::changeWithoutStep(Item item, const std::function<void(Show &)> &work)
{
    closeEdit();
    ++m_changeDepth;
    work(m_show);
    --m_changeDepth;
    emit itemChanged(item);
    updateModified();
}

void ShowDocument::openEdit(Item item, std::optional<Field> field)
{
    if (m_open.active && (!(m_open.item == item) || m_open.field != field))
        closeEdit();
    if (m_open.active)
        return;
    // Only this item can change until the edit closes: its record is all the edit compares.
    if (!m_before)
        m_before = std::make_unique<Show>();
    copyItem(m_show, *m_before, item);
    m_before->ledsNumber = m_show.ledsNumber;
    m_before->sceneTime = m_show.sceneTime;
    m_open = {true, item, field, m_nextName, m_gesture};
    if (!m_closeQueued) {
        m_closeQueued = true;
        QTimer::singleShot(0, this, [this] {
            m_closeQueued = false;
            closeEdit();
        });
    }
}

void ShowDocument::editLamp(Item item, int lamp, const QColor &color)
{
    if (!item.valid() || lamp < 0 || lamp >= kMaxLamps)
        return;
    openEdit(item, std::nullopt);
    colorsOf(m_show, item)[size_t(lamp)] = color;
    emit itemEdited(item);
}

void ShowDocument::editField(Item item, Field field, int value)
{
    if (!item.valid() || !item.has(field))
        return;
    openEdit(item, field);
    setField(m_show, item, field, value);
    emit itemEdited(item);
}

void ShowDocument::nameEdit(EditName name)
{
    closeEdit();
    m_nextName = name;
}

void ShowDocument::newGesture()
{
    ++m_gesture;
    // A name belongs to the gesture it was given in.
    if (!m_open.active)
        m_nextName = EditName::Change;
}

void ShowDocument::closeEdit()
{
    if (!m_open.active)
        return;
    const OpenEdit open = m_open;
    m_open.active = false;
    m_nextName = EditName::Change;
    ShowDelta delta = ShowDelta::between(*m_before, m_show, {open.item});
    if (delta.isEmpty())
        return;
    const QString text = editText(delta, open.name);
    auto *step = new ShowStep(this, std::move(delta), text, open.item,
                              {open.item, open.field, open.gesture, open.name, true});
    m_stack.push(step);
    updateModified();
}

void ShowDocument::push(ShowDelta delta, const QString &text, Item shown)
{
    m_stack.push(new ShowStep(this, std::move(delta), text, shown, {}));
    updateModified();
}

QString ShowDocument::editText(const ShowDelta &delta, EditName name)
{
    if (delta.items.empty())
        return {};
    const ShowDelta::ItemChange &c = delta.items.front();
    if (c.lamps.empty() && !c.fields.empty()) {
        switch (c.fields.front().field) {
        case Field::Time:
            return tr("Change time");
        case Field::Xfade:
            return tr("Change cross-fade");
        case Field::Direction:
            return tr("Change direction");
        case Field::Pattern:
            return tr("Change pattern length");
        case Field::Repeat:
            return tr("Change repeat number");
        case Field::LastStep:
            return tr("Change last step");
        }
    }
    // A lamp counts once however many of its channels changed.
    const int lamps = int(c.lamps.size());
    switch (name) {
    case EditName::Paste:
        if (lamps == 1)
            return tr("Paste lamp %1").arg(c.lamps.front().lamp + 1);
        return tr("Paste %n lamps", nullptr, lamps);
    case EditName::Drop:
        return tr("Drop on lamp %1").arg(c.lamps.front().lamp + 1);
    case EditName::Change:
        break;
    }
    if (lamps == 1)
        return tr("Change lamp %1").arg(c.lamps.front().lamp + 1);
    return tr("Change %n lamps", nullptr, lamps);
}

std::optional<Item> ShowDocument::itemOfStep(int index) const
{
    if (index < 0 || index >= m_stack.count())
        return std::nullopt;
    return static_cast<const ShowStep *>(m_stack.command(index))->shown();
}

void ShowDocument::undo()
{
    closeEdit();
    newGesture();
    m_stack.undo();
    updateModified();
}

void ShowDocument::redo()
{
    closeEdit();
    newGesture();
    m_stack.redo();
    updateModified();
}

void ShowDocument::applied(const ShowDelta &delta)
{
    if (delta.globalsChanged())
        emit globalsChanged();
    for (const ShowDelta::ItemChange &c : delta.items)
        emit itemChanged(c.item);
}

void ShowDocument::keepAll()
{
    closeEdit();
    m_kept = m_show;
    m_keptLost = false;
    updateModified();
}

void ShowDocument::keptCopyLost()
{
    m_keptLost = true;
    updateModified();
}

void ShowDocument::keep(Item item)
{
    closeEdit();
    if (!item.valid())
        return;
    copyItem(m_show, m_kept, item);
    updateModified();
}

void ShowDocument::keepGlobals()
{
    closeEdit();
    m_kept.ledsNumber = m_show.ledsNumber;
    m_kept.sceneTime = m_show.sceneTime;
    updateModified();
}

void ShowDocument::reset()
{
    closeEdit();
    m_stack.clear();
    keepAll();
}

bool ShowDocument::setGlobals(int lamps, int sceneTime, const QString &text)
{
    return change(text, current(), [&](Show &show) {
        show.ledsNumber = std::clamp(lamps, kMinLamps, kMaxLamps);
        show.sceneTime = sceneTime;
    });
}

int ShowDocument::chosenStep(int program) const
{
    if (program < 0 || program >= kProgramCount)
        return 0;
    // The current program's step may have come from elsewhere (a recovered show's selection).
    return program == m_show.actualProgramNumber ? m_show.actualProgramSceneNumber
                                                 : m_programSteps[size_t(program)];
}

void ShowDocument::setCurrent(Item item)
{
    select(item, item.kind);
}

void ShowDocument::choose(Item item)
{
    select(item, m_kind);
}

void ShowDocument::select(Item item, ItemKind kind)
{
    if (!item.valid() || (item == chosen(item.kind) && kind == m_kind))
        return;
    m_kind = kind;
    lm740::choose(m_show, item);
    if (item.kind == ItemKind::ProgramStep)
        m_programSteps[size_t(item.number)] = item.step;
    emit currentChanged(item);
}

bool ShowDocument::isModified(Item item) const
{
    if (!item.valid())
        return false;
    if (m_keptLost || colorsOf(m_show, item) != colorsOf(m_kept, item))
        return true;
    for (Field f : kFields)
        if (fieldOf(m_show, item, f) != fieldOf(m_kept, item, f))
            return true;
    return false;
}

void ShowDocument::updateModified()
{
    const bool modified = m_keptLost || !sameRecords(m_show, m_kept);
    if (modified == m_modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

} // namespace lm740
