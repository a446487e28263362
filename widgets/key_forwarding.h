// Offers a key event to a widget's parent chain before the widget handles it itself.
#pragma once

#include <QKeyEvent>

class QWidget;

namespace lm740 {

// Sends the key to the parent (an unaccepted key travels on up to the window). Returns false
// when the widget did not survive that, in which case the caller must not touch it again.
bool offerKeyToParents(QWidget *widget, QKeyEvent *e);

// Whether the field should still apply a key the window has been offered. Ctrl+C is the window's
// copy of the selected colours; the field's own copy of its selected text would at once replace
// them on the clipboard, so the field leaves that key alone. Ctrl+V is the window's paste of
// colours; when the clipboard holds no text the field's paste would only delete its selection.
bool fieldTakesKeyToo(const QKeyEvent *e);

// Keys a text field uses for its own editing: select all, cut, copy, paste, undo and redo, and the
// keys that step a spin box (Up, Down, Page Up, Page Down, with any modifier).
bool isFieldEditingKey(const QKeyEvent *e);

// The key press of a field inside the window: the window's keyboard commands see the key first,
// then the field applies it with `ownHandling` (its base class's key press) unless the window's
// command keeps it. The parent chain has had the key already, so it does not travel up again. The
// window's command may remove the field itself, and then nothing touches it. Select All is the
// field's alone: it selects the text being typed into, never every slider of the window.
template <typename OwnHandling>
void windowFirstKeyPress(QWidget *field, QKeyEvent *e, OwnHandling ownHandling)
{
    if (!e->matches(QKeySequence::SelectAll) && !offerKeyToParents(field, e))
        return;
    if (fieldTakesKeyToo(e))
        ownHandling();
    e->accept();
}

} // namespace lm740
