// The show in memory: 10 scenes, 4 chasers and 4 programs of 31 steps for one common lamp count.
// Plain values only, so that files, the settings image and transfers can copy and compare them.
#pragma once

#include <QColor>

#include <array>
#include <cstdint>

namespace lm740 {

inline constexpr int kColorSlots = 171; // lamps use 0..169; slot 170 is spare
inline constexpr int kMaxLamps = 170;
inline constexpr int kMinLamps = 1;
inline constexpr int kDefaultLamps = 30;
inline constexpr int kSceneCount = 10;
inline constexpr int kChaserCount = 4;
inline constexpr int kProgramCount = 4;
inline constexpr int kProgramSteps = 31;
inline constexpr int kMinSceneTime = 1; // global scene time, whole seconds
inline constexpr int kMaxSceneTime = 60;
inline constexpr int kMaxItemTimeMs = 60000;

using ColorArray = std::array<QColor, kColorSlots>;

// Sets lamps 0..169 to black; slot 170 stays as it is.
void setLampsBlack(ColorArray &colors);

// Clamps a lamp count to what the arrays can hold.
constexpr int boundedLampCount(int count)
{
    return count < 0 ? 0 : (count > kMaxLamps ? kMaxLamps : count);
}

} // namespace lm740

struct t_chaser
{
    lm740::ColorArray colors;
    quint32 time = 1000;    // step time, ms
    quint8 xfade = 100;     // percent of time
    quint8 direction = 1;   // 1 = Left, 2 = Right
    quint8 pattern_len = 1; // lamps
    quint8 repeat_number = 1;

    bool operator==(const t_chaser &) const = default;
};

struct t_program_scene
{
    lm740::ColorArray colors;
    quint32 scene_time = 1000; // ms
    quint8 scene_xfade = 100;  // percent of scene_time
    quint8 scene_laststep = 0; // 1 = the program returns to step 1 after this step

    bool operator==(const t_program_scene &) const = default;
};

// The widget pointers that belong with a program (its tab page, step layout and step buttons)
// live beside this record in the window, so that the record stays a plain value.
struct t_program
{
    std::array<t_program_scene, lm740::kProgramSteps> scenes;

    bool operator==(const t_program &) const = default;
};

namespace lm740 {

// Puts a chaser, a program step or a whole program back to the state of a fresh start.
void setDefaults(t_chaser &chaser);
void setDefaults(t_program_scene &step);
void setDefaults(t_program &program);

// Marks one step as the last of its program and clears the mark on every other step.
void markLastStep(t_program &program, int step, bool last);

// The whole show with its current selection, as the show document holds it.
struct Show
{
    int ledsNumber = kDefaultLamps;
    int sceneTime = kMinSceneTime; // the global scene time, whole seconds
    std::array<ColorArray, kSceneCount> sceneColors;
    std::array<t_chaser, kChaserCount> chasers;
    std::array<t_program, kProgramCount> programs;
    ColorArray chaserSimColors; // the chaser simulation's working copy, never saved

    int actualSceneNumber = 0;
    int actualChaserNumber = 0;
    int actualProgramNumber = 0;
    int actualProgramSceneNumber = 0;

    // Every colour slot starts invalid; this sets the defaults a fresh start shows.
    void setShowDefaults();
};

} // namespace lm740
