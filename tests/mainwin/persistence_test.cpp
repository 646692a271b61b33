// A teacher's work survives the program: what a session built in the windows comes back with the
// next start, a saved collection draws each entry as before in a fresh program, and a broken or
// unwritable configuration folder costs no more than it must.

#include "collection/collectionstate.h"
#include "collection/workingcopy.h"
#include "core/numbers.h"
#include "core/state.h"
#include "engine/settingsfile.h"
#include "graph/graphwindow.h"
#include "graph/scale.h"
#include "mainwin/mainwindow.h"
#include "params/paramwindow.h"
#include "params/paramwindows.h"
#include "params/timers.h"
#include "terms/termwindow.h"

#include "mainwindowfixture.h"
#include "support/chosenfiles.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

namespace {

using testsupport::q;

// Everything of the state that the user set and expects back, one "what: value" line each, so
// that a difference names what was lost.
QStringList snapshot(const core::State& s, const mainwin::MainWindow& w) {
    QStringList out;
    const auto n = [](double v) { return QString::number(v, 'g', 17); };
    out << q("lines in use: ") + QString::number(s.linesInUse);
    for (int i = 0; i < s.linesInUse; ++i) {
        const core::FuncLine& l = s.lines[i];
        const QString p = q("line ") + QString::number(i) + q(" ");
        out << p + q("text: ") + w.termWindow()->lineField(i)->text();
        out << p + q("drawn: ") + QString::number(l.drawn);
        out << p + q("interval: [") + l.lowerText + q(";") + l.upperText + q("]");
        out << p + q("colour: ") + QString::number(s.lineColours[l.slot]);
        out << p + q("width: ") + QString::number(l.lineWidth);
        out << p + q("type: ") + QString::number(l.lineType);
        out << p + q("samples: ") + QString::number(l.sampleCount);
        if (!s.lineSlots[l.slot].integralSpec.isEmpty())
            out << p + q("lower bound: ") + n(s.params[l.slot].value);
    }
    for (int k = core::firstFreeParamSlot; k <= core::lastParamSlot; ++k) {
        const core::ParamSlot& p = s.params[k];
        if (p.handle == -1) continue;
        out << q("parameter ") + p.label + q(": ") + n(p.value) + q(" in [") + n(p.minimum) +
                   q(";") + n(p.maximum) + q("] step ") + n(p.step) + q(" mode ") +
                   QString::number(p.timerMode);
    }
    const core::Ranges& r = s.ranges;
    out << q("ranges: ") + n(r.xMin) + q(" ") + n(r.xMax) + q(" ") + n(r.yMin) + q(" ") +
               n(r.yMax) + q(" ") + n(r.tMin) + q(" ") + n(r.tMax);
    for (int row = 0; row < 3; ++row)
        out << q("range fields ") + QString::number(row) + q(": ") + s.rangeFields[row][0] +
                   q(";") + s.rangeFields[row][1];
    out << q("angle unit: ") + QString::number(s.trigMode);
    return out;
}

void expectSame(const QStringList& before, const QStringList& after) {
    for (qsizetype i = 0; i < std::max(before.size(), after.size()); ++i)
        EXPECT_EQ(i < after.size() ? after[i].toStdString() : std::string("(missing)"),
                  i < before.size() ? before[i].toStdString() : std::string("(missing)"));
}

class PersistenceTest : public testsupport::MainWindowFixture {
protected:
    params::ParamWindow* para(int k) const { return window->paramWindows()->window(k); }
    template <typename T> T* paramChild(const char* name, const char* child) const {
        params::ParamWindow* w = para(state.findparam(q(name)));
        return w ? w->findChild<T*>(QLatin1String(child)) : nullptr;
    }
    void typeInto(QLineEdit* f, const char* text) {
        ASSERT_NE(f, nullptr);
        f->selectAll();
        QTest::keyClicks(f, q(text));
        QTest::keyClick(f, Qt::Key_Return);
    }
    void typeParam(const char* name, const char* child, const char* text) {
        typeInto(paramChild<QLineEdit>(name, child), text);
    }
    // The slider dragged to a position, as the scroll bar reports a drag.
    void slide(const char* name, int position) {
        auto* slider = paramChild<QScrollBar>(name, "HScroll1");
        ASSERT_NE(slider, nullptr);
        slider->setSliderDown(true);
        slider->setSliderPosition(position);
        slider->setSliderDown(false);
        QApplication::processEvents();
    }
    // The ranges as the range fields hold them, applied.
    void setRanges(const std::array<std::array<const char*, 2>, 3>& fields) {
        for (int row = 0; row < 3; ++row)
            for (int side = 0; side < 2; ++side)
                state.rangeFields[row][side] = q(fields[row][side]);
        core::Ranges& r = state.ranges;
        const auto value = [this](const char* text) {
            return core::evalnum(state.engine, q(text)).value_or(0);
        };
        r = {value(fields[0][0]), value(fields[0][1]), value(fields[1][0]),
             value(fields[1][1]), value(fields[2][0]), value(fields[2][1])};
        graph::setscale(state);
        state.hooks.call(state.hooks.collectionTakeOver);
        window->redrawall();
    }
    QImage picture() {
        QApplication::processEvents();
        return window->graphWindow()->picture().copy();
    }

    // A further run of the program on a configuration folder (the same one when empty).
    std::unique_ptr<mainwin::MainWindow> startAgain(core::State& again, QString folder = {}) {
        again.messages = messages;
        again.fileDialogs = state.fileDialogs;
        again.configFolder = folder.isEmpty() ? state.configFolder : folder;
        auto second = std::make_unique<mainwin::MainWindow>(again);
        second->copyText = [](const QString&) {};
        second->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(second.get()));
        QApplication::processEvents();
        return second;
    }
};

TEST_F(PersistenceTest, ASessionTypedInTheWindowComesBackWithTheNextStart) {
    lines({"f(x) = a*x^2 + b", "F(x)", "xa(t) = r*cos(t)", "ya(t) = r*sin(t)", "m(x) = x + c",
           "h(x) = sin(x)"});
    ASSERT_EQ(state.termEditor.statusText, q("Ok.")) << state.termEditor.statusText.toStdString();
    popupCommand(4, "mnp1"); // g hidden

    slide("a", 750);
    EXPECT_EQ(state.params[state.findparam(q("a"))].value, 5);
    action("mn_ugr")->trigger();
    typeInto(para(state.lines[1].slot)->findChild<QLineEdit*>(QStringLiteral("Text3")), "-2");
    ASSERT_EQ(state.params[state.lines[1].slot].value, -2);
    typeParam("b", "Text3", "-1,5");
    typeParam("c", "Text1", "-4");
    typeParam("c", "Text2", "6");
    typeParam("c", "Text3", "2,25");
    const int r = state.findparam(q("r"));
    ASSERT_TRUE(params::timerDialogOk(state, r, q("0,25"), 1));
    setRanges({{{"-2*pi", "2*pi"}, {"-3", "5"}, {"0", "2*pi"}}});

    QTest::keyClick(field(0), Qt::Key_PageUp, Qt::ShiftModifier);
    enter(0, "f: ] -3 ; 2 [");
    enter(5, "h: ] 0 ; pi [");
    QTest::mouseClick(term->backButton(), Qt::LeftButton);

    term->chooseColour = [](const QColor&) { return std::optional<QColor>(QColor(200, 30, 40)); };
    popupCommand(0, "mnp6");
    popupCommand(0, "mnp151", "5");
    popupCommand(5, "mnp151", "3");
    popupCommand(5, "mpua1", "Punkt 3");
    popupCommand(0, "mnp5");
    typeInto(para(core::firstSampleCountSlot + state.lines[0].slot)
                 ->findChild<QLineEdit*>(QStringLiteral("Text3")),
             "201");
    ASSERT_EQ(state.lines[0].sampleCount, 200);
    action("mn_helpline")->trigger();
    action("mn_deg")->trigger();
    ASSERT_TRUE(messages->shown.empty()) << messages->shown.front().text.toStdString();

    const QStringList before = snapshot(state, *window);
    const QImage drawn = picture();
    const QSize size = window->size();
    window->close();
    ASSERT_TRUE(window->isShutDown());

    core::State again;
    auto second = startAgain(again);
    ASSERT_EQ(second->size(), size);
    expectSame(before, snapshot(again, *second));
    EXPECT_TRUE(second->findChild<QAction*>(QStringLiteral("mn_deg"))->isChecked());
    EXPECT_FALSE(second->findChild<QAction*>(QStringLiteral("mn_helpline"))->isChecked());
    QApplication::processEvents();
    EXPECT_EQ(second->graphWindow()->picture(), drawn);
    second->close();
}

// What the entries of the collection are made of: the lines and what is done to them after.
struct EntryCase {
    const char* name;
    std::vector<const char*> typed;
    std::function<void()> then;
};

TEST_F(PersistenceTest, ASavedCollectionDrawsEveryEntryAsBeforeInAFreshProgram) {
    auto files = std::make_shared<testsupport::ChosenFiles>();
    QTemporaryDir elsewhere;
    ASSERT_TRUE(elsewhere.isValid());
    const QString saved = QDir(elsewhere.path()).filePath(QStringLiteral("unterricht.txt"));
    files->answers = {saved, saved}; // saved under it, then opened by the fresh program
    state.fileDialogs = files;

    const std::vector<EntryCase> cases = {
        {"parabola moved by a slider", {"f(x) = a*x^2 - 1"}, [this] { slide("a", 300); }},
        {"circle with a reversing timer",
         {"xa(t) = r*cos(t)", "ya(t) = r*sin(t)"},
         [this] {
             ASSERT_TRUE(params::timerDialogOk(state, state.findparam(q("r")), q("0,5"), 1));
             typeParam("r", "Text3", "3");
         }},
        {"sine in degrees, thick and dotted",
         {"f(x) = sin(x)", "g(x) = k*x"},
         [this] {
             action("mn_deg")->trigger();
             setRanges({{{"-360", "360"}, {"-2", "2"}, {"0", "10"}}});
             popupCommand(0, "mnp151", "6");
             popupCommand(1, "mpua1", "Punkt 2");
             typeParam("k", "Text3", "0,01");
         }},
        {"integral, interval and a hidden line",
         {"f(x) = x^2 - 2", "F(x)", "g(x) = 2*x"},
         [this] {
             popupCommand(2, "mnp1");
             QTest::keyClick(field(0), Qt::Key_PageUp, Qt::ShiftModifier);
             enter(0, "f: ] -1 ; 3 [");
             QTest::mouseClick(term->backButton(), Qt::LeftButton);
             term->chooseColour = [](const QColor&) {
                 return std::optional<QColor>(QColor(90, 0, 160));
             };
             popupCommand(1, "mnp6");
             action("mn_rad")->trigger();
         }},
    };
    for (const EntryCase& c : cases) {
        SCOPED_TRACE(c.name);
        action("mn_allclr")->trigger();
        for (std::size_t i = 0; i < c.typed.size(); ++i) {
            if (i > 0) QTest::keyClick(field(int(i) - 1), Qt::Key_Return, Qt::ShiftModifier);
            type(int(i), c.typed[i]);
        }
        QTest::keyClick(field(int(c.typed.size()) - 1), Qt::Key_Return);
        c.then();
        action("mn_add")->trigger();
    }
    auto& first = window->collectionState();
    ASSERT_EQ(first.collection.entries.size(), cases.size());
    std::vector<QStringList> states;
    std::vector<QImage> pictures;
    for (std::size_t i = 0; i < cases.size(); ++i) {
        first.selected = int(i);
        action("mn_einakt")->trigger();
        states.push_back(snapshot(state, *window));
        pictures.push_back(picture());
    }
    action("mn_saveas")->trigger();
    ASSERT_TRUE(QFile::exists(saved));
    window->close();
    ASSERT_TRUE(window->isShutDown());

    // A fresh program: a configuration folder of its own, which has never seen the collection.
    QTemporaryDir freshFolder;
    ASSERT_TRUE(freshFolder.isValid());
    core::State fresh;
    auto second = startAgain(fresh, freshFolder.path());
    second->findChild<QAction*>(QStringLiteral("mn_open"))->trigger();
    auto& opened = second->collectionState();
    ASSERT_EQ(opened.collection.entries.size(), cases.size());
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].name);
        opened.selected = int(i);
        second->findChild<QAction*>(QStringLiteral("mn_einakt"))->trigger();
        EXPECT_EQ(opened.status.text, q("O.k."));
        expectSame(states[i], snapshot(fresh, *second));
        QApplication::processEvents();
        EXPECT_EQ(second->graphWindow()->picture(), pictures[i]);
    }
    second->close();
}

// --- a configuration folder that is broken or cannot be written ------------------------------

struct CutCase {
    const char* name;
    std::function<QByteArray(const QByteArray& whole)> cut;
};

TEST_F(PersistenceTest, AWorkingCopyCutShortByACrashIsKeptAsideAndTheSettingsStay) {
    lines({"f(x) = a*x^2", "g(x) = x + 1"});
    action("mn_add")->trigger();
    term->chooseColour = [](const QColor&) { return std::optional<QColor>(QColor(0, 128, 0)); };
    popupCommand(1, "mnp6");
    window->close(); // the entry added is not saved under a name
    ASSERT_EQ(messages->shown.size(), 1u);
    messages->shown.clear();
    const QString path = collection::workingCopyPath(state);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    file.close();
    ASSERT_GT(whole.size(), 40);

    const std::vector<CutCase> cases = {
        {"half", [](const QByteArray& w) { return w.left(w.size() / 2); }},
        {"a third", [](const QByteArray& w) { return w.left(w.size() / 3); }},
        {"all but the last bytes", [](const QByteArray& w) { return w.left(w.size() - 3); }},
        {"the first line only", [](const QByteArray& w) { return w.left(w.indexOf("\r\n") + 2); }},
        {"nothing", [](const QByteArray&) { return QByteArray(); }},
    };
    for (const CutCase& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray cut = c.cut(whole);
        QFile::remove(path + q(".defekt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(cut);
        file.close();

        core::State again;
        auto second = startAgain(again);
        ASSERT_EQ(messages->shown.size(), 1u);
        EXPECT_TRUE(messages->shown[0].text.contains(q("kurvatur.tmp.defekt")))
            << messages->shown[0].text.toStdString();
        messages->shown.clear();
        QFile kept(path + q(".defekt"));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
        EXPECT_EQ(kept.readAll(), cut);
        kept.close();
        // The settings file was not part of the crash: the chosen colour is still there.
        EXPECT_EQ(again.lineColours[1], core::rgb(0, 128, 0));
        // The program works on: a line typed is drawn and kept.
        second->termWindow()->lineField(0)->setText(q("f(x) = x"));
        QTest::keyClick(second->termWindow()->lineField(0), Qt::Key_Return);
        EXPECT_EQ(again.termEditor.statusText, q("Ok."));
        second->close();
        EXPECT_TRUE(messages->shown.empty());
        messages->shown.clear();
        EXPECT_EQ(kept.size(), cut.size());
    }
}

struct JunkCase {
    const char* name;
    QByteArray text;
};

TEST_F(PersistenceTest, ASettingsFileWithJunkStartsWithTheDefaults) {
    window->close();
    // Each start below is one without a working copy, as is the one they are compared with.
    QFile::remove(collection::workingCopyPath(state));
    QFile::remove(engine::settingsPath(state));
    core::State defaults;
    auto reference = startAgain(defaults);
    const QStringList expected = snapshot(defaults, *reference);
    reference->close();
    const std::vector<JunkCase> cases = {
        {"binary", QByteArray("\x00\xff\xfe\x01garbage\x00\x7f", 14)},
        {"numbers of the wrong kind",
         "[Kurvatur]\r\nAttribs=x:y:z::::\r\nColtab=rot:grün:-5:99999999999:\r\nLDicke=-1:9:"
         "a:\r\nLArt=1e5:\r\n"},
        {"a section cut off", "[Kurvatur\r\nAttribs=1:2:3"},
        {"an empty file", ""},
    };
    for (const JunkCase& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(collection::workingCopyPath(state));
        QFile ini(engine::settingsPath(state));
        ASSERT_TRUE(ini.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ini.write(c.text);
        ini.close();
        {
            core::State again;
            auto second = startAgain(again);
            expectSame(expected, snapshot(again, *second));
            EXPECT_TRUE(messages->shown.empty()) << messages->shown.front().text.toStdString();
            // The user chooses degrees; closing writes them beside the junk.
            second->findChild<QAction*>(QStringLiteral("mn_deg"))->trigger();
            second->close();
        }
        core::State third;
        auto last = startAgain(third);
        EXPECT_EQ(third.trigMode, 2);
        last->close();
        EXPECT_TRUE(messages->shown.empty()) << messages->shown.front().text.toStdString();
        messages->shown.clear();
    }
}

struct BlockedCase {
    const char* name;
    // Makes the obstacle below root and gives the configuration folder to start on.
    std::function<QString(const QDir& root)> block;
};

TEST_F(PersistenceTest, AFolderThatCannotBeWrittenStillStartsAndSaysSoOnce) {
    window->close();
    const std::vector<BlockedCase> cases = {
        {"a file where the folder would be",
         [](const QDir& root) {
             QFile blocker(root.filePath(QStringLiteral("datei")));
             EXPECT_TRUE(blocker.open(QIODevice::WriteOnly));
             return root.filePath(QStringLiteral("datei/Kurvatur"));
         }},
        {"a folder where the working copy would be",
         [](const QDir& root) {
             EXPECT_TRUE(root.mkpath(QStringLiteral("ordner/kurvatur.tmp")));
             return root.filePath(QStringLiteral("ordner"));
         }},
    };
    for (const BlockedCase& c : cases) {
        SCOPED_TRACE(c.name);
        core::State again;
        auto second = startAgain(again, c.block(QDir(state.configFolder)));
        ASSERT_EQ(messages->shown.size(), 1u) << messages->shown.back().text.toStdString();
        EXPECT_TRUE(messages->shown[0].text.contains(q("nicht gespeichert")))
            << messages->shown[0].text.toStdString();
        messages->shown.clear();
        // The user works on and is not told again with every change, nor at the end.
        auto* line = second->termWindow()->lineField(0);
        for (const char* typed : {"f(x) = a*x", "f(x) = a*x + 1"}) {
            line->setText(q(typed));
            QTest::keyClick(line, Qt::Key_Return);
        }
        second->findChild<QAction*>(QStringLiteral("mn_add"))->trigger();
        EXPECT_EQ(again.termEditor.statusText, q("Ok."));
        EXPECT_TRUE(messages->shown.empty()) << messages->shown.front().text.toStdString();
        messages->answer = false;
        second->close();
        EXPECT_TRUE(second->isShutDown());
        // Only the question whether to save the collection that now holds an entry.
        EXPECT_EQ(messages->shown.size(), 1u);
        messages->shown.clear();
    }
}

} // namespace
