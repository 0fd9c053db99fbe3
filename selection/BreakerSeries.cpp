// The breaker series of a node: the lists of the series of the breaker base that can carry the
// node's rating (a rating beyond the base refuses the change), and the breaker dialog that keeps
// the stored series or lets one be chosen.
#include <algorithm>

#include "model/Cascades.h"
#include "platform/Conversions.h"
#include "platform/Messages.h"
#include "platform/ProgramFolder.h"
#include "selection/CheckSupport.h"
#include "selection/CheckWindows.h"
#include "selection/CurrentSeries.h"
#include "selection/NetworkChecks.h"
#include "selection/SelectionSupport.h"

namespace {

constexpr char kWarning[] = "Предупреждение";
constexpr char kBeyondSeriesText[] =
    "Максимальный номинальный ток автомата 4000 А.Ввод группы отменяется";
constexpr char kNoSuchBreaker[] =
    "  В базе данных нет такого автомата. Открыть базу данных для редактирования?";
constexpr char kNoPanelBreaker[] =
    "В базе данных нет нужного автомата. Открыть базу данных для редактирования?";

// Sections named in the not-found question.
constexpr char kTransformerSection[] = " На участке трансформатор- Вру";
constexpr char kGroupSection[] = " На участке группа - щит";
constexpr char kSwitchboardSection[] = " На участке Грщ - Вру";

const std::vector<int> kThreePoles = {3};

using cascades::InCascade;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Series lists

bool NetworkChecks::RefuseBeyondSeries(double rating) {
    if (rating != selection::kBeyondSeries) return false;
    // The edit has been taken back for this already: the user is not told twice.
    if (selection::EditTakenBack()) return true;
    platform::MessageBox(kBeyondSeriesText, kWarning, platform::MsgButtons::Ok,
                         platform::MsgIcon::None);
    CancelEditing();
    return true;
}

bool NetworkChecks::AskForBreakerBase(const std::string& text) {
    // The edit has been taken back already: the user has been asked once.
    if (selection::EditTakenBack()) return false;
    const int answer = platform::MessageBox(text, kWarning, platform::MsgButtons::YesNo,
                                            platform::MsgIcon::Warning);
    // The change is taken back before the base is opened; editing the base does not resume it.
    CancelEditing();
    if (answer == platform::mrYes) selection::ShowBreakerBase();
    return false;
}

bool NetworkChecks::ListSeries(double low, double high, const std::vector<int>& poles,
                               const std::string& section, bool panelTexts) {
    const std::optional<std::vector<selection::BreakerRow>> rows = selection::LoadBreakerRows();
    if (!rows) {
        // Without a breaker base there is nothing to list, and no series of another node stays
        // in the list to be stored.
        selection::SetBreakerSeriesList({});
        return true;
    }
    std::vector<std::string> fitting;
    for (const selection::BreakerRow& row : *rows) {
        if (row.maxRating >= high && row.minRating <= low &&
            std::find(poles.begin(), poles.end(), row.poles) != poles.end())
            fitting.push_back(row.series);
    }
    selection::SetBreakerSeriesList(fitting);
    const std::string notFound =
        "Номинальный ток автомата " + platform::FloatToStr(high) + " A." + section + kNoSuchBreaker;
    const double largest = rows->empty() ? 0.0 : rows->back().maxRating;
    if (largest < high) return AskForBreakerBase(notFound);
    if (fitting.empty()) return AskForBreakerBase(panelTexts ? kNoPanelBreaker : notFound);
    return true;
}

bool NetworkChecks::SelectTrunkBreaker() {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    if (!ProjectRoot || !sw || !panel) return false;
    // The trunk breaker is the cascade head's; a panel outside any cascade stands for itself.
    TSitid* head = selection::CascadeHeadOf(*sw, panel);
    TSitid* node = head ? head : panel;
    const double rating = node->TrunkBreakerRating;
    if (rating == 0.0) {
        node->TrunkBreakerType.clear();
        if (node->FedFromSwitchboard) {
            for (TSitid* q : chains::Elements(sw->Panels, chains::PanelLink{}, sw->PanelCount))
                if (q->FedFromPanel && q->CascadeHeadNumber == node->PanelNumber)
                    q->PanelBreakerType.clear();
        }
        sw->Panels.Cursor = panel;
        return false;
    }
    sw->Panels.Cursor = panel;
    if (RefuseBeyondSeries(rating)) return false;
    platform::MakeProgramFolderCurrent();
    return ListSeries(rating, rating, kThreePoles, "", false);
}

bool NetworkChecks::SelectPanelBreakers() {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    if (!ProjectRoot || !sw || !panel) return false;
    if (RefuseBeyondSeries(panel->FeederBreakerRating == selection::kBeyondSeries
                               ? panel->FeederBreakerRating
                               : panel->PanelBreakerRating))
        return false;
    platform::MakeProgramFolderCurrent();
    if (panel->SchemeGroupCount == 0) {
        panel->FeederBreakerRating = panel->PanelBreakerRating = panel->CascadeBreakerRating = 0.0;
        panel->PanelBreakerType.clear();
        return true;
    }
    const double low = panel->PanelBreakerRating;
    double high = panel->FeederBreakerRating;
    if (panel->OnTrunk)
        high = panel->CascadeBreakerRating;
    else if (InCascade(*panel))
        high = panel->PanelBreakerRating;
    return ListSeries(low, high, kThreePoles, "", true);
}

bool NetworkChecks::SelectTransformerVruBreaker() {
    TGrsed* root = ProjectRoot;
    if (!root) return false;
    const double rating = root->TransformerBreakerRating;
    if (rating == 0.0) return false;
    if (RefuseBeyondSeries(rating)) return false;
    platform::MakeProgramFolderCurrent();
    return ListSeries(rating, rating, kThreePoles, kTransformerSection, false);
}

bool NetworkChecks::SelectGroupPanelBreaker() {
    TSitid* panel = selection::CurrentPanel();
    TCxemaGrupd* group = panel ? panel->SchemeGroups.Cursor : nullptr;
    if (!ProjectRoot || !group) return false;
    const double rating = group->BreakerRating;
    if (rating == 0.0) return false;
    if (RefuseBeyondSeries(rating)) return false;
    platform::MakeProgramFolderCurrent();
    std::vector<int> poles;
    if (group->PhaseKind == 2) poles = {1};
    if (group->PhaseKind == 3) poles = {2};
    if (group->PhaseKind == 4) poles = {3, 4};
    return ListSeries(rating, rating, poles, kGroupSection, false);
}

bool NetworkChecks::SelectSwitchboardVruBreaker() {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!ProjectRoot || !sw) return false;
    if (sw->PanelCount == 0) return true;
    if (sw->SwitchboardInputRating == 0.0) return true;
    if (RefuseBeyondSeries(sw->SwitchboardInputRating)) return false;
    platform::MakeProgramFolderCurrent();
    return ListSeries(sw->SwitchboardBreakerRating, sw->SwitchboardInputRating, kThreePoles,
                      kSwitchboardSection, false);
}

// ---------------------------------------------------------------------------------------------
// Breaker dialogs

void NetworkChecks::OfferBreakerChoice(const std::string& stored, double rating, bool noChoice) {
    // A missing breaker file leaves the base as it was loaded last.
    const std::optional<std::vector<selection::BreakerRow>> loaded = selection::LoadBreakerRows();
    const std::vector<selection::BreakerRow> rows = loaded ? *loaded : selection::BreakerRows();
    if (!stored.empty() && !rows.empty()) {
        // The base lists a series in a row for each range of its ratings: the stored series
        // stands when any of its rows reaches the rating. A series the base no longer holds is
        // measured by the last row.
        bool listed = false;
        bool reaches = false;
        for (const selection::BreakerRow& r : rows) {
            if (r.series != stored) continue;
            listed = true;
            reaches = reaches || !(r.maxRating < rating);
        }
        if (!listed) reaches = !(rows.back().maxRating < rating);
        if (reaches) return;  // the stored series stands
    }
    if (noChoice) return;
    selection::RunBreakerDialog(selection::AutomaticBreakers());
}

void NetworkChecks::ShowGroupBreakerDialog() {
    platform::MakeProgramFolderCurrent();
    TSitid* panel = selection::CurrentPanel();
    TCxemaGrupd* group = panel ? panel->SchemeGroups.Cursor : nullptr;
    if (!group) return;
    selection::SetBreakerDialogCaptions("Группы", "Группа", std::nullopt);
    OfferBreakerChoice(group->BreakerType, group->BreakerRating, group->Power == 0);
}

void NetworkChecks::ShowMainBreakerDialog() {
    TGrsed* sw = selection::CurrentSwitchboard();
    TSitid* panel = selection::CurrentPanel();
    if (!ProjectRoot || !sw || !panel) return;
    // The current panel stays current on every path: the panel's own breaker is chosen next.
    selection::PanelCursorKeeper keep(sw);
    TSitid* head = selection::CascadeHeadOf(*sw, panel);
    TSitid* node = head ? head : panel;
    sw->Panels.Cursor = node;
    platform::MakeProgramFolderCurrent();
    selection::SetBreakerDialogCaptions("Магистральный автомат", "", "Тип автомата");
    if (node->TrunkBreakerRating == 0.0) return;
    const bool loaded = CascadeHasGroups(node);
    sw->Panels.Cursor = panel;
    OfferBreakerChoice(node->TrunkBreakerType, node->TrunkBreakerRating, !loaded);
}

void NetworkChecks::ShowPanelBreakerDialog() {
    TSitid* panel = selection::CurrentPanel();
    if (!ProjectRoot || !panel) return;
    platform::MakeProgramFolderCurrent();
    selection::SetBreakerDialogCaptions("Щит", "Щит№ " + platform::IntToStr(panel->PanelNumber),
                                        "Тип автомата");
    OfferBreakerChoice(panel->PanelBreakerType, panel->FeederBreakerRating,
                       panel->SchemeGroupCount == 0);
}

void NetworkChecks::ShowSwitchboardBreakerDialog() {
    TGrsed* sw = selection::CurrentSwitchboard();
    if (!sw) return;
    platform::MakeProgramFolderCurrent();
    selection::SetBreakerDialogCaptions("Грщ", "Грщ№ " + platform::IntToStr(sw->SwitchboardNumber),
                                        std::nullopt);
    OfferBreakerChoice(sw->SwitchboardBreakerType, sw->SwitchboardInputRating,
                       sw->SwitchboardInstalledPower == 0.0);
}

void NetworkChecks::ShowSectionBreakerDialog() {
    TGrsed* root = ProjectRoot;
    if (!root) return;
    platform::MakeProgramFolderCurrent();
    selection::SetBreakerDialogCaptions("Секция КТП", "Секция КТП", std::nullopt);
    OfferBreakerChoice(root->SectionBreakerType, root->TransformerBreakerRating,
                       root->TotalInstalledPower == 0.0);
}
