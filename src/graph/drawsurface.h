#pragma once
// The one drawing interface that all graph drawing goes to. Coordinates are whole pixels of the
// plot area, (0, 0) at its top left, rows counted downwards; every caller rounds before it draws,
// so that the same routine gives the same pixels on the screen, in an image and in a recording.

#include "core/state.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <span>

namespace graph {

// A pen. Width in pixels; 0 is the thinnest visible line. Styles as the additional lines
// choose them: 0 solid, 1 dashed, 2 dotted, 3 dash-dot, 4 dash-dot-dot, 5 invisible, 6 solid.
struct Pen {
    int width = 0;
    core::Colour colour = 0;
    int style = 0;
    bool operator==(const Pen&) const = default;
};

// A font chosen by name, character height in pixels and weight (400 normal, 700 bold).
struct Font {
    QString family = QStringLiteral("Arial");
    int pixelHeight = 12;
    int weight = 400;
    bool operator==(const Font&) const = default;
};

class DrawSurface {
public:
    virtual ~DrawSurface() = default;

    virtual void setPen(const Pen& pen) = 0;
    virtual void setFont(const Font& font) = 0;
    virtual void setTextColour(core::Colour colour) = 0;

    // Moves the current position without drawing.
    virtual void moveTo(QPoint p) = 0;
    // Draws from the current position to p with the current pen; p becomes the current position.
    virtual void lineTo(QPoint p) = 0;
    // Joined segments through all points with the current pen; the current position stays.
    virtual void polyline(std::span<const QPoint> points) = 0;
    // A disc of the given radius around centre, filled with colour, without an outline.
    virtual void disc(QPoint centre, int radius, core::Colour colour) = 0;
    // A circle of the given radius around centre, framed one pixel wide in colour, not filled.
    virtual void ring(QPoint centre, int radius, core::Colour colour) = 0;
    // A closed polygon framed with the current pen and filled with fill.
    virtual void polygon(std::span<const QPoint> points, core::Colour fill) = 0;
    // Text in the current font and text colour with the top left of its cell at topLeft; the
    // background stays as it is.
    virtual void text(QPoint topLeft, const QString& s) = 0;
    // Width and cell height of the text in the current font, in pixels.
    virtual QSize measureText(const QString& s) = 0;

    // Draws out whatever the surface still holds back (joined segments are drawn as one path).
    virtual void flush() {}

    // Device pixels per pixel where the surface can take lines at its device's resolution (a
    // screen or image of pixel ratio 2), else 1.
    virtual int deviceScale() const { return 1; }
    // From now on moveTo, lineTo and polyline take coordinates in 1/scale pixels (scale 1 or
    // deviceScale()); everything else stays in pixels.
    virtual void setLineScale(int scale) { (void)scale; }
};

} // namespace graph
