// What each kind of item means to the window, in one table: its name in menus and messages, how
// the editor panel shows it, how the preview strip plays it, how it travels to and from the
// controller and is played there, and its menu commands and file formats. A change to one kind,
// or a new kind, is a row here; the rest of the window asks the table and switches over no kind.
#pragma once

#include "controller_link.h"
#include "item.h"
#include "text_files.h"

#include <QString>

#include <array>

class QAction;
class Scene;
class Ui_MainWindow;

namespace lm740 {

struct ItemKindRow
{
    ItemKind kind;
    // "Scene 3", "Chaser 2", "Program 1, step 5": the item in menus, messages and the Edit menu.
    QString (*name)(Item item);

    // The panel set for the kind when its tab comes to the front.
    void (*enterPanel)(Scene &panel);
    // The item's record into the panel, quietly: nothing is reported back as an edit.
    void (*load)(Scene &panel, const Show &show, Item item);
    // The time (ms) and cross-fade (percent) the strip plays the item with.
    int (*time)(const Show &show, Item item);
    int (*xfade)(const Show &show, Item item);
    // The colours the strip shows for the item: its record's, or for a chaser its starting frame,
    // made in `scratch`.
    const QColor *(*frame)(const Show &show, Item item, ColorArray &scratch);
    // Whether the strip plays the item on its own while it is shown (a chaser runs round).
    bool playsWhenShown;
    // Whether choosing an item of the kind stops a running simulation (a scene's button does).
    bool choosingStops;

    // The record to and from the controller's memory, and the command that plays it there; 0 or
    // -1. A read stores into `show` only when all of it arrived. The texts name a failure.
    int (*write)(ControllerLink &link, const Show &show, Item item, int lamps,
                 const ControllerLink::Progress &progress);
    int (*read)(ControllerLink &link, Show &show, Item item, int lamps,
                const ControllerLink::Progress &progress);
    int (*run)(ControllerLink &link, Item item);
    const char *writeError;
    const char *readError;
    // Whether leaving the kind's tab writes the item under the wait cursor (a chaser never did).
    bool busyWhenLeft;
    // Whether going online reads the item only after a fresh status poll finds the controller
    // (a chaser's read always asked first).
    bool pollBeforeOnlineRead;
    // The item's record copied from one show into another (what a read brought).
    void (*copy)(const Show &from, Show &to, Item item);

    // The menu commands that work on this kind only, enabled while its tab is in front.
    std::array<QAction * Ui_MainWindow::*, 6> commands;
    // The text files of one item of the kind and of all of them.
    files::Format oneFile;
    files::Format allFiles;
};

// The row of `kind`.
const ItemKindRow &kindRow(ItemKind kind);
// Every row, in the order of the window's tabs.
const std::array<ItemKindRow, 3> &kindRows();

} // namespace lm740
