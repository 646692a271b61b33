#pragma once
// Reading a rendered picture: where the line of colour 0 shows.

#include "core/rounding.h"

#include <QImage>

#include <gtest/gtest.h>

#include <cmath>

namespace testsupport {

// Strongly blue: the colour of line slot 0, also where antialiasing blends it with white.
inline bool isLineBlue(QRgb p) {
    return qBlue(p) > 200 && qRed(p) < 140 && qGreen(p) < 140;
}

// The picture shows the line that runs through row rowAt(c) of each column c, and nothing else
// in its colour: each column whose row lies inside has the line within `rows` rows of it, and
// each pixel of the line's colour lies within three rows of the line at some column up to three
// away. Returns how many columns had their row inside.
template <typename RowAt> int expectOnlyTheLine(const QImage& image, RowAt rowAt, int rows) {
    int inside = 0;
    for (int c = 2; c < image.width() - 2; ++c) {
        const int r = core::round32(rowAt(c));
        if (r < rows || r >= image.height() - rows) continue;
        bool found = false;
        for (int dr = -rows; dr <= rows && !found; ++dr)
            found = isLineBlue(image.pixel(c, r + dr));
        EXPECT_TRUE(found) << "column " << c << " row " << r;
        ++inside;
    }
    int stray = 0;
    for (int r = 0; r < image.height(); ++r)
        for (int c = 0; c < image.width(); ++c) {
            if (!isLineBlue(image.pixel(c, r))) continue;
            bool near = false;
            for (int dc = -3; dc <= 3 && !near; ++dc)
                near = std::abs(rowAt(c + dc) - r) <= 3;
            stray += !near;
        }
    EXPECT_EQ(stray, 0);
    return inside;
}

} // namespace testsupport
