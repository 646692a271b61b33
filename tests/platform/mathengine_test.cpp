#include "platform/mathengine.h"

#include <gtest/gtest.h>

TEST(MathEngine, Placeholder) { SUCCEED(); }
