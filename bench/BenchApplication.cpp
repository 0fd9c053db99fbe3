#include "BenchApplication.h"

#include <QApplication>
#include <QTemporaryDir>
#include <memory>

#include "app/Startup.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "platform/Registry.h"
#include "refdb/BazaAvt.h"
#include "refdb/BazaTran.h"
#include "refdb/TableWriteBack.h"

namespace {

// Answers every message: no window ever waits for a user here.
class Silent : public platform::Responder {
public:
    int OnMessage(const platform::MessageRecord& message) override {
        messages.push_back(message.text);
        return platform::mrOk;
    }
    int OnModal(QDialog&) override { return platform::mrOk; }
    void OnTerminate() override {}

    std::vector<std::string> messages;
};

class Application {
public:
    Application() {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        app_ = std::make_unique<QApplication>(argc_, argv_);
        folder = folder_.path().toStdString() + "/";
        platform::SetProgramFolder(folder);
        platform::SetSettingsFile(folder + "settings.ini");
        platform::SetResponder(&silent);
        CreateAllWindows();
    }

    std::string folder;
    Silent silent;

private:
    int argc_ = 1;
    char name_[10] = "bench";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<QApplication> app_;
    QTemporaryDir folder_;
};

Application& TheApplication() {
    static Application application;
    return application;
}

}  // namespace

const std::string& StartApplication() {
    return TheApplication().folder;
}

void OpenBaseTables(const std::string& folder) {
    platform::SetProgramFolder(folder);
    refdb::CloseTable(BazaAvt->AVT1);
    refdb::CloseTable(BazaTran->ClientDataSet2);
    BazaAvt->FormCreate();
    BazaTran->FormCreate();
}

const std::vector<std::string>& ShownMessages() {
    return TheApplication().silent.messages;
}
