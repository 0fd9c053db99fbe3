#include "app/ProjectFile.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <memory>
#include <span>

#include "model/Chains.h"
#include "platform/Conversions.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"

namespace projectfile {

const char* const CannotOpenMessage = "Невозможно открыть файл. Файл перемещен или удален.";

namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

// A field of a record of type Target, declared in Target or in one of its bases.
template <class Target, class M, class C>
FieldRef In(M C::*member, int index = 0) {
    M Target::*ptr = member;
    return FieldOf<Target>{Member<Target>(ptr), index};
}

// ---------------------------------------------------------------------------------------------
// The layout: each record paired with a saved field of the model. The three phase records keep
// one order: currents, the allowed current of the chosen section, length, cos φ, the saved value,
// then the cable brand before the table.

#define EXTRA(f) In<ProjectFileExtras>(&ProjectFileExtras::f), #f
#define STAMP(f) In<ProjectStamp>(&ProjectStamp::f), #f
#define GRSED(f) In<TGrsed>(&TGrsedFields::f), #f
#define SITID(f) In<TSitid>(&TSitidFields::f), #f
#define SCHEME(f) In<TCxemaGrupd>(&TCxemaGrupdFields::f), #f
#define SINGLE(f) In<TFasaGrup1d>(&TFasaGrup1dFields::f), #f
#define TWO(f) In<TFasaGrup2d>(&TFasaGrup2dFields::f), #f
#define TWO_AT(f, i) In<TFasaGrup2d>(&TFasaGrup2dFields::f, i), #f "[" #i "]"
#define THREE(f) In<TFasaGrup3d>(&TFasaGrup3dFields::f), #f
#define THREE_AT(f, i) In<TFasaGrup3d>(&TFasaGrup3dFields::f, i), #f "[" #i "]"
// The breaker type that a phase record carries in its scheme-record part.
#define INHERITED_BREAKER(Target) In<Target>(&TCxemaGrupdFields::BreakerType), "BreakerType"

const std::array<RecordDef, RecordCount> kRecords = [] {
    using enum Block;
    using enum Form;
    return std::array<RecordDef, RecordCount>{{
        // Header
        {1, Header, I, EXTRA(GroupCounter), "счётчик групп"},
        {2, Header, I, EXTRA(GroupCounterCode), "код счётчика групп"},
        {3, Header, S, GRSED(TransformerName), "трансформатор"},
        {4, Header, S, GRSED(SectionBreakerType), "тип автомата секции КТП"},
        {5, Header, R, GRSED(TransformerBreakerRating), "номинальный ток автомата трансформатора"},
        {6, Header, W, GRSED(SwitchboardCount), "число ГРЩ"},
        // Panel count of each switchboard
        {7, Counts, W, GRSED(PanelCount), "число щитов"},
        // Switchboard numbers and values
        {8, B1, I, GRSED(SwitchboardNumber), "номер ГРЩ"},
        {9, B1, I, GRSED(SchemeOrder), "место на общей схеме"},
        {10, B1, I, GRSED(SwitchboardCount), "число ГРЩ"},  // written from the root's count
        {11, B1, R, GRSED(SwitchboardFeederLength), "длина питающей линии"},
        {12, B1, R, GRSED(SwitchboardInputRating), "номинальный ток вводного автомата"},
        {13, B1, R, GRSED(SwitchboardBreakerRating), "номинальный ток автомата"},
        {14, B1, R, GRSED(SwitchboardSection), "сечение питающего кабеля"},
        {15, B1, R, GRSED(SwitchboardLossA), "потеря напряжения, фаза А"},
        {16, B1, R, GRSED(SwitchboardLossB), "потеря напряжения, фаза В"},
        {17, B1, R, GRSED(SwitchboardLossC), "потеря напряжения, фаза С"},
        {18, B1, B, GRSED(ChangedMark), "отметка изменения"},
        {19, B1, R, GRSED(SwitchboardFaultCurrent1), "ток однофазного КЗ"},
        {20, B1, I, GRSED(SwitchboardTemperature), "температура среды питающей линии"},
        {21, B1, R, GRSED(SwitchboardFaultCurrent3), "ток трёхфазного КЗ"},
        {22, B1, R, GRSED(SwitchboardSurgeCurrent), "ударный ток КЗ"},
        // Switchboard texts
        {23, B2, S, GRSED(SwitchboardTable), "таблица длительных токов питающего кабеля"},
        {24, B2, S, GRSED(SwitchboardConductorMaterial), "материал жил питающего кабеля"},
        {25, B2, S, GRSED(SwitchboardCableBrand), "марка питающего кабеля"},
        {26, B2, S, GRSED(SwitchboardBreakerType), "тип автомата"},
        {27, B2, S, GRSED(SwitchboardLaying), "способ прокладки питающего кабеля"},
        {28, B2, S, GRSED(SwitchboardCableName), "название кабеля"},
        // Group counts of each panel
        {29, B3, W, SITID(SchemeGroupCount), "число групп"},
        {30, B3, W, SITID(SinglePhaseCount), "число однофазных групп"},
        {31, B3, W, SITID(TwoPhaseCount), "число двухфазных групп"},
        {32, B3, W, SITID(ThreePhaseCount), "число трёхфазных групп"},
        // Panel numbers and values
        {33, B4, I, SITID(PanelNumber), "номер щита"},
        {34, B4, I, SITID(Position), "место щита в ГРЩ"},
        {35, B4, I, SITID(CascadeHeadNumber), "номер головного щита магистрали"},
        {36, B4, I, SITID(FeedingPanelNumber), "номер питающего щита"},
        {37, B4, b, SITID(FedFromPanel), "питание от щита"},
        {38, B4, b, SITID(FedFromSwitchboard), "питание от ГРЩ"},
        {39, B4, b, SITID(CascadeFlag), "одно сечение на магистраль"},
        {40, B4, R, SITID(FeederLength), "длина питающей линии"},
        {41, B4, R, SITID(CascadeLength), "длина магистрали до щита"},
        {42, B4, R, SITID(FeederBreakerRating), "номинальный ток автомата питающей линии"},
        {43, B4, R, SITID(TrunkBreakerRating), "номинальный ток магистрального автомата"},
        {44, B4, R, SITID(PanelBreakerRating), "номинальный ток автомата щита"},
        {45, B4, R, SITID(CascadeBreakerRating), "номинальный ток автомата головного щита"},
        {46, B4, R, SITID(FeederSection), "сечение питающего кабеля"},
        {47, B4, R, SITID(FeederSection2), "второе сечение питающего кабеля"},
        {48, B4, R, SITID(FeederSectionByCurrent), "сечение питающего кабеля по току"},
        {49, B4, R, SITID(LossPartA), "потеря напряжения до щита, фаза А"},
        {50, B4, R, SITID(LossPartB), "потеря напряжения до щита, фаза В"},
        {51, B4, R, SITID(LossPartC), "потеря напряжения до щита, фаза С"},
        {52, B4, R, SITID(LossPart2A), "вторая часть потери напряжения, фаза А"},
        {53, B4, R, SITID(LossPart2B), "вторая часть потери напряжения, фаза В"},
        {54, B4, R, SITID(LossPart2C), "вторая часть потери напряжения, фаза С"},
        {55, B4, B, SITID(OnTrunk), "подключение к магистрали"},
        {56, B4, B, SITID(PanelFlagB), "отметка подключения"},
        {57, B4, R, SITID(PanelFaultCurrent1), "ток однофазного КЗ"},
        {58, B4, I, SITID(FeederTemperature), "температура среды питающей линии"},
        {59, B4, N, SITID(HangsOnPanel), "номер щита, к которому подключён щит"},
        {60, B4, B, SITID(PanelFlagC), "отметка нового щита"},
        {61, B4, R, SITID(CascadeCurrentA), "ток с питаемыми щитами, фаза А"},
        {62, B4, R, SITID(CascadeCurrentB), "ток с питаемыми щитами, фаза В"},
        {63, B4, R, SITID(CascadeCurrentC), "ток с питаемыми щитами, фаза С"},
        {64, B4, R, SITID(CascadeCosPhiA), "cos φ с питаемыми щитами, фаза А"},
        {65, B4, R, SITID(CascadeCosPhiB), "cos φ с питаемыми щитами, фаза В"},
        {66, B4, R, SITID(CascadeCosPhiC), "cos φ с питаемыми щитами, фаза С"},
        {67, B4, R, SITID(PanelFaultCurrent3), "ток трёхфазного КЗ"},
        {68, B4, R, SITID(PanelSurgeCurrent), "ударный ток КЗ"},
        {69, B4, R, SITID(DemandFactor), "коэффициент спроса"},
        // Panel texts
        {70, B5, S, SITID(CurrentTableName), "таблица длительных токов питающего кабеля"},
        {71, B5, S, SITID(FeederCableBrand), "марка питающего кабеля"},
        {72, B5, S, SITID(FeederConductorMaterial), "материал жил питающего кабеля"},
        {73, B5, S, SITID(PanelBreakerType), "тип автомата щита"},
        {74, B5, S, SITID(TrunkBreakerType), "тип магистрального автомата"},
        {75, B5, S, SITID(FeederLayingMethod), "способ прокладки питающего кабеля"},
        {76, B5, S, SITID(FeederCableName), "название кабеля"},
        // Scheme record
        {77, G1, I, SCHEME(PhaseKind), "число проводников"},
        {78, G1, X, SCHEME(Power), "мощность"},
        {79, G1, R, SCHEME(DesignCurrent), "расчётный ток"},
        {80, G1, R, SCHEME(CrossSection), "сечение кабеля"},
        {81, G1, R, SCHEME(LineLength), "длина линии"},
        {82, G1, R, SCHEME(CosPhi), "cos φ"},
        {83, G1, R, SCHEME(BreakerRating), "номинальный ток автомата"},
        {84, G1, R, SCHEME(SinglePhaseFaultCurrent), "ток однофазного КЗ"},
        {85, G1, R, SCHEME(VoltageDeviation), "отклонение напряжения"},
        {86, G1, I, SCHEME(AmbientTemperature), "температура среды"},
        {87, G1, S, SCHEME(CableTable), "таблица длительных токов"},
        {88, G1, S, SCHEME(LayingMethod), "способ прокладки"},
        {89, G1, S, SCHEME(CableBrand), "марка кабеля"},
        {90, G1, S, SCHEME(GroupName), "название группы"},
        {91, G1, S, SCHEME(BreakerType), "тип автомата"},
        {92, G1, S, SCHEME(ConductorMaterial), "материал жил"},
        {93, G1, S, SCHEME(CableName), "название кабеля"},
        // Single-phase record
        {94, G2, I, SINGLE(PhaseKind1), "число проводников"},
        {95, G2, X, SINGLE(Power1), "мощность"},
        {96, G2, R, SINGLE(Current1), "ток"},
        {97, G2, R, SINGLE(AllowedCurrent1), "допустимый длительный ток"},
        {98, G2, R, SINGLE(LineLength1), "длина линии"},
        {99, G2, R, SINGLE(CosPhi1), "cos φ"},
        {100, G2, R, SINGLE(SavedValue1), "сохраняемое значение"},
        {101, G2, S, SINGLE(CableBrand1), "марка кабеля"},
        {102, G2, S, SINGLE(CableTable1), "таблица длительных токов"},
        {103, G2, S, SINGLE(GroupName1), "название группы"},
        {104, G2, S, INHERITED_BREAKER(TFasaGrup1d), "тип автомата"},
        // Two-phase record
        {105, G3, I, TWO(PhaseKind2), "число проводников"},
        {106, G3, X, TWO_AT(PartPowers, 0), "мощность первой части"},
        {107, G3, X, TWO_AT(PartPowers, 1), "мощность второй части"},
        {108, G3, R, TWO_AT(PartCosPhi, 0), "cos φ первой части"},
        {109, G3, R, TWO_AT(PartCosPhi, 1), "cos φ второй части"},
        {110, G3, X, TWO(Power2), "мощность"},
        {111, G3, R, TWO(CurrentA), "ток, фаза А"},
        {112, G3, R, TWO(CurrentB), "ток, фаза В"},
        {113, G3, R, TWO(CurrentC), "ток, фаза С"},
        {114, G3, R, TWO(AllowedCurrent2), "допустимый длительный ток"},
        {115, G3, R, TWO(LineLength2), "длина линии"},
        {116, G3, R, TWO(CosPhi2), "cos φ"},
        {117, G3, R, TWO(SavedValue2), "сохраняемое значение"},
        {118, G3, B, TWO(Symmetric2), "симметричная нагрузка"},
        {119, G3, S, TWO(CableBrand2), "марка кабеля"},
        {120, G3, S, TWO(CableTable2), "таблица длительных токов"},
        {121, G3, S, TWO(GroupName2), "название группы"},
        {122, G3, S, INHERITED_BREAKER(TFasaGrup2d), "тип автомата"},
        // Three-phase record
        {123, G4, I, THREE(PhaseKind3), "число проводников"},
        {124, G4, X, THREE_AT(PhasePowers, 0), "мощность, фаза А"},
        {125, G4, X, THREE_AT(PhasePowers, 1), "мощность, фаза В"},
        {126, G4, X, THREE_AT(PhasePowers, 2), "мощность, фаза С"},
        {127, G4, R, THREE_AT(PhaseCosPhi, 0), "cos φ, фаза А"},
        {128, G4, R, THREE_AT(PhaseCosPhi, 1), "cos φ, фаза В"},
        {129, G4, R, THREE_AT(PhaseCosPhi, 2), "cos φ, фаза С"},
        {130, G4, X, THREE(Power3), "мощность"},
        {131, G4, R, THREE(CurrentA3), "ток, фаза А"},
        {132, G4, R, THREE(CurrentB3), "ток, фаза В"},
        {133, G4, R, THREE(CurrentC3), "ток, фаза С"},
        {134, G4, R, THREE(AllowedCurrent3), "допустимый длительный ток"},
        {135, G4, R, THREE(LineLength3), "длина линии"},
        {136, G4, R, THREE(CosPhi3), "cos φ"},
        {137, G4, R, THREE(SavedValue3), "сохраняемое значение"},
        {138, G4, B, THREE(Symmetric3), "симметричная нагрузка"},
        {139, G4, S, THREE(CableBrand3), "марка кабеля"},
        {140, G4, S, THREE(CableTable3), "таблица длительных токов"},
        {141, G4, S, THREE(GroupName3), "название группы"},
        {142, G4, S, INHERITED_BREAKER(TFasaGrup3d), "тип автомата"},
        // Trailer
        // an empty record 143 keeps the default
        {143, Trailer, R, GRSED(SupplyScPower), "мощность КЗ энергосистемы"},
        {144, Trailer, S, STAMP(DocumentCode), "обозначение документа"},
        {145, Trailer, S, STAMP(DevelopedBy), "разработал"},
        {146, Trailer, S, STAMP(CheckedBy), "проверил"},
        {147, Trailer, S, STAMP(ApprovedBy), "утвердил"},
        {148, Trailer, S, STAMP(NormControl), "нормоконтроль"},
    }};
}();

#undef EXTRA
#undef STAMP
#undef GRSED
#undef SITID
#undef SCHEME
#undef SINGLE
#undef TWO
#undef TWO_AT
#undef THREE
#undef THREE_AT
#undef INHERITED_BREAKER

// Record 10 repeats the root's switchboard count in every switchboard.
constexpr int kSwitchboardCountCopy = 10;

// Slots and counts of each element, and of the fixed part (header and trailer).
constexpr long long kFixedSlots = 11, kSwitchboardSlots = 21, kPanelSlots = 44;
constexpr long long kGroupSlots[4] = {17, 11, 18, 20};
constexpr long long kTrailerSlots = 6;
constexpr long long kWordSize = 4;

std::span<const RecordDef> RecordsOf(Block block) {
    static const auto spans = [] {
        std::array<std::span<const RecordDef>, static_cast<size_t>(Block::Trailer) + 1> out;
        for (size_t b = 0; b < out.size(); ++b) {
            const auto inBlock = [b](const RecordDef& d) {
                return d.InBlock == static_cast<Block>(b);
            };
            const auto first = std::find_if(kRecords.begin(), kRecords.end(), inBlock);
            const auto last = std::find_if_not(first, kRecords.end(), inBlock);
            out[b] = std::span<const RecordDef>(first, last);
        }
        return out;
    }();
    return spans[static_cast<size_t>(block)];
}

// ---------------------------------------------------------------------------------------------
// Windows-1251 by table: the conversions of a whole file would cost an iconv set-up per text. The
// table is taken once from the platform's conversion.

class Cp1251Codec {
public:
    static const Cp1251Codec& Get() {
        static const Cp1251Codec codec;
        return codec;
    }

    // Sized first and written in place: a file holds hundreds of thousands of texts.
    void Decode(std::string_view bytes, std::string& out) const {
        std::size_t size = 0;
        for (const char c : bytes) size += utf8_[static_cast<unsigned char>(c)].size;
        out.resize(size);
        char* to = out.data();
        for (const char c : bytes) {
            const Utf8& u = utf8_[static_cast<unsigned char>(c)];
            for (int k = 0; k < u.size; ++k) *to++ = u.bytes[k];
        }
    }

    // False for a text that is not valid UTF-8 or holds a character Windows-1251 lacks.
    bool Encode(const std::string& utf8, std::string& out) const {
        out.clear();
        for (size_t i = 0; i < utf8.size();) {
            if (static_cast<unsigned char>(utf8[i]) < 0x80) {
                out += utf8[i++];
                continue;
            }
            char32_t cp = 0;
            if (!platform::NextCodePoint(utf8, i, cp)) return false;
            if (cp >= byCodePoint_.size() || byCodePoint_[cp] == 0) return false;
            out += static_cast<char>(byCodePoint_[cp]);
        }
        return true;
    }

private:
    Cp1251Codec() {
        for (int byte = 0; byte < 0x80; ++byte) utf8_[byte] = Utf8{1, {static_cast<char>(byte)}};
        for (int byte = 0x80; byte <= 0xFF; ++byte) {
            const std::string utf8 =
                platform::Cp1251ToUtf8(std::string(1, static_cast<char>(byte)));
            Utf8& u = utf8_[byte];
            u.size = static_cast<unsigned char>(std::min<std::size_t>(utf8.size(), 4));
            std::copy_n(utf8.begin(), u.size, u.bytes);
            char32_t cp = 0;
            if (utf8.size() == 2)
                cp = ((utf8[0] & 0x1F) << 6) | (utf8[1] & 0x3F);
            else if (utf8.size() == 3)
                cp = ((utf8[0] & 0x0F) << 12) | ((utf8[1] & 0x3F) << 6) | (utf8[2] & 0x3F);
            if (cp == 0) continue;
            if (cp >= byCodePoint_.size()) byCodePoint_.resize(cp + 1, 0);
            byCodePoint_[cp] = static_cast<unsigned char>(byte);
        }
    }

    // The UTF-8 form of each byte: one code point, at most 4 bytes.
    struct Utf8 {
        unsigned char size = 0;
        char bytes[4] = {};
    };
    std::array<Utf8, 256> utf8_;
    std::vector<unsigned char> byCodePoint_;
};

// ---------------------------------------------------------------------------------------------
// Real text

std::string RealText(double v) {
    return platform::FloatToStr(v);
}

// What RealText writes, with ',' or '.' as the separator; values that are not finite ("INF",
// "NAN") are not numbers of a project.
bool ParseReal(std::string_view text, double& out) {
    return platform::TryStrToFloat(text, out);
}

// ---------------------------------------------------------------------------------------------
// Writing

struct SaveFailure {
    std::string message;
};

// The records whose fields the writer reads at one step.
struct WriteTargets {
    const ProjectFileExtras* extras = nullptr;
    const TGrsed* grsed = nullptr;  // the root, or a switchboard
    const TSitid* panel = nullptr;
    const TCxemaGrupd* scheme = nullptr;
    const TFasaGrup1d* single = nullptr;
    const TFasaGrup2d* two = nullptr;
    const TFasaGrup3d* three = nullptr;
};

FieldValue ValueAt(const RecordDef& def, const WriteTargets& t) {
    return std::visit(
        Overloaded{
            [&](const FieldOf<ProjectFileExtras>& f) { return ValueOf(f, *t.extras); },
            [&](const FieldOf<ProjectStamp>& f) { return ValueOf(f, t.extras->Stamp); },
            [&](const FieldOf<TGrsed>& f) { return ValueOf(f, *t.grsed); },
            [&](const FieldOf<TSitid>& f) { return ValueOf(f, *t.panel); },
            [&](const FieldOf<TCxemaGrupd>& f) { return ValueOf(f, *t.scheme); },
            [&](const FieldOf<TFasaGrup1d>& f) { return ValueOf(f, *t.single); },
            [&](const FieldOf<TFasaGrup2d>& f) { return ValueOf(f, *t.two); },
            [&](const FieldOf<TFasaGrup3d>& f) { return ValueOf(f, *t.three); },
        },
        def.Field);
}

// Whose field it is, for the writer's messages.
std::string OwnerText(const WriteTargets& t, bool root) {
    const auto panel = [&] { return " щита " + platform::IntToStr(t.panel->PanelNumber); };
    if (t.scheme) return "группы \"" + t.scheme->GroupName + "\"" + panel();
    if (t.single) return "группы \"" + t.single->GroupName1 + "\"" + panel();
    if (t.two) return "группы \"" + t.two->GroupName2 + "\"" + panel();
    if (t.three) return "группы \"" + t.three->GroupName3 + "\"" + panel();
    if (t.panel) return panel().substr(1);
    if (t.grsed && !root) return "ГРЩ " + platform::IntToStr(t.grsed->SwitchboardNumber);
    return "проекта";
}

// Where the writer's bytes go, in file order.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Put(const char* data, std::size_t size) = 0;
    virtual void Zeros(std::size_t size) = 0;
};

// The whole file in memory.
class VectorSink : public ByteSink {
public:
    VectorSink(std::vector<char>& bytes, std::size_t size) : bytes_(bytes) {
        bytes_.clear();
        bytes_.reserve(size);
    }
    void Put(const char* data, std::size_t size) override {
        bytes_.insert(bytes_.end(), data, data + size);
    }
    void Zeros(std::size_t size) override { bytes_.insert(bytes_.end(), size, '\0'); }

private:
    std::vector<char>& bytes_;
};

// The file written as it is made, through a buffer of bounded size. The file is opened when the
// buffer first fills (or at the end): a project refused before that touches no file. The first
// failure is kept and ends the writing.
class StreamSink : public ByteSink {
public:
    static constexpr std::size_t kBuffer = std::size_t(1) << 20;

    explicit StreamSink(platform::ReplacingFile& file) : file_(file) { buffer_.reserve(kBuffer); }
    void Put(const char* data, std::size_t size) override {
        while (size > 0 && error_ == 0) {
            const std::size_t room = std::min(size, kBuffer - buffer_.size());
            buffer_.insert(buffer_.end(), data, data + room);
            data += room;
            size -= room;
            if (buffer_.size() == kBuffer) Flush();
        }
    }
    void Zeros(std::size_t size) override {
        while (size > 0 && error_ == 0) {
            const std::size_t room = std::min(size, kBuffer - buffer_.size());
            buffer_.insert(buffer_.end(), room, '\0');
            size -= room;
            if (buffer_.size() == kBuffer) Flush();
        }
    }
    // Writes what the buffer holds; the first error, or 0.
    int Flush() {
        if (error_ == 0 && !file_.IsOpen()) error_ = file_.Open();
        if (error_ == 0) error_ = file_.Write(buffer_.data(), buffer_.size());
        buffer_.clear();
        return error_;
    }

private:
    platform::ReplacingFile& file_;
    std::vector<char> buffer_;
    int error_ = 0;
};

class FileWriter {
public:
    explicit FileWriter(ByteSink& sink) : sink_(sink) {}

    void Word(long long value) {
        const auto v = static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
        char bytes[kWordSize];
        for (int k = 0; k < 4; ++k) bytes[k] = static_cast<char>((v >> (8 * k)) & 0xFF);
        sink_.Put(bytes, sizeof bytes);
    }

    // The text, then NUL and zeros to the end of the slot.
    void Slot(std::string_view text) {
        sink_.Put(text.data(), text.size());
        sink_.Zeros(SlotSize - text.size());
    }

    // Writes the block's records from the targets; count records take `counts` in order.
    void Records(Block block, const WriteTargets& t, std::initializer_list<long long> counts = {},
                 const long long* switchboardCount = nullptr) {
        auto count = counts.begin();
        for (const RecordDef& def : RecordsOf(block)) {
            if (def.TextForm == Form::W) {
                Word(*count++);
            } else if (def.Number == kSwitchboardCountCopy && switchboardCount) {
                Slot(platform::IntToStr(*switchboardCount));
            } else {
                Text(def, t, block == Block::Header || block == Block::Trailer);
            }
        }
    }

private:
    void Text(const RecordDef& def, const WriteTargets& t, bool rootRecord) {
        const FieldValue value = ValueAt(def, t);
        switch (def.TextForm) {
            case Form::I:
            case Form::b:
                return Slot(platform::IntToStr(std::get<long long>(value)));
            case Form::N:
            case Form::B:
                return Slot(RealText(static_cast<double>(std::get<long long>(value))));
            case Form::R:
            case Form::X: {
                const double real = static_cast<double>(std::get<long double>(value));
                const std::string text = RealText(real);
                if (!std::isfinite(real))
                    throw Refusal(def, t, rootRecord, "значение",
                                  "не является конечным числом (" + text + ").");
                // The 15 digits of the very largest doubles round up past the largest one.
                double back;
                if (std::fabs(real) >= 1e308 && !ParseReal(text, back))
                    throw Refusal(def, t, rootRecord, "значение", "слишком велико (" + text + ").");
                return Slot(text);
            }
            case Form::S:
                return Slot(EncodedText(def, std::get<std::string>(value), t, rootRecord));
            case Form::W:
                break;
        }
    }

    // "Проект не сохранён: текст поля «название кабеля» ГРЩ 1 длиннее 254 байт."
    static SaveFailure Refusal(const RecordDef& def, const WriteTargets& t, bool rootRecord,
                               const char* what, const std::string& why) {
        return SaveFailure{std::string("Проект не сохранён: ") + what + " поля «" + def.Title +
                           "» " + OwnerText(t, rootRecord) + " " + why};
    }

    const std::string& EncodedText(const RecordDef& def, const std::string& text,
                                   const WriteTargets& t, bool rootRecord) {
        const auto fail = [&](const char* why) {
            return Refusal(def, t, rootRecord, "текст", why);
        };
        if (text.find('\0') != std::string::npos) throw fail("содержит нулевой символ.");
        if (!Cp1251Codec::Get().Encode(text, encoded_))
            throw fail("нельзя записать в кодировке Windows-1251.");
        if (encoded_.size() > static_cast<size_t>(MaxSlotText)) throw fail("длиннее 254 байт.");
        return encoded_;
    }

    ByteSink& sink_;
    std::string encoded_;
};

// The tree as the writer walks it: every chain in order, to its end.
struct PanelItems {
    const TSitid* panel;
    std::vector<TCxemaGrupd*> scheme;
    std::vector<TFasaGrup1d*> single;
    std::vector<TFasaGrup2d*> two;
    std::vector<TFasaGrup3d*> three;
};
struct SwitchboardItems {
    const TGrsed* switchboard;
    std::vector<PanelItems> panels;
};

std::vector<SwitchboardItems> CollectTree(const TGrsed& root) {
    std::vector<SwitchboardItems> out;
    for (TGrsed* sw : chains::Elements(root.Switchboards, chains::SwitchboardLink{}, INT_MAX)) {
        SwitchboardItems& s = out.emplace_back(SwitchboardItems{sw, {}});
        for (TSitid* panel : chains::Elements(sw->Panels, chains::PanelLink{}, INT_MAX)) {
            s.panels.push_back(PanelItems{
                panel, chains::Elements(panel->SchemeGroups, chains::SchemeLink{}, INT_MAX),
                chains::Elements(panel->SinglePhaseGroups, chains::SinglePhaseLink{}, INT_MAX),
                chains::Elements(panel->TwoPhaseGroups, chains::TwoPhaseLink{}, INT_MAX),
                chains::Elements(panel->ThreePhaseGroups, chains::ThreePhaseLink{}, INT_MAX)});
        }
    }
    return out;
}

long long FileSize(const std::vector<SwitchboardItems>& tree) {
    long long slots = kFixedSlots, words = 1;
    for (const SwitchboardItems& s : tree) {
        slots += kSwitchboardSlots;
        words += 1;
        for (const PanelItems& p : s.panels) {
            slots += kPanelSlots + kGroupSlots[0] * static_cast<long long>(p.scheme.size()) +
                     kGroupSlots[1] * static_cast<long long>(p.single.size()) +
                     kGroupSlots[2] * static_cast<long long>(p.two.size()) +
                     kGroupSlots[3] * static_cast<long long>(p.three.size());
            words += 4;
        }
    }
    return slots * SlotSize + words * kWordSize;
}

// ---------------------------------------------------------------------------------------------
// Files

// A file's bytes in a buffer that is not cleared first: every byte the loader reads is one the
// file gave. For a file that changed while it was read through the window below.
struct FileBytes {
    std::unique_ptr<char[]> data;
    std::size_t size = 0;
    std::string_view View() const { return {data.get(), size}; }
};

bool ReadWholeFile(const std::string& path, FileBytes& bytes) {
    platform::ReadingFile file;
    if (!file.Open(path)) return false;
    // One byte more than the file: the read that finds the end needs room, and a full buffer
    // means the file grew meanwhile.
    std::size_t capacity = file.Size() + 1;
    std::unique_ptr<char[]> data(new char[capacity]);
    size_t done = 0;
    for (;;) {
        if (done == capacity) {
            std::unique_ptr<char[]> larger(new char[capacity * 2]);
            std::memcpy(larger.get(), data.get(), done);
            data = std::move(larger);
            capacity *= 2;
        }
        const long long n = file.ReadAt(done, data.get() + done, capacity - done);
        if (n < 0) return false;
        done += static_cast<size_t>(n);
        if (done < capacity) break;  // a read stops short only at the end
    }
    bytes.data = std::move(data);
    bytes.size = done;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Reading

struct DamagedFile {
    std::string detail;
};

// The file could not be read on (CannotOpen, as when it cannot be opened).
struct ReadFailure {};

// The file does not end where it did when it was opened: it changed while it was read.
struct FileChanged {};

// A file read through a buffer of bounded size that is reused as the reading moves on: the bytes
// asked for are kept, or read with as many after them as the buffer holds. The reading stops at
// the size the file had when it was opened, the size its counts are checked against.
class FileWindow {
public:
    // A quarter of a megabyte: what is read stays in the processor's cache until it is parsed.
    static constexpr std::size_t kBuffer = std::size_t(1) << 18;

    explicit FileWindow(const platform::ReadingFile& file)
        : file_(file), buffer_(new char[kBuffer]) {}

    std::size_t Size() const { return file_.Size(); }

    // `data` holds the file's bytes [start, end).
    struct Span {
        const char* data;
        std::size_t start, end;
    };

    // The bytes [pos, pos + n) at least (n at most kBuffer). Throws ReadFailure, or FileChanged
    // where the file ends before them.
    Span Hold(std::size_t pos, std::size_t n) {
        const std::size_t end = start_ + held_;
        if (pos < start_ || pos + n > end) {
            std::size_t kept = 0;
            if (pos >= start_ && pos < end) {
                kept = end - pos;
                std::memmove(buffer_.get(), buffer_.get() + (pos - start_), kept);
            }
            start_ = pos;
            held_ = kept;
            const std::size_t wanted = pos < Size() ? std::min(kBuffer, Size() - pos) : 0;
            if (held_ < wanted) {
                const long long got =
                    file_.ReadAt(start_ + held_, buffer_.get() + held_, wanted - held_);
                if (got < 0) throw ReadFailure{};
                held_ += static_cast<std::size_t>(got);
            }
            if (held_ < n) throw FileChanged{};
        }
        return Span{buffer_.get(), start_, start_ + held_};
    }

    // The file ends where it did when it was opened: its last byte is there and none after it.
    bool EndsAtItsSize() const {
        char probe[2];
        const std::size_t size = Size();
        const long long got = file_.ReadAt(size > 0 ? size - 1 : 0, probe, 2);
        if (got < 0) throw ReadFailure{};
        return got == (size > 0 ? 1 : 0);
    }

private:
    const platform::ReadingFile& file_;
    std::unique_ptr<char[]> buffer_;
    std::size_t start_ = 0;  // the file offset of buffer_[0]
    std::size_t held_ = 0;
};

// The records the reader fills at one step, and where they are, for the messages.
struct ReadTargets {
    ProjectFileExtras* extras = nullptr;
    TGrsed* grsed = nullptr;
    TSitid* panel = nullptr;
    TCxemaGrupd* scheme = nullptr;
    TFasaGrup1d* single = nullptr;
    TFasaGrup2d* two = nullptr;
    TFasaGrup3d* three = nullptr;
    int switchboardPlace = 0;  // 1-based places in the file
    int panelPlace = 0;
    int groupPlace = 0;
};

std::string PlaceText(const ReadTargets& t) {
    static const char* const kGroupKinds[] = {"группа", "однофазная запись", "двухфазная запись",
                                              "трёхфазная запись"};
    if (t.switchboardPlace == 0) return "";
    std::string text = " (ГРЩ " + platform::IntToStr(t.switchboardPlace);
    if (t.panelPlace > 0) text += ", щит " + platform::IntToStr(t.panelPlace);
    const int kind = t.scheme ? 0 : t.single ? 1 : t.two ? 2 : t.three ? 3 : -1;
    if (kind >= 0)
        text += std::string(", ") + kGroupKinds[kind] + " " + platform::IntToStr(t.groupPlace);
    return text + ")";
}

template <class R>
void AssignTo(const FieldOf<R>& field, R& record, FieldValue&& value) {
    std::visit(
        [&](auto member) {
            auto& v = record.*member;
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, std::string>) {
                v = std::move(std::get<std::string>(value));
            } else if constexpr (std::is_integral_v<V>) {
                v = static_cast<V>(std::get<long long>(value));
            } else if constexpr (std::is_floating_point_v<V>) {
                v = static_cast<V>(std::get<long double>(value));
            } else {
                const auto i = static_cast<size_t>(field.Index);
                if (v.size() <= i) v.resize(i + 1);
                v[i] = static_cast<typename V::value_type>(std::get<long double>(value));
            }
        },
        field.Ptr);
}

// Moves the value into the field: a decoded text is not copied again.
void Assign(const RecordDef& def, ReadTargets& t, FieldValue&& value) {
    const auto to = [&](const auto& field, auto& record) {
        AssignTo(field, record, std::move(value));
    };
    std::visit(Overloaded{
                   [&](const FieldOf<ProjectFileExtras>& f) { to(f, *t.extras); },
                   [&](const FieldOf<ProjectStamp>& f) { to(f, t.extras->Stamp); },
                   [&](const FieldOf<TGrsed>& f) { to(f, *t.grsed); },
                   [&](const FieldOf<TSitid>& f) { to(f, *t.panel); },
                   [&](const FieldOf<TCxemaGrupd>& f) { to(f, *t.scheme); },
                   [&](const FieldOf<TFasaGrup1d>& f) { to(f, *t.single); },
                   [&](const FieldOf<TFasaGrup2d>& f) { to(f, *t.two); },
                   [&](const FieldOf<TFasaGrup3d>& f) { to(f, *t.three); },
               },
               def.Field);
}

// Told of every record the reader is about to read: its definition, its offset in the file and
// the records it goes into.
using RecordListener = std::function<void(const RecordDef&, size_t, const ReadTargets&)>;

// Reads the records of a file held in memory, or read through a window.
class FileReader {
public:
    explicit FileReader(std::string_view bytes, const RecordListener* listener = nullptr)
        : data_(bytes.data()), end_(bytes.size()), listener_(listener) {}
    explicit FileReader(FileWindow& window, const RecordListener* listener = nullptr)
        : window_(&window), listener_(listener) {}

    void Note(const RecordDef& def, const ReadTargets& t) const {
        if (listener_) (*listener_)(def, pos_, t);
    }

    void Seek(size_t pos) { pos_ = pos; }

    long long Word() {
        const char* bytes = Take(kWordSize);
        std::uint32_t v = 0;
        for (int k = 0; k < 4; ++k)
            v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[k])) << (8 * k);
        return static_cast<std::int32_t>(v);
    }

    // The text of the next slot, up to its NUL; what follows the NUL is ignored. It stays valid
    // until the next read.
    std::string_view Slot(int record, const ReadTargets& t) {
        const char* start = Take(SlotSize);
        const void* nul = std::memchr(start, 0, SlotSize);
        if (!nul)
            throw DamagedFile{"в записи " + platform::IntToStr(record) + PlaceText(t) +
                              " нет завершающего нулевого байта"};
        return std::string_view(start, static_cast<const char*>(nul) - start);
    }

    // Reads the block's records into the targets; count records take `counts` in order (they
    // were read and checked before).
    void Records(Block block, ReadTargets& t, std::initializer_list<long long> counts = {}) {
        auto count = counts.begin();
        for (const RecordDef& def : RecordsOf(block)) {
            Note(def, t);
            if (def.TextForm == Form::W) {
                pos_ += kWordSize;
                Assign(def, t, *count++);
            } else {
                Assign(def, t, Parse(def, Slot(def.Number, t), t));
            }
        }
    }

    FieldValue Parse(const RecordDef& def, std::string_view text, const ReadTargets& t) {
        const auto notANumber = [&] {
            std::string shown;
            Cp1251Codec::Get().Decode(text.substr(0, 40), shown);
            return DamagedFile{"в записи " + platform::IntToStr(def.Number) + PlaceText(t) +
                               " вместо числа записано \"" + shown + "\""};
        };
        int i = 0;
        double real = 0;
        switch (def.TextForm) {
            case Form::I:
                if (!platform::TryStrToInt(text, i)) throw notANumber();
                return static_cast<long long>(i);
            case Form::b:
                if (!platform::TryStrToInt(text, i)) throw notANumber();
                return static_cast<long long>(i & 0xFF);
            case Form::R:
            case Form::X:
                if (!ParseReal(text, real)) throw notANumber();
                return static_cast<long double>(real);
            case Form::B:
                if (!ParseReal(text, real)) throw notANumber();
                return static_cast<long long>(real != 0 ? 1 : 0);
            case Form::N:
                if (!ParseReal(text, real) || !(std::trunc(real) >= INT_MIN) ||
                    !(std::trunc(real) <= INT_MAX))
                    throw notANumber();
                return static_cast<long long>(std::trunc(real));
            case Form::S: {
                std::string decoded;
                Cp1251Codec::Get().Decode(text, decoded);
                return decoded;
            }
            case Form::W:
                break;
        }
        return 0LL;
    }

private:
    // The next n bytes; the reader moves past them. Bytes in memory are all there: the counts
    // were checked against their size before.
    const char* Take(size_t n) {
        if (pos_ < start_ || pos_ + n > end_) {
            const FileWindow::Span span = window_->Hold(pos_, n);
            data_ = span.data;
            start_ = span.start;
            end_ = span.end;
        }
        const char* bytes = data_ + (pos_ - start_);
        pos_ += n;
        return bytes;
    }

    FileWindow* window_ = nullptr;
    const char* data_ = nullptr;  // the bytes [start_, end_) of the file
    size_t start_ = 0;
    size_t end_ = 0;
    size_t pos_ = 0;
    const RecordListener* listener_;
};

// The counts of a file, read and checked against its size before anything is built.
struct FileCounts {
    long long switchboards = 0;
    std::vector<long long> panels;                      // per switchboard
    std::vector<std::array<long long, 4>> groupCounts;  // per panel, in file order
    int trailerSlots = 0;                               // whole trailer slots present
};

FileCounts ReadCounts(FileReader& reader, long long size) {
    const auto sizeMismatch = [&] {
        return DamagedFile{"его размер (" + platform::IntToStr(size) +
                           " байт) не соответствует записанным в нём числам ГРЩ, щитов и групп"};
    };
    const auto negative = [&](int record, long long value) {
        return DamagedFile{"в записи " + platform::IntToStr(record) +
                           " записано отрицательное число элементов (" + platform::IntToStr(value) +
                           ")"};
    };
    FileCounts c;

    const long long headerEnd = 5 * SlotSize + kWordSize;
    if (size < headerEnd) {
        const long long record = std::min<long long>(size / SlotSize + 1, 6);
        throw DamagedFile{"он обрывается на записи " + platform::IntToStr(record)};
    }
    reader.Seek(5 * SlotSize);
    c.switchboards = reader.Word();
    if (c.switchboards < 0) throw negative(6, c.switchboards);
    // Each switchboard needs its count word and its B1 and B2 slots.
    const long long perSwitchboard = kWordSize + kSwitchboardSlots * SlotSize;
    if (c.switchboards > (size - headerEnd) / perSwitchboard) throw sizeMismatch();

    long long panelsTotal = 0;
    const long long b3 = headerEnd + c.switchboards * perSwitchboard;
    const long long perPanel = 4 * kWordSize + kPanelSlots * SlotSize;
    for (long long i = 0; i < c.switchboards; ++i) {
        const long long n = reader.Word();
        if (n < 0) throw negative(7, n);
        panelsTotal += n;
        if (panelsTotal > (size - b3) / perPanel) throw sizeMismatch();
        c.panels.push_back(n);
    }

    reader.Seek(static_cast<size_t>(b3));
    const long long groupsStart = b3 + panelsTotal * perPanel;
    long long groupSlots = 0;
    c.groupCounts.resize(static_cast<size_t>(panelsTotal));
    for (auto& counts : c.groupCounts) {
        for (int k = 0; k < 4; ++k) {
            counts[k] = reader.Word();
            if (counts[k] < 0) throw negative(29 + k, counts[k]);
            groupSlots += kGroupSlots[k] * counts[k];
        }
        if (groupSlots > (size - groupsStart) / SlotSize) throw sizeMismatch();
    }

    const long long rest = size - (groupsStart + groupSlots * SlotSize);
    if (rest > kTrailerSlots * SlotSize) throw sizeMismatch();
    c.trailerSlots = static_cast<int>(rest / SlotSize);
    if (rest % SlotSize != 0)
        throw DamagedFile{"он обрывается на записи " + platform::IntToStr(143 + c.trailerSlots)};
    return c;
}

void RequireDistinct(std::vector<int> numbers, const std::string& what) {
    std::sort(numbers.begin(), numbers.end());
    const auto twin = std::adjacent_find(numbers.begin(), numbers.end());
    if (twin != numbers.end()) throw DamagedFile{what + platform::IntToStr(*twin)};
}

// Builds the tree of a file whose counts were checked, telling the reader's listener of every
// record. Throws DamagedFile.
ProjectTree BuildTree(FileReader& reader, const FileCounts& c, ProjectFileExtras& extras) {
    ProjectTree root(new TGrsed);
    reader.Seek(0);
    ReadTargets top;
    top.extras = &extras;
    top.grsed = root.get();
    reader.Records(Block::Header, top, {c.switchboards});

    // Switchboards: appended with defaults, then filled block by block.
    const TGrsed switchboardTemplate;
    for (long long i = 0; i < c.switchboards; ++i) root->AddSwitchboard(switchboardTemplate);
    const std::vector<TGrsed*> switchboards =
        chains::Elements(root->Switchboards, chains::SwitchboardLink{}, INT_MAX);
    const auto eachSwitchboard = [&](auto&& step) {
        for (size_t i = 0; i < switchboards.size(); ++i) {
            ReadTargets t;
            t.grsed = switchboards[i];
            t.switchboardPlace = static_cast<int>(i) + 1;
            step(i, t);
        }
    };
    eachSwitchboard(
        [&](size_t i, ReadTargets& t) { reader.Records(Block::Counts, t, {c.panels[i]}); });
    eachSwitchboard([&](size_t, ReadTargets& t) { reader.Records(Block::B1, t); });
    eachSwitchboard([&](size_t, ReadTargets& t) { reader.Records(Block::B2, t); });
    {
        std::vector<int> numbers;
        for (const TGrsed* sw : switchboards) numbers.push_back(sw->SwitchboardNumber);
        RequireDistinct(numbers, "в нём два ГРЩ с номером ");
    }

    // Panels, appended by switchboard number.
    const TSitid panelTemplate;
    std::vector<std::vector<TSitid*>> panels(switchboards.size());
    for (size_t i = 0; i < switchboards.size(); ++i) {
        for (long long j = 0; j < c.panels[i]; ++j)
            root->AddPanel(switchboards[i]->SwitchboardNumber, panelTemplate);
        panels[i] = chains::Elements(switchboards[i]->Panels, chains::PanelLink{}, INT_MAX);
    }
    const auto eachPanel = [&](auto&& step) {
        size_t k = 0;
        for (size_t i = 0; i < switchboards.size(); ++i) {
            for (size_t j = 0; j < panels[i].size(); ++j, ++k) {
                ReadTargets t;
                t.panel = panels[i][j];
                t.switchboardPlace = static_cast<int>(i) + 1;
                t.panelPlace = static_cast<int>(j) + 1;
                step(k, t);
            }
        }
    };
    eachPanel([&](size_t k, ReadTargets& t) {
        const auto& g = c.groupCounts[k];
        reader.Records(Block::B3, t, {g[0], g[1], g[2], g[3]});
    });
    eachPanel([&](size_t, ReadTargets& t) { reader.Records(Block::B4, t); });
    eachPanel([&](size_t, ReadTargets& t) { reader.Records(Block::B5, t); });
    for (size_t i = 0; i < switchboards.size(); ++i) {
        std::vector<int> numbers;
        for (const TSitid* panel : panels[i]) numbers.push_back(panel->PanelNumber);
        RequireDistinct(numbers, "в ГРЩ " + platform::IntToStr(switchboards[i]->SwitchboardNumber) +
                                     " два щита с номером ");
    }

    // Groups: each panel's records appended with defaults through the root, then read.
    const TCxemaGrupd schemeTemplate;
    const TFasaGrup1d singleTemplate;
    const TFasaGrup2d twoTemplate;
    const TFasaGrup3d threeTemplate;
    size_t k = 0;
    for (size_t i = 0; i < switchboards.size(); ++i) {
        root->Switchboards.Cursor = switchboards[i];
        const int scan = root->CountPanels();
        for (size_t j = 0; j < panels[i].size(); ++j, ++k) {
            TSitid* panel = panels[i][j];
            const auto& g = c.groupCounts[k];
            const int number = panel->PanelNumber;
            for (long long n = 0; n < g[0]; ++n) root->AddCxemaGroup(number, scan, schemeTemplate);
            for (long long n = 0; n < g[1]; ++n) root->AddFasaGroup1(number, scan, singleTemplate);
            for (long long n = 0; n < g[2]; ++n) root->AddFasaGroup2(number, scan, twoTemplate);
            for (long long n = 0; n < g[3]; ++n) root->AddFasaGroup3(number, scan, threeTemplate);

            ReadTargets t;
            t.switchboardPlace = static_cast<int>(i) + 1;
            t.panelPlace = static_cast<int>(j) + 1;
            t.panel = panel;
            const auto readEach = [&](auto& block, auto link, long long count, Block layout,
                                      auto slot) {
                int place = 0;
                for (auto* record : chains::Elements(block, link, static_cast<int>(count))) {
                    ReadTargets rt = t;
                    rt.*slot = record;
                    rt.groupPlace = ++place;
                    reader.Records(layout, rt);
                    if constexpr (std::is_same_v<std::decay_t<decltype(*record)>, TCxemaGrupd>) {
                        if (record->PhaseKind < 2 || record->PhaseKind > 4)
                            throw DamagedFile{"в записи 77" + PlaceText(rt) +
                                              " недопустимое число проводников группы (" +
                                              platform::IntToStr(record->PhaseKind) + ")"};
                    }
                }
            };
            readEach(panel->SchemeGroups, chains::SchemeLink{}, g[0], Block::G1,
                     &ReadTargets::scheme);
            readEach(panel->SinglePhaseGroups, chains::SinglePhaseLink{}, g[1], Block::G2,
                     &ReadTargets::single);
            readEach(panel->TwoPhaseGroups, chains::TwoPhaseLink{}, g[2], Block::G3,
                     &ReadTargets::two);
            readEach(panel->ThreePhaseGroups, chains::ThreePhaseLink{}, g[3], Block::G4,
                     &ReadTargets::three);
        }
    }

    // Trailer: as many records as the file holds; an empty record 143 keeps the default.
    const std::span<const RecordDef> trailer = RecordsOf(Block::Trailer);
    for (int n = 0; n < c.trailerSlots; ++n) {
        const RecordDef& def = trailer[static_cast<size_t>(n)];
        reader.Note(def, top);
        const std::string_view text = reader.Slot(def.Number, top);
        if (def.TextForm == Form::R && text.empty()) continue;
        Assign(def, top, reader.Parse(def, text, top));
    }
    return root;
}

// Hands every stored cable table name to `open`, in the order the tables are attached: the
// switchboards' feeders, the panels' feeders, the scheme records. Stops at the first false.
bool OpenCableTables(TGrsed& root, const std::function<bool(const CableTableRequest&)>& open) {
    const auto switchboards =
        chains::Elements(root.Switchboards, chains::SwitchboardLink{}, INT_MAX);
    for (TGrsed* sw : switchboards)
        if (!open({sw->SwitchboardTable, sw, nullptr, nullptr})) return false;
    for (TGrsed* sw : switchboards)
        for (TSitid* panel : chains::Elements(sw->Panels, chains::PanelLink{}, INT_MAX))
            if (!open({panel->CurrentTableName, nullptr, panel, nullptr})) return false;
    for (TGrsed* sw : switchboards)
        for (TSitid* panel : chains::Elements(sw->Panels, chains::PanelLink{}, INT_MAX))
            for (TCxemaGrupd* group :
                 chains::Elements(panel->SchemeGroups, chains::SchemeLink{}, INT_MAX))
                if (!open({group->CableTable, nullptr, nullptr, group})) return false;
    return true;
}

// The element a listed record belongs to, by the numbers and names of the finished tree.
std::string ListedOwner(const ReadTargets& t, const std::vector<TGrsed*>& switchboards) {
    if (t.switchboardPlace == 0) return "проект";
    const TGrsed& sw = *switchboards[static_cast<size_t>(t.switchboardPlace) - 1];
    std::string text = "ГРЩ " + platform::IntToStr(sw.SwitchboardNumber);
    if (!t.panel) return text;
    text += ", щит " + platform::IntToStr(t.panel->PanelNumber);
    const auto named = [&](const char* kind, const std::string& name) {
        return text + ", " + kind + " \"" + name + "\"";
    };
    if (t.scheme) return named("группа", t.scheme->GroupName);
    if (t.single) return named("однофазная запись", t.single->GroupName1);
    if (t.two) return named("двухфазная запись", t.two->GroupName2);
    if (t.three) return named("трёхфазная запись", t.three->GroupName3);
    return text;
}

}  // namespace

const std::array<RecordDef, RecordCount>& ProjectRecords() {
    return kRecords;
}

namespace {

// The file's records in their order into the sink; the refusal of a value the file cannot hold,
// or "".
std::string WriteProject(const TGrsed& root, const ProjectFileExtras& extras,
                         const std::vector<SwitchboardItems>& tree, ByteSink& sink) {
    FileWriter writer(sink);
    try {
        const long long switchboards = static_cast<long long>(tree.size());
        WriteTargets top;
        top.extras = &extras;
        top.grsed = &root;
        writer.Records(Block::Header, top, {switchboards});
        for (const SwitchboardItems& s : tree)
            writer.Records(Block::Counts, {}, {static_cast<long long>(s.panels.size())});
        for (const Block block : {Block::B1, Block::B2}) {
            for (const SwitchboardItems& s : tree) {
                WriteTargets t;
                t.grsed = s.switchboard;
                writer.Records(block, t, {}, &switchboards);
            }
        }
        for (const SwitchboardItems& s : tree) {
            for (const PanelItems& p : s.panels) {
                writer.Records(
                    Block::B3, {},
                    {static_cast<long long>(p.scheme.size()),
                     static_cast<long long>(p.single.size()), static_cast<long long>(p.two.size()),
                     static_cast<long long>(p.three.size())});
            }
        }
        for (const Block block : {Block::B4, Block::B5}) {
            for (const SwitchboardItems& s : tree) {
                for (const PanelItems& p : s.panels) {
                    WriteTargets t;
                    t.panel = p.panel;
                    writer.Records(block, t);
                }
            }
        }
        for (const SwitchboardItems& s : tree) {
            for (const PanelItems& p : s.panels) {
                WriteTargets t;
                t.panel = p.panel;
                const auto writeEach = [&](const auto& records, Block block, auto slot) {
                    for (const auto* record : records) {
                        WriteTargets rt = t;
                        rt.*slot = record;
                        writer.Records(block, rt);
                    }
                };
                writeEach(p.scheme, Block::G1, &WriteTargets::scheme);
                writeEach(p.single, Block::G2, &WriteTargets::single);
                writeEach(p.two, Block::G3, &WriteTargets::two);
                writeEach(p.three, Block::G4, &WriteTargets::three);
            }
        }
        writer.Records(Block::Trailer, top);
    } catch (const SaveFailure& failure) {
        return failure.message;
    }
    return {};
}

}  // namespace

std::string BuildProjectFile(const TGrsed& root, const ProjectFileExtras& extras,
                             std::vector<char>& bytes) {
    const std::vector<SwitchboardItems> tree = CollectTree(root);
    VectorSink sink(bytes, static_cast<std::size_t>(FileSize(tree)));
    std::string error = WriteProject(root, extras, tree, sink);
    if (!error.empty()) bytes.clear();
    return error;
}

std::string SaveProjectFile(const std::string& path, const TGrsed& root,
                            const ProjectFileExtras& extras) {
    const std::vector<SwitchboardItems> tree = CollectTree(root);
    platform::ReplacingFile file(path);
    StreamSink sink(file);
    // A refused project leaves no file behind: the temporary one goes with `file`.
    std::string error = WriteProject(root, extras, tree, sink);
    if (!error.empty()) return error;
    int failed = sink.Flush();
    if (failed == 0) failed = file.Commit();
    if (failed != 0)
        return "Не удалось записать файл \"" + path + "\": " + platform::SystemErrorText(failed) +
               ".";
    return {};
}

namespace {

LoadResult Unreadable() {
    LoadResult result;
    result.Status = LoadStatus::CannotOpen;
    result.Message = CannotOpenMessage;
    return result;
}

LoadResult Damaged(const std::string& path, const DamagedFile& damage) {
    LoadResult result;
    result.Status = LoadStatus::Damaged;
    result.Message = "Файл \"" + path + "\" повреждён: " + damage.detail + ".";
    return result;
}

// The tree of a whole file, once its references to the reference tables are accepted.
LoadResult Accepted(ProjectTree root, ProjectFileExtras extras, const LoadHooks& hooks) {
    // References to the reference tables, checked once the whole file is read.
    LoadResult result;
    if (hooks.CheckTransformer && !root->TransformerName.empty() &&
        !hooks.CheckTransformer(root->TransformerName)) {
        result.Status = LoadStatus::Stopped;
        return result;
    }
    if (hooks.OpenCableTable && !OpenCableTables(*root, hooks.OpenCableTable)) {
        result.Status = LoadStatus::Stopped;
        return result;
    }

    root->ResetCursors();
    result.Status = LoadStatus::Loaded;
    result.Root = std::move(root);
    result.Extras = std::move(extras);
    return result;
}

}  // namespace

LoadResult ReadProjectFile(std::string_view bytes, const std::string& path,
                           const LoadHooks& hooks) {
    ProjectFileExtras extras;
    ProjectTree root;
    try {
        FileReader reader(bytes);
        root = BuildTree(reader, ReadCounts(reader, static_cast<long long>(bytes.size())), extras);
    } catch (const DamagedFile& damage) {
        return Damaged(path, damage);
    }
    return Accepted(std::move(root), std::move(extras), hooks);
}

LoadResult LoadProjectFile(const std::string& path, const LoadHooks& hooks) {
    ProjectFileExtras extras;
    ProjectTree root;
    try {
        // Read through a window as it is built: the file's bytes are never all in memory.
        platform::ReadingFile file;
        if (!file.Open(path)) return Unreadable();
        FileWindow window(file);
        FileReader reader(window);
        try {
            root =
                BuildTree(reader, ReadCounts(reader, static_cast<long long>(file.Size())), extras);
        } catch (const DamagedFile& damage) {
            // Judged by the size the file had when it was opened, which it must still have.
            if (!window.EndsAtItsSize()) throw FileChanged{};
            return Damaged(path, damage);
        }
        if (!window.EndsAtItsSize()) throw FileChanged{};
    } catch (const ReadFailure&) {
        return Unreadable();
    } catch (const FileChanged&) {
        // Read again, whole, as it is now (a file whose size the system does not know before
        // it is read is one such).
        root.reset();
        FileBytes bytes;
        if (!ReadWholeFile(path, bytes)) return Unreadable();
        return ReadProjectFile(bytes.View(), path, hooks);
    }
    return Accepted(std::move(root), std::move(extras), hooks);
}

std::string ListFileRecords(std::string_view bytes, std::vector<FileRecord>& records) {
    records.clear();
    struct Seen {
        const RecordDef* def;
        size_t offset;
        ReadTargets at;
    };
    std::vector<Seen> seen;
    const RecordListener listener = [&](const RecordDef& def, size_t offset, const ReadTargets& t) {
        seen.push_back({&def, offset, t});
    };
    ProjectFileExtras extras;
    ProjectTree root;
    try {
        FileReader reader(bytes, &listener);
        root = BuildTree(reader, ReadCounts(reader, static_cast<long long>(bytes.size())), extras);
    } catch (const DamagedFile& damage) {
        return "файл повреждён: " + damage.detail + ".";
    }

    const std::vector<TGrsed*> switchboards =
        chains::Elements(root->Switchboards, chains::SwitchboardLink{}, INT_MAX);
    records.reserve(seen.size());
    for (const Seen& s : seen) {
        FileRecord& r = records.emplace_back();
        r.Def = s.def;
        r.Offset = s.offset;
        r.Size = s.def->TextForm == Form::W ? kWordSize : SlotSize;
        r.SwitchboardPlace = s.at.switchboardPlace;
        r.PanelPlace = s.at.panelPlace;
        r.GroupKind = s.at.scheme ? 1 : s.at.single ? 2 : s.at.two ? 3 : s.at.three ? 4 : 0;
        r.GroupPlace = s.at.groupPlace;
        r.Owner = ListedOwner(s.at, switchboards);
        if (s.def->TextForm == Form::W) {
            FileReader reader(bytes);
            reader.Seek(s.offset);
            r.Text = platform::IntToStr(reader.Word());
        } else {
            const std::string_view slot = bytes.substr(s.offset, SlotSize);
            Cp1251Codec::Get().Decode(slot.substr(0, slot.find('\0')), r.Text);
        }
    }
    return {};
}

std::string EntryTextProblem(const std::string& text, const std::string& subject) {
    std::string encoded;
    if (text.find('\0') != std::string::npos || !platform::Utf8ToCp1251(text, encoded))
        return subject + " содержит символы, которые нельзя сохранить в файле проекта.";
    if (encoded.size() > static_cast<size_t>(MaxSlotText))
        return subject + " длиннее " + platform::IntToStr(MaxSlotText) +
               " символов: столько нельзя сохранить в файле проекта.";
    return std::string();
}

}  // namespace projectfile
