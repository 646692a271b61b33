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

    // Copies the marked blocks of the background's pixels into the frame's (both 32-bit
    // pictures of the size given to reset, with rows bytesPerLine apart), then nothing is
    // marked. Takes plain pixels, so that it may run on another thread than the images' owner.
    void restore(uchar* frame, const uchar* background, qsizetype bytesPerLine);

private:
    void restoreRow(uchar* to, const uchar* from, qsizetype bytesPerLine, int blockRow);

    QSize pixels_;
    int columns_ = 0, rows_ = 0;
    bool all_ = true;
    std::vector<std::uint8_t> blocks_;
};

} // namespace graph
