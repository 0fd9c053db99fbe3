#include "app/DialogForm.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLayout>
#include <QPointer>
#include <QScreen>
#include <QThread>
#include <QWindow>

#include "platform/Canvas.h"
#include "platform/Messages.h"

TDialogForm* DialogForm = nullptr;

namespace {
// The window the notice was last shown over, and whether a wait for the user's answer has hidden
// it.
QPointer<QWidget> noticeOver;
bool hiddenForAnswer = false;

// The program does nothing while it waits for the user: the notice would say otherwise, and
// stand beside or behind the question.
void KeepOutOfTheQuestion(bool waiting) {
    if (DialogForm == nullptr) return;
    if (waiting) {
        if (!DialogForm->isVisible()) return;
        DialogForm->hide();
        hiddenForAnswer = true;
    } else if (hiddenForAnswer) {
        hiddenForAnswer = false;
        ShowWaitNotice(noticeOver);
    }
}
}  // namespace

TDialogForm::TDialogForm(QWidget* parent) : QDialog(parent) {
    setupUi(this);
    // A caption without buttons: the notice takes no input and is closed by the work's end.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    QPalette palette = Label1->palette();
    palette.setColor(QPalette::WindowText, platform::ToQColor(platform::clNavy));
    Label1->setPalette(palette);
    platform::SetModalWaitObserver(KeepOutOfTheQuestion);
}

TDialogForm::~TDialogForm() {
    platform::SetModalWaitObserver({});
    hiddenForAnswer = false;
}

namespace {
// Puts the notice's outer frame at the centre of `area`.
void CenterOn(QWidget& notice, const QRect& area) {
    const QSize outer = notice.frameGeometry().size();
    notice.move(area.center() - QPoint(outer.width() / 2, outer.height() / 2));
}

// The work that follows blocks the event loop, so the notice must be on the screen before it
// starts: wait (briefly, with a bound) until the window system shows it, then paint it.
void PaintNow(QWidget& notice) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QElapsedTimer clock;
    clock.start();
    while (notice.windowHandle() != nullptr && !notice.windowHandle()->isExposed() &&
           clock.elapsed() < 500) {
        QThread::msleep(5);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    notice.repaint();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
}  // namespace

void ShowWaitNotice(QWidget* over) {
    if (DialogForm == nullptr) return;
    TDialogForm& notice = *DialogForm;
    noticeOver = over;
    if (notice.layout() != nullptr) notice.layout()->activate();

    QWidget* owner = over != nullptr ? over->window() : nullptr;
    QRect area;
    if (owner != nullptr) {
        area = owner->frameGeometry();
    } else if (const QScreen* screen = notice.screen()) {
        area = screen->availableGeometry();
    }
    CenterOn(notice, area);

    // Keep it above the window it covers.
    if (owner != nullptr && owner->windowHandle() != nullptr) {
        notice.winId();
        notice.windowHandle()->setTransientParent(owner->windowHandle());
    }
    const QSize before = notice.frameGeometry().size();
    const bool wasShown = notice.isVisible();
    notice.show();
    if (wasShown) notice.raise();
    PaintNow(notice);
    // The window system adds its frame on the first show: centre again with it.
    if (notice.frameGeometry().size() != before) {
        CenterOn(notice, area);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

void CloseWaitNotice() {
    hiddenForAnswer = false;
    if (DialogForm != nullptr) DialogForm->hide();
}
