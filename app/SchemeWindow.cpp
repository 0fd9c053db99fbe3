#include "app/SchemeWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPalette>

#include "app/Mainform.h"
#include "groups/Dan12.h"
#include "model/Classd.h"
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
    if (Form1 && Form1->isVisible()) {
        // The window manager tells a window's frame only once it is on the screen: until then
        // this frame is taken to be like the main window's.
        const QMargins own = FrameOf(*this);
        const QMargins frame = own.isNull() ? FrameOf(*Form1) : own;
        const QWidget* area = Form1->centralWidget();
        setGeometry(QRect(area->mapToGlobal(QPoint(0, 0)), area->size()).marginsRemoved(frame));
    }
    show();
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
