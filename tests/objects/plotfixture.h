#pragma once
// A state ready for drawing additional objects: the engine started, a plot area of 800 x 600
// pixels at 15 twips each, x and y from -10 to 10.

#include "core/state.h"
#include "engine/enginedefs.h"
#include "engine/linedefs.h"
#include "graph/scale.h"

#include <gtest/gtest.h>

class PlotFixture : public ::testing::Test {
protected:
    void SetUp() override {
        engine::resetengine(state);
        engine::initengine(state.engine);
        state.busyFlag = 0;
        state.scale.plotW = 800 * 15.0;
        state.scale.plotH = 600 * 15.0;
        graph::setscale(state);
    }
    core::State state;
};
