// Where the manual is and what shows it.
#pragma once

#include <QStringList>

namespace lm740 {

// The program that shows the manual on this desktop, with any arguments before the manual's path.
QStringList defaultHelpViewer();
// The manual that Help opens: the help file in the working directory when it is there, otherwise
// the HTML manual installed with the program.
QString helpFile();

} // namespace lm740
