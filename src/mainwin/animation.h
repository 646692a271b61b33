#pragma once
// Saving an animation: the picture of the graph is drawn once per frame while one or several
// parameters step through their ranges, and written as an animated GIF or as numbered PNG
// files. The parameters move together frame by frame; the animation has as many frames as the
// parameter with the most values, and a parameter with fewer values holds its last one.
// Afterwards every parameter has its value from before again.

#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace core {
struct State;
}

namespace mainwin {

inline constexpr int maxAnimationFrames = 10000;
inline constexpr int defaultAnimationFps = 10;
inline constexpr int maxAnimationFps = 50; // a GIF holds delays in hundredths of a second

// The slot in use whose parameter the engine knows by name: a free parameter ("a"), a sample
// count ("anzf") or a lower bound, whose label carries an explanation after the name ("uf = ...").
// Upper and lower case do not matter; -1 when there is none.
int slotOfName(const core::State& state, const QString& name);

// The parameter's name as the user types it: its label up to the first blank.
QString paramName(const core::State& state, int k);

struct AnimatedParam {
    int slot = -1;
    double from = 0;
    double to = 0;
    double step = 0; // its sign does not matter: the values run from "from" towards "to"
};

// The values a parameter takes: from, from + step, ... as far as to, each added as the user
// adds the numbers shown (steps of 0,1 reach 1 exactly); to itself only when a step lands on it.
// Empty when the step is 0 or not finite, or there would be more than maxAnimationFrames.
std::vector<double> animationValues(const AnimatedParam& param);

// The texts of one parameter as "NAME=FROM:TO:STEP" gives them.
struct AnimateText {
    QString name;
    QString from;
    QString to;
    QString step;
};
// Splits "NAME=FROM:TO:STEP"; nothing when the text has another form.
std::optional<AnimateText> splitAnimateText(const QString& text);
// Finds the parameter and reads the three numbers like every number field (a decimal comma, a
// term such as pi/2). Nothing, with the reason in German in problem, when the parameter is not
// in use, a number cannot be read, the step is 0 or the parameter would take too many values.
std::optional<AnimatedParam> readAnimatedParam(core::State& state, const AnimateText& text,
                                               QString& problem);

// One row of the dialog "Animation speichern": a parameter the user sees, whether it moves, and
// its three fields.
struct AnimationRow {
    int slot = -1;
    QString name;
    bool chosen = false;
    QString from;
    QString to;
    QString step;
};
// The rows of the parameters shown in their windows, in slot order, filled from their timer
// settings: from the lower to the upper bound with the timer's step (a twentieth of the range
// when the step is 0). Chosen are the parameters whose timers run, or the first when none runs.
std::vector<AnimationRow> animationRows(const core::State& state);
// The chosen rows read as readAnimatedParam reads them; nothing with the reason in problem, also
// when no row is chosen.
std::optional<std::vector<AnimatedParam>>
readAnimationRows(core::State& state, const std::vector<AnimationRow>& rows, QString& problem);

enum class AnimationFormat { Gif, NumberedPng };
// The format for the file's ending (.gif or .png, in any case); nothing for any other.
std::optional<AnimationFormat> animationFormat(const QString& path);

// The file of frame number (0 on) among frameCount numbered PNG files: "bild.png" gives
// "bild_001.png", "bild_002.png", ..., with at least three digits and as many as the count needs.
QString numberedFramePath(const QString& path, int frame, int frameCount);

struct AnimationRequest {
    QString path; // .gif: one animated file; .png: numbered files beside it (numberedFramePath)
    QSize size;   // of the plot area, in pixels
    int fps = defaultAnimationFps;
    std::vector<AnimatedParam> params;
};

enum class AnimationResult { Written, Cancelled, Failed };
struct AnimationOutcome {
    AnimationResult result = AnimationResult::Failed;
    int frames = 0;    // frames written
    QStringList files; // the files written
    QString problem;   // why it failed, in German
};

// Told after every frame how many of how many are done (once with 0 before the first); returns
// false to cancel.
using AnimationProgress = std::function<bool(int done, int total)>;

// Draws and writes the animation. Nothing is put in place before the last frame is written: a
// cancelled or failed export leaves the files of those names as they were. The parameters are
// moved with busyFlag set, so the screen is not redrawn frame by frame; their values from
// before are set again at the end (the caller redraws the screen).
AnimationOutcome writeAnimation(core::State& state, const AnimationRequest& request,
                                const AnimationProgress& progress = {});

} // namespace mainwin
