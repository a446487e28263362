// The name a save command writes to. The file dialog asks before it replaces the name the user
// typed; when the command then adds its suffix, the file replaced is another one, and the user is
// asked again about that one.
#pragma once

#include <QString>

namespace lm740 {

// `chosen` with `suffix` (".set", ".scn", ...) added unless it ends with it. When the suffix was
// added and a file of that name exists, the user is asked whether to replace it: empty when they
// do not.
QString saveName(const QString &chosen, const QString &suffix);

} // namespace lm740
