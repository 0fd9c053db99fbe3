#include "app/SchemeWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPalette>

#include "app/Mainform.h"
#include "drawings/DrawingState.h"
#include "groups/Dan12.h"
#include "model/Classd.h"
#include "platform/Events.h"
#include "platform/Messages.h"

TForm2* Form2 = nullptr;

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    // Only the system menu among the border icons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);

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

    // The window stands inside the main window: the main menu's shortcuts work here too.
    if (Form1 != nullptr) {
        for (QAction* command : Form1->findChildren<QAction*>())
            if (!command->shortcut().isEmpty()) addAction(command);
    }
}

int TForm2::PictureKind() const {
    return Image1 != nullptr ? Image1->property("Tag").toInt() : NoPicture;
}

void TForm2::FreePicture() {
    delete Image1;
    Image1 = nullptr;
}

namespace {

QMargins FrameOf(const QWidget& window) {
    const QRect frame = window.frameGeometry();
    const QRect inner = window.geometry();
    return QMargins(inner.left() - frame.left(), inner.top() - frame.top(),
                    frame.right() - inner.right(), frame.bottom() - inner.bottom());
}

}  // namespace

void TForm2::ShowOverMainWindow() {
    // The main window owns it: it stays over the main window and goes with it.
    if (Form1 && parentWidget() != Form1) setParent(Form1, windowFlags());
    FitToMainWindow();
    show();
}

void TForm2::FitToMainWindow() {
    if (!Form1 || !Form1->isVisible()) return;
    // The window manager tells a window's frame only once it is on the screen: until then this
    // frame is taken to be like the main window's.
    const QMargins own = FrameOf(*this);
    const QMargins frame = own.isNull() ? FrameOf(*Form1) : own;
    const QWidget* area = Form1->ClientArea;
    setGeometry(QRect(area->mapToGlobal(QPoint(0, 0)), area->size()).marginsRemoved(frame));
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

void TForm2::reject() {
    close();
}

void TForm2::closeEvent(QCloseEvent* event) {
    bool canClose = true;
    platform::RunGuarded([&] { FormCloseQuery(canClose); });
    event->setAccepted(canClose);
}

void TForm2::FormCloseQuery(bool& canClose) {
    if (!Form1) return;
    Form1->PageBitmap.reset();
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
