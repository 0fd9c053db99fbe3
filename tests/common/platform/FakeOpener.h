#pragma once
// Stands in for the desktop's opener (xdg-open) in the tests that run a real opener process: a
// small script in a folder of its own that notes the URL it was given and then runs the body it
// was installed with, ending with the status a real opener gives when it found an application
// for the URL (0) or not (3: no application, 4: it failed).
#include <QTemporaryDir>
#include <string>
#include <vector>

class FakeOpener {
public:
    FakeOpener() = default;
    // Back to the desktop's opener.
    ~FakeOpener();
    FakeOpener(const FakeOpener&) = delete;
    FakeOpener& operator=(const FakeOpener&) = delete;

    // Writes the script with `body` after the line that notes the URL, and makes the desktop
    // service run it.
    void Install(const std::string& body);
    // A file of that name in the opener's folder.
    std::string Path(const std::string& name) const;
    // The URLs the opener was given, in order.
    std::vector<std::string> Opened() const;

private:
    QTemporaryDir dir_;
};

// A named pipe in a folder that an opener's body waits on ("read line < PATH") until the test
// releases it; held open for reading and writing, so that no open blocks.
class OpenerGate {
public:
    explicit OpenerGate(const std::string& path);
    ~OpenerGate();
    OpenerGate(const OpenerGate&) = delete;
    OpenerGate& operator=(const OpenerGate&) = delete;

    bool IsOpen() const { return pipe_ >= 0; }
    const std::string& Path() const { return path_; }
    // Lets the waiting opener go on; false when the line could not be written.
    bool Release();

private:
    std::string path_;
    int pipe_ = -1;
};
