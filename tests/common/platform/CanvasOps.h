#pragma once
// Filters of the operations a recording canvas holds, and a text looked for in painted pixels.
#include <QImage>
#include <QPoint>
#include <string>
#include <vector>

#include "platform/Canvas.h"

// Operations of one kind, in order.
std::vector<platform::CanvasOp> OpsOf(const std::vector<platform::CanvasOp>& ops,
                                      platform::CanvasOpKind kind);

// A text written alone in `font` at `at` on white: the pixels it makes black, and how many of
// those are not black in `shown` (what a window painted).
struct TextInk {
    int ink = 0;
    int missing = 0;
};
TextInk InkOfText(const QImage& shown, QPoint at, const platform::TFont& font,
                  const std::string& text);
