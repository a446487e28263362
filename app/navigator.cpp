#include "navigator.h"

#include "busy_cursor.h"
#include "item_kinds.h"
#include "logging.h"
#include "my_dock_widget.h"
#include "playback.h"
#include "scene.h"
#include "show_document.h"

#include <algorithm>

using lm740::Item;
using lm740::ItemKind;

Navigator::Navigator(lm740::ShowDocument &document, Scene &panel, MyDockWidget &strip,
                     QObject *parent)
    : QObject(parent), m_document(document), m_panel(panel), m_strip(strip)
{
    lm740::setLampsBlack(m_chaserSimColors);
    connect(&document, &lm740::ShowDocument::itemChanged, this, &Navigator::itemChanged);
    connect(&document, &lm740::ShowDocument::itemEdited, this, &Navigator::itemEdited);
    connect(&document, &lm740::ShowDocument::globalsChanged, this, &Navigator::globalsChanged);
}

void Navigator::loadPanel()
{
    const Item item = m_document.current();
    const lm740::ItemKindRow &row = lm740::kindRow(item.kind);
    row.load(m_panel, m_document.show(), item);
    if (row.playsWhenShown)
        startChaser();
    else
        startPreview(item);
}

void Navigator::fitPanelToLampCount()
{
    const int lamps = m_document.show().ledsNumber;
    const int delta = lamps - m_panel.lampCount();
    if (delta < 0) {
        qCDebug(lcApp) << "deleting " << -delta;
        lm740::BusyCursor busy;
        m_panel.removeLamps(uint(-delta));
    } else if (delta > 0) {
        qCDebug(lcApp) << "adding " << delta;
        lm740::BusyCursor busy;
        m_panel.addLamps(uint(delta),
                         lm740::colorsOf(m_document.show(), m_document.current()).data() +
                             m_panel.lampCount());
    }
}

void Navigator::startPreview(Item item)
{
    const lm740::Show &show = m_document.show();
    const lm740::ItemKindRow &row = lm740::kindRow(item.kind);
    lm740::ColorArray scratch;
    m_strip.startFade(quint32(row.time(show, item)), quint32(row.xfade(show, item)),
                      row.frame(show, item, scratch), show.ledsNumber);
}

void Navigator::chaserFrame(Item chaser)
{
    const lm740::Show &show = m_document.show();
    lm740::ColorArray scratch;
    std::copy_n(lm740::kindRow(ItemKind::Chaser).frame(show, chaser, scratch), lm740::kMaxLamps,
                m_chaserSimColors.begin());
    const int lamps = lm740::boundedLampCount(show.ledsNumber);
    if (lamps < 2)
        return;
    const int left = (m_chaserTurns % lamps + lamps) % lamps;
    std::rotate(m_chaserSimColors.begin(), m_chaserSimColors.begin() + left,
                m_chaserSimColors.begin() + lamps);
}

void Navigator::startChaser()
{
    const Item chaser = m_document.chosen(ItemKind::Chaser);
    const lm740::ItemKindRow &row = lm740::kindRow(ItemKind::Chaser);
    const lm740::Show &show = m_document.show();
    m_chaserTurns = 0;
    chaserFrame(chaser);
    m_strip.startFade(quint32(row.time(show, chaser)), quint32(row.xfade(show, chaser)),
                      m_chaserSimColors.data(), show.ledsNumber);
}

void Navigator::nextChaserStep()
{
    const Item chaser = m_document.chosen(ItemKind::Chaser);
    const lm740::ItemKindRow &row = lm740::kindRow(ItemKind::Chaser);
    const lm740::Show &show = m_document.show();
    const int direction = show.chasers[size_t(chaser.number)].direction;
    lm740::playback::rotateChaser(m_chaserSimColors, show.ledsNumber, direction);
    m_chaserTurns += direction == 1 ? 1 : -1;
    m_strip.startFade(quint32(row.time(show, chaser)), quint32(row.xfade(show, chaser)),
                      m_chaserSimColors.data(), show.ledsNumber);
}

void Navigator::startProgram()
{
    m_strip.setPlayMode(ItemKind::ProgramStep);
    const Item step = m_document.chosen(ItemKind::ProgramStep);
    qCDebug(lcApp)
        << "single shot"
        << m_document.show().programs[size_t(step.number)].scenes[size_t(step.step)].scene_time;
    startPreview(step);
}

void Navigator::stop(ItemKind kind)
{
    if (m_strip.playMode == kind)
        m_strip.setPlayMode(std::nullopt);
}

Item Navigator::nextProgramStep() const
{
    const Item step = m_document.chosen(ItemKind::ProgramStep);
    return Item::programStep(step.number,
                             lm740::playback::nextProgramStep(
                                 m_document.show().programs[size_t(step.number)], step.step));
}

void Navigator::itemChanged(Item item)
{
    if (m_held == 0 && item == m_document.current())
        loadPanel();
}

void Navigator::itemEdited(Item item)
{
    if (!(item == m_document.current()))
        return;
    const lm740::Show &show = m_document.show();
    const lm740::ItemKindRow &row = lm740::kindRow(item.kind);
    if (m_strip.playMode == ItemKind::Chaser && item.kind == ItemKind::Chaser) {
        // The chaser goes on from where it is, with the edited pattern, time and cross-fade.
        chaserFrame(item);
        m_strip.followColors(m_chaserSimColors.data(), show.ledsNumber);
        m_strip.followTiming(quint32(row.time(show, item)), quint32(row.xfade(show, item)));
    } else if (!m_strip.playMode) {
        // The strip shows the panel's scene or program step while nothing plays.
        lm740::ColorArray scratch;
        m_strip.followColors(row.frame(show, item, scratch), show.ledsNumber);
    }
}

void Navigator::globalsChanged()
{
    fitPanelToLampCount();
    if (m_held == 0)
        loadPanel();
}
