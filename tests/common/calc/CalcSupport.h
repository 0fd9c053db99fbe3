#pragma once
// Small project builders for the calculation tests. Panels are written as tokens
// "number[:role][+trunk][+flagc]": role "head" (fed from the switchboard, heads a cascade) or
// "F^H" (fed from panel F, cascade head H); a token without role is a plain panel.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "model/Classd.h"

// Builds a project tree the way the dialogs and the loader do: appends through the root, counts
// maintained by the caller, each group line as a scheme record and a phase record.
class ProjectBuilder {
public:
    TGrsed* AddSwitchboard(int number);
    // Appends a panel (token as above) with Position = the switchboard's count + 1.
    TSitid* AddPanel(int switchboardNumber, const std::string& token, double demandFactor = 1.0);
    void AddPanels(int switchboardNumber, const std::string& tokens);

    void AddSingle(int panelNumber, const std::string& name, long double power,
                   double cosPhi = 1.0);
    void AddTwo(int panelNumber, const std::string& name, long double part0, long double part1,
                double cos0 = 1.0, double cos1 = 1.0);
    void AddThree(int panelNumber, const std::string& name, std::array<long double, 3> parts,
                  std::array<double, 3> cosPhi = {1.0, 1.0, 1.0});

    TGrsed* Switchboard(int number) const;
    TSitid* Panel(int number) const;
    // Makes the panel (and its switchboard) current.
    void MakeCurrent(int panelNumber) const;
    // Passes 1-3 on every panel, each made current in turn (the loader's way).
    void DistributeAll() const;
};

// A fresh project root for every test, the whole tree deleted afterwards.
class CalcTest : public ::testing::Test, public ProjectBuilder {
protected:
    void SetUp() override;
    void TearDown() override;
    // Replaces the project by an empty one (for table cases that each build a tree).
    void NewProject();
};

// The group names of one single-phase result chain (phase 0, 1, 2), "-" for a blank cell.
std::vector<std::string> SingleChain(const TSitid& panel, int phase);
// The records of one result chain, in chain order.
std::vector<const TFasaGrup1d*> SingleRecords(const TSitid& panel, int phase);
std::vector<const TFasaGrup2d*> TwoRecords(const TSitid& panel, int phase);
std::vector<const TFasaGrup3d*> ThreeRecords(const TSitid& panel, int phase);

// A value rounded to hundredths as RoundTo forms it: the whole number of hundredths times 0.01,
// the product formed in extended precision and stored as a double (7.60 gives
// 7.6000000000000005, the double after 7.6).
double Hundredths(double decimal);

// "a b c" for a vector of strings.
std::string Join(const std::vector<std::string>& items);
