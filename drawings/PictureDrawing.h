#pragma once
// Small drawing steps that the scheme window's pictures share.
#include <string>

#include "platform/Canvas.h"
#include "platform/Conversions.h"

namespace picture {

// A line from (x1, y1) to (x2, y2), the end point left out.
inline void Line(platform::TCanvas& canvas, int x1, int y1, int x2, int y2) {
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

// A filled black dot in the box; the brush is white again afterwards.
inline void Dot(platform::TCanvas& canvas, int x1, int y1, int x2, int y2) {
    canvas.Brush.SetColor(platform::clBlack);
    canvas.Ellipse(x1, y1, x2, y2);
    canvas.Brush.SetColor(platform::clWhite);
}

// A number as the pictures write it: the general form.
inline std::string Num(long double value) {
    return platform::FloatToStr(value);
}

}  // namespace picture
