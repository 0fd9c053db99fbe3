#pragma once
// The program's few persistent settings, kept under registry-style key paths
// ("Software\Veltranovaplanir\Files1") in an INI file in the user's configuration folder.
#include <memory>
#include <string>
#include <vector>

class QSettings;

namespace platform {

// Points the settings at another file (tests use a temporary folder). Empty: the user's
// configuration folder.
void SetSettingsFile(const std::string& path);
std::string SettingsFile();

class TRegistry {
public:
    TRegistry();
    ~TRegistry();
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    // Opens a key given with '\' or '/' separators; with canCreate a missing key is created.
    bool OpenKey(const std::string& key, bool canCreate);
    void CloseKey();
    bool KeyExists(const std::string& key) const;
    // Deletes a key with all its values and subkeys.
    bool DeleteKey(const std::string& key);

    // Value access on the open key. A missing value reads as empty text or false.
    bool ValueExists(const std::string& name) const;
    std::string ReadString(const std::string& name) const;
    void WriteString(const std::string& name, const std::string& value);
    bool ReadBool(const std::string& name) const;
    void WriteBool(const std::string& name, bool value);
    bool DeleteValue(const std::string& name);
    // Names of the open key's values; numeric names in numeric order, then the others.
    std::vector<std::string> GetValueNames() const;

private:
    std::string ValuePath(const std::string& name) const;
    std::unique_ptr<QSettings> settings_;
    std::string openKey_;  // '/'-separated, empty when no key is open
};

}  // namespace platform
