#include "platform/Messages.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QLayout>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace platform {
namespace {
Responder* g_responder = nullptr;

std::string& TitleStorage() {
    static std::string title = "Veltranovaplanir";
    return title;
}

QMessageBox::Icon ToQtIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Warning:
            return QMessageBox::Warning;
        case MsgIcon::Error:
            return QMessageBox::Critical;
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

// What a window manager's title bar shows for a window of that caption: an empty caption is
// never shown empty, the platform gives the window the application's name instead.
QString ShownCaption(const QString& caption) {
    return caption.isEmpty() ? QGuiApplication::applicationDisplayName() : caption;
}

// The width, px, of a window whose frame shows that caption whole in a window manager's title
// bar.
int CaptionFrameWidth(const QString& caption) {
    // The title font of the platform's theme, in bold as window managers write captions.
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    // Beside the caption: the window's icon, minimise, maximise and close, and the margins of
    // the title, together about eight times the caption's height.
    return metrics.horizontalAdvance(caption) + 8 * metrics.height();
}

// A message box sizes itself for its text and buttons, leaving only a little room beside its
// caption; a window manager's title bar also holds the window's icon and its buttons, and cuts a
// caption it has no room for ("Предуп... дение."). The row of buttons, which spans the box, keeps
// the box as wide as its caption needs (no wider than the screen) whenever the box sizes itself.
void KeepRoomForCaption(QMessageBox& box) {
    auto* buttons = box.findChild<QDialogButtonBox*>();
    QLayout* grid = box.layout();
    if (buttons == nullptr || grid == nullptr) return;
    int wanted = CaptionFrameWidth(ShownCaption(box.windowTitle()));
    if (const QScreen* screen = box.screen())
        wanted = std::min(wanted, screen->availableGeometry().width());
    const QMargins margins = grid->contentsMargins();
    buttons->setMinimumWidth(std::max(0, wanted - margins.left() - margins.right()));
}

// Russian button captions, independent of the Qt translations installed on the machine.
void AddButtons(QMessageBox& box, MsgButtons buttons) {
    auto add = [&box](const char* caption, QMessageBox::ButtonRole role, int answer) {
        QPushButton* b = box.addButton(QString::fromUtf8(caption), role);
        b->setProperty("answer", answer);
        return b;
    };
    switch (buttons) {
        case MsgButtons::Ok:
            box.setDefaultButton(add("OK", QMessageBox::AcceptRole, mrOk));
            break;
        case MsgButtons::OkCancel:
            box.setDefaultButton(add("OK", QMessageBox::AcceptRole, mrOk));
            box.setEscapeButton(add("Отмена", QMessageBox::RejectRole, mrCancel));
            break;
        case MsgButtons::YesNo:
            box.setDefaultButton(add("Да", QMessageBox::YesRole, mrYes));
            box.setEscapeButton(add("Нет", QMessageBox::NoRole, mrNo));
            break;
        case MsgButtons::YesNoCancel:
            box.setDefaultButton(add("Да", QMessageBox::YesRole, mrYes));
            add("Нет", QMessageBox::NoRole, mrNo);
            box.setEscapeButton(add("Отмена", QMessageBox::RejectRole, mrCancel));
            break;
    }
}

// The answer a closed box without a pressed button means.
int DismissAnswer(MsgButtons buttons) {
    switch (buttons) {
        case MsgButtons::Ok:
            return mrOk;
        case MsgButtons::YesNo:
            return mrNo;
        case MsgButtons::OkCancel:
        case MsgButtons::YesNoCancel:
            break;
    }
    return mrCancel;
}

// A window that stays on top of the others, shown: a modal window opened beneath it would be out
// of the user's sight and reach, with every other window blocked.
bool AnotherWindowStaysOnTop(const QWidget& modal) {
    for (const QWidget* window : QApplication::topLevelWidgets()) {
        if (window != &modal && window->isVisible() &&
            (window->windowFlags() & Qt::WindowStaysOnTopHint))
            return true;
    }
    return false;
}

// Gives a window other hints. A window that was never shown has no native window yet, which
// takes its hints when it is made: they are only noted, without the reparenting a change of a
// shown window's hints costs.
void SetHints(QWidget& window, Qt::WindowFlags flags) {
    if (window.testAttribute(Qt::WA_WState_Created))
        window.setWindowFlags(flags);
    else
        window.overrideWindowFlags(flags);
}

// The hints of a window while it holds the program modal: no minimise button (a minimised modal
// window leaves nothing on the screen to answer while every other window takes no input), no
// maximise button when its size is fixed, and above a window that stays on top of the others.
// What the run changed is put back after it; whatever else changed meanwhile stays.
class ModalRunHints {
public:
    explicit ModalRunHints(QWidget& modal) : modal_(modal) {
        const Qt::WindowFlags flags = modal.windowFlags();
        Qt::WindowFlags run = flags;
        // A plain window without hints of its own gets every frame button from the platform:
        // they are spelled out, so that the ones below can be left out.
        if ((flags & Qt::WindowType_Mask) == Qt::Window && !(flags & Qt::CustomizeWindowHint))
            run |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint;
        run &= ~Qt::WindowMinimizeButtonHint;
        if (modal.minimumSize() == modal.maximumSize()) run &= ~Qt::WindowMaximizeButtonHint;
        if (AnotherWindowStaysOnTop(modal)) run |= Qt::WindowStaysOnTopHint;
        added_ = run & ~flags;
        removed_ = flags & ~run;
        if (run != flags) SetHints(modal, run);
    }
    ~ModalRunHints() {
        const Qt::WindowFlags flags = modal_.windowFlags();
        const Qt::WindowFlags after = (flags & ~added_) | removed_;
        if (after != flags) SetHints(modal_, after);
    }
    ModalRunHints(const ModalRunHints&) = delete;
    ModalRunHints& operator=(const ModalRunHints&) = delete;

private:
    QWidget& modal_;
    Qt::WindowFlags added_;
    Qt::WindowFlags removed_;
};

// Some window managers offer minimise on every dialog whatever its hints say: a modal window
// minimised during its run is shown again at once, so that the program never waits for an answer
// the user cannot see.
class ShownWhileModal : public QObject {
public:
    explicit ShownWhileModal(QWidget& modal) : modal_(modal) { modal.installEventFilter(this); }
    ~ShownWhileModal() override { modal_.removeEventFilter(this); }
    ShownWhileModal(const ShownWhileModal&) = delete;
    ShownWhileModal& operator=(const ShownWhileModal&) = delete;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &modal_ && event->type() == QEvent::WindowStateChange &&
            modal_.isMinimized()) {
            // After the window system has finished minimising it; not once the run is over.
            const QPointer<ShownWhileModal> running(this);
            QTimer::singleShot(0, &modal_, [running, window = &modal_] {
                if (running.isNull() || !window->isMinimized()) return;
                window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
                window->show();
                window->raise();
                window->activateWindow();
            });
        }
        return false;
    }

private:
    QWidget& modal_;
};

std::function<void(bool)>& WaitObserver() {
    static std::function<void(bool)> observer;
    return observer;
}

// Tells the observer when the outermost modal run starts waiting for the user and when it ends.
class WaitForTheUser {
public:
    WaitForTheUser() {
        if (depth_++ == 0 && WaitObserver()) WaitObserver()(true);
    }
    ~WaitForTheUser() {
        if (--depth_ == 0 && WaitObserver()) WaitObserver()(false);
    }
    WaitForTheUser(const WaitForTheUser&) = delete;
    WaitForTheUser& operator=(const WaitForTheUser&) = delete;

private:
    static inline int depth_ = 0;
};

// Everything a modal run of a window or a message box holds for its length; the observer is told
// before the window appears and after it has gone.
struct ModalRun {
    explicit ModalRun(QWidget& modal) : hints(modal), shown(modal) {}
    WaitForTheUser wait;
    ModalRunHints hints;
    ShownWhileModal shown;
};
}  // namespace

void SetResponder(Responder* responder) {
    g_responder = responder;
}
Responder* CurrentResponder() {
    return g_responder;
}

int MessageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
               MsgIcon icon) {
    if (g_responder) {
        WaitForTheUser wait;
        return g_responder->OnMessage(MessageRecord{text, caption, icon, buttons});
    }
    QMessageBox box(ToQtIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::NoButton, QApplication::activeWindow());
    AddButtons(box, buttons);
    KeepRoomForCaption(box);
    {
        ModalRun run(box);
        box.exec();
    }
    QAbstractButton* pressed = box.clickedButton();
    return pressed ? pressed->property("answer").toInt() : DismissAnswer(buttons);
}

int ShowModal(QDialog& dialog) {
    dialog.setResult(mrNone);
    ModalRun run(dialog);
    if (g_responder) return g_responder->OnModal(dialog);
    const int result = dialog.exec();
    // Closing the window without a choice counts as Cancel, as the classic modal windows do.
    return result == mrNone ? mrCancel : result;
}

void SetModalWaitObserver(std::function<void(bool waiting)> observer) {
    WaitObserver() = std::move(observer);
}

void SetApplicationTitle(const std::string& title) {
    TitleStorage() = title;
    // The application's name is what a window without a caption of its own shows in its title
    // bar, the executable's name in lower case until it is set. Not the display name: the
    // platform would append that to every caption.
    QCoreApplication::setApplicationName(QString::fromStdString(title));
}
const std::string& ApplicationTitle() {
    return TitleStorage();
}

void ShowException(const std::exception& error) {
    MessageBox(error.what(), ApplicationTitle(), MsgButtons::Ok, MsgIcon::Error);
}

bool RunGuarded(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(std::runtime_error(""));
    }
    return false;
}

void Terminate() {
    if (g_responder) {
        g_responder->OnTerminate();
        return;
    }
    if (QCoreApplication* app = QCoreApplication::instance()) {
        QMetaObject::invokeMethod(app, &QCoreApplication::quit, Qt::QueuedConnection);
    }
}

WaitCursor::WaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}
WaitCursor::~WaitCursor() {
    QApplication::restoreOverrideCursor();
}

}  // namespace platform
