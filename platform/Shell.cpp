#include "platform/Shell.h"

#include <QDesktopServices>
#include <QUrl>
#include <utility>

namespace platform {
namespace {
ShellOpenHook& Hook() {
    static ShellOpenHook hook;
    return hook;
}
}  // namespace

bool ShellOpen(const std::string& url) {
    if (Hook()) return Hook()(url);
    const QUrl qurl = QUrl::fromEncoded(QByteArray::fromStdString(url), QUrl::StrictMode);
    if (!qurl.isValid()) return false;
    return QDesktopServices::openUrl(qurl);
}

void SetShellOpenHook(ShellOpenHook hook) {
    Hook() = std::move(hook);
}

}  // namespace platform
