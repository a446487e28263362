// The window's patterns and layout: Edit > Pattern... and Edit > Layout..., the Pattern button
// beside the editor's tabs, the layout kept beside the show's file, and the lamps of the preview
// strip and of the simulated controller's panel drawn in their cells once a layout is set.
#pragma once

#include "show_layout.h"

#include <QObject>

class MainWindow;
class QAction;
class QPushButton;

class PatternActions : public QObject
{
    Q_OBJECT
public:
    explicit PatternActions(MainWindow &window);

    ShowLayout layout;
    QAction *actionPattern = nullptr;
    QAction *actionLayout = nullptr;
    QPushButton *panelButton = nullptr;

    // The show was saved to or loaded from `showFile`: its layout goes with it, and the user is
    // told when it could not.
    void showSaved(const QString &showFile);
    void showLoaded(const QString &showFile);

    // The dialogs, modal.
    void openPattern();
    void openLayout();
    // The user chose `chosen` (none: a strip): a layout that differs is an edit of the show, kept
    // only once the show is saved again, so that Exit asks before it is lost.
    void chooseLayout(const std::optional<lm740::Layout> &chosen);

    // The strip and the simulated controller's panel draw the lamps on the layout, or in a line;
    // the crash recovery keeps the layout with its copies of the show.
    void layoutChanged();

private:
    MainWindow &m_window;
};
