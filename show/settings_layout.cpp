#include "settings_layout.h"

namespace lm740::layout {

namespace {

void appendLamps(std::vector<int> &addresses, int first, int lamps)
{
    for (int lamp = 0; lamp < boundedLampCount(lamps); ++lamp)
        for (int k = 0; k < kBytesPerLamp; ++k)
            addresses.push_back(first + kBytesPerLamp * lamp + k);
}

void appendProgramStep(std::vector<int> &addresses, int p, int step, int lamps)
{
    addresses.push_back(programStepTimeAddress(p, step));
    addresses.push_back(programStepTimeAddress(p, step) + 1);
    addresses.push_back(programStepXfadeAddress(p, step));
    addresses.push_back(programStepLastStepAddress(p, step));
    appendLamps(addresses, programStepLampAddress(p, step, 0), lamps);
}

void putColors(Image image, int first, const ColorArray &colors, int lamps)
{
    for (int lamp = 0; lamp < boundedLampCount(lamps); ++lamp) {
        const QColor &c = colors[lamp];
        const int a = first + kBytesPerLamp * lamp;
        image[a] = quint8(c.red());
        image[a + 1] = quint8(c.green());
        image[a + 2] = quint8(c.blue());
    }
}

void getColors(ConstImage image, int first, ColorArray &colors, int lamps)
{
    for (int lamp = 0; lamp < boundedLampCount(lamps); ++lamp) {
        const int a = first + kBytesPerLamp * lamp;
        colors[lamp] = QColor(image[a], image[a + 1], image[a + 2]);
    }
}

void putTime(Image image, int address, quint32 ms)
{
    const quint16 count = timeToCount(ms);
    image[address] = quint8(count & 0xFF);
    image[address + 1] = quint8(count >> 8);
}

quint32 getTime(ConstImage image, int address)
{
    return countToTime(quint16(image[address] | (image[address + 1] << 8)));
}

void putStep(Image image, int p, int step, const t_program_scene &scene, int lamps)
{
    putTime(image, programStepTimeAddress(p, step), scene.scene_time);
    image[programStepXfadeAddress(p, step)] = scene.scene_xfade;
    image[programStepLastStepAddress(p, step)] = scene.scene_laststep;
    putColors(image, programStepLampAddress(p, step, 0), scene.colors, lamps);
}

void getStep(ConstImage image, int p, int step, t_program_scene &scene, int lamps)
{
    scene.scene_time = getTime(image, programStepTimeAddress(p, step));
    scene.scene_xfade = image[programStepXfadeAddress(p, step)];
    scene.scene_laststep = image[programStepLastStepAddress(p, step)];
    getColors(image, programStepLampAddress(p, step, 0), scene.colors, lamps);
}

bool whole(ConstImage image)
{
    return image.size() == std::size_t(kImageSize);
}

} // namespace

std::vector<int> sceneAddresses(int s, int lamps)
{
    std::vector<int> addresses;
    if (isScene(s))
        appendLamps(addresses, sceneAddress(s), lamps);
    return addresses;
}

std::vector<int> chaserAddresses(int c, int lamps)
{
    std::vector<int> addresses;
    if (!isChaser(c))
        return addresses;
    const int base = chaserAddress(c);
    for (int field = kChaserTime; field < kChaserColors; ++field)
        addresses.push_back(base + field);
    appendLamps(addresses, chaserLampAddress(c, 0), lamps);
    return addresses;
}

std::vector<int> programStepAddresses(int p, int step, int lamps)
{
    std::vector<int> addresses;
    if (isProgram(p) && isProgramStep(step))
        appendProgramStep(addresses, p, step, lamps);
    return addresses;
}

std::vector<int> programAddresses(int p, int lamps)
{
    std::vector<int> addresses;
    if (!isProgram(p))
        return addresses;
    for (int step = 0; step < kProgramSteps; ++step)
        appendProgramStep(addresses, p, step, lamps);
    return addresses;
}

bool packScene(Image image, int s, const ColorArray &colors, int lamps)
{
    if (!whole(image) || !isScene(s))
        return false;
    putColors(image, sceneAddress(s), colors, lamps);
    return true;
}

bool unpackScene(ConstImage image, int s, ColorArray &colors, int lamps)
{
    if (!whole(image) || !isScene(s))
        return false;
    getColors(image, sceneAddress(s), colors, lamps);
    return true;
}

bool packChaser(Image image, int c, const t_chaser &chaser, int lamps)
{
    if (!whole(image) || !isChaser(c))
        return false;
    const int base = chaserAddress(c);
    putTime(image, base + kChaserTime, chaser.time);
    image[base + kChaserXfade] = chaser.xfade;
    image[base + kChaserDirection] = chaser.direction;
    image[base + kChaserPatternLen] = chaser.pattern_len;
    image[base + kChaserRepeat] = chaser.repeat_number;
    putColors(image, chaserLampAddress(c, 0), chaser.colors, lamps);
    return true;
}

bool unpackChaser(ConstImage image, int c, t_chaser &chaser, int lamps)
{
    if (!whole(image) || !isChaser(c))
        return false;
    const int base = chaserAddress(c);
    chaser.time = getTime(image, base + kChaserTime);
    chaser.xfade = image[base + kChaserXfade];
    chaser.direction = image[base + kChaserDirection];
    chaser.pattern_len = image[base + kChaserPatternLen];
    chaser.repeat_number = image[base + kChaserRepeat];
    getColors(image, chaserLampAddress(c, 0), chaser.colors, lamps);
    return true;
}

bool packProgramStep(Image image, int p, int step, const t_program_scene &scene, int lamps)
{
    if (!whole(image) || !isProgram(p) || !isProgramStep(step))
        return false;
    putStep(image, p, step, scene, lamps);
    return true;
}

bool unpackProgramStep(ConstImage image, int p, int step, t_program_scene &scene, int lamps)
{
    if (!whole(image) || !isProgram(p) || !isProgramStep(step))
        return false;
    getStep(image, p, step, scene, lamps);
    return true;
}

bool packProgram(Image image, int p, const t_program &program, int lamps)
{
    if (!whole(image) || !isProgram(p))
        return false;
    for (int step = 0; step < kProgramSteps; ++step)
        putStep(image, p, step, program.scenes[step], lamps);
    return true;
}

bool unpackProgram(ConstImage image, int p, t_program &program, int lamps)
{
    if (!whole(image) || !isProgram(p))
        return false;
    for (int step = 0; step < kProgramSteps; ++step)
        getStep(image, p, step, program.scenes[step], lamps);
    return true;
}

static_assert(sceneAddress(kSceneCount) <= kChaserArea);
static_assert(chaserAddress(kChaserCount) <= kProgramArea);
static_assert(programStepLampAddress(0, kProgramSteps, 0) == programAddress(1));
static_assert(kProgramAreaEnd == 0x168F8);
static_assert(programStepLampAddress(3, 30, 169) + 2 == 0x168F7);

} // namespace lm740::layout
