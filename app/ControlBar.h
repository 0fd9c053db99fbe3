#pragma once
// A band of toolbars across the top of a window: its child widgets (the bands) stand side by
// side in the order they were made, and wrap onto a further row when the window is too narrow
// for them.
#include <QFrame>
#include <vector>

class TControlBar : public QFrame {
    Q_OBJECT

public:
    explicit TControlBar(QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void childEvent(QChildEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The bands shown, in the order they were made.
    std::vector<QWidget*> Bands() const;
    // Lays the bands out within `width`; with `place` set they are moved there. Returns the
    // height they take.
    int Arrange(int width, bool place) const;
};
