#pragma once
// The project tree: group line records, panels, main switchboards and the project root.
//
// The record line is TCxemaGrupd <- TFasaGrup1d <- TFasaGrup2d <- TFasaGrup3d <- TSitid <- TGrsed.
// Each class adds one level of fields. The fields of a level live in a plain struct
// (TCxemaGrupdFields, ..., TGrsedFields) that the class inherits, followed by the level's chain
// blocks, so that the record keeps the declaration order of its fields and a whole level can be
// copied at once (appends, node resets, the switchboard exchange, snapshots and the cells of the
// phase distributions all copy one level; == compares one). Fields marked "saved" are written to
// the project file.
//
// Records are plain values: no virtual functions, member-wise copies. Owned arrays are
// std::vector, so no two records ever share one. Chain blocks are copied as plain pointers, and
// destroying a record never destroys the records its chain blocks point at: the tree edits and
// DeleteProjectTree do that.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The owner side of a singly linked chain, and in an element the link to the next one. Counts are
// kept apart, in the owner's count fields.
template <typename T>
struct ChainBlock {
    T* Cursor = nullptr;  // owner: current element, null when none
    T* Walker = nullptr;  // owner: working pointer of appends and searches
    T* Next = nullptr;    // element: the following element, null at the tail
    T* First = nullptr;   // owner: head of the chain
    T* Last = nullptr;    // owner: tail of the chain
};

class TCxemaGrupd;
class TFasaGrup1d;
class TFasaGrup2d;
class TFasaGrup3d;
class TSitid;
class TGrsed;

// ---------------------------------------------------------------------------------------------
// Group line records

// Scheme record: the group line as entered (kind 1).
struct TCxemaGrupdFields {
    long double Power = 0;                // kW, saved
    double CosPhi = 1.0;                  // saved
    double LineLength = 0;                // m, saved
    double DesignCurrent = 0;             // A, saved
    double MaxPhaseCurrent = 0;           // A, largest phase current of the phase record
    double CrossSection = 0;              // mm², saved
    double BreakerRating = 0;             // A, saved
    std::string BreakerType;              // saved (also with each phase record)
    std::string CableBrand;               // saved
    std::string LayingMethod;             // saved
    std::string CableTable;               // saved
    std::string ConductorMaterial;        // saved
    double SpareValue = 0;                // spare, not copied by the append
    double VoltageDeviation = 0;          // %, saved
    double SinglePhaseFaultCurrent = 0;   // A, saved
    int PhaseKind = 0;                    // conductors 2, 3 or 4; saved
    int AmbientTemperature = 0;           // °C, saved
    std::string GroupName = "0";          // pairs the record with its phase record; saved
    std::string CableName;                // saved
    std::vector<double> AllowedSections;  // "Сечение" values of the chosen current table
    int AllowedSectionCount = 0;

    friend bool operator==(const TCxemaGrupdFields&, const TCxemaGrupdFields&) = default;
};

class TCxemaGrupd : public TCxemaGrupdFields {
public:
    ChainBlock<TCxemaGrupd> SchemeGroups;       // kind-1 chain; in a record, its link
    std::array<TCxemaGrupd*, 4> SchemeSpare{};  // spare pointers, never used
};

// Single-phase record (kind 2).
struct TFasaGrup1dFields {
    long double Power1 = 0;     // kW, saved
    double CosPhi1 = 1.0;       // saved
    double LineLength1 = 0;     // m, saved
    double Current1 = 0;        // A, saved
    double PhaseCurrentA1 = 0;  // A, after the single-phase distribution
    double PhaseCurrentB1 = 0;
    double PhaseCurrentC1 = 0;
    double AllowedCurrent1 = 0;       // A, saved
    double SavedValue1 = 0;           // saved
    int PhaseKind1 = 0;               // saved
    double VoltageLoss1 = 0;          // %
    double ConsumerVoltageLoss1 = 0;  // %
    std::string CableBrand1;          // saved
    std::string GroupName1;           // saved
    std::string CableTable1;          // saved
    std::string ConductorMaterial1;

    friend bool operator==(const TFasaGrup1dFields&, const TFasaGrup1dFields&) = default;
};

class TFasaGrup1d : public TCxemaGrupd, public TFasaGrup1dFields {
public:
    ChainBlock<TFasaGrup1d> SinglePhaseGroups;                  // kind-2 chain
    std::array<ChainBlock<TFasaGrup1d>, 3> SinglePhaseByPhase;  // result chains A, B, C
};

// Two-phase record (kind 3).
struct TFasaGrup2dFields {
    std::uint8_t Symmetric2 = 0;  // saved
    long double Power2 = 0;       // kW, saved
    long double SpareExtended1 = 0;
    long double SpareExtended2 = 0;
    long double SpareExtended3 = 0;
    std::vector<long double> PartPowers = {0.0L, 0.0L};  // kW, saved
    std::vector<double> PartCosPhi = {1.0, 1.0};         // saved
    double CosPhi2 = 1.0;                                // saved
    double LineLength2 = 0;                              // m, saved
    double SpareValue2 = 0;
    double CurrentA = 0;              // A, saved
    double CurrentB = 0;              // A, saved
    double CurrentC = 0;              // A, saved
    double AllowedCurrent2 = 0;       // A, saved
    double SavedValue2 = 0;           // saved
    double VoltageLoss2 = 0;          // %
    double ConsumerVoltageLoss2 = 0;  // %
    std::string CableBrand2;          // saved
    std::string CableTable2;          // saved
    int PhaseKind2 = 0;               // saved
    std::uint8_t PhaseUsed = 0;       // in the per-phase result records
    std::string GroupName2;           // saved
    std::string ConductorMaterial2;

    friend bool operator==(const TFasaGrup2dFields&, const TFasaGrup2dFields&) = default;
};

class TFasaGrup2d : public TFasaGrup1d, public TFasaGrup2dFields {
public:
    ChainBlock<TFasaGrup2d> TwoPhaseGroups;                  // kind-3 chain
    std::array<ChainBlock<TFasaGrup2d>, 3> TwoPhaseByPhase;  // result chains A, B, C
};

// Three-phase record (kind 4).
struct TFasaGrup3dFields {
    std::uint8_t Symmetric3 = 0;                                // saved
    long double Power3 = 0;                                     // kW, saved
    std::vector<long double> PhasePowers = {0.0L, 0.0L, 0.0L};  // kW, saved
    double CosPhi3 = 1.0;                                       // saved
    std::vector<double> PhaseCosPhi = {1.0, 1.0, 1.0};          // saved
    double LineLength3 = 0;                                     // m, saved
    double SpareValue3 = 0;
    double CurrentA3 = 0;             // A, saved
    double CurrentB3 = 0;             // A, saved
    double CurrentC3 = 0;             // A, saved
    double AllowedCurrent3 = 0;       // A, saved
    double SavedValue3 = 0;           // saved
    double VoltageLoss3 = 0;          // %
    double ConsumerVoltageLoss3 = 0;  // %
    int PhaseNumber = 0;              // 1, 2, 3 = phase A, B, C of a result record
    int PhaseKind3 = 0;               // saved
    std::string GroupName3;           // saved
    std::string CableTable3;          // saved
    std::string CableBrand3;          // saved
    std::string ConductorMaterial3;

    friend bool operator==(const TFasaGrup3dFields&, const TFasaGrup3dFields&) = default;
};

class TFasaGrup3d : public TFasaGrup2d, public TFasaGrup3dFields {
public:
    ChainBlock<TFasaGrup3d> ThreePhaseGroups;                  // kind-4 chain
    std::array<ChainBlock<TFasaGrup3d>, 3> ThreePhaseByPhase;  // result chains A, B, C
};

// ---------------------------------------------------------------------------------------------
// Panel ("Щит")

struct TSitidFields {
    int PanelNumber = 0;       // unique over the project; saved
    int HangsOnPanel = 0;      // saved
    int SchemeGroupCount = 0;  // records in the kind-1..kind-4 chains; saved
    int SinglePhaseCount = 0;
    int TwoPhaseCount = 0;
    int ThreePhaseCount = 0;
    int RowsOfThree = 0;          // rows of the single-phase distribution
    int Position = 0;             // 1-based place in the switchboard's chain; saved
    int CascadeSequence = 0;      // place in the cascade, 1 for the head
    std::uint8_t CascadeEnd = 0;  // last panel of a cascade
    int SectionIndex = 0;
    std::uint8_t OnTrunk = 0;     // saved
    std::uint8_t PanelFlagB = 0;  // saved
    std::uint8_t PanelFlagC = 0;  // saved
    std::uint8_t RebuildMark = 0;
    std::string CurrentTableName = "0";   // saved
    std::string FeederCableName;          // saved
    double PanelBreakerRating = 0;        // A, saved
    double TrunkBreakerRating = 0;        // A, saved
    double FeederBreakerRating = 0;       // A, saved
    double CascadeBreakerRating = 0;      // A, saved
    std::string PanelBreakerType;         // saved
    std::string TrunkBreakerType;         // saved
    double FeederSection = 0;             // mm², saved
    double FeederNeutralSection = 0;      // mm²
    double FeederSectionByCurrent = 0;    // mm², saved
    std::string FeederLayingMethod;       // saved
    double FeederSection2 = 0;            // mm², saved
    double FeederLength = 0;              // m, saved
    double CascadeLength = 0;             // m, saved
    int FeederTemperature = 0;            // °C, saved
    int FeedingPanelNumber = 0;           // saved
    int CascadeHeadNumber = 0;            // saved
    std::uint8_t FedFromPanel = 0;        // saved
    std::uint8_t FedFromSwitchboard = 0;  // heads a cascade; saved
    std::uint8_t CascadeFlag = 0;         // saved
    std::string FeederCableBrand;         // saved
    std::string FeederConductorMaterial;  // saved
    double OwnCurrentA = 0;               // A
    double OwnCurrentB = 0;
    double OwnCurrentC = 0;
    double OwnNeutralCurrent = 0;
    double OwnDesignCurrent = 0;
    double CascadeDesignCurrent = 0;
    double CascadeCurrentA = 0;  // A, saved
    double CascadeCurrentB = 0;  // A, saved
    double CascadeCurrentC = 0;  // A, saved
    double CascadeNeutralCurrent = 0;
    double FeederCurrentA = 0;
    double FeederCurrentB = 0;
    double FeederCurrentC = 0;
    double FeederNeutralCurrent = 0;
    double PanelCosPhiA = 1.0;
    double PanelCosPhiB = 1.0;
    double PanelCosPhiC = 1.0;
    double PanelCosPhi = 1.0;
    double CascadeCosPhiA = 1.0;  // saved
    double CascadeCosPhiB = 1.0;  // saved
    double CascadeCosPhiC = 1.0;  // saved
    double CascadeCosPhi = 1.0;
    long double PanelPowerA = 0;  // kW
    long double PanelPowerB = 0;
    long double PanelPowerC = 0;
    long double CascadePowerA = 0;
    long double CascadePowerB = 0;
    long double CascadePowerC = 0;
    long double TotalPowerA = 0;
    long double TotalPowerB = 0;
    long double TotalPowerC = 0;
    std::array<double, 3> SparePanelValues{};  // spare, not copied by the append
    long double SinglePhasePowerA = 0;
    long double SinglePhasePowerB = 0;
    long double SinglePhasePowerC = 0;
    long double TwoPhasePowerA = 0;
    long double TwoPhasePowerB = 0;
    long double TwoPhasePowerC = 0;
    long double ThreePhasePowerA = 0;
    long double ThreePhasePowerB = 0;
    long double ThreePhasePowerC = 0;
    double LossPartSum = 0;  // %
    double LossPartA = 0;    // %, saved
    double LossPartB = 0;    // %, saved
    double LossPartC = 0;    // %, saved
    double LossPart2Sum = 0;
    double LossPart2A = 0;  // %, saved
    double LossPart2B = 0;  // %, saved
    double LossPart2C = 0;  // %, saved
    double MaxVoltageLoss = 0;
    double DeviationWork = 0;
    double VoltageLossA = 0;
    double VoltageLossB = 0;
    double VoltageLossC = 0;
    double PanelFaultCurrent1 = 0;  // A, saved
    double PanelFaultCurrent3 = 0;  // A, saved
    double PanelSurgeCurrent = 0;   // kA, saved
    double InstalledPower = 0;      // kW
    double DesignPower = 0;
    double CascadePower = 0;
    double DemandFactor = 1.0;  // saved
    double SparePanelValue = 0;
    std::vector<double> FeederSections;      // "Сечение" of the feeder's table
    std::vector<double> FeederZeroSections;  // "Сечение 0 жилы", index for index
    int FeederSectionCount = 0;
    std::uint8_t ZeroCoreTable = 0;

    friend bool operator==(const TSitidFields&, const TSitidFields&) = default;
};

class TSitid : public TFasaGrup3d, public TSitidFields {
public:
    ChainBlock<TSitid> Panels;     // chain of panels, used in a switchboard; in a panel, its link
    TSitid* PanelsMark = nullptr;  // spare
};

// ---------------------------------------------------------------------------------------------
// Main switchboard ("ГРЩ"); the project root is one too.

struct TGrsedFields {
    int SwitchboardCount = 0;        // root: switchboards in its chain; saved
    int PanelCount = 0;              // switchboard: panels in its chain; saved
    int SwitchboardNumber = 0;       // saved
    int SwitchboardTemperature = 0;  // °C, saved
    std::uint8_t ChangedMark = 0;    // saved
    int SchemeOrder = 0;             // 0-based place written by the general scheme; saved
    double SupplyScPower = 180.0;    // MVA, saved with the root only
    std::string SwitchboardTable;    // saved
    std::string SpareText1;
    std::string SwitchboardLaying;         // saved
    double SwitchboardInstalledPower = 0;  // kW
    double SwitchboardDesignPower = 0;
    double TotalInstalledPower = 0;  // root: section totals
    double TotalDesignPower = 0;
    double TotalPhasePowerA = 0;
    double TotalPhasePowerB = 0;
    double TotalPhasePowerC = 0;
    double SwitchboardPowerA = 0;
    double SwitchboardPowerB = 0;
    double SwitchboardPowerC = 0;
    double SwitchboardSection = 0;  // mm², saved
    double SwitchboardNeutralSection = 0;
    double SpareSwitchboardValue = 0;
    std::string SwitchboardCableBrand;  // saved
    std::string SpareText2;
    std::string SwitchboardBreakerType;        // saved
    std::string SectionBreakerType;            // saved with the root only
    std::string SwitchboardConductorMaterial;  // saved
    std::string SpareText3;
    std::string SwitchboardCableName;    // saved
    double SwitchboardFeederLength = 0;  // m, saved
    double SpareSwitchboardValue2 = 0;
    double SwitchboardCosPhiA = 1.0;
    double SwitchboardCosPhiB = 1.0;
    double SwitchboardCosPhiC = 1.0;
    double SwitchboardCurrentA = 0;
    double SwitchboardCurrentB = 0;
    double SwitchboardCurrentC = 0;
    double SwitchboardNeutralCurrent = 0;
    double TotalCurrentA = 0;
    double TotalCurrentB = 0;
    double TotalCurrentC = 0;
    double TotalNeutralCurrent = 0;
    double SwitchboardDesignCurrent = 0;
    double TotalDesignCurrent = 0;
    double SwitchboardCosPhi = 1.0;
    double TotalCosPhi = 1.0;
    double TotalCosPhiA = 1.0;  // not copied by AddSwitchboard
    double TotalCosPhiB = 1.0;
    double TotalCosPhiC = 1.0;
    double SwitchboardLossSum = 0;  // %
    double SwitchboardLossA = 0;    // %, saved
    double SwitchboardLossB = 0;    // %, saved
    double SwitchboardLossC = 0;    // %, saved
    std::array<double, 3> SpareSwitchboardValues2{};
    double SwitchboardFaultCurrent1 = 0;  // A, saved
    double SwitchboardFaultCurrent3 = 0;  // A, saved
    double SwitchboardSurgeCurrent = 0;   // kA, saved
    double SwitchboardBreakerRating = 0;  // A, saved
    double SwitchboardInputRating = 0;    // A, saved
    double TransformerBreakerRating = 0;  // A, saved with the root only
    std::string TransformerName;          // saved with the root only
    std::vector<double> SwitchboardSections;
    std::vector<double> SwitchboardZeroSections;
    int SwitchboardSectionCount = 0;
    std::uint8_t SwitchboardZeroCoreTable = 0;

    friend bool operator==(const TGrsedFields&, const TGrsedFields&) = default;
};

class TGrsed : public TSitid, public TGrsedFields {
public:
    ChainBlock<TGrsed> Switchboards;     // root: chain of switchboards; in a switchboard, its link
    TGrsed* SwitchboardsMark = nullptr;  // spare

    // The operations below run on the project root. They move its cursors and leave them where
    // each says; none of them changes a count: the caller that appends maintains it.

    // Links a new switchboard with the record's switchboard-level fields (except TotalCosPhiA..C)
    // after the last one. Walker and last: the new one; cursor: the first switchboard.
    void AddSwitchboard(const TGrsed& record);
    // Appends a new panel with the record's panel-level fields (except SparePanelValues) to every
    // one of the first SwitchboardCount switchboards with this number. Afterwards the root's
    // cursor and walker are past the last switchboard examined.
    void AddPanel(int switchboardNumber, const TSitid& record);
    // Append a group record of one kind to every panel of the current switchboard with this
    // number, among the first `panelsToScan` panels. Only the record's own level is copied.
    // Afterwards the current panel is the one after the last scanned; nothing happens without a
    // current switchboard.
    void AddCxemaGroup(int panelNumber, int panelsToScan, const TCxemaGrupd& record);
    void AddFasaGroup1(int panelNumber, int panelsToScan, const TFasaGrup1d& record);
    void AddFasaGroup2(int panelNumber, int panelsToScan, const TFasaGrup2d& record);
    void AddFasaGroup3(int panelNumber, int panelsToScan, const TFasaGrup3d& record);
    // Cursor on the first switchboard, its first panel and that panel's first scheme record.
    void ResetCursors();
    // The number of panels of the current switchboard, counted along its chain; leaves its panel
    // cursor on the first panel. 0 without a current switchboard. (This is the counting
    // operation; the stored count is the field PanelCount.)
    int CountPanels();
    // Makes current the switchboard and panel of the first panel with this number, looking at the
    // first SwitchboardCount switchboards. False when there is none: then no panel of the examined
    // switchboards is current and the root's cursor is past the last one examined.
    bool FindPanel(int panelNumber);
    // Scheme records of the current panel, counted along the chain; leaves the kind-1 cursor on
    // the first. 0 without a current panel.
    int CxemaGroupCount();
    // Makes current the panel at 1-based chain position Position - 1 of the given panel (the
    // first panel for Position 1 or 2); for Position 0 or less the given panel itself.
    void SeekPanelAt(TSitid* panel);

    // --- Load and phase calculation (defined in calc/) ---
    // The sixteen passes of the recalculation, in the order it runs them. Each works on the root
    // it is called on (ProjectRoot) through its cursors and leaves them where its walk ended.
    // Passes 1-3 distribute the group lines of the current panel over the phases and rebuild its
    // per-phase result chains; the others walk every panel and switchboard.
    void CalcFasaGroups1();               // 1: single-phase lines, rows of three
    void CalcFasaGroups2();               // 2: two-phase lines
    void CalcFasaGroups3();               // 3: three-phase lines
    void SumPanelPhaseLoads();            // 4: panel phase, installed and design power
    void CalcPanelCosPhi();               // 5: panel cos phi per phase
    void CalcPanelCurrents();             // 6: panel own currents
    void AddCascadeLoads();               // 7: power carried along cascades
    void AddCascadeCosPhi();              // 8: cos phi carried along cascades
    void AddCascadeCurrents();            // 9: currents carried along cascades
    void SumSwitchboardLoads();           // 10: switchboard powers
    void CalcSwitchboardCosPhi();         // 11: switchboard cos phi per phase
    void CalcSwitchboardCurrents();       // 12: switchboard currents
    void SumSwitchboardTotalLoads();      // 13: section powers, feeder powers of trunk panels
    void CalcSwitchboardTotalCosPhi();    // 14: section cos phi
    void CalcSwitchboardTotalCurrents();  // 15: section currents
    void CalcPanelFeederCurrents();       // 16: feeder currents of every panel

    // The brand of a cable current table (the name of its brand field); "" when the table cannot
    // be opened. Defined with the cable table loader in refdb/, which opens the table.
    static std::string CableTableBrand(const std::string& tableName);

    // The current switchboard and its current panel, null when none.
    TGrsed* CurrentSwitchboard() const { return Switchboards.Cursor; }
    TSitid* CurrentPanel() const;

    // --- Equipment selection (defined in selection/) ---
    // The standard current series (selection/CurrentSeries.h). StandardRating: the smallest
    // rating not below the current among 0.32 .. 630 A (0.4 A below 0.32 A; 0 for no current or
    // one above 630 A). StandardRatingAbove: the first rating strictly above the current (0.4 A
    // at least; 0 for 0 and for exactly 4000 A; 5000 beyond 4000 A).
    static double StandardRating(double current);
    static double StandardRatingAbove(double current);

    // Element impedances of the fault path. Conductor resistance r0 and cable reactance x0 in
    // milliohm per metre: r0 at the conductor temperature (degrees C) for copper or aluminium, 0
    // for no section; x0 by laying method ("В земле" and "В воздухе" for cables, the three "...
    // в трубе" texts for wires in a pipe) for a section of its table, 0 otherwise. Breaker
    // resistance and reactance in milliohm: the row of the rating, else of the next smaller rating
    // of their table, the smallest row for a breaker below it; 0 for no breaker (rating 0).
    static double ConductorResistance(double temperature, double section, bool copper);
    static double CableReactance(const std::string& layingMethod, double section);
    static double BreakerResistance(int rating);
    static double BreakerReactance(int rating);

    // The fault path from the supply system through the transformer, the current switchboard's
    // feeder, the feeders of `panel` (its own, or every feeder of its cascade up to the head) and
    // a group line hanging on it, in milliohm at 400 V. The members below read, besides these
    // values: the root's SupplyScPower, the current switchboard, the current panel and its
    // current scheme group (breaker rating, section and laying of the group line). A cascade walk
    // moves the current switchboard's panel cursor and leaves it on its first panel.
    struct FaultInputs {
        // Lengths (m) of the group line, the panel feeder (three-phase path of a radial panel
        // only) and the switchboard feeder, and their phase cross-sections (mm2).
        double groupLength = 0, panelLength = 0, switchboardLength = 0;
        double groupSection = 0, panelSection = 0, switchboardSection = 0;
        // The transformer's rated power (kVA), short-circuit voltage (%) and losses (W).
        double transformerPower = 0, shortCircuitVoltage = 0, shortCircuitLosses = 0;
        // The conductor materials of the group, the radial panel feeder and the switchboard
        // feeder; they are read during the call only.
        std::string_view groupMaterial = {}, panelMaterial = {}, switchboardMaterial = {};
        // The panel (null: no panel feeders), and whether the panel section is used for every
        // feeder of a cascade.
        TSitid* panel = nullptr;
        bool givenSection = false;
    };
    // The loop impedance of the path: |2 Z1 + Z0| of the single-phase loop, each cable's zero
    // sequence its phase conductor and three times its protective or return conductor, with the
    // conductors at 65 degrees C; with `threePhase` |Z1| at 20 degrees C.
    double LoopImpedance(const FaultInputs& in, bool threePhase);
    // The single-phase loop of a path without its group line: the supply, the panel feeders and
    // the switchboard feeder, each as its sums of the positive and the zero sequence. Every line
    // of a panel shares it; the group fields of `in` play no part. The panel, when given, is
    // current afterwards.
    struct LoopWithoutLine {
        struct Sums {
            double r1 = 0, x1 = 0, r0 = 0, x0 = 0;
        };
        Sums supply, panels, board;
    };
    LoopWithoutLine SinglePhaseLoopWithoutLine(const FaultInputs& in);
    // The single-phase fault current at the end of the current group line of `in` (the current
    // panel's; at the path's end when `in` has no group line) whose loop without it is `loop`:
    // SinglePhaseFaultCurrent of the same path, to the last bit, without walking the path again.
    // Moves no cursor.
    double SinglePhaseFaultCurrentOfLine(const LoopWithoutLine& loop, const FaultInputs& in);
    // Resistance and reactance of the surge current's path: conductors (at 20 degrees C) and
    // transformer only.
    double FaultPathResistance(const FaultInputs& in);
    double FaultPathReactance(const FaultInputs& in);
    // Surge current, kA rounded to 0.01, of the bolted fault on the conductors at 20 degrees C.
    // 0 when the switchboard section is 0. The panel, when given, is current before the path sum
    // and afterwards.
    double ThreePhaseFaultCurrent(const FaultInputs& in);
    // Single-phase short-circuit current, A rounded to 0.1: the smallest, for the trip check, from
    // a third of the loop impedance |2 Z1 + Z0| with the conductors at 65 degrees C and the arc
    // factor. 0 when the switchboard section is 0. The panel, when given, is made current again
    // afterwards.
    double SinglePhaseFaultCurrent(const FaultInputs& in);
    // Three-phase short-circuit current at the group, A rounded to 0.1: the largest, bolted, from
    // the three-phase loop impedance with the conductors at 20 degrees C; otherwise as
    // SinglePhaseFaultCurrent.
    double ThreePhaseFaultCurrentAtGroup(const FaultInputs& in);
    // Reduction of a fault current by the arc resistance for an impedance in milliohm; 0.7
    // above 700.
    static double ArcFactor(double impedance);
};

// The root of the open project; null while no project is open.
extern TGrsed* ProjectRoot;

// Destroys every record of the panel's four group chains and clears the chain blocks; the counts
// are left to the caller.
void DestroyGroupChains(TSitid& panel);
// Destroys every record of the panel's nine per-phase result chains and clears their blocks.
void DestroyResultChains(TSitid& panel);
// Destroys a panel together with its group records and its per-phase result records.
void DestroyPanel(TSitid* panel);
// Destroys a switchboard together with every panel linked in its chain.
void DestroySwitchboard(TGrsed* switchboard);
// Destroys a whole project tree (switchboards, panels, group and result records, the root) and
// sets the pointer to null. Used when a project is closed: DeleteProjectTree(ProjectRoot).
void DeleteProjectTree(TGrsed*& root);
