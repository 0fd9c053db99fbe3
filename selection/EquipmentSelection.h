#pragma once
// Equipment selection and the network checks' arithmetic: breaker ratings on the standard
// current series, cable cross-sections from the cable current tables, voltage losses and
// deviations, cascade walks and the cable passes. The group-entry window (`TDan1`) inherits it,
// so that `Dan1->CheckPanelCables()` reads as designed; nothing here touches a control.
//
// Every operation works on ProjectRoot through its cursors: the current switchboard, its current
// panel and that panel's current group records. Operations that do not say otherwise put back
// the cursors they move. Without an open project, or without the node an operation works on,
// nothing changes and a value operation gives 0.
//
// A table lookup that cannot be completed (a table file that is missing or damaged, a table
// without rows) aborts the operation that asked for it: the operation puts back what it had
// written, sets FailureFlag and returns false (a value operation returns 0). The caller takes
// the change back as it does for a failed check.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class TSitid;
class TGrsed;
class TCxemaGrupd;

// The instantaneous trip current of a breaker: its rating times the trip multiplicity of its
// series. A series that the breaker base does not hold has no multiplicity (`known` false); an
// empty series, or no breaker base at all, has multiplicity 0.
struct BreakerTrip {
    double multiplicity = 0.0;
    double current = 0.0;  // A
    bool known = true;

    // Multiplicity 0 of a known series: the checks that test it are skipped.
    bool Unchecked() const { return known && multiplicity == 0.0; }
};

class EquipmentSelection {
public:
    // Set when an operation failed; the callers test and clear it.
    std::uint8_t FailureFlag = 0;

    // --- Standard current series ---

    // The first rating strictly above the current (as TGrsed::StandardRatingAbove).
    static double StandardRatingAbove(double current);
    // The rating one step above that of the last scheme group of the current panel (4000 A stays
    // 4000 A); 0 when that rating is not on the series or the panel has no scheme group. Leaves
    // the panel's scheme cursor on its last group.
    double NextStandardRating();
    // NextStandardRating stepped once more.
    double NextButOneStandardRating();

    // --- Currents ---

    // Design current of a group line of 2, 3 or 4 conductors, A rounded to 0.01; 0 for another
    // count. No test for cos phi 0. At the consumer's nominal 220 V (440 V across two phases),
    // not at the network's phase voltage: 2.2 kW at cos phi 1 is 10.00 A here and 10.03 A in the
    // scheme record and the load sums; the phase records keep this one.
    static double CurrentFromPower(int conductors, double power, double cosPhi);

    // --- Cable current tables ---

    // The smallest cross-section of the table whose "Длительный ток", corrected for the ambient
    // temperature, carries the current; the largest section when none does. For the key
    // "Grse_Siti" (switchboard and panel feeders) at least 4 mm2 of copper ("Медь") or 6 mm2 of
    // any other material. 0 for no current and when the lookup aborts. The table's currents are
    // back at their stored values afterwards on every path.
    double ContinuousCurrentLookup(const std::string& nodeKind, const std::string& tableName,
                                   double current, int temperature, bool inAir,
                                   const std::string& material);
    // Opens the table on the first row whose "Сечение" equals the section exactly (at its end
    // when there is none). False when the table could not be opened.
    bool CrossSectionFromTable(const std::string& tableName, double section);
    // The cable brand of a table (the name of its first parameter field); "" when the table
    // could not be opened.
    std::string CableTableBrand(const std::string& tableName);
    // The protective section for a phase section from the section arrays of the current
    // switchboard (node 0) or of its current panel (any other node): with a neutral-section
    // column the entry beside the section, else the first entry above half the section.
    double LookupNodeTable(bool neutralColumn, int node, double section);

    // --- Voltage loss and deviation ---

    // Loss in the project's transformer (the transformer base row of that name) for a load in
    // kVA at cos phi, per cent, unrounded. 0 for no load or a name not in the base.
    double TransformerVoltageLoss(const std::string& transformerName, double load, double cosPhi);
    // Loss of a line by resistance and reactance per metre, per cent rounded to 0.001; the
    // conductor temperature is the line's ambient temperature. The power of one phase with its
    // neutral (2 conductors), of each phase of two with their neutral (3), or of three phases
    // (4); the loss of each loaded phase. 0 for any other number of conductors.
    static double LineVoltageLossRX(bool copper, const std::string& unused, double power,
                                    double length, double cosPhi, double temperature,
                                    double section, const std::string& layingMethod,
                                    int conductors);
    // Loss of a line by the coefficient C, per cent rounded to 0.001; 0 for no section and for a
    // conductor count or material without a coefficient.
    static double LineVoltageLossC(const std::string& material, int conductors, double length,
                                   double power, double section);
    // The loss of one segment, split into a symmetric three-phase part, a two-phase part and a
    // single-phase part per phase, stored by node kind: "Grse" (the current switchboard, with the
    // transformer loss), "Siti" (the current panel), "Siti_Sdvig" (its second set), "Grup" (the
    // current records of the current panel's result chains that carry the group name; three-phase
    // records without a name test).
    void VoltageLossToNode(const std::string& material, const std::string& nodeKind,
                           long double powerA, long double powerB, long double powerC,
                           double length, double section, const std::string& groupName);
    // Deviation from the nominal voltage (380 or 220 V) at the consumer of a loss, per cent
    // rounded to 0.01; the source is 400 V (400 / sqrt 3 for 220 V). 0 for another voltage.
    static double VoltageDeviation(double loss, double nominal);
    // Voltage at the consumer, V rounded to 0.1. 0 for another nominal voltage.
    static double ConsumerVoltage(double loss, double nominal);

    // --- Cascade walks (on the current switchboard; a null panel does nothing) ---

    // Puts every cascade head in front of its members by exchanging places of panels.
    void PlaceHeadsFirst(TSitid* panel);
    // Heads first, each cascade's members in ascending Position and contiguous behind their
    // head. The panel that was given (found by its number) is current at the end.
    void ReorderCascade(TSitid* panel);
    // Leaves the panel cursor on the first panel up p's feed chain whose cascade section is set.
    void SeekCascadeFeederSection(TSitid* panel);
    // Whether p's head, p or a panel fed in turn from p has a scheme group.
    bool CascadeHasGroups(TSitid* panel);
    // With one section for the whole trunk: p's head and the panels fed in turn from p take the
    // cable brand and table.
    void ApplyTrunkTable(TSitid* panel, const std::string& brand, const std::string& table);
    // The largest cascade section up p's feed chain given to every member from the first sized
    // one on, and to the head.
    void CascadeMaxCrossSection(TSitid* panel);
    // Cumulative cascade lengths; the length of the whole cascade of p (0 for a panel in no
    // cascade).
    double CascadeLength(TSitid* panel);

    // Gives every member up p's chain from the first sized one on, and the head, the largest
    // section of its own table.
    void SetCascadeLargestSections(TSitid* panel);

    // --- Cable and voltage-loss passes ---

    // The current switchboard's supply cable by its feeder breaker, and its losses.
    bool CheckSwitchboardCables();
    // The current panel's cable, and along its cascade every feeder, with the losses.
    bool CheckPanelCables();
    // The supply cable of the current panel when it is fed past the switchboard, and its losses.
    bool CheckShiftedPanelCables();
    // The cascade feeders up p's chain by their currents (the head by its trunk breaker); with
    // force, the chosen sections replace the stored ones even when smaller. Leaves p current.
    bool SelectCascadeFeederCables(TSitid* panel, bool force);
    // Losses along the cascade of head h, summed from the switchboard busbars.
    void CascadeVoltageLosses(TSitid* head);
    // The named group line of the current panel: its cross-section by current and its loss.
    bool CheckGroupCables(const std::string& groupName);
    // Worst-phase loss at the named group with every cable on its path at its largest section;
    // the cascade's sections and losses are put back. 0 without scheme groups.
    double BestCaseGroupLoss(const std::string& groupName);

    // --- Group cross-section and breaker ---

    // The group's cross-section from its table for its current (the group becomes current).
    bool SelectGroupCrossSection(TCxemaGrupd* group);
    bool SelectLastGroupCrossSection();
    // The last group's breaker rating, one series step strictly above its current.
    void SelectLastGroupBreaker();

    // --- Panel and switchboard ratings and feeder sections ---

    void SelectPanelRating();
    void SelectCascadeHeadRating();
    void SelectRatingsOnSeries();
    void SelectSwitchboardBreakerRating();
    void SelectTransformerBreakerRating();
    bool SelectPanelSectionForBreaker();
    bool SelectSwitchboardSectionForBreaker();
    // Largest scheme group breaker of the current panel (0 without groups).
    double MaxGroupValue();
    // Largest breaker feeding a panel of the current switchboard: the trunk breaker of a cascade
    // head, the feeder breaker of another panel, none for a panel fed past the switchboard.
    double MaxPanelValue();
    // Largest breaker feeding a switchboard of the project.
    double MaxSwitchboardValue();

    // --- Losses up to panels and groups, largest phase currents ---

    // Total losses up to the current panel per phase and their largest.
    void SumPanelVoltageLosses();
    // Worst total loss at the named group of the current panel for a cross-section; the group
    // becomes current. 0 without scheme groups or for a name not found.
    double GroupVoltageLoss(const std::string& groupName, double crossSection);
    double MaxGroupPhaseCurrent();
    double MaxPanelPhaseCurrent();
    double MaxSwitchboardPhaseCurrent();

    // --- Trip multiplicity and short-circuit lookups ---

    // "Кратность тока при КЗ" of the last row of the breaker base ("Avtomat.xml", loaded again)
    // with that series; 0 for an empty or unknown series and without a breaker base.
    double GetTripMultiplicity(const std::string& series);
    // The trip current of a breaker of that series and rating, by the lookup above; a series
    // that the breaker base does not hold stays unknown.
    BreakerTrip TripOf(const std::string& series, double rating);
    // Every trip comparison: the fault current is strictly above the trip current, or, with
    // `equalTrips` (the transformer walks only), at least equal to it. A breaker whose series the
    // base does not hold never trips; one of an empty series trips at any current above 0 A.
    static bool CurrentExceeds(double current, const BreakerTrip& trip, bool equalTrips = false);
    // "Сечение" of the last row of the table in ascending order of sections (the table stays open
    // there); 0 when it could not be opened or is empty.
    double LastCrossSection(const std::string& tableName);
    // "Трансформатор" of the last row of the transformer base by power, which stays current; ""
    // for an empty base.
    std::string LargestTransformerName();

protected:
    // The "Сечение" column of a cable table in ascending order, and its largest entry. Nothing,
    // with FailureFlag set, when the lookup cannot be completed: a table that cannot be opened
    // (the table loader says so), one without rows ("В данной таблице нет данных.") or one whose
    // fields are not those of a cable table (reported as a damaged file).
    std::optional<std::vector<double>> TableSections(const std::string& tableName);
    std::optional<double> LargestSection(const std::string& tableName);

    // The head of p's cascade (null when it is not in the list) and, numbering the cascade, its
    // last member: the head itself for a head without members.
    void FindCascadeEnds(TSitid* p, TSitid*& head, TSitid*& last);

private:
    // The lookup; nothing when it aborted (the reason shown already).
    std::optional<double> FindSection(const std::string& nodeKind, const std::string& tableName,
                                      double current, int temperature, bool inAir,
                                      const std::string& material);
    // FindSection as the table gives it, read anew; `feeder` for the smallest feeder's rule.
    std::optional<double> LookUpSection(bool feeder, const std::string& tableName, double current,
                                        int temperature, bool inAir, const std::string& material);
    std::optional<std::string> FindBrand(const std::string& tableName);
    // The multiplicity of GetTripMultiplicity; nothing for a series the base does not hold.
    std::optional<double> SeriesMultiplicity(const std::string& series);
    bool Fail();
    // The cable choice of one cascade feeder; false when it aborted.
    bool SelectCascadeFeeder(TSitid& panel, double current, bool force);
};
