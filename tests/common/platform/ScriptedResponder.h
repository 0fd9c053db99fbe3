#pragma once
// Stands in for the user during tests: every message box and modal window must have been
// scripted, in order; anything else fails the running test, unless free answering is on.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Messages.h"

class ScriptedResponder : public platform::Responder {
public:
    struct Event {
        enum class Kind { Message, Modal, Terminate };
        Kind kind;
        platform::MessageRecord message;  // for messages
        std::string window;               // class name, for modal runs
        int answer = platform::mrNone;
        bool standing = false;  // answered by a standing answer, not by the script
    };
    // Drives a modal window (sets controls, calls handlers). Its result, when not mrNone,
    // is the modal result; otherwise the window's own result (set by done()) counts.
    using ModalAction = std::function<int(QDialog&)>;
    // Answers a message box (mrOk, mrYes, ...).
    using MessageAction = std::function<int(const platform::MessageRecord&)>;

    // The next message box must show this text (and this caption, when given); it gets `answer`.
    void ExpectMessage(const std::string& text, int answer = platform::mrOk);
    void ExpectMessage(const std::string& text, const std::string& caption, int answer);
    // The next modal run must be of this window class.
    void ExpectModal(const std::string& windowClass, ModalAction action);
    // Every run of this window class that the script does not name next is driven by `action`
    // (for dialogs whose number depends on the project, such as the breaker dialog). A later
    // call for the same class replaces the earlier action.
    void AnswerEvery(const std::string& windowClass, ModalAction action);
    // Every message whose text begins with `textStart` that the script does not name next gets
    // `answer` (for questions whose number depends on the project).
    void AnswerEveryMessage(const std::string& textStart, int answer);
    // Free answering, for runs of random operations: a message that the script does not name
    // next is answered by `onMessage`, and a modal run that neither the script nor a standing
    // action covers is driven by `onModal`, instead of failing the test; both are logged as
    // scripted ones are. The standard error box (an exception that escaped a handler) still
    // fails the test. Empty functions bring strict answering back.
    void AnswerFreely(MessageAction onMessage, ModalAction onModal);
    // The answers a message box with these buttons can give, in the order of its buttons.
    static std::vector<int> AnswersOf(platform::MsgButtons buttons);

    const std::vector<Event>& Log() const { return log_; }
    std::vector<platform::MessageRecord> Messages() const;
    bool TerminateRequested() const { return terminateRequested_; }
    // Fails the test for every scripted step that never came.
    void VerifyDone();

    int OnMessage(const platform::MessageRecord& message) override;
    int OnModal(QDialog& dialog) override;
    void OnTerminate() override;

private:
    // Runs `action` on the window, logged; its result, else the window's, else Cancel.
    int Drive(QDialog& dialog, const ModalAction& action);
    struct Step {
        Event::Kind kind;
        std::string text;
        std::optional<std::string> caption;
        int answer = platform::mrNone;
        std::string window;
        ModalAction action;
    };
    std::deque<Step> script_;
    std::vector<std::pair<std::string, ModalAction>> standing_;
    std::vector<std::pair<std::string, int>> standingMessages_;
    MessageAction freeMessage_;
    ModalAction freeModal_;
    std::vector<Event> log_;
    bool terminateRequested_ = false;
};
