// The one editing surface of the window: a sideways-scrolling strip of lamp controls, the timing
// controls of the item shown, and a two-row overview (lamp colours and the chaser's starting
// frame). The panel holds no show data; the window loads a scene, a chaser or a program step into
// it and reads it back.
#pragma once

#include "item.h"

#include <QColor>
#include <QPointer>
#include <QWidget>

#include <array>
#include <bitset>
#include <functional>
#include <memory>

class MyDoubleSpin;
class MyFrame;
class MySpin;
class SuperRGB;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QScrollBar;
class QStyle;
class QTimer;

class Scene : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kMaxLamps = 170;
    static constexpr int kLampPitch = 77; // horizontal room of one lamp in the strip

    // What the panel holds: a scene, a chaser or one step of a program.
    using Mode = lm740::ItemKind;

    // Builds the panel with `count` lamps coloured from `colors` (random colours when null).
    // The visible part is contentWidget(), made with `parent`; the panel itself is never shown.
    Scene(QWidget *parent, int count, QColor *colors);
    ~Scene() override;

    // Appends lamps at the end of the strip, never beyond 170 in all; `colors` may be null.
    void addLamps(uint count, QColor *colors);
    // Removes up to `count` lamps from the end of the strip.
    void removeLamps(uint count);

    // Only stores the mode; the mode slots below also show the controls of the mode.
    void setMode(Mode value);
    Mode getMode() const { return mode; }
    int getSceneTime() const;
    int getScenexFade() const;
    int getRepeat() const;
    int getPatternLen() const;
    int getDirection() const;
    int getLastStep() const;

    // Selected channel values to and from the system clipboard; both return the channel count.
    int copySelected();
    int pasteSelected();

    QWidget *contentWidget() const { return m_contentWidget; }
    // The lamps with a selected slider (from 0).
    QList<int> selectedLamps() const;

    // Read access for the window and for tests.
    int lampCount() const { return lampsNumber; }
    quint8 getSelectionFlags() const { return selectionFlags; }
    // The control of lamp i, built and with any colour still waiting for it already loaded.
    SuperRGB *lamp(int i) const;
    // Lamps out of view whose control is not built yet, or whose colour given by setColors is
    // not yet in their control; they are loaded a few at a time from the event loop, or at once
    // when needed.
    int lampsWaiting() const { return int(m_waiting.count()); }
    // Lamps whose control is built (the others wait in the strip as empty places).
    int lampsBuilt() const;
    // For a panel whose window is about to be shown: even the lamps in view are built only once
    // the window has been painted, on the next turns of the event loop, so that the window comes
    // up at once and the lamp controls follow it (or earlier, lamp by lamp, when something reads
    // or edits them).
    void holdLampsUntilShown();
    MyFrame *colorCell(int i) const;
    MyFrame *chaserCell(int i) const;
    QScrollBar *scrollBar() const { return scroll; }
    MyFrame *lampStrip() const { return strip; }
    MyFrame *centralFrame() const { return frameCentral; }
    MyFrame *leftFrame() const { return frameLeft; }
    MyFrame *rightFrame() const { return frameRight; }

Q_SIGNALS:
    void progress(int value);
    void lastStepChanged(bool state);
    // The user changed a lamp's colour or a field of the timing row (never sent for values the
    // window loads into the panel).
    void lampEdited(int lamp, QColor color);
    void fieldEdited(lm740::Field field, int value);

public Q_SLOTS:
    void selectedChanged(int value);
    void selectAll();
    void selectRed();
    void selectGreen();
    void selectBlue();
    void setAll(bool state);
    void setScroll();
    void setScrollAt(int n);
    void leftPanel();
    void rightPanel();
    void setColors(QColor *cl, uint len);
    void getColors(QColor *cl, uint len);
    void setScenesMode();
    void setChasersMode();
    void setProgramsMode();
    void setSceneTime(int value);
    void setScenexFade(int value);
    void setRepeat(int value);
    void setPatternLen(int value);
    void setDirection(int value);
    void setLastStep(int value);
    void chaser_calculate(int value);
    void chaser_calculate(QColor color);
    void changePercentifSelected(int percent);
    void setSelected(int value);
    void lastStepStateChanged(bool state);

protected:
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    struct LampSlot
    {
        QWidget *holder = nullptr;
        SuperRGB *lamp = nullptr;
        QWidget *lastField = nullptr; // the last of the lamp's fields that Tab reaches
    };

    void buildSettingsRow();
    MyFrame *makeCell(int n, const QColor &color, bool chaser);
    // The chaser row is made the first time it is shown or read: the window opens on the scenes.
    void makeChaserCells();
    void addChaserCell(int n, const QColor &color);
    void placeStrip();
    // The strip and its lamp controls as high as the frame that shows them.
    void fitLampsToStrip();
    // Takes a widget of a removed lamp out of the panel's reach and retires it (deleted later).
    void retire(QWidget *w);

    void startChaserPreview();
    void showChaserCells(bool show);
    // Runs `work` with the chaser preview held back, then recomputes it once if anything asked
    // for it in between: many lamps changing together must not redo the preview per channel.
    void withPreviewDeferred(const std::function<void()> &work);

    // Selects or deselects one channel on every lamp, after the panel's flag `bit` of it.
    void toggleChannel(quint8 bit, void (SuperRGB::*select)(bool));

    // Lazy loading: a lamp out of view gets its control and its colour later, from the event
    // loop, but before anything reads or edits it. Building the controls of the lamps out of view
    // later is what keeps the program's start short.
    void startLampLoading();
    bool eventFilter(QObject *watched, QEvent *event) override;
    void loadLamp(int i) const;
    // Makes the control of lamp i, in the colour waiting for it, and gives its fields their place
    // in the Tab order (where the lamp stands in the strip, not where it was made).
    void buildLamp(int i) const;
    void loadWaitingLamps() const;
    void loadVisibleLamps();
    void loadSomeWaitingLamps();
    // Loads the lamp that `widget` is part of, if its colour is still waiting.
    void loadLampHolding(const QWidget *widget);
    // The lamp a widget belongs to, or -1.
    int lampIndexOf(const QWidget *widget) const;
    // Loads the lamp that took the focus and brings it into view.
    void followFocus(const QWidget *widget);
    // The content went with its parent, and the lamps with it.
    void forgetLamps();

    // Reports the user's changes of the timing row as fieldEdited.
    void connectFieldEdits();
    // Runs a setter of the panel without reporting its change as the user's.
    template <class F> void quietly(F &&set)
    {
        ++m_loading;
        set();
        --m_loading;
    }

    QPointer<QWidget> m_contentWidget;
    int m_loading = 0;
    Mode mode = Mode::Scene;
    std::array<MyFrame *, kMaxLamps> chaserCells{};
    bool m_chaserCellsMade = false;
    std::unique_ptr<QStyle> panelStyle;
    quint8 selectionFlags = 0;
    std::array<MyFrame *, kMaxLamps> colorCells{};
    // A lamp's control is null until it is built (see buildLamp).
    mutable std::array<LampSlot, kMaxLamps> lamps{};
    int lampsNumber = 0;

    QGridLayout *colorsGrid = nullptr;
    QHBoxLayout *stripBox = nullptr;
    QGridLayout *mainGrid = nullptr;
    QGridLayout *settingsGrid = nullptr;

    QLabel *repeatLabel = nullptr;
    MySpin *repeatSelector = nullptr;
    QPushButton *repeatOk = nullptr;
    QLabel *xfadeLabel = nullptr;
    MySpin *xfadeSelector = nullptr;
    QPushButton *xfadeOk = nullptr;
    QLabel *timeLabel = nullptr;
    MyDoubleSpin *timeSelector = nullptr;
    QPushButton *timeOk = nullptr;
    QLabel *patternLabel = nullptr;
    MySpin *patternSelector = nullptr;
    QPushButton *patternOk = nullptr;
    QLabel *directionLabel = nullptr;
    QComboBox *directionSelector = nullptr;
    QCheckBox *lastStepBox = nullptr;

    MyFrame *frameSettings = nullptr;
    MyFrame *frameColors = nullptr;
    MyFrame *frameLeft = nullptr;
    MyFrame *frameCentral = nullptr;
    MyFrame *frameRight = nullptr;
    MyFrame *strip = nullptr;
    QScrollBar *scroll = nullptr;

    // The chaser preview row may be owed: read it through chaserCell(), which settles it first.
    int m_previewHeld = 0;
    bool m_previewWanted = false;
    QTimer *m_previewTimer = nullptr;

    mutable std::bitset<kMaxLamps> m_waiting;
    mutable std::array<QRgb, kMaxLamps> m_waitingRgb{};
    QTimer *m_loadTimer = nullptr;
    bool m_holdUntilShown = false;
};
