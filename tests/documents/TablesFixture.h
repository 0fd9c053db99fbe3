#pragma once
// A project tree made by hand for the tables and journals: switchboards, panels and group lines
// with the values the network calculation would have left, so that every cell can be worked out
// from them.
#include <string>
#include <vector>

#include "DocumentsFixture.h"
#include "model/Classd.h"

class TablesTest : public DocumentsTest {
protected:
    void SetUp() override;

    // A switchboard appended to the project: its feeder cable "К<number>", brand "АВВГ",
    // sections 95 and 50 mm², 40 m; installed and design power 10 kW.
    TGrsed& AddSwitchboard(int number);
    // A plain panel appended to that switchboard: feeder "П<number>", brand "ВВГ", radial
    // section 25 (cascade section 35), neutral 16 mm², 30 m; installed power 5 kW.
    TSitid& AddPanel(TGrsed& sw, int number);
    // A group line of the panel: its scheme record, and the record of its phase kind.
    TCxemaGrupd& AddGroup(TSitid& panel, const std::string& name, int conductors);

    // Texts of a grid, row by row.
public:
    static std::vector<std::vector<std::string>> GridTexts(const class QTableWidget& grid);
    // The texts drawn at x on the recorded page, from top to bottom.
    static std::vector<std::string> TextsAt(const std::vector<platform::CanvasOp>& ops, int x);
};
