#pragma once
// A clipboard service for tests: keeps what was put on it last.

#include "platform/clipboard.h"

#include <QByteArray>
#include <QImage>

namespace platform {

class RecordingClipboard : public ClipboardService {
public:
    QImage image;
    QByteArray svg;
    int puts = 0;

    void putImage(const QImage& bitmap) override {
        image = bitmap;
        svg.clear();
        ++puts;
    }
    void putVectorImage(const QByteArray& document, const QImage& bitmap) override {
        svg = document;
        image = bitmap;
        ++puts;
    }
};

} // namespace platform
