#include "platform/FileDialogs.h"

#include <QFileDialog>
#include <QStringList>

#include "platform/Messages.h"

namespace platform {
namespace {

FileDialogAnswer& Answer() {
    static FileDialogAnswer answer;
    return answer;
}

// "(*.VPQ)|*.VPQ|(*.*)|*.*" -> "(*.VPQ) (*.VPQ);;(*.*) (*.*)"; the dialog hides the pattern
// part, so the descriptions read as designed.
QString QtFilter(const std::string& classic) {
    const QStringList parts = QString::fromStdString(classic).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
    return filters.join(";;");
}

std::string Run(QWidget* parent, const FileDialogRequest& request) {
    if (Answer()) return Answer()(request);
    QFileDialog dialog(parent);
    const bool save = request.kind == FileDialogKind::Save;
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Russian texts, whatever translations the machine has (after the modes, which set the
    // buttons anew).
    dialog.setWindowTitle(save ? "Сохранить как" : "Открыть");
    dialog.setLabelText(QFileDialog::LookIn, "Папка:");
    dialog.setLabelText(QFileDialog::FileName, "Имя файла:");
    dialog.setLabelText(QFileDialog::FileType, "Тип файла:");
    dialog.setLabelText(QFileDialog::Accept, save ? "Сохранить" : "Открыть");
    dialog.setLabelText(QFileDialog::Reject, "Отмена");
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilter(QtFilter(request.filter));
    dialog.setDirectory(QString::fromStdString(request.folder));
    if (save) {
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultSuffix));
        if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(request.fileName));
    }
    if (ShowModal(dialog) != mrOk) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? std::string() : chosen.front().toStdString();
}

}  // namespace

void SetFileDialogAnswer(FileDialogAnswer answer) {
    Answer() = std::move(answer);
}

std::string OpenFileDialog(QWidget* parent, const std::string& folder, const std::string& filter) {
    return Run(parent, FileDialogRequest{FileDialogKind::Open, folder, {}, filter, {}});
}

std::string SaveFileDialog(QWidget* parent, const std::string& folder, const std::string& fileName,
                           const std::string& filter, const std::string& defaultSuffix) {
    return Run(parent,
               FileDialogRequest{FileDialogKind::Save, folder, fileName, filter, defaultSuffix});
}

}  // namespace platform
