#pragma once
// The application with the shipped reference tables in its program folder, and the connection
// window driven as the user drives it: typing into its edits, choosing in its lists with the
// keys, clicking its buttons, answering its messages through the scripted responder.
#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <functional>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "TreeBuilder.h"
#include "WindowChecks.h"
#include "model/Classd.h"

// The feeder of a main switchboard as the user enters it.
struct SwitchboardEntry {
    std::string number = "1";
    std::string length = "50";
    std::string laying = "В воздухе";
    std::string table = "ВВГв4.xml";
    std::string temperature = "15";
    std::string cable = "КГ1";
};

// A new panel as the user enters it.
struct PanelEntry {
    std::string switchboard = "1";
    std::string number = "1";
    std::string length = "20";
    std::string laying = "В воздухе";
    std::string table = "ВВГв4.xml";
    std::string temperature = "15";
    std::string cable = "КЩ1";
};

class ConnectionTest : public AppFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // File > New; the connection dialog it shows runs `inDialog` (the dialog shown) and is
    // closed with "Закрыть" unless `inDialog` closed it.
    void NewProject(const std::function<void()>& inDialog = {});
    // "Установка щитов" with the open project, the same way.
    void InstallPanels(const std::function<void()>& inDialog);

    // The message the responder saw last, with its caption and icon.
    platform::MessageRecord LastMessage() const;
};

// The user's hands.
void Type(QLineEdit* edit, const std::string& text);
void Choose(QComboBox* list, const std::string& item);
void Click(QAbstractButton* button);

// Fills the upper or the lower box and presses its "Соединить".
void EnterSwitchboard(const SwitchboardEntry& entry);
void ConnectSwitchboard(const SwitchboardEntry& entry);
void EnterPanel(const PanelEntry& entry);
void ConnectPanel(const PanelEntry& entry);
