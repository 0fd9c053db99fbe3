#pragma once
// The group line window as a user meets it: a project built with the model's appends (a
// switchboard and its panels, their feeders of length 0 and an ideal transformer, so that a
// group line's voltage loss is its own line's alone), breaker, transformer and cable tables of
// our own in the program folder, the window opened through the main menu and filled key by key.
#include <QComboBox>
#include <QLineEdit>
#include <array>
#include <string>
#include <vector>

#include "AppFixture.h"
#include "BaseTableFiles.h"
#include "SchemeOfTheTree.h"
#include "TreeImage.h"
#include "model/Classd.h"

class QAbstractButton;

struct TableRow {
    double section;
    double current;
};

// "Провод2.xml": copper wire, two conductors, in air; its last row carries 100 A.
inline constexpr char kWire2[] = "Провод2.xml";
// "Кабель3.xml" and "Кабель4.xml": copper cables of three and four cores, in air.
inline constexpr char kCable3[] = "Кабель3.xml";
inline constexpr char kCable4[] = "Кабель4.xml";
// "Фидер4.xml": the copper cable of the switchboard and panel feeders.
inline constexpr char kFeeder[] = "Фидер4.xml";

extern const std::vector<TableRow> kWire2Rows;
extern const std::vector<TableRow> kCable3Rows;
extern const std::vector<TableRow> kCable4Rows;
extern const std::vector<TableRow> kFeederRows;

// The breaker dialogs of the first line of a new project, in the order they come.
inline const std::vector<std::string> kNewProjectBreakers = {"Группы", "Щит", "Грщ", "Секция КТП"};

// A group line as the user types it.
struct Entry {
    std::string panel = "1";
    std::string conductors = "2";
    std::string length = "10";
    std::string power = "2,2";
    std::string cosPhi = "1";
    std::string name = "Гр1";
    std::string temperature = "25";
    std::string laying = "В воздухе";
    std::string table = kWire2;
    std::string cable = "К1";
};

// A message as shown: text, caption, icon, buttons.
struct Shown {
    std::string text;
    std::string caption;
    platform::MsgIcon icon;
    platform::MsgButtons buttons = platform::MsgButtons::Ok;
};

class GroupDialogTest : public AppFixture {
protected:
    void SetUp() override;
    void TearDown() override;

    // Breaker series: "A1".."A4" of 1 to 4 poles from 0.32 A to 1600 A, none of which is held
    // against a short circuit (trip multiplicity 0), unless the test writes another base. The
    // breaker window's table is loaded again.
    void WriteBreakerBase(const std::vector<BreakerSeriesRow>& rows);
    void WriteTransformerBase(const std::vector<TransformerBaseRow>& rows);
    void WriteCableTable(const std::string& fileName, const std::string& brand,
                         const std::string& conductors, const std::string& kind,
                         const std::vector<TableRow>& rows);

    // A new project: switchboard 1 (feeder on kFeeder, length 0) and its panels.
    TGrsed* AddSwitchboard(int number);
    TSitid* AddPanel(TGrsed* sw, int number);

    // "Подключение групп": the power system dialog accepted, the group window shown.
    void OpenGroupWindow();
    // Chooses an item of a fixed list with the keyboard, as a user does.
    static void Choose(QComboBox& list, const std::string& item);
    // Replaces the text of an edit key by key.
    static void Type(QLineEdit& edit, const std::string& text);
    static void Click(QAbstractButton& button);
    // Fills every entry of the group window in the order of the window.
    void Fill(const Entry& entry);
    // "Применить" with the breaker dialogs that a new project shows, each answered with the first
    // series offered: group, panel, switchboard, section.
    void ExpectBreakerDialogs(const std::vector<std::string>& targets);
    void Apply();
    // In the open window: the line filled in and applied, those breaker dialogs answered, every
    // scripted step done.
    void EnterLine(const Entry& entry, const std::vector<std::string>& breakers = {"Группы"});
    // The window opened, the line entered, then "закрыть".
    void AddLine(const Entry& entry, const std::vector<std::string>& breakers = {"Группы"});
    // The line "Гр0" (2.2 kW on 10 m, cable "К0") accepted on panel 1 of the new project, the
    // breaker types asked for once, then "закрыть".
    void AddFirstLine();
    // "Гр1" (6 kW on four conductors of "Кабель4.xml" at cos phi 0.9, cable "К1") accepted on
    // panel 1 after "Гр0", then "закрыть".
    void AddFourConductorLine();
    // From now on every breaker dialog takes the first series it offers.
    void TakeTheFirstSeriesEveryTime();

    // "Редактирование" > "Группы", panel 1 and the named line chosen in the edit window,
    // "Изменить", the power system dialog accepted: the group line window in its edit mode, the
    // edit's undo copy taken.
    void OpenGroupEditor(const std::string& name);

    // Every message shown so far, in order.
    void ExpectShown(const std::vector<Shown>& expected);

    TGrsed* sw = nullptr;
    TSitid* panel = nullptr;
};

// Breaker series "A1".."A4" of 1 to 4 poles, each from 0.32 A to its largest rating, tripping
// at `multiplicity` times its rating (0: not held against a short circuit).
std::vector<BreakerSeriesRow> BreakerSeries(const std::array<double, 4>& largest,
                                            double multiplicity = 0);

// The scheme record and the phase records of a group line by name, searched in every panel.
TCxemaGrupd* SchemeRecord(const std::string& name);
TFasaGrup1d* SinglePhaseRecord(const std::string& name);
TFasaGrup2d* TwoPhaseRecord(const std::string& name);
TFasaGrup3d* ThreePhaseRecord(const std::string& name);
// The names of the panel's group lines in its chain's order, as many as the panel counts.
std::vector<std::string> NamesOf(const TSitid& panel);
