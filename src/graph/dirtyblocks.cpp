#include "graph/dirtyblocks.h"

#include <QImage>

#include <algorithm>
#include <cstring>

namespace graph {

void DirtyBlocks::reset(QSize pixels) {
    pixels_ = pixels;
    const int block = 1 << shift;
    columns_ = std::max(0, (pixels.width() + block - 1) >> shift);
    rows_ = std::max(0, (pixels.height() + block - 1) >> shift);
    blocks_.assign(std::size_t(columns_) * std::size_t(rows_), 0);
    all_ = true;
}

void DirtyBlocks::markRect(const QRect& rect) {
    const QRect r = rect.intersected(QRect(QPoint(0, 0), pixels_));
    if (r.isEmpty()) return;
    for (int row = r.top() >> shift; row <= r.bottom() >> shift; ++row)
        std::memset(
            &blocks_[std::size_t(row) * std::size_t(columns_) + std::size_t(r.left() >> shift)], 1,
            std::size_t((r.right() >> shift) - (r.left() >> shift) + 1));
}

void DirtyBlocks::restore(QImage& frame, const QImage& background) {
    if (all_) {
        std::memcpy(frame.bits(), background.constBits(), std::size_t(background.sizeInBytes()));
        std::fill(blocks_.begin(), blocks_.end(), 0);
        all_ = false;
        return;
    }
    uchar* to = frame.bits();
    const uchar* from = background.constBits();
    const qsizetype bytesPerLine = frame.bytesPerLine();
    for (int row = 0; row < rows_; ++row)
        restoreRow(to, from, bytesPerLine, row);
}

// Each run of marked blocks in the row is copied as one piece per pixel row.
void DirtyBlocks::restoreRow(uchar* to, const uchar* from, qsizetype bytesPerLine, int blockRow) {
    std::uint8_t* marks = &blocks_[std::size_t(blockRow) * std::size_t(columns_)];
    const int y0 = blockRow << shift, y1 = std::min(pixels_.height(), y0 + (1 << shift));
    for (int c = 0; c < columns_;) {
        if (marks[c] == 0) {
            ++c;
            continue;
        }
        const int first = c;
        while (c < columns_ && marks[c] != 0)
            marks[c++] = 0;
        const int x0 = first << shift, x1 = std::min(pixels_.width(), c << shift);
        const std::size_t bytes = std::size_t(x1 - x0) * 4;
        for (int y = y0; y < y1; ++y) {
            const qsizetype offset = y * bytesPerLine + qsizetype(x0) * 4;
            std::memcpy(to + offset, from + offset, bytes);
        }
    }
}

} // namespace graph
