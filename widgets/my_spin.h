// The integer spin box of the timing and count fields: keys typed into it reach the window's
// keyboard commands first, then the spin box handles them as usual. A box outside the editor
// panel (the lamp count, the global scene time) keeps the keys it edits with to itself: Ctrl+A
// there selects its text, not every slider of the panel.
#pragma once

#include <QSpinBox>

class MySpin : public QSpinBox
{
    Q_OBJECT

public:
    explicit MySpin(QWidget *parent = nullptr);

    void setKeepsEditingKeys(bool keep) { m_keepsEditingKeys = keep; }

protected:
    void keyPressEvent(QKeyEvent *e) override;

private:
    bool m_keepsEditingKeys = false;
};
