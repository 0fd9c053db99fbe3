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
    standing_.emplace_back(windowClass, std::move(action));
}

void ScriptedResponder::AnswerEveryMessage(const std::string& textStart, int answer) {
    standingMessages_.emplace_back(textStart, answer);
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
    const bool scripted = !script_.empty() && script_.front().kind == Event::Kind::Message &&
                          script_.front().text == message.text &&
                          (!script_.front().caption || *script_.front().caption == message.caption);
    if (!scripted) {
        for (const auto& [textStart, answer] : standingMessages_) {
            if (message.text.compare(0, textStart.size(), textStart) != 0) continue;
            event.answer = answer;
            event.standing = true;
            log_.push_back(event);
            return answer;
        }
    }
    if (!scripted) {
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

int ScriptedResponder::OnModal(QDialog& dialog) {
    const std::string window = dialog.metaObject()->className();
    if (script_.empty() || script_.front().kind != Event::Kind::Modal ||
        script_.front().window != window) {
        for (const auto& [windowClass, action] : standing_) {
            if (windowClass != window) continue;
            const size_t at = log_.size();
            log_.push_back(Event{Event::Kind::Modal, {}, window, mrNone});
            int result = action ? action(dialog) : mrNone;
            if (result == mrNone) result = dialog.result();
            if (result == mrNone) result = mrCancel;
            log_[at].answer = result;
            return result;
        }
        ADD_FAILURE() << "Unexpected modal window " << window;
        log_.push_back(Event{Event::Kind::Modal, {}, window, mrCancel});
        return mrCancel;
    }
    ModalAction action = std::move(script_.front().action);
    script_.pop_front();
    const size_t at = log_.size();
    log_.push_back(Event{Event::Kind::Modal, {}, window, mrNone});
    int result = action ? action(dialog) : mrNone;
    if (result == mrNone) result = dialog.result();
    if (result == mrNone) result = mrCancel;  // closed without a choice
    log_[at].answer = result;
    return result;
}

void ScriptedResponder::OnTerminate() {
    terminateRequested_ = true;
    log_.push_back(Event{Event::Kind::Terminate, {}, {}, mrNone});
}
