#include "platform/Registry.h"

#include <QDir>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>

namespace platform {
namespace {
// A key exists in the file when it holds this marker, so that empty keys survive.
const QString kKeyMarker = QStringLiteral("@key");

std::string& SettingsPathOverride() {
    static std::string path;
    return path;
}

QString NormalizeKey(const std::string& key) {
    QString k = QString::fromStdString(key);
    k.replace('\\', '/');
    const QStringList parts = k.split('/', Qt::SkipEmptyParts);
    return parts.join('/');
}

bool IsNumber(const QString& s, qulonglong& value) {
    bool ok = false;
    value = s.toULongLong(&ok);
    return ok && !s.isEmpty() && s.at(0).isDigit();
}
}  // namespace

void SetSettingsFile(const std::string& path) {
    SettingsPathOverride() = path;
}

std::string SettingsFile() {
    if (!SettingsPathOverride().empty()) return SettingsPathOverride();
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return (dir + "/Veltranovaplanir/Veltranovaplanir.ini").toStdString();
}

TRegistry::TRegistry()
    : settings_(std::make_unique<QSettings>(QString::fromStdString(SettingsFile()),
                                            QSettings::IniFormat)) {}

TRegistry::~TRegistry() {
    settings_->sync();
}

bool TRegistry::KeyExists(const std::string& key) const {
    const QString k = NormalizeKey(key);
    return !k.isEmpty() && settings_->contains(k + "/" + kKeyMarker);
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    const QString k = NormalizeKey(key);
    if (k.isEmpty()) return false;
    if (!KeyExists(key)) {
        if (!canCreate) return false;
        // Every key on the path exists once its subkey does.
        QString path;
        for (const QString& part : k.split('/')) {
            path = path.isEmpty() ? part : path + "/" + part;
            settings_->setValue(path + "/" + kKeyMarker, true);
        }
        settings_->sync();
        if (settings_->status() != QSettings::NoError) return false;
    }
    openKey_ = k.toStdString();
    return true;
}

void TRegistry::CloseKey() {
    settings_->sync();
    openKey_.clear();
}

bool TRegistry::DeleteKey(const std::string& key) {
    const QString k = NormalizeKey(key);
    if (k.isEmpty() || !KeyExists(key)) return false;
    settings_->remove(k);
    settings_->sync();
    const std::string removed = k.toStdString();
    if (openKey_ == removed || openKey_.rfind(removed + "/", 0) == 0) openKey_.clear();
    return true;
}

std::string TRegistry::ValuePath(const std::string& name) const {
    return openKey_ + "/" + name;
}

bool TRegistry::ValueExists(const std::string& name) const {
    return !openKey_.empty() && settings_->contains(QString::fromStdString(ValuePath(name)));
}

std::string TRegistry::ReadString(const std::string& name) const {
    if (!ValueExists(name)) return std::string();
    return settings_->value(QString::fromStdString(ValuePath(name))).toString().toStdString();
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
    if (openKey_.empty()) return;
    settings_->setValue(QString::fromStdString(ValuePath(name)), QString::fromStdString(value));
}

bool TRegistry::ReadBool(const std::string& name) const {
    if (!ValueExists(name)) return false;
    return settings_->value(QString::fromStdString(ValuePath(name))).toBool();
}

void TRegistry::WriteBool(const std::string& name, bool value) {
    if (openKey_.empty()) return;
    settings_->setValue(QString::fromStdString(ValuePath(name)), value);
}

bool TRegistry::DeleteValue(const std::string& name) {
    if (!ValueExists(name)) return false;
    settings_->remove(QString::fromStdString(ValuePath(name)));
    return true;
}

std::vector<std::string> TRegistry::GetValueNames() const {
    if (openKey_.empty()) return {};
    settings_->beginGroup(QString::fromStdString(openKey_));
    QStringList keys = settings_->childKeys();
    settings_->endGroup();
    keys.removeAll(kKeyMarker);
    std::stable_sort(keys.begin(), keys.end(), [](const QString& a, const QString& b) {
        qulonglong na = 0, nb = 0;
        const bool aNum = IsNumber(a, na), bNum = IsNumber(b, nb);
        if (aNum != bNum) return aNum;
        return aNum ? na < nb : a < b;
    });
    std::vector<std::string> names;
    for (const QString& k : keys) names.push_back(k.toStdString());
    return names;
}

}  // namespace platform
