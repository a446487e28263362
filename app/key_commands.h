// The window's keyboard commands on the editor panel: selection toggles, copy and paste of the
// selected channel values, percent steps and set-all-selected, with their status texts.
#pragma once

class QKeyEvent;
class QLabel;
class Scene;

namespace lm740 {
class ShowDocument;

// Runs the command of `key` on `panel`; a paste is one step of `document` named so, and a copy or
// paste says on `status` how many values it moved. Every command needs a modifier.
void runKeyCommand(const QKeyEvent &key, Scene &panel, ShowDocument &document, QLabel &status);

} // namespace lm740
