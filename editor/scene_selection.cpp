// Panel-wide channel selection: the channel toggles, setting or moving every selected slider at
// once, and copying the selected channel values to the system clipboard and pasting them back.
#include "scene.h"

#include "clipboard_format.h"
#include "logging.h"
#include "super_rgb.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include <vector>

namespace {

lm740::LampChannels channelsOf(const SuperRGB *l)
{
    quint8 selected = 0;
    if (l->isRedSelected())
        selected |= lm740::RedChannel;
    if (l->isGreenSelected())
        selected |= lm740::GreenChannel;
    if (l->isBlueSelected())
        selected |= lm740::BlueChannel;
    return {l->lampColor(), selected};
}

} // namespace

void Scene::selectedChanged(int value)
{
    setSelected(value);
}

void Scene::setSelected(int value)
{
    loadWaitingLamps();
    // A drag of a selected slider comes here on every mouse move.
    withPreviewDeferred([&] {
        for (int i = 0; i < lampsNumber; ++i)
            lamps[i].lamp->setValueIfSelected(value);
    });
}

void Scene::setAll(bool state)
{
    loadWaitingLamps();
    for (int i = 0; i < lampsNumber; ++i)
        lamps[i].lamp->setAll(state);
}

void Scene::selectAll()
{
    const bool deselect = (selectionFlags & 0x07) != 0;
    setAll(!deselect);
    selectionFlags = deselect ? 0 : 0x07;
}

void Scene::toggleChannel(quint8 bit, void (SuperRGB::*select)(bool))
{
    const bool on = !(selectionFlags & bit);
    loadWaitingLamps();
    for (int i = 0; i < lampsNumber; ++i)
        (lamps[i].lamp->*select)(on);
    selectionFlags = on ? (selectionFlags | bit) : (selectionFlags & ~bit);
}

void Scene::selectRed()
{
    toggleChannel(lm740::RedChannel, &SuperRGB::selectRed);
}

void Scene::selectGreen()
{
    toggleChannel(lm740::GreenChannel, &SuperRGB::selectGreen);
}

void Scene::selectBlue()
{
    toggleChannel(lm740::BlueChannel, &SuperRGB::selectBlue);
}

void Scene::changePercentifSelected(int percent)
{
    loadWaitingLamps();
    withPreviewDeferred([&] {
        for (int i = 0; i < lampsNumber; ++i)
            lamps[i].lamp->changePercentifSelected(percent);
    });
}

int Scene::copySelected()
{
    qCDebug(lcEditor) << "copy";
    loadWaitingLamps();
    std::vector<lm740::LampChannels> channels;
    channels.reserve(size_t(lampsNumber));
    for (int i = 0; i < lampsNumber; ++i) {
        qCDebug(lcEditor) << "copy lampsNumber: " << i;
        channels.push_back(channelsOf(lamps[i].lamp));
    }
    const QByteArray bytes = lm740::packSelectedChannels(channels);
    auto *mime = new QMimeData;
    mime->setData(bytes.isEmpty() ? lm740::kNoDataMime : lm740::kColorArrayMime, bytes);
    QApplication::clipboard()->setMimeData(mime, QClipboard::Clipboard);
    return int(bytes.size());
}

int Scene::pasteSelected()
{
    qCDebug(lcEditor) << "paste";
    loadWaitingLamps();
    const QMimeData *mime = QApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!mime || !mime->hasFormat(lm740::kColorArrayMime))
        return 0;
    qCDebug(lcEditor) << "mime: color_array";

    std::vector<lm740::LampChannels> channels;
    channels.reserve(size_t(lampsNumber));
    for (int i = 0; i < lampsNumber; ++i)
        channels.push_back(channelsOf(lamps[i].lamp));
    const int written =
        lm740::unpackIntoSelectedChannels(mime->data(lm740::kColorArrayMime), channels);
    if (written == 0)
        return 0;

    // Written channel by channel, as typed values would be: each write updates the lamp's fields,
    // its overview cell and, in chaser mode, the preview (held back until the last one).
    withPreviewDeferred([&] {
        for (int i = 0; i < lampsNumber; ++i) {
            qCDebug(lcEditor) << "lamp: " << i;
            SuperRGB *l = lamps[i].lamp;
            const lm740::LampChannels &c = channels[size_t(i)];
            if (c.selected & lm740::RedChannel) {
                l->setRedColor(c.color.red());
                qCDebug(lcEditor) << "found lamp: " << i << " red";
            }
            if (c.selected & lm740::GreenChannel) {
                l->setGreenColor(c.color.green());
                qCDebug(lcEditor) << "found lamp: " << i << " green";
            }
            if (c.selected & lm740::BlueChannel) {
                l->setBlueColor(c.color.blue());
                qCDebug(lcEditor) << "found lamp: " << i << " blue";
            }
        }
    });
    return written;
}

QList<int> Scene::selectedLamps() const
{
    QList<int> lamps;
    for (int i = 0; i < lampsNumber; ++i)
        if (channelsOf(lamp(i)).selected != 0)
            lamps << i;
    return lamps;
}
