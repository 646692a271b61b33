#include "session/startup.h"

#include "core/state.h"
#include "engine/settingsfile.h"
#include "support/printing.h"
#include "support/recordingmessages.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class Startup : public ::testing::Test {
protected:
    core::State state;
    std::shared_ptr<platform::RecordingMessages> messages =
        std::make_shared<platform::RecordingMessages>();
    std::vector<std::pair<const char*, int>> steps; // (step, busyFlag at that moment)

    void SetUp() override {
        state.messages = messages;
        ASSERT_TRUE(configFolder.isValid());
        state.configFolder = configFolder.path();
    }
    QTemporaryDir configFolder;

    void start(const std::vector<QString>& typed = {}) {
        session::StartupSteps s;
        s.prepareWindows = [this, typed] {
            steps.emplace_back("windows", state.busyFlag);
            for (std::size_t i = 0; i < typed.size(); ++i)
                state.termEditor.texts[i] = typed[i];
            state.linesInUse = int(typed.size());
            state.lastLine = std::max(state.linesInUse - 1, 0);
        };
        s.arrange = [this] { steps.emplace_back("arrange", state.busyFlag); };
        state.hooks.redrawall = [this] { steps.emplace_back("redraw", state.busyFlag); };
        session::startup(state, 12, 15, s);
    }
};

TEST_F(Startup, AFreshStartIsEmptyAndOk) {
    start();
    EXPECT_EQ(state.termEditor.statusText, QStringLiteral("Ok."));
    EXPECT_FALSE(state.termEditor.statusIsError());
    for (const auto& line : state.lines)
        EXPECT_TRUE(line.name.isEmpty());
    EXPECT_EQ(state.ranges.xMin, -10);
    EXPECT_EQ(state.ranges.yMax, 10);
    EXPECT_EQ(state.engine.trigMode(), 1);
    EXPECT_EQ(state.engine.eval("sin(pi/2)"), 1);
    EXPECT_EQ(state.tppX, 12);
    EXPECT_EQ(state.tppY, 15);
    EXPECT_TRUE(messages->shown.empty());
}

// The windows prepare themselves while nothing may draw; arranging and the first picture follow,
// and the lines the windows hold are applied.
TEST_F(Startup, WindowsComeBeforeArrangingAndDrawingAndTheirLinesAreApplied) {
    start({QStringLiteral("a*x^2"), QStringLiteral("f(x)+1")});
    using Step = std::pair<const char*, int>;
    ASSERT_GE(steps.size(), 3u);
    EXPECT_EQ(steps[0], Step("windows", 1));
    EXPECT_EQ(steps[1], Step("arrange", 0));
    EXPECT_EQ(steps.back(), Step("redraw", 0));
    EXPECT_EQ(state.busyFlag, 0);
    EXPECT_EQ(state.termEditor.statusText, QStringLiteral("Ok."));
    EXPECT_EQ(state.termEditor.texts[0], QStringLiteral("f(x) = a*x^2"));
    EXPECT_EQ(state.engine.eval("g(3)"), 10); // a new parameter starts at 1
    EXPECT_EQ(state.findparam(QStringLiteral("a")), core::firstFreeParamSlot);
}

// The windows start with the saved settings: colours, widths and the grid the ticks follow.
TEST_F(Startup, TheSettingsFileIsReadBeforeTheWindows) {
    QFile file(engine::settingsPath(state));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Kurvatur]\nAttribs=x:y:16:12:-1:210:0:0:2:0,5:1:10:40:40:2:2:-1:-1:-1:-1:-1:2:\n"
               "Coltab=255:\nLDicke=0:6:\n");
    file.close();
    double tickSeenByWindows = 0;
    session::StartupSteps s;
    s.prepareWindows = [&] { tickSeenByWindows = state.scale.xTickStep; };
    session::startup(state, 15, 15, s);
    EXPECT_EQ(tickSeenByWindows, 2);
    EXPECT_EQ(state.lineColours[0], core::rgb(255, 0, 0));
    EXPECT_EQ(state.lineSlots[1].width, 6);
    EXPECT_EQ(state.engine.trigMode(), 2);
}

TEST_F(Startup, FactoryDefaultsReachTheSampleCountWindows) {
    start({QStringLiteral("x")});
    const int count = core::firstSampleCountSlot;
    state.lines[0].sampleCount = 100;
    state.params[count].value = 101;
    state.lineColours[0] = 0x123456;
    session::restoreDefaults(state);
    EXPECT_EQ(state.lines[0].sampleCount, 499);
    EXPECT_EQ(state.params[count].value, 500);
    EXPECT_EQ(state.params[count].valueText, QStringLiteral("500"));
    EXPECT_EQ(state.lineColours[0], core::rgb(0, 0, 255));
}

} // namespace
