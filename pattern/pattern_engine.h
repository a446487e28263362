// Runs pattern scripts: small JavaScript files written to the RGB script API that lighting
// programs publish (an object with apiVersion, name, author, acceptColors, properties,
// rgbMapStepCount and rgbMap), so that scripts written for that API by anyone run unchanged.
//
// Each load and each render runs in a JavaScript engine of its own with nothing but the language
// itself: no file, network or process access, and Math.random drawn from the render's seed, so
// that a render repeats. Every call into a script is stopped after the time limit by a watchdog;
// a script that throws, runs too long or returns anything but a grid of colours is reported with
// its file, line and message, and never stops the others.
#pragma once

#include "pattern_bake.h"
#include "pattern_property.h"

#include <QList>
#include <QMap>
#include <QRgb>
#include <QString>

#include <optional>
#include <vector>

class QJSValue;

namespace lm740::pattern {

struct PatternError
{
    QString file;
    int line = 0; // 0 when the engine does not know it
    QString message;

    // "file:line: message", or "file: message" without a line.
    QString text() const;
};

struct PatternInfo
{
    QString name;
    QString author;
    QString file; // ":/patterns/NAME.js" for the built-in ones
    bool builtIn = false;
    int apiVersion = 1;
    int acceptColors = 2; // 0 none, 1 a start colour, 2 start and end; up to 5 from version 3
    std::vector<PatternProperty> properties;
    QString source; // the script's text, as it was read

    const PatternProperty *property(const QString &name) const;
};

struct RenderRequest
{
    int width = 1;
    int height = 1;
    // The colours given: start and end for versions 1 and 2, up to 5 for version 3. Those past
    // what the script takes are ignored; with none, a script that takes colours gets red.
    QList<QRgb> colors;
    QMap<QString, QString> properties; // by name; a property not given keeps the script's value
    quint32 seed = 0;
    // At most this many frames (0: every step, up to kMaxSteps), chosen from the script's steps
    // as fitSteps() does.
    int maxFrames = 0;
    Fit fit = Fit::Cut;
};

struct RenderResult
{
    std::optional<PatternError> error;
    PatternFrames frames;
};

// The most steps one render draws, however many a script says it has.
inline constexpr int kMaxSteps = 4096;
// The largest script file read.
inline constexpr qint64 kMaxScriptSize = 1 << 20;

class PatternEngine
{
public:
    explicit PatternEngine(int timeLimitMs = 1000);
    ~PatternEngine();
    PatternEngine(const PatternEngine &) = delete;
    PatternEngine &operator=(const PatternEngine &) = delete;

    // Where the user's scripts are: $XDG_DATA_HOME/lm740/patterns.
    static QString userFolder();

    struct Listing
    {
        std::vector<PatternInfo> patterns; // the built-in ones by file name, then the user's
        std::vector<PatternError> errors;  // the scripts that could not be loaded
    };
    // Loads every built-in script and every *.js file in the user's folder.
    Listing list() const;

    // Loads a script from its text; `file` names it in errors.
    std::optional<PatternInfo> load(const QString &file, const QString &source,
                                    PatternError *error) const;
    // Loads a script file (a built-in one by its ":/patterns/" name).
    std::optional<PatternInfo> loadFile(const QString &file, PatternError *error) const;
    // A script by its file, or else a built-in or user script by its name or file name without
    // ".js" (case does not matter; a built-in one first).
    std::optional<PatternInfo> find(const QString &nameOrFile, PatternError *error) const;

    // Draws the script's frames. Each call makes an engine of its own, so that renders may run on
    // several threads at once.
    RenderResult render(const PatternInfo &script, const RenderRequest &request) const;

private:
    int m_timeLimitMs;
};

// Sets the request's grid to the layout's and chooses the frames the target takes: those up to the
// chosen frame for a scene or a chaser, and a program's free steps fitted as the target says. Every
// caller that bakes draws its frames this way, so that the same bake gives the same bytes.
void fitToTarget(RenderRequest &request, const Layout &layout, const BakeTarget &target);

// The colour a version 1 or 2 script gets on `step` of `steps`: the start colour moving channel
// by channel, truncated, to the end colour on the last step; the start colour on every step
// without an end colour.
QRgb stepColor(QRgb start, std::optional<QRgb> end, int step, int steps);

// Reads what rgbMap returned: an array of `height` arrays of `width` numbers. False with *error
// set otherwise, or for a number that is no colour (NaN, infinite).
bool readFrame(const QJSValue &value, int width, int height, std::vector<QRgb> *frame,
               QString *error);

} // namespace lm740::pattern
