#pragma once
// Projects described as the user types them and built through the windows: File > New with the
// switchboards, panels and trunks in the connection window, the group lines in the group line
// window (the transformer chosen in the power system dialog, every breaker dialog answered with
// the series a designer takes), the demand factors in the panel editor, File > Save As.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "ConnectionFixture.h"

namespace script {

// A group line as typed: its cable is named "К" and the line's name; its laying method is the
// one its cable table is made for.
struct Line {
    std::string name;
    std::string conductors;
    std::string power;   // kW
    std::string cosPhi;  // four characters at most: "0,95"
    std::string length;  // m
    std::string table;
};

struct Panel {
    std::string number;
    std::string length;  // feeder, m
    std::string table;
    std::vector<Line> lines;
    // A trunk member is connected behind this panel, with one cross-section for the trunk.
    std::string behind;
    // Entered in the panel editor once the lines are in ("" leaves 1); like cos φ, four
    // characters at most.
    std::string demandFactor;
};

struct Switchboard {
    std::string number;
    std::string length;  // supply cable, m
    std::vector<Panel> panels;
    std::string table = "АВВГз4.xml";
};

// A line entered after every panel's own lines, on the panel of that number.
struct LaterLine {
    std::string panel;
    Line line;
};

struct Project {
    std::string transformer;
    std::vector<Switchboard> switchboards;
    std::array<std::string, 5> stamp;
    std::vector<LaterLine> laterLines;
};

Panel Radial(const std::string& number, const std::string& length, const std::string& table,
             std::vector<Line> lines);
Panel Member(Panel p, const std::string& behind);

// The laying method a cable table is made for: its name ends in "в" (in air), "з" (in the
// ground) or "т" (in a pipe), then the conductor count.
std::string LayingOf(const std::string& table, const std::string& conductors);

}  // namespace script

class ProjectScriptTest : public ConnectionTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // The switchboards and panels in the connection window of File > New.
    void Connect(const script::Project& project);
    // "Подключение групп" with the transformer chosen, every line applied (none may be
    // refused), then "закрыть".
    void EnterLines(const script::Project& project);
    // "Редактирование" > "Щиты", the panel's "Изменить", its demand factor, "Изменить" of the
    // editor with the breakers set automatically.
    void EnterDemandFactors(const script::Project& project);
    // The whole project: connections, lines, demand factors.
    void Build(const script::Project& project);
    // The title block as its window keeps it.
    static void WriteStamp(const script::Project& project);
    // File > Save As into the program folder's "Project"; the path written.
    std::string SaveAs(const std::string& name);
    // The open project saved with File > Save As under `name` and opened again from that file:
    // every value that differs between the two (empty when none). Afterwards the reopened
    // project is open.
    std::string DifferencesAfterReopening(const std::string& name);
};
