// What a redraw reported reaches the term window's status line and the message boxes.

#include "terms/drawingstatus.h"

#include "core/state.h"
#include "terms/termcheck.h"

#include "support/recordingmessages.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class DrawingStatus : public ::testing::Test {
protected:
    void SetUp() override {
        state.messages = messages;
        state.hooks.termStatusChanged = [this] { ++statusShown; };
        state.lines[0].name = QStringLiteral("f");
        state.lines[1].name = QStringLiteral("G");
        state.lines[0].variable = state.lines[1].variable = QStringLiteral("x");
        terms::showerror(state, QStringLiteral("Ok."), terms::statusNormal);
        statusShown = 0;
    }

    // A redraw that cut these lines, then the report shown as the windows show it.
    void redrawCutting(std::vector<int> lines) {
        state.drawingReport.clear();
        state.drawingReport.cutLines = std::move(lines);
        terms::showDrawingReport(state);
    }

    const QString& status() const { return state.termEditor.statusText; }

    std::shared_ptr<platform::RecordingMessages> messages =
        std::make_shared<platform::RecordingMessages>();
    core::State state;
    int statusShown = 0;
};

TEST_F(DrawingStatus, StatusShowsTheCutAndGivesTheOldStatusBack) {
    redrawCutting({0});
    EXPECT_EQ(status(), QStringLiteral("f(x): Zeichnung abgebrochen, der Term ist zu aufwendig."));
    EXPECT_TRUE(state.termEditor.statusIsError());
    EXPECT_EQ(statusShown, 1);

    // Every slider move redraws: the same cut is not shown anew.
    redrawCutting({0});
    EXPECT_EQ(statusShown, 1);
    redrawCutting({0, 1});
    EXPECT_TRUE(status().startsWith(QStringLiteral("f(x), G(x): ")));
    EXPECT_EQ(statusShown, 2);

    // A parameter makes the terms cheap again: the status before the cut comes back.
    redrawCutting({});
    EXPECT_EQ(status(), QStringLiteral("Ok."));
    EXPECT_FALSE(state.termEditor.statusIsError());
    EXPECT_EQ(statusShown, 3);
    redrawCutting({});
    EXPECT_EQ(statusShown, 3);

    // Something else was shown since the cut: it stays.
    redrawCutting({1});
    terms::showerror(state, QStringLiteral("Semikolon fehlt!"), terms::statusRed);
    redrawCutting({});
    EXPECT_EQ(status(), QStringLiteral("Semikolon fehlt!"));
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(DrawingStatus, NoticesAreShownOnce) {
    state.drawingReport.addNotice(QStringLiteral("Bei Integralfkt im Kurvenmodus ... 1"));
    state.drawingReport.addNotice(QStringLiteral("Bei Integralfkt im Kurvenmodus ... 1"));
    state.drawingReport.addNotice(QStringLiteral("Bei Integralfkt im Kurvenmodus ... 2"));
    terms::showDrawingReport(state);
    terms::showDrawingReport(state);
    ASSERT_EQ(messages->shown.size(), 2u);
    EXPECT_EQ(messages->shown[0].title, QStringLiteral("Kurvatur 2"));
    EXPECT_EQ(messages->shown[1].text, QStringLiteral("Bei Integralfkt im Kurvenmodus ... 2"));
    EXPECT_EQ(status(), QStringLiteral("Ok.")); // no line was cut
}

} // namespace
