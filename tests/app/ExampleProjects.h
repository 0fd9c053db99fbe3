#pragma once
// Projects described as data and built into ProjectRoot the way the switchboard, panel and group
// dialogs build them, for the command tests that need a designed project in a file. (The shipped
// example projects are made through the windows themselves: tests/editing/
// ExampleProjectsScriptTest.cpp.)
#include <string>
#include <vector>

#include "app/ProjectFile.h"

// A group line as the group dialog takes it. The laying method and the conductor material follow
// from the cable table (its name ends in "в" in air, "з" in the ground, "т" in a pipe, and the
// conductor count; "А..." tables are aluminium).
struct LineSpec {
    std::string name;
    int conductors = 2;  // 2 single-phase, 3 two-phase, 4 three-phase
    double power = 0;    // kW
    double cosPhi = 1.0;
    double length = 0;  // m
    std::string table;
    std::string cableName;
};

struct PanelSpec {
    int number = 0;
    // Cascade: a head is fed from the switchboard and feeds the panels that name it as their
    // feeding panel.
    bool cascadeHead = false;
    int feedingPanel = 0;  // fed from this panel (a cascade member)
    int headNumber = 0;    // the member's cascade head
    double length = 0;     // feeder, m
    std::string table;
    int temperature = 25;
    std::string cableName;
    double demandFactor = 1.0;
    std::vector<LineSpec> lines;
};

struct SwitchboardSpec {
    int number = 0;
    double length = 0;  // supply cable from the substation, m
    std::string table;
    int temperature = 15;
    std::string cableName;
    std::vector<PanelSpec> panels;
};

struct ProjectSpec {
    std::string transformer;
    std::vector<SwitchboardSpec> switchboards;
    projectfile::ProjectStamp stamp;
};

// A small project for the command tests: one switchboard, a plain panel and a cascade of two
// panels, one group line of each kind.
ProjectSpec SmallProject();

// Replaces ProjectRoot by the project, designed as the dialogs design it: each line appended and
// given its cross-section and breaker, then the panel, cascade, switchboard and transformer-side
// breakers with their series, the feeder sections, voltage losses and deviations and the
// single-phase fault currents. Needs the windows (the selection runs in the group dialog) and the
// cable tables and transformer base of the project in the program folder.
void BuildProject(const ProjectSpec& project);

// The extras the file of the project carries: the group counters after its lines and the stamp.
projectfile::ProjectFileExtras ProjectExtras(const ProjectSpec& project);
