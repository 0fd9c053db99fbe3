#include "ScriptedResponder.h"

#include <gtest/gtest.h>

#include <QDialog>

using platform::mrCancel;
using platform::mrNone;

void ScriptedResponder::ExpectMessage(const std::string& text, int answer) {
    script_.push_back(Step{Event::Kind::Message, text, std::nullopt, answer, {}, {}});
}

void ScriptedResponder::ExpectMessage(const std::string& text, const std::string& caption,
                                      int answer) {
    script_.push_back(Step{Event::Kind::Message, text, caption, answer, {}, {}});
}

void ScriptedResponder::ExpectModal(const std::string& windowClass, ModalAction action) {
    script_.push_back(
        Step{Event::Kind::Modal, {}, std::nullopt, mrNone, windowClass, std::move(action)});
}

void ScriptedResponder::AnswerEvery(const std::string& windowClass, ModalAction action) {
    for (auto& [known, standing] : standing_) {
        if (known != windowClass) continue;
        standing = std::move(action);
        return;
    }
    standing_.emplace_back(windowClass, std::move(action));
}

void ScriptedResponder::AnswerEveryMessage(const std::string& textStart, int answer) {
    standingMessages_.emplace_back(textStart, answer);
}

void ScriptedResponder::AnswerFreely(MessageAction onMessage, ModalAction onModal) {
    freeMessage_ = std::move(onMessage);
    freeModal_ = std::move(onModal);
}

std::vector<int> ScriptedResponder::AnswersOf(platform::MsgButtons buttons) {
    switch (buttons) {
        case platform::MsgButtons::Ok:
            return {platform::mrOk};
        case platform::MsgButtons::OkCancel:
            return {platform::mrOk, mrCancel};
        case platform::MsgButtons::YesNo:
            return {platform::mrYes, platform::mrNo};
        case platform::MsgButtons::YesNoCancel:
            break;
    }
    return {platform::mrYes, platform::mrNo, mrCancel};
}

std::vector<platform::MessageRecord> ScriptedResponder::Messages() const {
    std::vector<platform::MessageRecord> messages;
    for (const Event& e : log_) {
        if (e.kind == Event::Kind::Message) messages.push_back(e.message);
    }
    return messages;
}

void ScriptedResponder::VerifyDone() {
    for (const Step& step : script_) {
        ADD_FAILURE() << "Scripted "
                      << (step.kind == Event::Kind::Modal ? "modal window " : "message ") << '"'
                      << (step.kind == Event::Kind::Modal ? step.window : step.text)
                      << "\" never appeared";
    }
    script_.clear();
}

int ScriptedResponder::OnMessage(const platform::MessageRecord& message) {
    Event event{Event::Kind::Message, message, {}, mrCancel};
    const bool scriptedNext =
        !script_.empty() && script_.front().kind == Event::Kind::Message &&
        script_.front().text == message.text &&
        (!script_.front().caption || *script_.front().caption == message.caption);
    if (!scriptedNext) {
        for (const auto& [textStart, answer] : standingMessages_) {
            if (message.text.compare(0, textStart.size(), textStart) != 0) continue;
            event.answer = answer;
            event.standing = true;
            log_.push_back(event);
            return answer;
        }
    }
    if (freeMessage_ && !scriptedNext) {
        if (message.caption == platform::ApplicationTitle() &&
            message.icon == platform::MsgIcon::Error)
            ADD_FAILURE() << "The standard error box: \"" << message.text << "\"";
        event.answer = freeMessage_(message);
        log_.push_back(event);
        return event.answer;
    }
    if (!scriptedNext) {
        ADD_FAILURE() << "Unexpected message \"" << message.text << "\" (caption \""
                      << message.caption << "\")"
                      << (script_.empty() ? std::string(", nothing scripted")
                                          : ", scripted next: \"" +
                                                (script_.front().kind == Event::Kind::Modal
                                                     ? script_.front().window
                                                     : script_.front().text) +
                                                "\"");
    } else {
        event.answer = script_.front().answer;
        script_.pop_front();
    }
    log_.push_back(event);
    return event.answer;
}

int ScriptedResponder::Drive(QDialog& dialog, const ModalAction& action) {
    const size_t at = log_.size();
    log_.push_back(Event{Event::Kind::Modal, {}, dialog.metaObject()->className(), mrNone});
    int result = action ? action(dialog) : mrNone;
    if (result == mrNone) result = dialog.result();
    if (result == mrNone) result = mrCancel;  // closed without a choice
    log_[at].answer = result;
    return result;
}

int ScriptedResponder::OnModal(QDialog& dialog) {
    const std::string window = dialog.metaObject()->className();
    if (script_.empty() || script_.front().kind != Event::Kind::Modal ||
        script_.front().window != window) {
        for (const auto& [windowClass, action] : standing_)
            if (windowClass == window) return Drive(dialog, action);
        if (freeModal_) return Drive(dialog, freeModal_);
        ADD_FAILURE() << "Unexpected modal window " << window;
        log_.push_back(Event{Event::Kind::Modal, {}, window, mrCancel});
        return mrCancel;
    }
    ModalAction action = std::move(script_.front().action);
    script_.pop_front();
    return Drive(dialog, action);
}

void ScriptedResponder::OnTerminate() {
    terminateRequested_ = true;
    log_.push_back(Event{Event::Kind::Terminate, {}, {}, mrNone});
}
