#pragma once
// Pictures for the clipboard go through this interface, so that tests look at what was offered
// without touching the user's clipboard.

class QByteArray;
class QImage;

namespace platform {

class ClipboardService {
public:
    virtual ~ClipboardService() = default;
    // Replaces the clipboard's content by a bitmap.
    virtual void putImage(const QImage& image) = 0;
    // Replaces the clipboard's content by an SVG document (image/svg+xml) with a bitmap of the
    // same picture beside it, for programs that take no vector pictures.
    virtual void putVectorImage(const QByteArray& svg, const QImage& bitmap) = 0;
};

} // namespace platform
