#include "documents/JournalRows.h"

#include "model/Cascades.h"
#include "model/Chains.h"
#include "model/Classd.h"
#include "platform/Conversions.h"

using platform::FloatToStr;
using platform::IntToStr;

namespace {

using cascades::InCascade;

// The phase section of a panel's feeder: the cascade's for a cascade head or member.
double PanelFeederSection(const TSitid& panel) {
    return InCascade(panel) ? panel.FeederSection2 : panel.FeederSection;
}

std::string FeederSectionText(double phase, double neutral) {
    return "3x" + FloatToStr(phase) + "+1x" + FloatToStr(neutral);
}

std::string GroupSectionText(const TCxemaGrupd& group) {
    return IntToStr(group.PhaseKind) + " x " + FloatToStr(group.CrossSection);
}

// Walks the switchboards, their panels and the panels' group lines as the journals do, each
// chain from its first element and bounded by its stored count.
class JournalWalk {
public:
    JournalWalk(TGrsed& root, int kind, int number) : root_(root), kind_(kind), number_(number) {}

    std::vector<JournalEntry> Run() {
        switch (kind_) {
            case GeneralJournal:
                SwitchboardFeeders();
                chains::ForEachSwitchboard(root_, [&](TGrsed& sw) { PanelFeeders(sw); });
                chains::ForEachSwitchboard(root_, [&](TGrsed& sw) {
                    chains::ForEachPanelOf(sw, sw.PanelCount,
                                           [&](TSitid& panel) { GroupLines(sw, panel); });
                });
                break;
            case SectionJournal:
                SwitchboardFeeders();
                break;
            case SwitchboardJournal:
                chains::ForEachSwitchboard(root_, [&](TGrsed& sw) {
                    if (sw.SwitchboardNumber == number_) PanelFeeders(sw);
                });
                break;
            case PanelJournal:
                chains::ForEachSwitchboard(root_, [&](TGrsed& sw) {
                    chains::ForEachPanelOf(sw, sw.PanelCount, [&](TSitid& panel) {
                        if (panel.PanelNumber == number_) GroupLines(sw, panel);
                    });
                });
                break;
            default:
                break;
        }
        return std::move(entries_);
    }

private:
    void SwitchboardFeeders() {
        chains::ForEachSwitchboard(root_, [&](TGrsed& sw) {
            JournalEntry entry;
            entry.cable = JournalEntry::SwitchboardFeeder;
            entry.switchboard = &sw;
            entries_.push_back(entry);
        });
    }

    void PanelFeeders(TGrsed& sw) {
        chains::ForEachPanelOf(sw, sw.PanelCount, [&](TSitid& panel) {
            JournalEntry entry;
            entry.cable = JournalEntry::PanelFeeder;
            entry.switchboard = &sw;
            entry.panel = &panel;
            entry.start = panel.OnTrunk ? JournalEntry::FromSection : JournalEntry::FromSwitchboard;
            // A cascade member's cable comes from the panel that feeds it, wherever that panel
            // stands in the chain.
            if (panel.FedFromPanel && panel.FeedingPanelNumber != 0) {
                entry.start = JournalEntry::FromPanel;
                entry.startPanel = panel.FeedingPanelNumber;
            }
            entries_.push_back(entry);
        });
    }

    void GroupLines(TGrsed& sw, TSitid& panel) {
        chains::StepCursor(panel.SchemeGroups, chains::SchemeLink{}, panel.SchemeGroupCount,
                           [&](TCxemaGrupd& group) {
                               JournalEntry entry;
                               entry.cable = JournalEntry::GroupLine;
                               entry.switchboard = &sw;
                               entry.panel = &panel;
                               entry.group = &group;
                               entries_.push_back(entry);
                           });
    }

    TGrsed& root_;
    int kind_;
    int number_;
    std::vector<JournalEntry> entries_;
};

// The start of a panel feeder's route in the page and report wording.
std::string PageStart(const JournalEntry& entry) {
    switch (entry.start) {
        case JournalEntry::FromSection:
            return "Секция КТП ";
        case JournalEntry::FromPanel:
            return "Щит №" + IntToStr(entry.startPanel);
        default:
            return "ГРЩ № " + IntToStr(entry.switchboard->SwitchboardNumber);
    }
}

// Section and length of a panel feeder; both empty while it has no phase section.
std::vector<std::string> PanelFeederSize(const TSitid& panel) {
    const double section = PanelFeederSection(panel);
    if (section == 0.0) return {"", ""};
    return {FeederSectionText(section, panel.FeederNeutralSection), FloatToStr(panel.FeederLength)};
}

}  // namespace

std::vector<JournalEntry> JournalEntries(TGrsed& root, int journalKind, int number) {
    return JournalWalk(root, journalKind, number).Run();
}

std::vector<std::string> JournalGridRow(const JournalEntry& entry, int rowNumber) {
    const std::string n = IntToStr(rowNumber);
    switch (entry.cable) {
        case JournalEntry::SwitchboardFeeder: {
            const TGrsed& sw = *entry.switchboard;
            return {n,
                    sw.SwitchboardCableName,
                    "Секция КТП",
                    "Грщ №" + IntToStr(sw.SwitchboardNumber),
                    sw.SwitchboardCableBrand,
                    FeederSectionText(sw.SwitchboardSection, sw.SwitchboardNeutralSection),
                    FloatToStr(sw.SwitchboardFeederLength)};
        }
        case JournalEntry::PanelFeeder: {
            const TSitid& panel = *entry.panel;
            std::string start = "Грщ №" + IntToStr(entry.switchboard->SwitchboardNumber);
            if (entry.start == JournalEntry::FromSection) start = "Секция КТП";
            if (entry.start == JournalEntry::FromPanel)
                start = "Щит №" + IntToStr(entry.startPanel);
            const std::vector<std::string> size = PanelFeederSize(panel);
            return {n,
                    panel.FeederCableName,
                    start,
                    "Щит №" + IntToStr(panel.PanelNumber),
                    panel.FeederCableBrand,
                    size[0],
                    size[1]};
        }
        case JournalEntry::GroupLine:
        default: {
            const TCxemaGrupd& group = *entry.group;
            return {n,
                    group.CableName,
                    "Щит№ " + IntToStr(entry.panel->PanelNumber),
                    group.GroupName,
                    group.CableBrand,
                    GroupSectionText(group),
                    FloatToStr(group.LineLength)};
        }
    }
}

std::vector<std::string> JournalPageRow(const JournalEntry& entry, int journalKind) {
    switch (entry.cable) {
        case JournalEntry::SwitchboardFeeder: {
            const TGrsed& sw = *entry.switchboard;
            const std::string end = "ГРЩ № " + IntToStr(sw.SwitchboardNumber);
            return {sw.SwitchboardCableName,
                    "Секция КТП",
                    end,
                    "Секция КТП - " + end,
                    sw.SwitchboardCableBrand,
                    FeederSectionText(sw.SwitchboardSection, sw.SwitchboardNeutralSection),
                    FloatToStr(sw.SwitchboardFeederLength)};
        }
        case JournalEntry::PanelFeeder: {
            const TSitid& panel = *entry.panel;
            const std::string start = PageStart(entry);
            const std::string number = IntToStr(panel.PanelNumber);
            const std::vector<std::string> size = PanelFeederSize(panel);
            return {panel.FeederCableName,
                    start,
                    "Щит № " + number,
                    start + " - " + "Щит№" + number,
                    panel.FeederCableBrand,
                    size[0],
                    size[1]};
        }
        case JournalEntry::GroupLine:
        default: {
            const TCxemaGrupd& group = *entry.group;
            const std::string number = IntToStr(entry.panel->PanelNumber);
            const bool panelJournal = journalKind == PanelJournal;
            return {group.CableName,
                    "Щит № " + number,
                    (panelJournal ? "гр " : "гр-") + group.GroupName,
                    "Щит№" + number + (panelJournal ? " - гр " : " - гр.") + group.GroupName,
                    group.CableBrand,
                    GroupSectionText(group),
                    FloatToStr(group.LineLength)};
        }
    }
}

std::vector<std::string> JournalReportRow(const JournalEntry& entry, int journalKind) {
    std::vector<std::string> cells = JournalPageRow(entry, journalKind);
    cells.resize(kJournalReportCells);
    return cells;
}
