#pragma once
// Helpers of the short-circuit arithmetic whose members live on the project root (TGrsed):
// element impedances, the fault path and the fault currents. All impedances are in milliohm at
// 400 V; conductors are taken at 65 degrees C for the smallest (single-phase) current and at
// 20 degrees C for the largest (three-phase and surge) currents.

// The cube root by the stepping rule of the arc factor: for n^3 <= x < (n + 1)^3 (n from 1 to
// 999), exactly n when x == n^3; otherwise c from n + 0.9999 lowered by 0.0001 (in double steps)
// while c^3 > x. Outside [1, 1000^3) the plain cube root.
double CubeRoot(double x);
