#include "platform/Shell.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QList>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <utility>

#include "platform/Messages.h"

namespace platform {
namespace {

ShellOpenHook& Hook() {
    static ShellOpenHook hook;
    return hook;
}

QString& OpenerProgram() {
    static QString program;
    return program;
}

// The openers still running; they remove themselves when they end.
QList<QPointer<QProcess>>& RunningOpeners() {
    static QList<QPointer<QProcess>> openers;
    return openers;
}

void Report(const std::function<void()>& failed) {
    if (failed) RunGuarded(failed);
}

QString FindOpener() {
    const QString program =
        OpenerProgram().isEmpty() ? QStringLiteral("xdg-open") : OpenerProgram();
    if (program.contains(QLatin1Char('/'))) return program;
    return QStandardPaths::findExecutable(program);
}

}  // namespace

void ShellOpen(const std::string& url, const std::function<void()>& failed) {
    if (Hook()) {
        if (!Hook()(url)) Report(failed);
        return;
    }
    const QUrl qurl = QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::StrictMode);
    const QString opener = FindOpener();
    if (!qurl.isValid() || opener.isEmpty()) {
        Report(failed);
        return;
    }
    auto* process = new QProcess(QCoreApplication::instance());
    process->setProgram(opener);
    process->setArguments({QString::fromLatin1(qurl.toEncoded())});
    // The application the opener starts may outlive the program: it must not hold our pipes.
    process->setStandardInputFile(QProcess::nullDevice());
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    const auto finish = [process](bool ok, const std::function<void()>& report) {
        RunningOpeners().removeAll(process);
        process->deleteLater();
        if (!ok) Report(report);
    };
    QObject::connect(process, &QProcess::finished, process,
                     [finish, failed](int code, QProcess::ExitStatus status) {
                         finish(status == QProcess::NormalExit && code == 0, failed);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [finish, failed](QProcess::ProcessError error) {
                         // A crash or a lost process also reports through finished().
                         if (error == QProcess::FailedToStart) finish(false, failed);
                     });
    RunningOpeners().append(process);
    process->start();
}

void SetShellOpenHook(ShellOpenHook hook) {
    Hook() = std::move(hook);
}

void SetShellOpener(const std::string& program) {
    OpenerProgram() = QString::fromStdString(program);
}

bool WaitForShellOpeners(int msecs) {
    const QDeadlineTimer deadline(msecs);
    while (!RunningOpeners().isEmpty()) {
        QPointer<QProcess> opener = RunningOpeners().first();
        if (opener.isNull()) {
            RunningOpeners().removeFirst();
            continue;
        }
        // finished() (or the failure to start) is delivered from inside the wait, and the
        // opener takes itself off the list.
        opener->waitForFinished(static_cast<int>(deadline.remainingTime()));
        if (RunningOpeners().contains(opener)) {
            if (opener->state() != QProcess::NotRunning) return false;
            RunningOpeners().removeAll(opener);
        }
    }
    return true;
}

}  // namespace platform
