#include "graph/dirtyblocks.h"

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

void DirtyBlocks::restore(uchar* to, const uchar* from, qsizetype bytesPerLine) {
    if (all_) {
        std::memcpy(to, from, std::size_t(bytesPerLine) * std::size_t(pixels_.height()));
        std::fill(blocks_.begin(), blocks_.end(), 0);
        all_ = false;
        return;
    }
    for (int row = 0; row < rows_; ++row)
        restoreRow(to, from, bytesPerLine, row);
}

// Each run of marked blocks in the row is copied a block at a time, in pieces of a size known
// here, so that the copies are a few moves each rather than calls: most runs are one block long.
void DirtyBlocks::restoreRow(uchar* to, const uchar* from, qsizetype bytesPerLine, int blockRow) {
    constexpr int block = 1 << shift;
    constexpr std::size_t blockBytes = block * 4;
    std::uint8_t* marks = &blocks_[std::size_t(blockRow) * std::size_t(columns_)];
    const int y0 = blockRow << shift, y1 = std::min(pixels_.height(), y0 + block);
    // The last column of blocks may be cut by the right edge.
    const int wholeColumns = pixels_.width() >> shift;
    const std::size_t edgeBytes = std::size_t(pixels_.width() - (wholeColumns << shift)) * 4;
    for (int c = 0; c < columns_; ++c) {
        if (marks[c] == 0) continue;
        marks[c] = 0;
        const qsizetype x = qsizetype(c) * qsizetype(blockBytes);
        for (int y = y0; y < y1; ++y) {
            const qsizetype offset = y * bytesPerLine + x;
            if (c < wholeColumns)
                std::memcpy(to + offset, from + offset, blockBytes);
            else
                std::memcpy(to + offset, from + offset, edgeBytes);
        }
    }
}

} // namespace graph
