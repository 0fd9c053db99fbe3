#pragma once
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "groups/SettledSwitchboards.h"
#include "model/NodeResets.h"
#include "platform/Messages.h"
#include "refdb/CableTableLoader.h"
#include "selection/NetworkChecks.h"
#include "ui_TDan1.h"

class QEvent;
class QShowEvent;

// The group line window "Параметры групповых линий": the group lines of a panel are entered here,
// added to the project tree with their selections and checks, and either kept or taken back.
// Modeless, on top, of fixed size; opened by the main window for adding and by the edit dialog
// for editing (its buttons and caption tell the mode).
class TDan1 : public QDialog,
              public Ui::TDan1,
              public NodeResets,
              public CableTableLoader,
              public NetworkChecks {
    Q_OBJECT

public:
    explicit TDan1(QWidget* parent = nullptr);

    // Deviations at the consumer, % of 220 V: below the first a line is refused (a first
    // deviation at or below it has the cables reselected); from it up to the second the user is
    // asked whether to reduce it.
    static constexpr double kRefusedDeviation = -10.0;
    static constexpr double kAskedDeviation = -2.5;

    // --- State of group entry ---

    // Every group name of the project, in tree order.
    std::vector<std::string> GroupNames;
    // Copies of the current panel's SchemeGroupCount, SinglePhaseCount, TwoPhaseCount and
    // ThreePhaseCount: loaded when a panel is chosen, raised by the record builders and stored
    // into the panel by the adders.
    std::array<int, 4> GroupCountCopies{};
    // Records 1 and 2 of the project file: groups added so far (1 after start, never reset by
    // New) and 100 x GroupCounter + 700 after each group added (0 after New).
    int GroupCounter = 1;
    int GroupCounterCode = 0;
    // The new-panel remedy of a failed short-circuit check is under way (a new panel is connected
    // during the apply command): the connection window then closes itself after connecting the new
    // panel, without the project refresh of its "Закрыть". NewPanelDialogOpen: the remedy is
    // showing the connection window right now.
    std::uint8_t RemedyActive = 0;
    std::uint8_t NewPanelDialogOpen = 0;

    // The face of the edit mode: the layout of the entry of new lines without the panel row
    // (the edited line keeps its panel), "Изменить" and "Отменa" in the places of "Применить"
    // and "закрыть".
    void ShowEditFace();

    // Lists the panels of the current switchboard in ComboBox2 ("Щит №"), the last panel chosen
    // when it hangs on another panel; the switchboard's panel cursor ends on its last panel.
    void FillPanelNumbers();

    // --- Handlers ---

    // "Щит №": the chosen panel becomes current, its group counts are copied, and the power
    // system dialog lists the transformer base with the project's transformer chosen.
    void ComboBox2Change();
    // "Количество жил": the laying methods that fit, no laying method or table chosen, the load
    // kind free for 3 and 4 conductors.
    void ComboBox1Change();
    // "Способ прокладки": the cable tables that fit the laying method and the conductor count.
    void ComboBox3Change();
    // "Таблица (длительные токи)": a warning while no conductor count is chosen.
    void ComboBox4Change();
    // "Симметричная": power and cos phi can be typed again.
    void RadioButton1Click();
    // "Несимметричная": the per-phase dialog of the conductor count, filled from the edited group
    // in the edit mode.
    void RadioButton2Click();
    // "Применить": adds the group line (or the edited version), selects its equipment and checks
    // it; a refused line is taken back. The sender goes on to the refreshes it runs.
    void sledychiClick(QObject* sender = nullptr);
    // "Изменить" (edit mode): ChangeEditedLine.
    void cancelClick(QObject* sender = nullptr);
    // "закрыть": RefreshAndClose.
    void okClick(QObject* sender = nullptr);
    // The edited group line is taken out, the panel without it checked again, and the line added
    // anew from the entries through the apply command; a refused line comes back as it was. The
    // project is marked as changed.
    void ChangeEditedLine(QObject* sender);
    // The project refreshed and redrawn, no conductor count, laying method or table chosen, the
    // window closed.
    void RefreshAndClose(QObject* sender);
    // "Отменa": the edit dialog's undo copy is dropped and the window closes; nothing is redrawn.
    void Button1Click();
    // The window is activated: while no conductor count is chosen, no laying method or table is
    // offered.
    void FormActivate();

    // --- Input and records ---

    // The entries of the window, the reference tables a new line needs and the uniqueness of its
    // names, in a fixed order; the first failure is said and gives true. Needs the chosen panel
    // current; the cursors end where they were.
    bool ValidateInput();
    // The scheme record and the phase record of the entries (after ValidateInput accepted them);
    // each raises the window's count copy of its chain.
    TCxemaGrupd BuildGroupRecord();
    TFasaGrup1d BuildSinglePhaseRecord();
    TFasaGrup2d BuildTwoPhaseRecord();
    TFasaGrup3d BuildThreePhaseRecord();
    // Append a copy of the record to the chain of its class of the panel with that number, store
    // `count` as the panel's count of that chain and (phase records) distribute that chain over
    // the phases. The panel is current afterwards.
    void AddSchemeGroup(int panelNumber, int count, const TCxemaGrupd& record);
    void AddSinglePhaseGroup(int panelNumber, int count, const TFasaGrup1d& record);
    void AddTwoPhaseGroup(int panelNumber, int count, const TFasaGrup2d& record);
    void AddThreePhaseGroup(int panelNumber, int count, const TFasaGrup3d& record);

    // --- Reference data for the new loads ---

    // The cable table has no row for the current: "Для данной мощности, в таблице нет данных."
    // (a table that cannot be opened counts too, said by the loader) and true. During a panel
    // connection change of a panel that others hang on, the typed route length goes into the
    // saved panel copies instead of the message.
    bool CheckCurrentTableRow(const std::string& tableName, double current);
    // A current above 630 A: "Для данной мощности, нет данных для автомата." and true.
    bool CheckBreakerData(double current);
    // The transformer base ran out below the load: the message, and in the add mode the group
    // line is taken back and the project refreshed (FailureFlag set); true.
    bool TransformerDataMissing(bool baseRanOut, double load, double transformerPower);

    // --- Refresh and undo ---

    // The refresh after any change of the network or its group lines: the window closes, the
    // edit states end, elements without load lose their computed values, the cables, deviations
    // and short-circuit values of the whole project are selected again and the picture the
    // scheme window shows is drawn again. The cable and group name lists follow the tree.
    void ApplyAndRefresh(QObject* sender = nullptr);
    // The refresh's work on the project without ending anything: the window and the edit states
    // stay as they are.
    void RefreshProject();
    // Whether a refresh leaves alone the switchboards it finds as the last refresh left them
    // (the default), or selects every switchboard each time (the reference the faster way is
    // compared with).
    static void LimitRefreshesToChanges(bool limit);

    // While the window is open for entering new lines, the project is brought to what "закрыть"
    // leaves (refreshed, redrawn); the window stays open with its entries for the next line.
    // Whatever is written to the project file is written from that state.
    void SettleGroupEntry();
    // Takes the group line being added off its panel (only it, and only while it is in the
    // tree), lowers the panel's counts, copies them into the window and lists the group names of
    // the project again. The cursors stay.
    void RemoveLastGroup();
    // The name lists of the windows follow the tree: the cable names of the connection window
    // and this window's group names, in tree order.
    void ListNamesFromTree();
    // The cables of every switchboard, panel and group line by their currents, with the voltage
    // losses and deviations along the network, as opening a project computes them: no section is
    // raised. False at the first table lookup that fails (it said why).
    bool SelectCablesWithoutRaising();
    // Every fault current of the project for the sections in force, as the refresh computes
    // them, nothing raised (as opening a project computes them); returns the names of the group
    // lines whose breaker does not trip on the current at their end.
    std::vector<std::string> ComputeAllFaultCurrents();
    // After a refused edit: the group line as it was before the edit goes back into the panel
    // with the values the root, the switchboard and the panel had when the edit began.
    bool RestoreEditedGroup(TGrsed* switchboard, TSitid* panel);

    // --- New-panel remedy ---

    // A group line that failed its panel's or switchboard's short-circuit check moves to a new
    // panel that the user connects in the reduced connection window: the line leaves the panel,
    // the rest is checked again, the new panel takes the line with its marks and the number of
    // the panel it hangs on, its breakers and cables are chosen and checked, and the snapshots
    // describe the project with it. `separateBreaker`: the offer was of a new cable with a
    // separate breaker. Closing the connection window without a new panel counts as declining
    // the offer.
    void ConnectNewPanel(bool separateBreaker, TGrsed* switchboard, TCxemaGrupd scheme,
                         TFasaGrup1d single, TFasaGrup2d two, TFasaGrup3d three, TSitid* panel);

    // The deviation limit dialog ("Отклонение напряжения %"), made anew by each
    // ShowDeviationDialog, with its edit box and its button (selection/DeviationDialog.cpp).
    QPointer<QDialog> DeviationForm;
    QPointer<QLineEdit> DeviationEdit;
    QPointer<QPushButton> DeviationButton;
    // Builds the dialog, centred on the main window, its button connected to
    // ReduceMaxDeviation; returns the button. The caller shows the dialog.
    QPushButton* ShowDeviationDialog();
    // The button: reads the allowed deviation and raises the cross-sections to the current group
    // for it. A limit that is not a number is refused and the dialog stays open.
    void ReduceMaxDeviation();

    // The number of the panel chosen in ComboBox2 (its plain or hanging form); nothing when no
    // panel of the project is listed so.
    std::optional<int> ChosenPanelNumber() const;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    // Every closing (the close box, Escape, a command's own) in the edit mode ends the edit as
    // "Отменa" does, but the one of the edit command, which goes on with the window closed.
    void reject() override;
    // The user's closing (the close box, Escape) in the entry of new lines finishes as
    // "закрыть" does: the project refreshed and drawn again, the remedy's flag cleared.
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // What the last refresh left, and which switchboards the refresh under way selects (every
    // one when it is not limited, or once a pass changed a value they all read).
    SettledSwitchboards settled_;
    bool selectingAll_ = true;
    // Only the project's load changed: the losses reach every switchboard, the fault currents
    // and the raising until the breakers trip only the switchboards that changed.
    bool lossesReachAll_ = false;
    std::vector<const TGrsed*> selecting_;
    // A later round of the refresh, or the walk again after a raising: only these switchboards.
    std::optional<std::vector<const TGrsed*>> roundSelects_;
    SettledSwitchboards::Shared selectedWith_;
    // A cable pass of the refresh under way failed somewhere.
    bool passFailed_ = false;
    // Whether the refresh under way selects that switchboard: its losses and cables, or (not
    // `losses`) its short-circuit data.
    bool Selects(const TGrsed& sw, bool losses = true) const;
    // After a switchboard was selected: a change of the values every switchboard reads (the
    // transformer raised) reaches every switchboard from then on.
    void AfterSelecting();

    // The window is shown for entering new lines (not for editing one).
    bool EnteringNewLines() const;
    // The commands' own closing, which finishes nothing.
    void CloseQuietly();
    bool closingQuietly_ = false;

    // Set while the edit command closes the window in the middle of the edit.
    bool keepEditOnClose_ = false;

public:
    // The project's transformer and system short-circuit power as "Применить" found them (an
    // edit: as they were before the edited line was taken out); a refusal of the line puts them
    // back before the project is refreshed (the line, or the check of its panel without it, may
    // have raised the transformer). Empty outside the command.
    struct SupplyChoice {
        std::string transformer;
        double scPower = 0;
    };
    std::optional<SupplyChoice> SupplyBeforeLine;

private:
    struct Cursors {
        TGrsed* switchboard = nullptr;
        TSitid* panel = nullptr;
    };
    static Cursors CurrentCursors();
    static void SetCursors(const Cursors& cursors);

    // Opens the table chosen in ComboBox4; its conductor material (the name of its last field).
    std::string OpenChosenTable();

    // The body of "Применить"; false when a failure tail refreshed the project (the window then
    // stays closed), true when the closing steps are due.
    bool ApplyGroupLine(QObject* sender, std::optional<platform::WaitCursor>& hourglass);
    // Breakers, cables and short-circuit checks of the line just added (the hourglass is set
    // once the breaker dialogs are done); false when the command ended.
    bool SelectAndCheckEquipment(QObject* sender, int panelNumber, const Cursors& saved,
                                 std::optional<platform::WaitCursor>& hourglass);
    // The voltage deviation at the consumer; false when the line was refused.
    bool HoldDeviation(QObject* sender, const Cursors& saved);
    // The cable and loss passes of the current switchboard, panel and named group line.
    void RunFinalPasses(const std::string& groupName);
    // "Падение напряжения на потребителе более 10 %,..." of the change in progress.
    static void WarnVoltageRefusal();
    // Asks whether to reduce the deviation at the consumer; on Yes the deviation limit dialog
    // runs with the line current (`lineCurrent` makes it so). True when its button reduced the
    // deviation; false for "No" and for the dialog closed without its button.
    bool AskToReduceDeviation(double deviation, const std::function<void()>& lineCurrent);
    // Deviation at the consumer of a group line of the current panel, 220 V.
    double ConsumerDeviation(const TCxemaGrupd& group);

    // The group line being added goes and the project's values come back (add mode), or the
    // edited group comes back as it was (edit mode); then the refresh.
    void RollBackAdding(QObject* sender, const Cursors& saved, bool recalculate = true);
    void RollBackEditing(QObject* sender, bool recalculate = true);
    void RollBack(QObject* sender, const Cursors& saved);
    // A pass's table lookup could not be completed (it said why; FailureFlag set): the line is
    // taken back as after a refused check, and true.
    bool RolledBackAfterLookup(QObject* sender, const Cursors& saved);
    // Takes the group line being added off with its panel current; false when it is not in the
    // tree.
    bool TakeOffPendingGroup();

    // The count copies from the current panel.
    void CopyPanelCounts();
    // The rollback snapshots put back at those cursors, with the count copies of that panel.
    void RestoreSnapshotAt(const Cursors& at);

    // Steps of the new-panel remedy.
    // The rollback snapshots as the remedy found them (the project before the line came).
    struct RemedySnapshots {
        std::array<TGrsed, 2> switchboards;
        std::vector<TSitid> panels;
        int panelCount = 0;
    };
    void PutBackSnapshots(const RemedySnapshots& snapshots);
    // The line leaves its old panel and the rest is checked again; then the project without it
    // is the state to return to. False when the check again failed (nothing snapshot).
    bool TakeLineOffOldPanel(const Cursors& at, const std::string& groupName);
    // The reduced connection window for a new panel of the old panel's switchboard; true when
    // the user connected one.
    bool ShowNewPanelDialog(const Cursors& at);
    // The line's records as the remedy was offered them.
    struct MovedLine {
        const TCxemaGrupd& scheme;
        const TFasaGrup1d& single;
        const TFasaGrup2d& two;
        const TFasaGrup3d& three;
    };
    // The line appended to the new panel with the phase record of its kind, the new panel marked
    // (`tracked`: the line stays the change in progress), the lists filled and the project
    // recalculated. The new panel's cursors; none when its number is not in the project (the
    // remedy then ended with a failure).
    Cursors PlaceLineOnNewPanel(const Cursors& at, const MovedLine& line, bool separateBreaker,
                                int origin, bool tracked);
    // The new panel's breakers, then the cables and the deviation at the moved line's consumer
    // (raised, or reduced on the user's word); false when the line was refused and taken back.
    bool CheckLineOnNewPanel(const Cursors& at, const Cursors& atNew, bool adding,
                             const RemedySnapshots& beforeLine);
    // The project with the new panel becomes the state later failures return to.
    void KeepProjectWithNewPanel(const Cursors& at);
    void UndoAfterFailedRecheck(const Cursors& at, bool adding);
    void DeclineNewPanelDialog(const Cursors& at);
    bool ReselectNewPanelBreakers(const Cursors& at);
    // The remedy's line refused after it moved: taken off the new panel, which goes too, the
    // state before it came back (or the edited line as it was); FailureFlag set.
    void RefuseMovedGroup(const Cursors& at, TSitid* added);
    // The panel the remedy made, with whatever it holds, when it is still in the switchboard.
    void DropNewPanel(TGrsed* switchboard, TSitid* added);
    void EndRemedyWithFailure();

    // Steps of the refresh.
    void ResetUnloadedElements();
    // Every switchboard, panel and group line raised until its breaker trips, with the fault
    // current each line then has.
    void EnsureTripCurrents();
    // Every cross-section of each switchboard, in tree order.
    using SwitchboardSections = std::vector<std::pair<const TGrsed*, std::vector<double>>>;
    // The cable pass with each line raised towards the deviation it had; when that changed a
    // section, the pass again without raising, so that every line's deviation and every loss is
    // that of the sections as they end. Returns the sections it ends with.
    SwitchboardSections SelectCablesAndDeviations();
    // One walk of the cable pass; `raise` raises each line's sections towards the deviation it
    // had before. False when a lookup failed (with `raise`, the walk goes on after it).
    bool CablePass(bool raise);
    void ComputeShortCircuitCurrents();
    // The three fault currents of the switchboard and of each of its panels, and each group
    // line's single-phase current at its end, for the sections in force and the transformer (none:
    // all 0); nothing is raised.
    void StoreFaultCurrents(TGrsed& sw, const selection::TransformerRow* t);
    void RedrawPicture();
};

extern TDan1* Dan1;
