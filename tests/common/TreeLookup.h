#pragma once
// Finding nodes of the open project by number in tests, without moving any cursor.
class TGrsed;
class TSitid;

// The first switchboard of ProjectRoot with this number; null when there is none.
TGrsed* SwitchboardNumbered(int number);
// The first panel with this number in any switchboard of ProjectRoot; null when there is none.
TSitid* PanelNumbered(int number);
