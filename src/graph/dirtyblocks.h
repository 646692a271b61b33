#pragma once
// What the lines of the last frame covered, in blocks of 8 x 8 device pixels. The next frame
// starts from the cached background again; copying back only the covered blocks instead of the
// whole background is what keeps a redraw on a large, fine screen cheap (a whole copy is 25 MB
// at 3200 x 2000 pixels, the lines cover a few per cent of it).

#include <QRect>
#include <QSize>
#include <QtGlobal>

#include <cstdint>
#include <vector>

class QImage;

namespace graph {

class DirtyBlocks {
public:
    static constexpr int shift = 3; // blocks of 1 << shift pixels square

    // A picture of that many pixels, all of it to be restored (nothing is known of it yet).
    void reset(QSize pixels);
    // Everything is to be restored, as after reset.
    void markAll() { all_ = true; }
    // The pixel (x, y), which must lie inside the picture.
    void mark(int x, int y) {
        blocks_[std::size_t(y >> shift) * std::size_t(columns_) + std::size_t(x >> shift)] = 1;
    }
    // Every pixel of the rectangle that lies inside the picture.
    void markRect(const QRect& rect);

    // Copies the marked blocks of background into frame (both of the size given to reset and
    // of the same 32-bit format), then nothing is marked.
    void restore(QImage& frame, const QImage& background);

private:
    void restoreRow(uchar* to, const uchar* from, qsizetype bytesPerLine, int blockRow);

    QSize pixels_;
    int columns_ = 0, rows_ = 0;
    bool all_ = true;
    std::vector<std::uint8_t> blocks_;
};

} // namespace graph
