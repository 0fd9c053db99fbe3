#pragma once
// Stands in for the desktop in the window tests: records every URL the program asks the shell
// to open and answers with `answer`, so that no browser or mail client is started.
#include <string>
#include <vector>

#include "platform/Shell.h"

class ShellRecorder {
public:
    ShellRecorder() {
        platform::SetShellOpenHook([this](const std::string& url) {
            urls.push_back(url);
            return answer;
        });
    }
    ~ShellRecorder() { platform::SetShellOpenHook(nullptr); }
    ShellRecorder(const ShellRecorder&) = delete;
    ShellRecorder& operator=(const ShellRecorder&) = delete;

    std::vector<std::string> urls;
    bool answer = true;
};
