#pragma once
// The state that the whole program shares: the 13 function lines, the 61 parameter slots,
// ranges, colours, the math engine and a handful of flags. One State object is made at start-up
// and handed to whoever needs it; windows observe it and never own its data.

#include "platform/colourdialogs.h"
#include "platform/filedialogs.h"
#include "platform/mathengine.h"
#include "platform/messages.h"

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

namespace core {

inline constexpr int lineCount = 13;  // term lines and line slots 0 ... 12
inline constexpr int paramCount = 61; // parameter slots 0 ... 60
inline constexpr int firstLowerBoundSlot = 0;
inline constexpr int firstSampleCountSlot = 13;
inline constexpr int firstFreeParamSlot = 28;
inline constexpr int lastParamSlot = 60;
// Steps per second of the parameter timers.
inline constexpr int defaultTimerTempo = 25, slowestTimerTempo = 1, fastestTimerTempo = 60;

// Kind of a function line.
inline constexpr int kindFunction = -2;  // a graph y = f(x)
inline constexpr int kindCurvePart = -1; // drawn only as the y part of a curve
// 0 or more: a curve drawn from this line together with the line of that index.

// 32-bit colour value: red in the lowest byte, green in the next, blue in the third.
using Colour = std::uint32_t;
constexpr Colour rgb(int r, int g, int b) {
    return Colour(r & 0xff) | (Colour(g & 0xff) << 8) | (Colour(b & 0xff) << 16);
}

// The grid lines are drawn in a grey of the brightness set in the graph options.
constexpr Colour gridColour(int brightness) {
    return rgb(brightness, brightness, brightness);
}

// The variable marker inside stored terms: a blank, "!", the running variable, "!", a blank.
inline const QString runningVariable = QStringLiteral("_x");
inline const QString variableMarker = QStringLiteral(" !_x! ");

struct FuncLine {
    QString name;      // empty: the line defines nothing
    QString term;      // stored term, own variable replaced by the variable marker
    QString shownTerm; // the term as the user typed it
    QString variable;  // x for a function, t for a curve
    QString lowerText; // lower bound of the definition interval as typed; empty when none
    QString upperText; // upper bound, likewise
    bool drawn = true;
    int sampleCount = 499;
    int lineWidth = 0;
    double lowerBound = 0; // last lower bound of the integral function
    int slot = 0;          // colour, pen and parameter slot of the line
    QString intervalText = QStringLiteral("-oo; +oo");
    int lineType = 0;
    int kind = kindFunction;
    double intervalFrom = 0;
    double intervalTo = 0;
};

// Per line slot, beside the record.
struct LineSlot {
    QString translated;   // the translated term; empty when the line is empty or wrong
    QString integralSpec; // the bracketed integrand; empty when no integral function
    double stepWidth = 0;
    int width = 0;          // saved as "LDicke"
    int widthOverride = -1; // 0 or more replaces the width for the pen
};

struct ParamSlot {
    QString label;
    int handle = -1; // engine variable handle; -1 = slot free
    double minimum = -10;
    double maximum = 10;
    double step = 1;

    // What the slot's parameter window shows; the window only mirrors these.
    double value = 0;         // current value ("wert")
    int owner = 0;            // line slot the window belongs to (slots 0 ... 25)
    int rangeFlags = 0;       // bit r set while range row r (0 x, 1 y, 2 t) uses this parameter
    bool settingFlag = false; // true while setpar moves the slider itself
    int sliderPos = 0;        // 0 ... 1000
    bool visible = false;
    QString caption;
    QString valueText;             // the value field
    QString lowerText;             // the lower bound field
    QString upperText;             // the upper bound field
    bool boundsLocked = false;     // lower bounds of integral functions take the x range
    bool valueHighlighted = false; // value field drawn orange for slots below 28
    int timerMode = 0;             // 0 loop, 1 reversal
};

struct Ranges {
    double xMin = -10, xMax = 10;
    double yMin = -10, yMax = 10;
    double tMin = 0, tMax = 10;
};

// Handles of the engine variables with program meaning (set by resetengine).
struct EngineHandles {
    int x = -1, qq = -1, sw = -1, xmu = -1, xmi = -1, ymu = -1, ymi = -1;
};

// Numeric side of the world-to-screen mapping and the grid settings it uses.
struct Scale {
    double xRange = 20, yRange = 20;
    double plotW = 12000, plotH = 9000; // inner size of the plot area in twips
    double xmu = 600, ymu = 450;        // twips per unit
    double xTickStep = 0.5, yTickStep = 0.5;
    QString xNumberFormat = QStringLiteral("0.##"), yNumberFormat = QStringLiteral("0.##");
    // Grid settings (edited in the graph options, kept in the settings file).
    double xGridStep = 0.5, yGridStep = 0.5;
    double xGridStart = 0, yGridStart = 0;
    int xLinesMin = 10, xLinesMax = 40, yLinesMin = 10, yLinesMax = 40;
    int xDigitsMin = 2, yDigitsMin = 2;
    bool backgroundValid = false; // false after every setscale: the background is drawn anew
};

// Texts and state of the term window that the logic works on.
struct TermEditor {
    std::array<QString, 13> texts{}; // the 13 text fields
    int termState = 0;               // 0 terms view, 1 intervals view
    QString xList = QStringLiteral(":");
    QString statusText = QStringLiteral("Ok.");
    std::uint32_t statusColour = 0; // 0 = the normal button-face colour
    bool statusIsError() const { return statusColour != 0; }
    // While the status line shows what a redraw reported: that text, and the status it replaced,
    // which comes back when a later redraw draws every line again.
    QString drawingStatus;
    QString statusBeforeDrawing;
    std::uint32_t colourBeforeDrawing = 0;
    // What the window shows around the lines; setstate fills these for the current view.
    QString windowCaption = QStringLiteral("Funktionsterme");
    QString backButtonCaption = QStringLiteral("[ a ; b ]");
    bool editTermsEnabled = false;   // pop-up entry "Funktionsterme ändern"
    bool editIntervalEnabled = true; // pop-up entry "Darstellungsintervall ändern"
    int currentLine = 0;             // the line the pop-up menu and swvis act on
    int fontSize = 10;               // font size of the lines in points
};

// What a redraw has to tell the user. The lines are drawn while the picture is painted, where no
// window may change and no message box may open: the redraw collects here what it has to say,
// and the windows show it once the picture is painted.
struct DrawingReport {
    std::vector<int> cutLines; // lines that stopped drawing: their terms need too much work
    QStringList notices;       // texts for a message box, each once

    void clear();
    void addNotice(const QString& text);
};

// Places where the logic tells the windows that something changed. Each is optional; windows
// (or tests) connect them.
struct Hooks {
    // The data-set assembly, for the term lines' apply command (set up at start-up).
    std::function<void()> applydata;
    std::function<void()> redrawall;
    std::function<void()> docalc;               // calculator recomputes
    std::function<void(int slot)> paramChanged; // a parameter window must show its slot again
    std::function<void()> rangeWindowUpdate;    // displayed-range window re-reads its data
    std::function<void()> rangeRowsReread;      // range rows that use a parameter re-read
    std::function<void()> termStatusChanged;    // term window status line
    std::function<void()> paramListRefresh;     // parameter selection list
    std::function<void()> arrangeParams;        // parameter windows rearranged
    std::function<void()> timersStopped;        // all parameter timers stopped
    std::function<void()> rangeApply;           // displayed-range window applies (vonbis(0))
    std::function<void()> collectionTakeOver;   // collection takes over the current data
    // timerList or the timer menu caption changed; the main timer is to run exactly when running.
    std::function<void(bool running)> timerRunningChanged;
    // The windows put their present sizes into windowAttributes (an attribute list is written).
    std::function<void()> noteWindowAttributes;
    // An attribute list was read: the windows show its marks and settings again and take the
    // window attributes of the bits in read (termFontRead, ...).
    std::function<void(int read)> windowAttributesRead;
    // Keypad 8, 2, 4, 6 on the graph: the name of the point selected in the additional points
    // window moves by dx, dy pixels (dy counts downwards, as on the screen). True when a point
    // was selected and its name moved; the graph then redraws.
    std::function<bool(int dx, int dy)> movePointName;
    // extraLinesText or pointsText were replaced from outside their windows (a collection entry,
    // all lines cleared): the lines and points windows show them again.
    std::function<void()> extraObjectsRead;

    template <class... Args>
    void call(const std::function<void(Args...)>& f, std::type_identity_t<Args>... args) const {
        if (f) f(args...);
    }
};

// What the background of the graph shows and how (menu toggles and graph options).
struct GraphOptions {
    bool gridShown = true;      // "Hilfs&linien sichtbar"
    bool axesShown = true;      // "&Achsen sichtbar"
    bool axisNamesShown = true; // "Achsen&name sichtbar"
    bool labelsShown = true;    // "B&eschriftung sichtbar"
    int numberFontSize = 12;    // pixels
    int axisNameFontSize = 16;  // pixels
    int thirdFontSize = 15;     // pixels; names of the additional points
    int gridBrightness = 210;   // the grid lines' grey: this value for red, green and blue
    bool refineSampling = true; // "Polstellen und Sprünge genau zeichnen"
    QString xAxisName = QStringLiteral("x");
    QString yAxisName = QStringLiteral("y");
};

// What the windows keep in the attribute list: font sizes, sizes and places that the windows own,
// and the marks that let a collection entry change them. The windows put their present values
// here before a list is written (hook noteWindowAttributes) and take the values that a list set
// (hook windowAttributesRead). Sizes and places in twips.
struct WindowAttributes {
    float descriptionFontSize = 10;         // the collection window's description
    bool descriptionSizeIndividual = false; // "Schriftgröße der Beschreibung individuell änderbar"
    bool termFontIndividual = false;        // "Schriftgröße individuell änderbar" (pop-up)
    bool graphIndividual = false;           // "Graphenfenster individuell änderbar"
    float graphInnerHeight = 0;             // without frame and title; 0 while not known
    float graphInnerWidth = 0;
    float graphLeft = 0; // left edge of the graph window in the main window
    float termLeft = 0;  // left edge of the term window in the main window
};

// Which window attributes a list has set (the bits of hook windowAttributesRead).
inline constexpr int termFontRead = 1;
inline constexpr int descriptionFontRead = 2;
inline constexpr int graphGeometryRead = 4;

// A bound field of the displayed-range window as the data-set assembly parsed it.
struct RangeExpr {
    enum Status { Empty = -1, Failed = 0, Parsed = 1 };
    Status status = Empty;
    platform::Expression expr;
};

struct State {
    State();

    platform::MathEngine engine;
    EngineHandles handles;
    Hooks hooks;
    std::shared_ptr<platform::MessageService> messages;           // never null
    std::shared_ptr<platform::FileDialogService> fileDialogs;     // never null
    std::shared_ptr<platform::ColourDialogService> colourDialogs; // never null
    Scale scale;
    GraphOptions graphOptions;
    TermEditor termEditor;
    DrawingReport drawingReport; // of the last redraw
    WindowAttributes windowAttributes;

    std::array<FuncLine, lineCount> lines{};
    std::array<LineSlot, lineCount> lineSlots{};
    std::array<ParamSlot, paramCount> params{};
    Ranges ranges;

    std::array<Colour, 15> lineColours{};   // 0-12 lines, 13 coordinate system, 14 new extra lines
    std::array<Colour, 14> storedColours{}; // the colour table kept in the settings ("Coltab")

    QStringList keyTable;
    QStringList plotTypeNames;
    QString tempEntryName = QStringLiteral("__tmp__");
    float trigMode = 1;

    int linesInUse = 0; // number of term lines in use (at most 13)
    int lastLine = 0;   // index of the last term line
    int busyFlag = 1;   // 1 during start-up and batch updates; redrawall does nothing then
    int calcDecimals = 3;
    int tppX = 15, tppY = 15;     // screen units (twips) per pixel
    bool keepSampleCount = false; // "Anzahl der x-Werte konstant lassen": resizing keeps them
    // "Zoom-Einstellungen": a zoom step out widens the x or y span by this factor (at least 1).
    double zoomX = 1.5, zoomY = 1.5;
    bool extraLinesShown = true;
    bool pointsShown = true;     // the discs of the additional points ("Punkte")
    bool pointNamesShown = true; // their names ("Namen")
    int pointSize = 4;           // radius of the additional points in pixels
    int linesLineType = 2;       // pen style 0 ... 6 of the additional lines without their own
    int axisPenWidth = 2;
    int paramWindowWidth = 4740;
    QString forwardStepText = QStringLiteral("qq+sw*");
    QString backwardStepText = QStringLiteral("qq-sw*");
    // An integration direction ends where 1/(1+abs(value)) falls below this (graph options).
    QString infinityLimit = QStringLiteral("1E-10");
    QString freeNames = QStringLiteral("fghijklmnopqrstuvwxyz");
    bool autoIntegralRecognition = false;
    QString usedParamNames;

    // The folder of the settings file and the working copy of the collection: the user's
    // configuration folder of the program, chosen at start-up; tests give a temporary one.
    QString configFolder;
    // False when the start could not make the folder or cannot replace the working copy in it:
    // the user was told once that nothing he changes can be kept, and the working copy and
    // settings are not written (each write would fail alike and say so again).
    bool configFolderWritable = true;

    // Displayed-range window: the six bound fields (rows x, y, t; lower and upper), the text of all
    // bounds that the data-set assembly searches for parameters, and the parsed bounds.
    std::array<std::array<QString, 2>, 3> rangeFields{};
    QString rangeText;
    std::array<RangeExpr, 3> rangeExprFrom{};
    std::array<RangeExpr, 3> rangeExprTo{};

    QString extraLinesText; // the additional lines, one per line
    QString pointsText;     // the additional points

    QString timerList; // one character per running parameter slot (its code is the slot number)
    QString timerMenuCaption = QStringLiteral("Alle &Timer gleichzeitig starten");
    bool arrangeParamsOnApply = false;  // "&Parameterfenster anordnen" is checked
    int timerTempo = defaultTimerTempo; // steps per second of the parameter timers (settings file)

    void initrecords();
    // The factory colours of the lines, the stored colour table and the grid's grey.
    void resetColours();
    void resetnames();
    void usename(const QString& name);
    // Slot (13 ... 60) of the first parameter in use whose label equals name, or -1.
    int findparam(const QString& name) const;
};

} // namespace core
