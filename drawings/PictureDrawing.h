#pragma once
// Small drawing steps that the scheme window's pictures share.
#include <algorithm>
#include <climits>
#include <cstdint>
#include <string>

#include "model/Classd.h"
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

// A size or coordinate in pixels held in an int; a picture that large is refused by the memory
// budget anyway.
inline int ClampedPixels(std::int64_t pixels) {
    return int(std::clamp<std::int64_t>(pixels, 0, INT_MAX / 2));
}

// A number as the pictures write it: the general form.
inline std::string Num(long double value) {
    return platform::FloatToStr(value);
}

// A breaker's open blade on the line at x, from (x - s/20, top) to (x, bottom), with its mark.
inline void BreakerBlade(platform::TCanvas& canvas, int s, int x, int top, int bottom) {
    const int xb = x - s / 20;
    Line(canvas, xb, top, x, bottom);
    canvas.Polyline({{xb + s / 100, top + s / 40},
                     {xb - s / 220, top + s / 25},
                     {xb + s / 50, bottom - s / 50},
                     {xb + s / 29, bottom - s / 40}});
}

// `count` conductor strokes across a line at x, the lowest from (x - s/30, y), each next one s/30
// higher.
inline void ConductorMarks(platform::TCanvas& canvas, int s, int x, int y, int count) {
    for (int k = 0; k < count; ++k)
        Line(canvas, x - s / 30, y - k * (s / 30), x + s / 30, y - s / 20 - k * (s / 30));
}

// A group line's conductor strokes, s/2 below y, one per conductor (kinds 2, 3 and 4 only); its
// cable text with the conductor count.
inline std::string GroupConductors(platform::TCanvas& canvas, int s, int x, int y,
                                   const TCxemaGrupd& group) {
    const int conductors = group.PhaseKind;
    std::string count;
    if (conductors >= 2 && conductors <= 4) {
        ConductorMarks(canvas, s, x, y + s / 2, conductors);
        count = "   " + platform::IntToStr(conductors) + " x ";
    }
    return group.CableBrand + count + Num(group.CrossSection) + " кв.мм";
}

inline std::string BreakerText(const std::string& type, double rating) {
    return type + " - " + Num(rating) + " A";
}

// "IA- ", "IB- ", "IC- ", "IN- " lines at the four heights.
inline void PhaseCurrentTexts(platform::TCanvas& canvas, int x, const int (&y)[4], double a,
                              double b, double c, double n) {
    const struct {
        const char* label;
        double value;
    } lines[] = {{"IA- ", a}, {"IB- ", b}, {"IC- ", c}, {"IN- ", n}};
    for (int i = 0; i < 4; ++i)
        canvas.TextOut(x, y[i], lines[i].label + Num(lines[i].value) + " A");
}

}  // namespace picture
