#pragma once
// The system clipboard behind the clipboard service.

#include "platform/clipboard.h"

namespace mainwin {

class SystemClipboard : public platform::ClipboardService {
public:
    void putImage(const QImage& image) override;
    void putVectorImage(const QByteArray& svg, const QImage& bitmap) override;
};

} // namespace mainwin
