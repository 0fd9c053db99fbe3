#pragma once
// A generated project for the benchmarks: `switchboards` main switchboards of `panels` panels of
// `groups` group lines each (a third of each kind). Panels 1-3, 7-9, ... of every switchboard
// form cascades of three, every tenth other panel is on a trunk line, every fourth has a demand
// factor of 0.8. Every panel is distributed and the loads rolled up, as after loading.

// Makes ProjectRoot the generated project.
void BuildGeneratedProject(int switchboards, int panels, int groups = 30);
// The phase distribution of every panel of ProjectRoot (passes 1 to 3).
void DistributeEveryPanel();
// The number of panel `panel` (from 1) of switchboard `sw` (from 1).
int GeneratedPanelNumber(int sw, int panel);
