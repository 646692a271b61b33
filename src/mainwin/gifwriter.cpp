#include "mainwin/gifwriter.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace mainwin {

namespace {

constexpr std::size_t maxExactColours = 40;
constexpr int cubeLevels = 6;
constexpr int cellCount = 1 << 15;

int distance(QRgb a, QRgb b) {
    const int r = qRed(a) - qRed(b), g = qGreen(a) - qGreen(b), bl = qBlue(a) - qBlue(b);
    // The eye tells greens apart best and blues least.
    return 3 * r * r + 4 * g * g + 2 * bl * bl;
}

int writeToFile(GifFileType* gif, const GifByteType* data, int length) {
    auto* file = static_cast<QSaveFile*>(gif->UserData);
    return int(file->write(reinterpret_cast<const char*>(data), length));
}

} // namespace

std::vector<QRgb> gifPalette(const std::vector<QRgb>& exact) {
    std::vector<QRgb> palette;
    palette.reserve(gifPaletteSize);
    const auto add = [&palette](QRgb c) {
        c = qRgb(qRed(c), qGreen(c), qBlue(c));
        if (palette.size() < std::size_t(gifPaletteSize) &&
            std::find(palette.begin(), palette.end(), c) == palette.end())
            palette.push_back(c);
    };
    for (const QRgb c : exact)
        if (palette.size() < maxExactColours) add(c);
    constexpr int stepOfCube = 255 / (cubeLevels - 1);
    for (int r = 0; r < cubeLevels; ++r)
        for (int g = 0; g < cubeLevels; ++g)
            for (int b = 0; b < cubeLevels; ++b)
                add(qRgb(r * stepOfCube, g * stepOfCube, b * stepOfCube));
    // Greys for the blended edges of black letters and axes, as evenly as the room allows.
    const int room = gifPaletteSize - int(palette.size());
    for (int i = 1; i <= room; ++i) {
        const int v = i * 255 / (room + 1);
        add(qRgb(v, v, v));
    }
    while (palette.size() < std::size_t(gifPaletteSize))
        palette.push_back(qRgb(0, 0, 0));
    return palette;
}

PaletteIndex::PaletteIndex(const std::vector<QRgb>& palette)
    : cells_(cellCount, 0), shared_(cellCount, false), palette_(palette) {
    std::vector<int> owners(cellCount, -1);
    for (int cellNo = 0; cellNo < cellCount; ++cellNo) {
        const QRgb centre = qRgb(((cellNo >> 10) & 31) << 3 | 4, ((cellNo >> 5) & 31) << 3 | 4,
                                 (cellNo & 31) << 3 | 4);
        int best = 0;
        int bestDistance = std::numeric_limits<int>::max();
        for (std::size_t i = 0; i < palette.size(); ++i) {
            const int d = distance(centre, palette[i]);
            if (d < bestDistance) {
                bestDistance = d;
                best = int(i);
            }
        }
        cells_[std::size_t(cellNo)] = std::uint8_t(best);
    }
    // A palette colour owns its cell; the first one given wins a shared cell, the others are
    // found by comparing the colour itself.
    for (std::size_t i = 0; i < palette.size(); ++i) {
        const int k = cell(palette[i]);
        if (owners[std::size_t(k)] < 0) {
            owners[std::size_t(k)] = int(i);
            cells_[std::size_t(k)] = std::uint8_t(i);
        } else if (palette[std::size_t(owners[std::size_t(k)])] != palette[i]) {
            shared_[std::size_t(k)] = true;
        }
    }
}

std::uint8_t PaletteIndex::operator()(QRgb colour) const {
    const int k = cell(colour);
    if (shared_[std::size_t(k)]) {
        const QRgb c = colour | 0xff000000u;
        for (std::size_t i = 0; i < palette_.size(); ++i)
            if (palette_[i] == c) return std::uint8_t(i);
    }
    return cells_[std::size_t(k)];
}

GifWriter::GifWriter() = default;

GifWriter::~GifWriter() {
    cancel();
}

bool GifWriter::open(const QString& path, QSize size, int delayCentiseconds,
                     const std::vector<QRgb>& palette) {
    cancel();
    failed_ = false;
    frames_ = 0;
    size_ = size;
    delay_ = std::clamp(delayCentiseconds, 1, 65535);
    if (size.isEmpty() || size.width() > 65535 || size.height() > 65535 ||
        palette.size() != std::size_t(gifPaletteSize))
        return fail();
    file_.setFileName(path);
    if (!file_.open(QIODevice::WriteOnly)) return fail();
    int error = 0;
    gif_ = EGifOpen(&file_, writeToFile, &error);
    if (!gif_) return fail();
    EGifSetGifVersion(gif_, true);

    std::vector<GifColorType> colours(palette.size());
    for (std::size_t i = 0; i < palette.size(); ++i)
        colours[i] = {GifByteType(qRed(palette[i])), GifByteType(qGreen(palette[i])),
                      GifByteType(qBlue(palette[i]))};
    ColorMapObject* map = GifMakeMapObject(gifPaletteSize, colours.data());
    if (!map) return fail();
    const int screen = EGifPutScreenDesc(gif_, size.width(), size.height(), 8, 0, map);
    GifFreeMapObject(map);
    if (screen != GIF_OK) return fail();

    // The application block that makes viewers play the frames in an endless loop.
    static const char netscape[] = "NETSCAPE2.0";
    static const GifByteType loopForever[3] = {1, 0, 0};
    if (EGifPutExtensionLeader(gif_, APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
        EGifPutExtensionBlock(gif_, 11, netscape) != GIF_OK ||
        EGifPutExtensionBlock(gif_, 3, loopForever) != GIF_OK ||
        EGifPutExtensionTrailer(gif_) != GIF_OK)
        return fail();

    index_ = std::make_unique<PaletteIndex>(palette);
    const std::size_t pixels = std::size_t(size.width()) * std::size_t(size.height());
    previous_.assign(pixels, 0);
    current_.assign(pixels, 0);
    return true;
}

bool GifWriter::addFrame(const QImage& frame) {
    if (!gif_ || failed_) return false;
    if (frame.size() != size_) return fail();
    const QImage rgb = frame.format() == QImage::Format_RGB32 ||
                               frame.format() == QImage::Format_ARGB32 ||
                               frame.format() == QImage::Format_ARGB32_Premultiplied
                           ? frame
                           : frame.convertToFormat(QImage::Format_RGB32);
    const int w = size_.width(), h = size_.height();
    const PaletteIndex& index = *index_;
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        std::uint8_t* out = current_.data() + std::size_t(y) * std::size_t(w);
        for (int x = 0; x < w; ++x)
            out[x] = index(line[x]);
    }

    // The rectangle that differs from the picture so far; the whole picture at first, and one
    // pixel when nothing moved (a frame must be there to keep its time).
    int top = 0, bottom = h - 1, left = 0, right = w - 1;
    if (frames_ > 0) {
        const auto row = [w](std::vector<std::uint8_t>& v, int y) {
            return v.data() + std::size_t(y) * std::size_t(w);
        };
        const auto same = [&](int y) {
            return std::memcmp(row(current_, y), row(previous_, y), std::size_t(w)) == 0;
        };
        top = 0;
        while (top < h && same(top))
            ++top;
        if (top == h) {
            top = bottom = left = right = 0;
        } else {
            bottom = h - 1;
            while (same(bottom))
                --bottom;
            left = w;
            right = -1;
            for (int y = top; y <= bottom; ++y) {
                const std::uint8_t* a = row(current_, y);
                const std::uint8_t* b = row(previous_, y);
                int l = 0;
                while (l < left && a[l] == b[l])
                    ++l;
                left = std::min(left, l);
                int r = w - 1;
                while (r > right && a[r] == b[r])
                    --r;
                right = std::max(right, r);
            }
            if (right < left) right = left = 0;
        }
    }

    GraphicsControlBlock control{};
    control.DisposalMode = DISPOSE_DO_NOT;
    control.UserInputFlag = false;
    control.DelayTime = delay_;
    control.TransparentColor = NO_TRANSPARENT_COLOR;
    GifByteType extension[4];
    EGifGCBToExtension(&control, extension);
    if (EGifPutExtension(gif_, GRAPHICS_EXT_FUNC_CODE, 4, extension) != GIF_OK) return fail();
    const int width = right - left + 1;
    if (EGifPutImageDesc(gif_, left, top, width, bottom - top + 1, false, nullptr) != GIF_OK)
        return fail();
    for (int y = top; y <= bottom; ++y)
        if (EGifPutLine(gif_, current_.data() + std::size_t(y) * std::size_t(w) + left, width) !=
            GIF_OK)
            return fail();
    previous_.swap(current_);
    ++frames_;
    return true;
}

bool GifWriter::finish() {
    if (!gif_) return false;
    int error = 0;
    const bool closed = EGifCloseFile(gif_, &error) == GIF_OK;
    gif_ = nullptr;
    if (!closed || failed_ || frames_ == 0) {
        file_.cancelWriting();
        file_.commit(); // discards the unfinished file
        return false;
    }
    return file_.commit();
}

void GifWriter::cancel() {
    if (gif_) {
        int error = 0;
        EGifCloseFile(gif_, &error);
        gif_ = nullptr;
    }
    if (file_.isOpen()) {
        file_.cancelWriting();
        file_.commit();
    }
}

bool GifWriter::fail() {
    failed_ = true;
    return false;
}

} // namespace mainwin
