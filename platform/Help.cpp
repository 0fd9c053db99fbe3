#include "platform/Help.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

#include "platform/Conversions.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "platform/Shell.h"

namespace platform {
namespace {

const char* const kCaption = "Предупреждение.";

bool HelpFileExists() {
    const QFileInfo info(QString::fromStdString(HelpFilePath()));
    return info.isFile() && info.isReadable();
}

std::string NativeHelpPath() {
    return QDir::toNativeSeparators(QString::fromStdString(HelpFilePath())).toStdString();
}

void ReportMissingHelp() {
    MessageBox("Файл справки не найден:\n" + NativeHelpPath(), kCaption, MsgButtons::Ok,
               MsgIcon::Warning);
}

void Open(const std::string& url) {
    const std::string path = NativeHelpPath();
    ShellOpen(url, [path] {
        MessageBox(
            "Не удалось открыть справку: на компьютере не найден браузер или он не "
            "запустился.\nФайл справки: " +
                path,
            kCaption, MsgButtons::Ok, MsgIcon::Warning);
    });
}

// A page that sends the browser on to `target`, kept in a private temporary folder that lives as
// long as the program. Returns its URL, or an empty text when it cannot be written.
std::string RedirectPage(int context, const std::string& target) {
    static QTemporaryDir folder(QDir::tempPath() + "/veltranovaplanir-help-XXXXXX");
    if (!folder.isValid()) return {};
    QFile page(folder.filePath(QStringLiteral("context-%1.html").arg(context)));
    if (!page.open(QIODevice::WriteOnly | QIODevice::Truncate)) return {};
    const QString href = QString::fromStdString(target).toHtmlEscaped();
    const QString html =
        QStringLiteral(
            "<!DOCTYPE html>\n<html lang=\"ru\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<meta http-equiv=\"refresh\" content=\"0; url=%1\">\n<title>Справка</title>\n"
            "</head>\n<body>\n<p><a href=\"%1\">Открыть справку</a></p>\n</body>\n</html>\n")
            .arg(href);
    const QByteArray bytes = html.toUtf8();
    if (page.write(bytes) != bytes.size() || !page.flush()) return {};
    page.close();
    return QUrl::fromLocalFile(page.fileName()).toString(QUrl::FullyEncoded).toStdString();
}

}  // namespace

std::string HelpFilePath() {
    return ProgramFolder() + "Help/index.html";
}

std::string HelpContextAnchor(int context) {
    return "context-" + IntToStr(context);
}

std::string HelpUrl(int context) {
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(HelpFilePath()));
    if (context > 0) url.setFragment(QString::fromStdString(HelpContextAnchor(context)));
    return url.toString(QUrl::FullyEncoded).toStdString();
}

void ShowHelpContents() {
    if (!HelpFileExists()) {
        ReportMissingHelp();
        return;
    }
    Open(HelpUrl(0));
}

void ShowHelpContext(int context) {
    if (context <= 0) {
        ShowHelpContents();
        return;
    }
    if (!HelpFileExists()) {
        ReportMissingHelp();
        return;
    }
    const std::string target = HelpUrl(context);
    const std::string page = RedirectPage(context, target);
    // Without the redirecting page the browser may open the help at its top: still better than
    // nothing.
    Open(page.empty() ? target : page);
}

}  // namespace platform
