#pragma once
// Animated GIF files, written frame by frame through giflib. Every frame is reduced to one fixed
// palette of 256 colours: the colours the program draws with come first and are kept exactly,
// a colour cube and greys take the rest (the blended edges of lines and letters). After the
// first frame only the rectangle that changed is stored, laid over what stands, which keeps
// both the file and the time to write it small.

#include <QImage>
#include <QRgb>
#include <QSaveFile>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

struct GifFileType;

namespace mainwin {

inline constexpr int gifPaletteSize = 256;

// The palette: the exact colours first in the order given (repeats dropped, at most 40 kept),
// then the 6 x 6 x 6 colour cube without those already there, then greys up to 256 entries.
std::vector<QRgb> gifPalette(const std::vector<QRgb>& exact);

// Finds the palette entry for a colour through a table of 32768 cells (5 bits of red, green and
// blue each), made once per palette. A colour of the palette maps to itself, so the exact
// colours come through unchanged; any other colour goes to the nearest entry of its cell.
class PaletteIndex {
public:
    explicit PaletteIndex(const std::vector<QRgb>& palette);
    std::uint8_t operator()(QRgb colour) const;

private:
    static int cell(QRgb c) {
        return int(((c >> 9) & 0x7c00) | ((c >> 6) & 0x03e0) | ((c >> 3) & 0x001f));
    }
    std::vector<std::uint8_t> cells_;
    std::vector<bool> shared_; // cells that hold more than one palette colour
    std::vector<QRgb> palette_;
};

class GifWriter {
public:
    GifWriter();
    ~GifWriter();
    GifWriter(const GifWriter&) = delete;
    GifWriter& operator=(const GifWriter&) = delete;

    // Starts the file for frames of size pixels shown delayCentiseconds each, played in an
    // endless loop. The file is written beside its place and takes it only at finish(), so an
    // old file of that name stays until then. False when the file cannot be made.
    bool open(const QString& path, QSize size, int delayCentiseconds,
              const std::vector<QRgb>& palette);
    // One frame, an image of the size given to open (any format Qt converts to RGB32).
    bool addFrame(const QImage& frame);
    // Ends the file and puts it in its place; false when anything on the way failed.
    bool finish();
    // Gives the file up; an old file of that name stays as it was.
    void cancel();

private:
    bool fail();

    QSaveFile file_;
    GifFileType* gif_ = nullptr;
    std::unique_ptr<PaletteIndex> index_;
    QSize size_;
    int delay_ = 10;
    bool failed_ = false;
    int frames_ = 0;
    std::vector<std::uint8_t> previous_; // the picture as it stands after the frames so far
    std::vector<std::uint8_t> current_;
};

} // namespace mainwin
