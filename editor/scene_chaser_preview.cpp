// The chaser preview: the second overview row shows the chaser's starting frame, recomputed when
// a lamp's colour or the pattern length or repeat number changes, and once only when many lamps
// change together.
#include "scene.h"

#include "chaser_pattern.h"
#include "logging.h"
#include "my_frame.h"
#include "my_spin.h"

#include <QTimer>

void Scene::startChaserPreview()
{
    connect(repeatSelector, &QSpinBox::valueChanged, this,
            qOverload<int>(&Scene::chaser_calculate));
    connect(patternSelector, &QSpinBox::valueChanged, this,
            qOverload<int>(&Scene::chaser_calculate));
    m_previewTimer = new QTimer(this);
    m_previewTimer->setSingleShot(true);
    m_previewTimer->setInterval(0);
    connect(m_previewTimer, &QTimer::timeout, this, [this] {
        if (m_previewWanted && m_previewHeld == 0)
            chaser_calculate(0);
    });
}

MyFrame *Scene::chaserCell(int i) const
{
    const_cast<Scene *>(this)->makeChaserCells();
    if (m_previewWanted && m_previewHeld == 0)
        const_cast<Scene *>(this)->chaser_calculate(0);
    return i >= 0 && i < lampsNumber ? chaserCells[i] : nullptr;
}

void Scene::withPreviewDeferred(const std::function<void()> &work)
{
    ++m_previewHeld;
    work();
    if (--m_previewHeld == 0 && m_previewWanted)
        chaser_calculate(0);
}

void Scene::chaser_calculate(int)
{
    if (m_previewHeld > 0) {
        m_previewWanted = true;
        return;
    }
    m_previewWanted = false;
    makeChaserCells();
    const int p = patternSelector->value();
    const int r = repeatSelector->value();
    // Only cells whose colour really changes are touched: a slider drag changes one lamp, and
    // repainting 170 cells for it would be wasted.
    for (int i = 0; i < lampsNumber; ++i) {
        const QColor c = colorCells[lm740::chaserSourceLamp(i, lampsNumber, p, r)]->frameColor();
        if (chaserCells[i]->frameColor() != c)
            chaserCells[i]->setColor(c);
    }
}

void Scene::chaser_calculate(QColor)
{
    if (mode != Mode::Chaser)
        return;
    qCDebug(lcEditor) << "chaser calculate(0)";
    chaser_calculate(0);
}

void Scene::showChaserCells(bool show)
{
    if (!show && !m_chaserCellsMade)
        return;
    makeChaserCells();
    frameColors->setUpdatesEnabled(false);
    for (int i = 0; i < lampsNumber; ++i)
        chaserCells[i]->setVisible(show);
    frameColors->setUpdatesEnabled(true);
}
