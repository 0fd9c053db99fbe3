#pragma once
#include <QDialog>
#include <string>
#include <vector>

#include "editing/SavedGroupTables.h"
#include "model/Classd.h"
#include "selection/TemperatureCorrection.h"
#include "ui_TShiti.h"

// The window "Щиты": its upper box "Соединение ВРУ - ГРЩ" connects a new main switchboard to the
// substation section with its feeder cable, its lower box "Соединение щитов" connects a new panel
// to a main switchboard, radially or behind the last panel of a trunk (TFormMagistral). Laid out
// otherwise, it is the editor of one panel or one main switchboard, and the dialog in which the
// new-panel remedy of the group line entry connects its panel.
class TShiti : public QDialog, public Ui::TShiti, public CableCurrentCorrection {
    Q_OBJECT

public:
    explicit TShiti(QWidget* parent = nullptr);

    // Every opener sets the whole layout of its mode: captions, border icons, sizes, which
    // controls show, where they stand and which are enabled.
    enum class Layout {
        // Both boxes, shown modally by "Установка щитов" and by File > New; "Закрыть" and the
        // close box end it. No table and no main switchboard chosen, "Схема соединения" on
        // "Радиальная" and disabled, the main switchboard connection selected.
        Connection,
        // "Щиты (редактирование)": the panel box with "Изменить" and "Отменить".
        PanelEdit,
        // "Грщ.(редактирование)": the main switchboard box with "Изменить" and "Отменить".
        SwitchboardEdit,
        // The new-panel remedy: table, laying method, panel number and cable name of the new
        // panel and "Соединить", nothing else; the close box declines the new panel.
        NewPanelRemedy,
    };
    void SetLayout(Layout layout);
    Layout CurrentLayout() const { return layout_; }

    // --- Handlers ---

    // The main switchboard connection selected (RadioButton1) or the panel connection
    // (RadioButton2).
    void RadioButton1Click();
    void RadioButton2Click();
    // A main switchboard chosen for the new panel: its panel count, and "Схема соединения" usable
    // only when it has panels (set back to "Радиальная" either way).
    void ComboBox2Change();
    // "Схема соединения": "Радиальная" clears the trunk choice; "Магистральная" lists the panels
    // the new panel can hang on and shows the trunk dialog.
    void RadioGroup1Click();
    // A laying method chosen: the cable tables that fit it, for the main switchboard's feeder
    // (ComboBox4 -> ComboBox1) and for the panel's (ComboBox5 -> ComboBox3).
    void ComboBox4Change();
    void ComboBox5Change();
    // "Закрыть": the feeds of changed switchboards repaired, every trunk reordered, then the
    // project refreshed (not during the new-panel remedy).
    void Button1Click();
    // "Соединить" of the main switchboard box and of the panel box.
    void Button2Click();
    void Button4Click();
    // "Отменить" of the main switchboard box and of the panel box: the edit ends, nothing
    // changed.
    void Button3Click();
    void Button5Click();
    // "Изменить" of the panel box and of the main switchboard box.
    void Button6Click();
    void Button7Click();

    // --- Changing a connection ---

    // The edited panel's new entries: its number and cable name patched where it stands, or,
    // when the feeder, its table or the demand factor changed, the panel rebuilt with its group
    // lines (those of the panels hanging on it folded in), each checked; a refused rebuild puts
    // the panel back as it was.
    void ChangePanelConnection();
    // The edited main switchboard's new entries: its number and cable name patched, or the
    // switchboard connected anew at the end of the chain with its panels and group lines, each
    // checked; a refused re-creation rebuilds the old one from its copies.
    void ChangeSwitchboardConnection();
    // Puts the panel, its group lines, the panels hanging on it, its switchboard's and the
    // root's own fields back from the edit dialog's copies, and removes the panels the new-panel
    // remedy made meanwhile.
    void RestorePanelFromSnapshot(TSitid* panel);

    // --- Connecting ---

    // Checks the main switchboard's entries in their order, showing the message of the first that
    // fails. On success the number is added to ComboBox2.
    bool ValidateSwitchboardConnection();
    // Appends the new main switchboard with its feeder to the project. False, with nothing
    // changed, when its cable table cannot be opened.
    bool ConnectSwitchboardToVru();
    // Checks the new panel's entries in their order, showing the message of the first that fails.
    bool ValidatePanelConnection();
    // Appends the new panel to the chosen main switchboard, radially or as the next member of the
    // chosen trunk; a trunk member gets its breakers and cables at once. False when its cable
    // table cannot be opened (nothing changed) or when no breaker series fits the new trunk
    // member (the panel stays connected).
    bool ConnectPanelToSwitchboard();

    // Every feeder cable name in use in the project (main switchboards, panels and group lines),
    // in tree order.
    std::vector<std::string> CableNames;
    // Equal to the root's SwitchboardCount.
    int SwitchboardCounter = 0;
    // Panels of the switchboard chosen in ComboBox2.
    int PanelCounter = 0;
    // The user chose, on changing a panel's connection or a main switchboard, to have the
    // breakers set automatically.
    bool AutoBreakers = false;
    // The panel whose connection is being changed.
    TSitid* PanelToRestore = nullptr;

protected:
    // Closing by the close box or Escape in the connection layout ends as "Закрыть" does.
    void done(int result) override;

private:
    // The steps of a panel rebuild and of a switchboard re-creation.
    bool ValidatePanelEdit();
    void RebuildPanel(double demandFactor);
    bool ReAddPanelGroups(TSitid* panel, int count, const SavedGroupTables& tables, int position,
                          double demandFactor, bool automatic);
    void AbandonPanelEdit(bool tableRefused);
    void RecreateSwitchboard();
    // The switchboard the edit window names in its list; null when it is no longer in the
    // project.
    TGrsed* ChosenEditedSwitchboard() const;
    // The switchboard's plain panels again from the copies (those that hung on another panel are
    // folded into it), without their group lines, each cascade in order; the number of copies.
    int AddPlainPanelsAgain(TGrsed& s);
    // The group lines again from the copies, panel by panel from the last one, each selected,
    // checked and recalculated as a line entered; false when a check refused one.
    bool AddGroupLinesAgain(TGrsed* s, int copyCount, bool automatic);
    void AbandonSwitchboardEdit();

    // Set while "Изменить" runs: closing the window then does not end the edit.
    bool applying_ = false;

    void SetBorderIcons(bool closeBox);
    // The number of the main switchboard chosen in ComboBox2; false when none is.
    bool ChosenSwitchboardNumber(int& number) const;
    // The switchboard's panel list in the trunk dialog: plain panels and the ends of trunks.
    std::vector<std::string> TrunkEnds(int switchboardNumber);
    // Marks the upstream panel of a trunk connection as the trunk's head when it is a plain
    // panel; returns the head's number (0 for a radial connection).
    int TakeTrunkHead(int upstream, bool sameSection);
    // Breakers and cables of a new trunk member (the current panel).
    bool SelectTrunkEquipment(TGrsed* sw, TSitid* panel);

    // The controls of the two boxes, the boxes and "Закрыть", and where the form places them.
    std::vector<QWidget*> Controls() const;
    std::vector<std::pair<QWidget*, QRect>> design_;
    Layout layout_ = Layout::Connection;
};

extern TShiti* Shiti;

// The record every new panel is appended from; it lives for the whole run of the program.
extern TSitid NewPanelTemplate;
