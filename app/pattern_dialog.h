// Edit > Pattern...: a pattern script drawn through the show's layout into a scene, a chaser, a
// program's steps or the selected lamps of the item in the panel, as one step of the Edit menu's
// history. The scripts are listed with their names and authors, their properties as fields and
// the colours they take as buttons; the preview shows the lamps on the layout as the bake will
// leave them, a program playing with its step times and cross-fades.
//
// The pattern engine is made here, so the program pays for it only once a user opens the dialog.
#pragma once

#include "layout.h"
#include "pattern_engine.h"
#include "show.h"

#include <QDialog>
#include <QElapsedTimer>

#include <map>
#include <memory>
#include <vector>

class LayoutView;
class QComboBox;
class QDoubleSpinBox;
class QFormLayout;
class QGroupBox;
class QLabel;
class QTreeWidget;
class QPushButton;
class QSpinBox;
class QTimer;

namespace lm740 {
class ShowDocument;
}

class PatternDialog : public QDialog
{
    Q_OBJECT
public:
    // The targets in the order the dialog offers them.
    enum Target { Scene, Chaser, Program, Selection };

    // `selected` holds the lamps selected in the panel (from 0), for the Selection target.
    PatternDialog(lm740::ShowDocument &document, const lm740::Layout &layout,
                  const QList<int> &selected, QWidget *parent = nullptr);
    ~PatternDialog() override;

    // The scripts listed, in the list's order.
    const std::vector<lm740::pattern::PatternInfo> &scripts() const { return m_scripts; }
    // Chooses a script by its name; false when there is none.
    bool chooseScript(const QString &name);
    // Gives colour button `index` a colour, as the colour dialog does.
    void setColor(int index, QRgb color);
    // The field of a property of the script chosen, or null.
    QWidget *propertyField(const QString &name) const;
    // The colour buttons shown.
    QList<QPushButton *> colorButtons() const;

    // What Apply bakes, from the fields.
    lm740::BakeTarget target() const;
    // Bakes the pattern into the document as one step; false (with a message) when it cannot.
    bool apply();

    // The preview's clock; one tick plays 33 ms of it.
    void tick();

    QTreeWidget *scriptList = nullptr;
    QLabel *loadErrors = nullptr;
    QComboBox *targetKind = nullptr;
    // How many colours a script that takes several is given.
    QSpinBox *colorCount = nullptr;
    QSpinBox *itemSpin = nullptr;
    QSpinBox *stepSpin = nullptr;
    QSpinBox *firstStepSpin = nullptr;
    QDoubleSpinBox *stepTimeSpin = nullptr;
    QSpinBox *xfadeSpin = nullptr;
    QComboBox *fitCombo = nullptr;
    QLabel *note = nullptr;
    LayoutView *preview = nullptr;
    QPushButton *applyButton = nullptr;
    QTimer *previewTimer = nullptr;
    // How often the preview's picture changed.
    int repaints = 0;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void scriptChosen();
    void showColorButtons();
    void targetChosen();
    // Draws the pattern again with the fields as they are, and the preview from it.
    void render();
    void showPreviewStep();
    QString fitText(const lm740::BakeOutcome &outcome) const;
    const lm740::pattern::PatternInfo *script() const;

    lm740::ShowDocument &m_document;
    lm740::Layout m_layout;
    QList<int> m_selected;
    std::unique_ptr<lm740::pattern::PatternEngine> m_engine;
    std::vector<lm740::pattern::PatternInfo> m_scripts;
    QGroupBox *m_propertyBox = nullptr;
    QFormLayout *m_propertyForm = nullptr;
    std::map<QString, QWidget *> m_fields;
    QGroupBox *m_colorBox = nullptr;
    std::vector<QPushButton *> m_colorButtons;
    std::vector<QRgb> m_colors;
    QWidget *m_programFields = nullptr;
    QWidget *m_stepFields = nullptr;
    QLabel *m_itemLabel = nullptr;

    // What the last render drew, and the lamps as the bake leaves them, step by step.
    lm740::PatternFrames m_frames;
    bool m_drawn = false;
    struct PreviewStep
    {
        lm740::ColorArray colors;
        quint32 time = 0;
        quint32 xfade = 0;
    };
    std::vector<PreviewStep> m_steps;
    size_t m_step = 0;
    quint32 m_elapsed = 0;
};
