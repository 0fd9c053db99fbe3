#include "FakeOpener.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>

#include "platform/Shell.h"

FakeOpener::~FakeOpener() {
    platform::SetShellOpener("");
}

void FakeOpener::Install(const std::string& body) {
    const std::string script =
        "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + Path("opened") + "'\n" + body + "\n";
    QFile file(QString::fromStdString(Path("xdg-open")));
    if (!file.open(QIODevice::WriteOnly)) return;
    file.write(script.c_str());
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    platform::SetShellOpener(Path("xdg-open"));
}

std::string FakeOpener::Path(const std::string& name) const {
    return dir_.filePath(QString::fromStdString(name)).toStdString();
}

std::vector<std::string> FakeOpener::Opened() const {
    QFile file(QString::fromStdString(Path("opened")));
    std::vector<std::string> urls;
    if (!file.open(QIODevice::ReadOnly)) return urls;
    for (const QByteArray& line : file.readAll().split('\n'))
        if (!line.isEmpty()) urls.push_back(line.toStdString());
    return urls;
}

OpenerGate::OpenerGate(const std::string& path) : path_(path) {
    if (mkfifo(path_.c_str(), 0600) == 0) pipe_ = open(path_.c_str(), O_RDWR);
}

OpenerGate::~OpenerGate() {
    if (pipe_ >= 0) close(pipe_);
}

bool OpenerGate::Release() {
    return pipe_ >= 0 && write(pipe_, "go\n", 3) == 3;
}
