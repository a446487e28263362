// Taking a widget out of a window while the program runs. The widget may be inside one of its own
// events when it has to go (the click on a lamp's field that took the focus from the lamp count and
// so lowered it), may hold the focus, or may own a dialog that is up (the colour dialog of a lamp's
// colour cell runs an event loop of its own inside the cell's double-click). A plain deleteLater()
// is not enough: Qt runs a deferred deletion in any event loop entered below the place it was asked
// from, and such a loop may be the dialog's.
#pragma once

class QWidget;

namespace lm740 {

// Makes the widget harmless at once (its dialogs and menus closed, the focus taken from it,
// disabled, so that no further input reaches it, and hidden) and deletes it once control is back
// in the outermost event loop, when none of its own events can be running any more. Its parent
// may delete it earlier; that is fine.
void retireWidget(QWidget *widget);

// The retired widgets not yet deleted (tests look).
int retiredWidgetsWaiting();

} // namespace lm740
