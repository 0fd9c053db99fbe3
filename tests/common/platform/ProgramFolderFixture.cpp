#include "ProgramFolderFixture.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <fstream>
#include <iterator>

#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "platform/Registry.h"

void CopyFolder(const std::string& from, const std::string& to) {
    const QDir source(QString::fromStdString(from));
    if (!source.exists()) return;
    QDirIterator it(source.path(), QDir::Files | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = QString::fromStdString(to) + "/" + source.relativeFilePath(file);
        QDir().mkpath(QFileInfo(target).path());
        QFile::remove(target);
        QFile::copy(file, target);
        QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void ProgramFolderFixture::SetUp() {
    ASSERT_TRUE(programDir_.isValid());
    ASSERT_TRUE(settingsDir_.isValid());
    CopyFolder(std::string(TEST_DATA_DIR) + "/program", programDir_.path().toStdString());
    platform::SetProgramFolder(programDir_.path().toStdString());
    platform::SetSettingsFile(settingsDir_.filePath("settings.ini").toStdString());
    platform::SetResponder(&responder_);
    CreateWindows();
}

void ProgramFolderFixture::TearDown() {
    DestroyWindows();
    responder_.VerifyDone();
    platform::SetResponder(nullptr);
    platform::SetSettingsFile("");
    platform::SetProgramFolder("");
}

std::string ProgramFolderFixture::ProgramFile(const std::string& name) const {
    return programDir_.filePath(QString::fromStdString(name)).toStdString();
}

void ProgramFolderFixture::AddProgramFile(const std::string& testDataPath,
                                          const std::string& name) {
    const QString target = QString::fromStdString(ProgramFile(name));
    QDir().mkpath(QFileInfo(target).path());
    QFile::remove(target);
    ASSERT_TRUE(QFile::copy(QString::fromStdString(std::string(TEST_DATA_DIR) + "/" + testDataPath),
                            target));
    QFile(target).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
}
