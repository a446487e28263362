// The current item on screen. The show document names the item that is current; the navigator
// loads it into the editor panel and starts its preview on the strip, keeps the panel's lamps as
// many as the show has, lets the strip follow the edits of the item it plays, and runs the chaser
// and program simulations from the records. It never talks to the controller: the window's
// switches do that around it.
#pragma once

#include "item.h"
#include "show.h"

#include <QObject>

#include <optional>

class MyDockWidget;
class Scene;

namespace lm740 {
class ShowDocument;
}

class Navigator : public QObject
{
    Q_OBJECT
public:
    Navigator(lm740::ShowDocument &document, Scene &panel, MyDockWidget &strip,
              QObject *parent = nullptr);

    // The current item into the panel, with its preview (a chaser starts its simulation).
    void loadPanel();
    // The panel's lamps made as many as the show's lamp count, new ones coloured from the record.
    void fitPanelToLampCount();

    // The simulations on the strip, from the records of the current chaser or program step.
    void startChaser();
    void nextChaserStep();
    void startProgram();
    // Stops the simulation of `kind`, if that is the one playing; the strip keeps its colours.
    void stop(lm740::ItemKind kind);
    // The step the program simulation moves to when the current step has run out.
    lm740::Item nextProgramStep() const;

    // While held, the document's steps do not reload the panel: the command that runs them loads
    // it itself. The lamps still follow the lamp count.
    class Hold
    {
    public:
        explicit Hold(Navigator &navigator) : m_navigator(navigator) { ++m_navigator.m_held; }
        ~Hold() { --m_navigator.m_held; }
        Hold(const Hold &) = delete;
        Hold &operator=(const Hold &) = delete;

    private:
        Navigator &m_navigator;
    };

    // The chaser simulation's frame as it stands (its starting frame turned round step by step).
    const lm740::ColorArray &chaserSimColors() const { return m_chaserSimColors; }

private:
    void startPreview(lm740::Item item);
    void itemChanged(lm740::Item item);
    void itemEdited(lm740::Item item);
    void globalsChanged();
    // The chaser's starting frame from its record, turned as far as the simulation has gone.
    void chaserFrame(lm740::Item chaser);

    lm740::ShowDocument &m_document;
    Scene &m_panel;
    MyDockWidget &m_strip;
    int m_held = 0;
    lm740::ColorArray m_chaserSimColors;
    // Lamps the chaser has moved to the left since it started (to the right counts negative).
    int m_chaserTurns = 0;
};
