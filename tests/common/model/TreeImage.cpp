#include "TreeImage.h"

#include <algorithm>
#include <cmath>
#include <iomanip>
#include <sstream>

#include "model/Chains.h"
#include "platform/Conversions.h"

namespace {

template <typename Fields, typename T, typename Link>
void Collect(std::vector<Fields>& out, std::vector<int>& lengths, const ChainBlock<T>& chain,
             Link link, double Fields::*sectionCopy = nullptr) {
    int n = 0;
    for (T* e = chain.First; e; e = link(*e).Next, ++n) {
        out.push_back(static_cast<Fields&>(*e));
        if (sectionCopy) out.back().*sectionCopy = 0;
    }
    lengths.push_back(n);
}

TreeImage Image(const TGrsed& root, bool resultSectionCopies) {
    TreeImage image;
    image.boards.push_back(root);
    for (TGrsed* sw = root.Switchboards.First; sw; sw = sw->Switchboards.Next) {
        image.boards.push_back(*sw);
        for (TSitid* p = sw->Panels.First; p; p = p->Panels.Next) {
            image.panels.push_back(*p);
            Collect(image.scheme, image.chainLengths, p->SchemeGroups, chains::SchemeLink{});
            Collect(image.single, image.chainLengths, p->SinglePhaseGroups,
                    chains::SinglePhaseLink{});
            Collect(image.two, image.chainLengths, p->TwoPhaseGroups, chains::TwoPhaseLink{});
            Collect(image.three, image.chainLengths, p->ThreePhaseGroups, chains::ThreePhaseLink{});
            const auto copy = [&](auto field) { return resultSectionCopies ? nullptr : field; };
            for (int x = 0; x < 3; ++x) {
                Collect(image.single, image.chainLengths, p->SinglePhaseByPhase[x],
                        chains::SinglePhaseByPhaseLink{x},
                        copy(&TFasaGrup1dFields::AllowedCurrent1));
                Collect(image.two, image.chainLengths, p->TwoPhaseByPhase[x],
                        chains::TwoPhaseByPhaseLink{x}, copy(&TFasaGrup2dFields::AllowedCurrent2));
                Collect(image.three, image.chainLengths, p->ThreePhaseByPhase[x],
                        chains::ThreePhaseByPhaseLink{x},
                        copy(&TFasaGrup3dFields::AllowedCurrent3));
            }
        }
    }
    return image;
}

}  // namespace

TreeImage ImageOf(const TGrsed& root) {
    return Image(root, true);
}

TreeImage ImageWithoutResultSectionCopies(const TGrsed& root) {
    return Image(root, false);
}

namespace {

template <typename T>
std::string Differs(const char* what, const std::vector<T>& a, const std::vector<T>& b) {
    if (a.size() != b.size()) return std::string(what) + ": another number of records";
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!(a[i] == b[i]))
            return std::string(what) + " " + platform::IntToStr(static_cast<long long>(i));
    return std::string();
}

}  // namespace

std::string FirstDifference(const TreeImage& a, const TreeImage& b) {
    for (const std::string& found :
         {Differs("switchboard (0: the root)", a.boards, b.boards),
          Differs("panel", a.panels, b.panels), Differs("scheme record", a.scheme, b.scheme),
          Differs("single-phase record", a.single, b.single),
          Differs("two-phase record", a.two, b.two),
          Differs("three-phase record", a.three, b.three),
          Differs("chain length", a.chainLengths, b.chainLengths)})
        if (!found.empty()) return found;
    return std::string();
}

namespace {

// Every field of each record level by name. A field added to a level in model/Classd.h belongs
// here too; a difference in a field missing here is still reported, as "a field not listed".

#define CXEMAGRUPD_FIELDS(F)   \
    F(Power)                   \
    F(CosPhi)                  \
    F(LineLength)              \
    F(DesignCurrent)           \
    F(MaxPhaseCurrent)         \
    F(CrossSection)            \
    F(BreakerRating)           \
    F(BreakerType)             \
    F(CableBrand)              \
    F(LayingMethod)            \
    F(CableTable)              \
    F(ConductorMaterial)       \
    F(SpareValue)              \
    F(VoltageDeviation)        \
    F(SinglePhaseFaultCurrent) \
    F(PhaseKind)               \
    F(AmbientTemperature)      \
    F(GroupName)               \
    F(CableName)               \
    F(AllowedSections)         \
    F(AllowedSectionCount)

#define FASAGRUP1D_FIELDS(F) \
    F(Power1)                \
    F(CosPhi1)               \
    F(LineLength1)           \
    F(Current1)              \
    F(PhaseCurrentA1)        \
    F(PhaseCurrentB1)        \
    F(PhaseCurrentC1)        \
    F(AllowedCurrent1)       \
    F(SavedValue1)           \
    F(PhaseKind1)            \
    F(VoltageLoss1)          \
    F(ConsumerVoltageLoss1)  \
    F(CableBrand1)           \
    F(GroupName1)            \
    F(CableTable1)           \
    F(ConductorMaterial1)

#define FASAGRUP2D_FIELDS(F) \
    F(Symmetric2)            \
    F(Power2)                \
    F(SpareExtended1)        \
    F(SpareExtended2)        \
    F(SpareExtended3)        \
    F(PartPowers)            \
    F(PartCosPhi)            \
    F(CosPhi2)               \
    F(LineLength2)           \
    F(SpareValue2)           \
    F(CurrentA)              \
    F(CurrentB)              \
    F(CurrentC)              \
    F(AllowedCurrent2)       \
    F(SavedValue2)           \
    F(VoltageLoss2)          \
    F(ConsumerVoltageLoss2)  \
    F(CableBrand2)           \
    F(CableTable2)           \
    F(PhaseKind2)            \
    F(PhaseUsed)             \
    F(GroupName2)            \
    F(ConductorMaterial2)

#define FASAGRUP3D_FIELDS(F) \
    F(Symmetric3)            \
    F(Power3)                \
    F(PhasePowers)           \
    F(CosPhi3)               \
    F(PhaseCosPhi)           \
    F(LineLength3)           \
    F(SpareValue3)           \
    F(CurrentA3)             \
    F(CurrentB3)             \
    F(CurrentC3)             \
    F(AllowedCurrent3)       \
    F(SavedValue3)           \
    F(VoltageLoss3)          \
    F(ConsumerVoltageLoss3)  \
    F(PhaseNumber)           \
    F(PhaseKind3)            \
    F(GroupName3)            \
    F(CableTable3)           \
    F(CableBrand3)           \
    F(ConductorMaterial3)

#define SITID_FIELDS(F)        \
    F(PanelNumber)             \
    F(HangsOnPanel)            \
    F(SchemeGroupCount)        \
    F(SinglePhaseCount)        \
    F(TwoPhaseCount)           \
    F(ThreePhaseCount)         \
    F(RowsOfThree)             \
    F(Position)                \
    F(CascadeSequence)         \
    F(CascadeEnd)              \
    F(SectionIndex)            \
    F(OnTrunk)                 \
    F(PanelFlagB)              \
    F(PanelFlagC)              \
    F(RebuildMark)             \
    F(CurrentTableName)        \
    F(FeederCableName)         \
    F(PanelBreakerRating)      \
    F(TrunkBreakerRating)      \
    F(FeederBreakerRating)     \
    F(CascadeBreakerRating)    \
    F(PanelBreakerType)        \
    F(TrunkBreakerType)        \
    F(FeederSection)           \
    F(FeederNeutralSection)    \
    F(FeederSectionByCurrent)  \
    F(FeederLayingMethod)      \
    F(FeederSection2)          \
    F(FeederLength)            \
    F(CascadeLength)           \
    F(FeederTemperature)       \
    F(FeedingPanelNumber)      \
    F(CascadeHeadNumber)       \
    F(FedFromPanel)            \
    F(FedFromSwitchboard)      \
    F(CascadeFlag)             \
    F(FeederCableBrand)        \
    F(FeederConductorMaterial) \
    F(OwnCurrentA)             \
    F(OwnCurrentB)             \
    F(OwnCurrentC)             \
    F(OwnNeutralCurrent)       \
    F(OwnDesignCurrent)        \
    F(CascadeDesignCurrent)    \
    F(CascadeCurrentA)         \
    F(CascadeCurrentB)         \
    F(CascadeCurrentC)         \
    F(CascadeNeutralCurrent)   \
    F(FeederCurrentA)          \
    F(FeederCurrentB)          \
    F(FeederCurrentC)          \
    F(FeederNeutralCurrent)    \
    F(PanelCosPhiA)            \
    F(PanelCosPhiB)            \
    F(PanelCosPhiC)            \
    F(PanelCosPhi)             \
    F(CascadeCosPhiA)          \
    F(CascadeCosPhiB)          \
    F(CascadeCosPhiC)          \
    F(CascadeCosPhi)           \
    F(PanelPowerA)             \
    F(PanelPowerB)             \
    F(PanelPowerC)             \
    F(CascadePowerA)           \
    F(CascadePowerB)           \
    F(CascadePowerC)           \
    F(TotalPowerA)             \
    F(TotalPowerB)             \
    F(TotalPowerC)             \
    F(SparePanelValues)        \
    F(SinglePhasePowerA)       \
    F(SinglePhasePowerB)       \
    F(SinglePhasePowerC)       \
    F(TwoPhasePowerA)          \
    F(TwoPhasePowerB)          \
    F(TwoPhasePowerC)          \
    F(ThreePhasePowerA)        \
    F(ThreePhasePowerB)        \
    F(ThreePhasePowerC)        \
    F(LossPartSum)             \
    F(LossPartA)               \
    F(LossPartB)               \
    F(LossPartC)               \
    F(LossPart2Sum)            \
    F(LossPart2A)              \
    F(LossPart2B)              \
    F(LossPart2C)              \
    F(MaxVoltageLoss)          \
    F(DeviationWork)           \
    F(VoltageLossA)            \
    F(VoltageLossB)            \
    F(VoltageLossC)            \
    F(PanelFaultCurrent1)      \
    F(PanelFaultCurrent3)      \
    F(PanelSurgeCurrent)       \
    F(InstalledPower)          \
    F(DesignPower)             \
    F(CascadePower)            \
    F(DemandFactor)            \
    F(SparePanelValue)         \
    F(FeederSections)          \
    F(FeederZeroSections)      \
    F(FeederSectionCount)      \
    F(ZeroCoreTable)

#define GRSED_FIELDS(F)             \
    F(SwitchboardCount)             \
    F(PanelCount)                   \
    F(SwitchboardNumber)            \
    F(SwitchboardTemperature)       \
    F(ChangedMark)                  \
    F(SchemeOrder)                  \
    F(SupplyScPower)                \
    F(SwitchboardTable)             \
    F(SpareText1)                   \
    F(SwitchboardLaying)            \
    F(SwitchboardInstalledPower)    \
    F(SwitchboardDesignPower)       \
    F(TotalInstalledPower)          \
    F(TotalDesignPower)             \
    F(TotalPhasePowerA)             \
    F(TotalPhasePowerB)             \
    F(TotalPhasePowerC)             \
    F(SwitchboardPowerA)            \
    F(SwitchboardPowerB)            \
    F(SwitchboardPowerC)            \
    F(SwitchboardSection)           \
    F(SwitchboardNeutralSection)    \
    F(SpareSwitchboardValue)        \
    F(SwitchboardCableBrand)        \
    F(SpareText2)                   \
    F(SwitchboardBreakerType)       \
    F(SectionBreakerType)           \
    F(SwitchboardConductorMaterial) \
    F(SpareText3)                   \
    F(SwitchboardCableName)         \
    F(SwitchboardFeederLength)      \
    F(SpareSwitchboardValue2)       \
    F(SwitchboardCosPhiA)           \
    F(SwitchboardCosPhiB)           \
    F(SwitchboardCosPhiC)           \
    F(SwitchboardCurrentA)          \
    F(SwitchboardCurrentB)          \
    F(SwitchboardCurrentC)          \
    F(SwitchboardNeutralCurrent)    \
    F(TotalCurrentA)                \
    F(TotalCurrentB)                \
    F(TotalCurrentC)                \
    F(TotalNeutralCurrent)          \
    F(SwitchboardDesignCurrent)     \
    F(TotalDesignCurrent)           \
    F(SwitchboardCosPhi)            \
    F(TotalCosPhi)                  \
    F(TotalCosPhiA)                 \
    F(TotalCosPhiB)                 \
    F(TotalCosPhiC)                 \
    F(SwitchboardLossSum)           \
    F(SwitchboardLossA)             \
    F(SwitchboardLossB)             \
    F(SwitchboardLossC)             \
    F(SpareSwitchboardValues2)      \
    F(SwitchboardFaultCurrent1)     \
    F(SwitchboardFaultCurrent3)     \
    F(SwitchboardSurgeCurrent)      \
    F(SwitchboardBreakerRating)     \
    F(SwitchboardInputRating)       \
    F(TransformerBreakerRating)     \
    F(TransformerName)              \
    F(SwitchboardSections)          \
    F(SwitchboardZeroSections)      \
    F(SwitchboardSectionCount)      \
    F(SwitchboardZeroCoreTable)

std::string Text(long double v) {
    std::ostringstream out;
    out << std::setprecision(21) << v;
    return out.str();
}
std::string Text(double v) {
    std::ostringstream out;
    out << std::setprecision(17) << v;
    return out.str();
}
std::string Text(int v) {
    return platform::IntToStr(v);
}
std::string Text(std::uint8_t v) {
    return platform::IntToStr(v);
}
std::string Text(const std::string& v) {
    return '"' + v + '"';
}
template <typename Sequence>
std::string SequenceText(const Sequence& values) {
    std::string text = "{";
    for (const auto& v : values) text += (text.size() > 1 ? ", " : "") + Text(v);
    return text + "}";
}
std::string Text(const std::vector<double>& v) {
    return SequenceText(v);
}
std::string Text(const std::vector<long double>& v) {
    return SequenceText(v);
}
std::string Text(const std::array<double, 3>& v) {
    return SequenceText(v);
}

// How two values are held equal: exactly, or floating values to a relative tolerance.
struct Comparison {
    double tolerance = 0;
};

bool Same(long double a, long double b, const Comparison& c) {
    if (a == b) return true;
    return std::fabs(a - b) <= c.tolerance * std::max(std::fabs(a), std::fabs(b));
}
bool Same(double a, double b, const Comparison& c) {
    return Same(static_cast<long double>(a), static_cast<long double>(b), c);
}
template <typename T>
bool Same(const T& a, const T& b, const Comparison&) {
    return a == b;
}
template <typename T>
bool Same(const std::vector<T>& a, const std::vector<T>& b, const Comparison& c) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!Same(a[i], b[i], c)) return false;
    return true;
}

// The fields of one level that differ, as "Field: a -> b".
template <typename Fields>
void LevelDifferences(const Fields& a, const Fields& b, const std::string& owner,
                      const Comparison& c, std::vector<std::string>& out);

#define COMPARE_FIELD(f)                                                         \
    if (!(a.f == b.f)) {                                                         \
        ++found;                                                                 \
        if (!Same(a.f, b.f, c))                                                  \
            out.push_back(owner + ": " #f " " + Text(a.f) + " -> " + Text(b.f)); \
    }
#define LEVEL_DIFFERENCES(Fields, LIST)                                               \
    template <>                                                                       \
    void LevelDifferences(const Fields& a, const Fields& b, const std::string& owner, \
                          const Comparison& c, std::vector<std::string>& out) {       \
        std::size_t found = 0;                                                        \
        LIST(COMPARE_FIELD)                                                           \
        if (found == 0 && !(a == b)) out.push_back(owner + ": a field not listed");   \
    }
LEVEL_DIFFERENCES(TCxemaGrupdFields, CXEMAGRUPD_FIELDS)
LEVEL_DIFFERENCES(TFasaGrup1dFields, FASAGRUP1D_FIELDS)
LEVEL_DIFFERENCES(TFasaGrup2dFields, FASAGRUP2D_FIELDS)
LEVEL_DIFFERENCES(TFasaGrup3dFields, FASAGRUP3D_FIELDS)
LEVEL_DIFFERENCES(TSitidFields, SITID_FIELDS)
LEVEL_DIFFERENCES(TGrsedFields, GRSED_FIELDS)
#undef LEVEL_DIFFERENCES
#undef COMPARE_FIELD

std::string Owner(const char* what, std::size_t i, const std::string& name) {
    return std::string(what) + " " + platform::IntToStr(static_cast<long long>(i)) + " (" + name +
           ")";
}
std::string NameOf(const TGrsedFields& s) {
    return "ГРЩ " + platform::IntToStr(s.SwitchboardNumber);
}
std::string NameOf(const TSitidFields& p) {
    return "Щит " + platform::IntToStr(p.PanelNumber);
}
std::string NameOf(const TCxemaGrupdFields& g) {
    return g.GroupName;
}
std::string NameOf(const TFasaGrup1dFields& g) {
    return g.GroupName1;
}
std::string NameOf(const TFasaGrup2dFields& g) {
    return g.GroupName2;
}
std::string NameOf(const TFasaGrup3dFields& g) {
    return g.GroupName3;
}

template <typename T>
void Differences(const char* what, const std::vector<T>& a, const std::vector<T>& b,
                 const Comparison& c, std::vector<std::string>& out) {
    if (a.size() != b.size()) {
        out.push_back(std::string(what) + ": " +
                      platform::IntToStr(static_cast<long long>(a.size())) + " records -> " +
                      platform::IntToStr(static_cast<long long>(b.size())));
        return;
    }
    for (std::size_t i = 0; i < a.size(); ++i)
        if (!(a[i] == b[i])) LevelDifferences(a[i], b[i], Owner(what, i, NameOf(a[i])), c, out);
}

std::vector<std::string> Differences(const TreeImage& a, const TreeImage& b, const Comparison& c) {
    std::vector<std::string> out;
    Differences("switchboard (0: the root)", a.boards, b.boards, c, out);
    Differences("panel", a.panels, b.panels, c, out);
    Differences("scheme record", a.scheme, b.scheme, c, out);
    Differences("single-phase record", a.single, b.single, c, out);
    Differences("two-phase record", a.two, b.two, c, out);
    Differences("three-phase record", a.three, b.three, c, out);
    if (a.chainLengths != b.chainLengths) out.push_back("chain lengths differ");
    return out;
}

std::string Listed(const std::vector<std::string>& all, std::size_t most) {
    std::string text;
    for (std::size_t i = 0; i < all.size() && i < most; ++i) text += all[i] + "\n";
    if (all.size() > most)
        text +=
            "... and " + platform::IntToStr(static_cast<long long>(all.size() - most)) + " more\n";
    return text;
}

}  // namespace

std::vector<std::string> FieldDifferences(const TreeImage& a, const TreeImage& b) {
    return Differences(a, b, Comparison{});
}

std::string DifferencesText(const TreeImage& a, const TreeImage& b, std::size_t most) {
    return Listed(FieldDifferences(a, b), most);
}

TreeImage ReopeningImage(const TGrsed& root) {
    TreeImage image = ImageWithoutResultSectionCopies(root);
    // A switchboard's copy of the root's switchboard count: nothing reads it, and the file
    // writes the root's count into every switchboard.
    for (std::size_t i = 1; i < image.boards.size(); ++i)
        image.boards[i].SwitchboardCount = root.SwitchboardCount;
    // Working fields of one calculation step: written and read within it, never read after it
    // and not in the file, so the loader has no reason to set them.
    for (TSitidFields& p : image.panels) p.SectionIndex = 0, p.DeviationWork = 0;
    for (TCxemaGrupdFields& g : image.scheme) g.MaxPhaseCurrent = 0;
    for (TFasaGrup1dFields& r : image.single) r.ConductorMaterial1.clear();
    for (TFasaGrup2dFields& r : image.two) r.ConductorMaterial2.clear();
    for (TFasaGrup3dFields& r : image.three) r.ConductorMaterial3.clear();
    return image;
}

std::string ReopeningDifferences(const TreeImage& built, const TreeImage& reopened,
                                 std::size_t most) {
    // The file keeps 15 significant digits (an 80-bit power comes back as the double nearest
    // its text), so values that agree to 12 are the same value.
    return Listed(Differences(built, reopened, Comparison{1e-12}), most);
}
