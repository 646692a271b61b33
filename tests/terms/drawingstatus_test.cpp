// What a redraw reported reaches the message boxes.

#include "terms/drawingstatus.h"

#include "core/state.h"
#include "terms/termcheck.h"

#include "support/recordingmessages.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

class DrawingStatus : public ::testing::Test {
protected:
    void SetUp() override {
        state.messages = messages;
        terms::showerror(state, QStringLiteral("Ok."), terms::statusNormal);
    }

    const QString& status() const { return state.termEditor.statusText; }

    std::shared_ptr<platform::RecordingMessages> messages =
        std::make_shared<platform::RecordingMessages>();
    core::State state;
};

TEST_F(DrawingStatus, NoticesAreShownOnce) {
    state.drawingReport.addNotice(QStringLiteral("Bei Integralfkt im Kurvenmodus ... 1"));
    state.drawingReport.addNotice(QStringLiteral("Bei Integralfkt im Kurvenmodus ... 1"));
    state.drawingReport.addNotice(QStringLiteral("Bei Integralfkt im Kurvenmodus ... 2"));
    terms::showDrawingReport(state);
    terms::showDrawingReport(state);
    ASSERT_EQ(messages->shown.size(), 2u);
    EXPECT_EQ(messages->shown[0].title, QStringLiteral("Kurvatur 2"));
    EXPECT_EQ(messages->shown[1].text, QStringLiteral("Bei Integralfkt im Kurvenmodus ... 2"));
    EXPECT_EQ(status(), QStringLiteral("Ok."));
}

} // namespace
