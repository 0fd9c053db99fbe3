#pragma once
// Image control: a widget showing a picture bitmap, with a canvas to draw on it and an integer
// tag. The control is as large as its picture; a scroll area around it shows the rest. Only the
// part that comes into view is painted, from the picture's record.
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
    // The picture's canvas.
    TCanvas* Canvas();

    // Sets the control's and the picture's size.
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
