// The show as one document: it owns the records, the lamp count and the global scene time, turns
// every change into a step on its undo stack, tells its views what changed, and knows which of its
// values have been kept (saved to a file or sent to the controller).
//
// Two ways in. A command that replaces records (a file load, a read from the controller, the lamp
// count) runs as change(): what it changed becomes one step. The editor panel's edits arrive one
// value at a time through editLamp()/editField(); the edits of one gesture (a drag while the mouse
// is down, a paste, a value typed into one field) gather into one step, which closes on the next
// turn of the event loop and merges with the step before it while the gesture goes on.
#pragma once

#include "item.h"
#include "show_delta.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace lm740 {

class ShowDocument : public QObject
{
    Q_OBJECT
public:
    explicit ShowDocument(QObject *parent = nullptr);
    ~ShowDocument() override;

    // The records, to read. Writing through this reference bypasses the steps: only for the
    // selection and for commands running inside change().
    Show &show() { return m_show; }
    const Show &show() const { return m_show; }
    QUndoStack &undoStack() { return m_stack; }

    // Runs `work` over the show; what it changed becomes one step named `text`, which an undo or
    // redo shows with `shown`. False when nothing changed (no step is made).
    bool change(const QString &text, Item shown, const std::function<void(Show &)> &work);
    // Runs `work` over one item without a step, for a read that only shows what the controller
    // holds: the history stays as it is, and its steps still undo and redo the values they hold.
    void changeWithoutStep(Item item, const std::function<void(Show &)> &work);

    // How the panel's next edits are named in the Edit menu.
    enum class EditName { Change, Paste, Drop };
    // Edits of the panel as they happen; the panel already shows them.
    void editLamp(Item item, int lamp, const QColor &color);
    void editField(Item item, Field field, int value);
    // Names the edits of the gesture under way (a paste, a drop); the default is Change.
    void nameEdit(EditName name);
    // A new gesture begins (a mouse press or release, a shortcut, the focus moving): the next
    // edit starts a step of its own.
    void newGesture();
    // Closes the open edit now; every command that reads the show as a whole calls it first.
    void closeEdit();
    bool editOpen() const { return m_open.active; }

    void undo();
    void redo();
    // The item that the step at `index` of the undo stack shows, if there is such a step.
    std::optional<Item> itemOfStep(int index) const;

    // What counts as kept: a whole-show save or load keeps everything, an item saved to or
    // loaded from a file, written to or read from the controller keeps that item, a lamp count
    // or scene time sent to the controller keeps those. The show is modified while anything differs
    // from what was kept last (an undo back to it makes the show unmodified again).
    bool isModified() const { return m_modified; }
    // Whether this item differs from what was kept of it.
    bool isModified(Item item) const;
    // Whether the lamp count or the global scene time differs from what was kept of them.
    bool globalsModified() const
    {
        return m_show.ledsNumber != m_kept.ledsNumber || m_show.sceneTime != m_kept.sceneTime;
    }
    void keepAll();
    void keep(Item item);
    void keepGlobals();
    // What was kept is kept no more (the file the show was kept in was replaced): the show is
    // modified, and each item counts as such, until the whole show is kept again.
    void keptCopyLost();
    // Forgets the history, as after a fresh start (the show as it stands counts as kept).
    void reset();

    // The lamp count (cut to 1..170) and the global scene time in seconds, the only way either
    // changes: one step named `text`, or part of the change() under way. Views hear of it
    // through globalsChanged.
    bool setGlobals(int lamps, int sceneTime, const QString &text = {});

    // The item the editor shows: the current kind and the item chosen of it. Each kind keeps its
    // choice while another is shown, and each program the step last chosen of it. Not part of the
    // history: an undo brings its item in as a click would.
    Item current() const { return Item::current(m_show, m_kind); }
    Item chosen(ItemKind kind) const { return Item::current(m_show, kind); }
    // The step program `program` shows when it is chosen again.
    int chosenStep(int program) const;
    // `item` becomes the choice of its kind and its kind the current one; an invalid item is
    // refused. Views hear of it through currentChanged.
    void setCurrent(Item item);
    // `item` becomes the choice of its kind; the current kind stays (a program chosen while a
    // scene is shown).
    void choose(Item item);

Q_SIGNALS:
    // An item's record changed through a step, its undo or redo: views reload it.
    void itemChanged(lm740::Item item);
    // The lamp count or the global scene time changed through a step, its undo or redo.
    void globalsChanged();
    // The panel's edit reached the item's record (the panel shows it already).
    void itemEdited(lm740::Item item);
    void modifiedChanged(bool modified);
    // The choice of item.kind is now `item`; current() tells whether its kind is the one shown.
    void currentChanged(lm740::Item item);

private:
    friend class ShowStep;
    void applied(const ShowDelta &delta);
    void openEdit(Item item, std::optional<Field> field);
    void select(Item item, ItemKind kind);
    void push(ShowDelta delta, const QString &text, Item shown);
    // The Edit menu's name of a panel edit: the field it changed, or the lamps.
    static QString editText(const ShowDelta &delta, EditName name);
    void updateModified();

    Show m_show;
    Show m_kept;
    QUndoStack m_stack;
    bool m_modified = false;
    bool m_keptLost = false;
    int m_gesture = 0;

    struct OpenEdit
    {
        bool active = false;
        Item item;
        std::optional<Field> field; // the field edited, none for the lamps
        EditName name = EditName::Change;
        int gesture = 0;
    };
    OpenEdit m_open;
    EditName m_nextName = EditName::Change;
    // The open edit's item (and the globals) when the edit began; made with the first edit.
    std::unique_ptr<Show> m_before;
    bool m_closeQueued = false;
    int m_changeDepth = 0; // a change() inside another is part of the outer one's step
    ItemKind m_kind = ItemKind::Scene;
    std::array<int, kProgramCount> m_programSteps{};
};

} // namespace lm740
