#include "app/SchemeWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPalette>
#include <QPointer>
#include <QProxyStyle>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/Mainform.h"
#include "drawings/DrawingState.h"
#include "groups/Dan12.h"
#include "model/Classd.h"
#include "platform/Events.h"
#include "platform/Image.h"
#include "platform/Messages.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    // The picture fills the window and scrolls when it is larger.
    pictureArea_ = new QScrollArea(this);
    pictureArea_->setFrameShape(QFrame::NoFrame);
    pictureArea_->setBackgroundRole(QPalette::Window);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(pictureArea_);

    const struct {
        QAction* item;
        void (TForm2::*handler)();
    } items[] = {
        {N2, &TForm2::N2Click},   {N3, &TForm2::N3Click},   {N4, &TForm2::N4Click},
        {N5, &TForm2::N5Click},   {N6, &TForm2::N6Click},   {N7, &TForm2::N7Click},
        {N9, &TForm2::N9Click},   {N10, &TForm2::N10Click}, {N20, &TForm2::N20Click},
        {N22, &TForm2::N22Click}, {N12, &TForm2::N12Click}, {N18, &TForm2::N18Click},
        {N13, &TForm2::N13Click}, {N32, &TForm2::N32Click}, {N24, &TForm2::N24Click},
        {N25, &TForm2::N25Click}, {N26, &TForm2::N26Click}, {N15, &TForm2::N15Click},
        {N16, &TForm2::N16Click}, {N17, &TForm2::N17Click}, {N28, &TForm2::N28Click},
        {N29, &TForm2::N29Click}, {N30, &TForm2::N30Click}, {N31, &TForm2::N31Click},
    };
    for (const auto& item : items) platform::OnClick(item.item, this, item.handler);
    PlaceInMainWindow();
}

int TForm2::PictureKind() const {
    return Image1 != nullptr ? Image1->Tag() : NoPicture;
}

void TForm2::FreePicture() {
    delete Image1;
    Image1 = nullptr;
}

platform::TImage* TForm2::NewPicture() {
    FreePicture();
    Image1 = new platform::TImage;
    // The scroll area takes the picture as its child; deleting the picture leaves it empty.
    pictureArea_->setWidget(Image1);
    return Image1;
}

namespace {

// Keeps the caption and close box of a sub-window that fills the client area: by default a
// maximised sub-window hands them over to the main window's menu bar.
class CaptionKeepingStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_Workspace_FillSpaceOnMaximize) return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

QStyle* SubWindowStyle() {
    static QPointer<QStyle> style;
    if (style.isNull()) {
        style = new CaptionKeepingStyle;
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

}  // namespace

QMdiSubWindow* TForm2::Frame() const {
    return qobject_cast<QMdiSubWindow*>(parentWidget());
}

QMdiSubWindow* PlaceInClientArea(QWidget& window) {
    // A caption and the close box only, as the window's border icons were: no minimise or
    // maximise button, nothing to move or resize it by.
    auto* frame =
        new QMdiSubWindow(nullptr, Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                       Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // Closing it hides it with the window; both live until the program ends.
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    frame->setStyle(SubWindowStyle());
    frame->setWindowIcon(Form1->windowIcon());
    frame->setWidget(&window);
    Form1->ClientArea->addSubWindow(frame);
    // Maximised, the sub-window fills the client area and follows every change of its size.
    frame->setWindowState(Qt::WindowMaximized);
    window.hide();
    return frame;
}

void ShowSubWindow(QMdiSubWindow* frame, bool visible) {
    if (frame == nullptr) return;
    if (visible) {
        frame->showMaximized();
        frame->raise();
    } else {
        frame->hide();
        // A sub-window shown over another leaves that one restored to its normal size: every
        // sub-window still shown fills the client area again, as it did before.
        if (QMdiArea* area = frame->mdiArea()) {
            for (QMdiSubWindow* other : area->subWindowList())
                if (other != frame && other->isVisible() && !other->isMaximized())
                    other->showMaximized();
        }
    }
}

void TForm2::PlaceInMainWindow() {
    if (Form1 == nullptr || Frame() != nullptr) return;
    PlaceInClientArea(*this);
}

void TForm2::ShowOverMainWindow() {
    PlaceInMainWindow();
    show();
}

void TForm2::setVisible(bool visible) {
    QDialog::setVisible(visible);
    ShowSubWindow(Frame(), visible);
}

void TForm2::FormMouseDown(Qt::MouseButton button, const QPoint& point) {
    if (button != Qt::RightButton) return;
    PopupMenu1->popup(mapToGlobal(point));
}

void TForm2::mousePressEvent(QMouseEvent* event) {
    platform::RunGuarded([&] { FormMouseDown(event->button(), event->position().toPoint()); });
    QDialog::mousePressEvent(event);
}

// The pop-up menu.

void TForm2::N2Click() {
    Form1->New1Click();
}

void TForm2::N3Click() {
    Form1->Open1Click();
}

void TForm2::N4Click() {
    Form1->Save1Click();
}

void TForm2::N5Click() {
    Form1->SaveAsClick();
}

void TForm2::N6Click() {
    Form1->Print1Click();
}

void TForm2::N7Click() {
    // Only the project closes, through the close query; the program goes on.
    close();
}

void TForm2::N9Click() {
    Form1->N21Click();
}

void TForm2::N10Click() {
    Form1->N11Click();
}

void TForm2::N20Click() {
    Form1->N35Click();
}

void TForm2::N22Click() {
    Form1->N55Click();
}

void TForm2::N12Click() {
    Form1->N65Click();
}

void TForm2::N18Click() {
    Form1->N64Click();
}

void TForm2::N13Click() {
    Form1->N63Click();
}

void TForm2::N32Click() {
    Form1->N66Click();
}

void TForm2::N24Click() {
    Form1->N25Click();
}

void TForm2::N25Click() {
    Form1->N4Click();
}

void TForm2::N26Click() {
    Form1->N30Click();
}

void TForm2::N15Click() {
    Form1->N12Click();
}

void TForm2::N16Click() {
    Form1->N13Click();
}

void TForm2::N17Click() {
    Form1->N14Click();
}

void TForm2::N28Click() {
    Form1->N47Click();
}

void TForm2::N29Click() {
    Form1->N48Click();
}

void TForm2::N30Click() {
    Form1->N49Click();
}

void TForm2::N31Click() {
    Form1->N50Click();
}

void TForm2::reject() {}

void TForm2::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    platform::RunGuarded([&] { FormCloseQuery(canClose); });
    event->setAccepted(canClose);
}

void TForm2::FormCloseQuery(bool& canClose) {
    if (!Form1) return;
    Form1->PictureBitmap.reset();
    CloseAllowed = 1;
    if (Form1->ProjectSaved == 0) {
        switch (Form1->AskSaveQuestion("Veltranovaplanir 2.1")) {
            case platform::mrYes:
                // A cancelled or failed save keeps the project and its window.
                if (!Form1->SaveForQuestion()) {
                    CloseAllowed = 0;
                    canClose = false;
                    return;
                }
                break;
            case platform::mrNo:
                if (!ProjectRoot) return;
                break;
            default:
                CloseAllowed = 0;
                canClose = false;
                return;
        }
    } else if (!ProjectRoot) {
        return;
    }
    Form1->DropProject();
    Form1->ResetProjectDialogs();
    if (Dan1) Dan1->GroupNames.clear();
    Form1->ToolButton4->setEnabled(false);
    Form1->ProjectSaved = 1;
    Form1->SetStatusText("");
    setWindowTitle(QString::fromStdString(Form1->UntitledName));
    canClose = CloseAllowed != 0;
}
