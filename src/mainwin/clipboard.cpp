#include "mainwin/clipboard.h"

#include <QByteArray>
#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

namespace mainwin {

void SystemClipboard::putImage(const QImage& image) {
    QGuiApplication::clipboard()->setImage(image);
}

void SystemClipboard::putVectorImage(const QByteArray& svg, const QImage& bitmap) {
    auto* data = new QMimeData; // the clipboard takes it over
    data->setData(QStringLiteral("image/svg+xml"), svg);
    if (!bitmap.isNull()) data->setImageData(bitmap);
    QGuiApplication::clipboard()->setMimeData(data);
}

} // namespace mainwin
