// Offers a key event to a widget's parent chain before the widget handles it itself.
#pragma once

class QKeyEvent;
class QWidget;

namespace lm740 {

// Sends the key to the parent (an unaccepted key travels on up to the window). Returns false
// when the widget did not survive that, in which case the caller must not touch it again.
bool offerKeyToParents(QWidget *widget, QKeyEvent *e);

} // namespace lm740
