#pragma once
// Message boxes, modal runs and the error box, all routed through one place so that tests can
// answer them from a script instead of blocking in a real modal loop.
#include <exception>
#include <functional>
#include <string>

class QDialog;
class QWidget;

namespace platform {

// Answers of message boxes and results of modal windows, numbered as the classic modal results.
enum ModalResult : int {
    mrNone = 0,
    mrOk = 1,
    mrCancel = 2,
    mrAbort = 3,
    mrRetry = 4,
    mrIgnore = 5,
    mrYes = 6,
    mrNo = 7,
};

enum class MsgIcon { None, Warning, Error, Information, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };

struct MessageRecord {
    std::string text;
    std::string caption;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
};

// Stands in for the user in tests: answers every message box and drives every modal window.
class Responder {
public:
    virtual ~Responder() = default;
    virtual int OnMessage(const MessageRecord& message) = 0;
    virtual int OnModal(QDialog& dialog) = 0;
    virtual void OnTerminate() = 0;
};

// Installs a responder (nullptr returns to real windows). The caller keeps ownership.
void SetResponder(Responder* responder);
Responder* CurrentResponder();

// Shows a message box and returns the button pressed (mrOk, mrCancel, mrYes, mrNo). The box is
// wide enough for a window manager to show its caption whole.
int MessageBox(const std::string& text, const std::string& caption,
               MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None);

// Runs a window modally and returns its modal result. While it runs, the window offers no
// minimise button (nor maximise when its size is fixed) and is shown again at once when a window
// manager minimises it anyway; message boxes run the same way.
int ShowModal(QDialog& dialog);

// Told when a modal window or a message box starts waiting for the user's answer (true) and when
// the wait is over (false); a run inside another one tells nothing more. An empty function: nobody
// is told.
void SetModalWaitObserver(std::function<void(bool waiting)> observer);

// The application title: the caption of the standard error box, and what a window or a message
// box without a caption of its own shows in its title bar.
void SetApplicationTitle(const std::string& title);
const std::string& ApplicationTitle();

// The standard error box for an exception that escaped an event handler.
void ShowException(const std::exception& error);

// Runs a handler, showing any exception that escapes it in the standard error box; the
// program goes on. Returns false when an exception was caught.
bool RunGuarded(const std::function<void()>& handler);

// Asks the application to end as soon as control returns to its event loop.
void Terminate();

// Hourglass cursor for the lifetime of the guard; restores the arrow on every path.
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace platform
