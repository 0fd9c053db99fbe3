#include "documents/Preview.h"

#include <QCloseEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPalette>
#include <QScrollArea>
#include <QVBoxLayout>
#include <algorithm>

#include "app/Mainform.h"
#include "app/SchemeWindow.h"
#include "documents/Kabj2.h"
#include "documents/PageGeometry.h"
#include "platform/Events.h"
#include "platform/Image.h"

TForm7* Form7 = nullptr;

TForm7::TForm7(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    designedCaption_ = windowTitle();
    QPalette ground = palette();
    ground.setColor(QPalette::Window, platform::ToQColor(kColour));
    setPalette(ground);
    setAutoFillBackground(true);
    // The pages scroll inside the window.
    area_ = new QScrollArea(this);
    area_->setFrameShape(QFrame::NoFrame);
    area_->setWidgetResizable(true);
    ground_ = new QWidget;
    ground_->setPalette(ground);
    ground_->setAutoFillBackground(true);
    area_->setWidget(ground_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(area_);
    platform::OnClick(N3, this, &TForm7::N3Click);
    platform::OnClick(N4, this, &TForm7::N4Click);
    PlaceInMainWindow();
}

TForm7::~TForm7() = default;

void TForm7::RestoreCaption() {
    setWindowTitle(designedCaption_);
}

platform::TImage* TForm7::NewPageImage(int width, int height, platform::TPixelFormat format) {
    FreePageImage();
    PageImage = new platform::TImage(ground_);
    PageImage->Picture().SetPixelFormat(format);
    PageImage->SetSize(width, height);
    // In a window narrower than the page the page starts at the left edge, so that all of it can
    // be scrolled to.
    const int left = std::max(pages::ImageLeft(PreviewWidth, width), 0);
    PageImage->move(left, pages::kImageTop);
    // The scrolled extent reaches the image's right and bottom edges.
    ground_->setMinimumSize(left + width, pages::kImageTop + height);
    PageImage->show();
    return PageImage;
}

void TForm7::FreePageImage() {
    delete PageImage;
    PageImage = nullptr;
    ground_->setMinimumSize(0, 0);
}

QMdiSubWindow* TForm7::Frame() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

void TForm7::PlaceInMainWindow() {
    if (Form1 == nullptr || Frame() != nullptr) return;
    PlaceInClientArea(*this);
}

void TForm7::setVisible(bool visible) {
    QDialog::setVisible(visible);
    ShowSubWindow(Frame(), visible);
}

void TForm7::N3Click() {
    if (Form1 != nullptr) Form1->ToolButton6Click();
}

void TForm7::N4Click() {
    close();
}

void TForm7::FormMouseDown(Qt::MouseButton button, const QPoint& point) {
    if (button != Qt::RightButton) return;
    PopupMenu1->popup(mapToGlobal(point));
}

void TForm7::FormClose() {
    if (Form1 != nullptr) {
        Form1->ControlBar1->setVisible(Form1->N16->isChecked());
        Form1->ControlBar2->hide();
    }
    if (Form8 != nullptr) Form8->PageBitmap.reset();
    FreePageImage();
}

void TForm7::closeEvent(QCloseEvent* event) {
    platform::RunGuarded([this] { FormClose(); });
    QDialog::closeEvent(event);
}

void TForm7::mousePressEvent(QMouseEvent* event) {
    platform::RunGuarded([&] { FormMouseDown(event->button(), event->position().toPoint()); });
    QDialog::mousePressEvent(event);
}

void DrawPageGap(platform::TCanvas& canvas, int y, int width) {
    canvas.Pen.SetWidth(pages::kGapPenWidth);
    canvas.Pen.SetColor(TForm7::kColour);
    canvas.MoveTo(0, y);
    canvas.LineTo(width, y);
    canvas.Pen = platform::TPen();
}
