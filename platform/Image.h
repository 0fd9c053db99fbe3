#pragma once
// Image control: a widget showing a picture bitmap, with a canvas to draw on it and an integer
// tag. The control is as large as its picture; a scroll area around it shows the rest.
#include <QWidget>
#include <memory>

#include "platform/Bitmap.h"

namespace platform {

class TImage : public QWidget {
    Q_OBJECT

public:
    explicit TImage(QWidget* parent = nullptr);
    ~TImage() override;

    // The picture's bitmap.
    TBitmap& Picture() { return *picture_; }
    const TBitmap& Picture() const { return *picture_; }
    // The picture's canvas; the pixels are allocated here (std::bad_alloc when they cannot be).
    TCanvas* Canvas();

    // Sets the control's and the picture's size. Pixels are allocated when the canvas is first
    // used.
    void SetSize(int width, int height);

    // A number the owner keeps with the control; also its "Tag" property.
    int Tag() const;
    void SetTag(int tag);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::unique_ptr<TBitmap> picture_;
};

}  // namespace platform
