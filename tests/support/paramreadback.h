#pragma once
// Enter in the fields of a parameter window with the texts they show must change nothing: the
// bounds, the value, the texts and the slider stay, and no message appears.

#include "core/state.h"
#include "params/paramlogic.h"
#include "support/recordingmessages.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace testsupport {

inline ::testing::AssertionResult readsBackUnchanged(core::State& state, int k) {
    const core::ParamSlot before = state.params[k];
    const auto recorder = std::make_shared<platform::RecordingMessages>();
    const auto messages = state.messages;
    state.messages = recorder;
    // As the window does it: Enter in a bound field takes both fields, unless they are locked.
    if (!before.boundsLocked) params::chpari(state, k);
    params::enterValue(state, k, before.valueText);
    state.messages = messages;

    const core::ParamSlot& after = state.params[k];
    std::string changes;
    const auto compare = [&changes](const char* what, auto was, auto is) {
        if (was != is) changes += std::string(what) + " " + was + " became " + is + "; ";
    };
    const auto number = [](double v) { return QString::number(v, 'g', 17).toStdString(); };
    compare("minimum", number(before.minimum), number(after.minimum));
    compare("maximum", number(before.maximum), number(after.maximum));
    compare("value", number(before.value), number(after.value));
    compare("slider", std::to_string(before.sliderPos), std::to_string(after.sliderPos));
    compare("lower text", before.lowerText.toStdString(), after.lowerText.toStdString());
    compare("upper text", before.upperText.toStdString(), after.upperText.toStdString());
    compare("value text", before.valueText.toStdString(), after.valueText.toStdString());
    for (const auto& shown : recorder->shown)
        changes += "message \"" + shown.text.toStdString() + "\"; ";
    if (changes.empty()) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << changes;
}

} // namespace testsupport
