#include "platform/Image.h"

#include <QPaintEvent>
#include <QPainter>

namespace platform {

TImage::TImage(QWidget* parent) : QWidget(parent), picture_(std::make_unique<TBitmap>()) {
    // Clicks go on to the window that holds the picture (its pop-up menu): a plain widget
    // ignores them.
    SetTag(0);
}

TImage::~TImage() = default;

TCanvas* TImage::Canvas() {
    TCanvas* canvas = picture_->Canvas();
    update();
    return canvas;
}

void TImage::SetSize(int width, int height) {
    picture_->SetSize(width, height);
    resize(picture_->Width(), picture_->Height());
    update();
}

int TImage::Tag() const {
    return property("Tag").toInt();
}

void TImage::SetTag(int tag) {
    setProperty("Tag", tag);
}

QSize TImage::sizeHint() const {
    return QSize(picture_->Width(), picture_->Height());
}

void TImage::paintEvent(QPaintEvent* event) {
    const QRect area =
        event->rect().intersected(QRect(0, 0, picture_->Width(), picture_->Height()));
    if (area.isEmpty()) return;
    QImage shown(area.size(), picture_->PixelFormat() == pfGray8 ? QImage::Format_Grayscale8
                                                                 : QImage::Format_RGB32);
    if (shown.isNull()) return;
    picture_->PaintRegion(shown, area.topLeft());
    QPainter painter(this);
    painter.drawImage(area.topLeft(), shown);
}

}  // namespace platform
