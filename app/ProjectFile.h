#pragma once
// The project file (.VPQ): a flat sequence of 148 kinds of record, each either a 255-byte text
// slot (Windows-1251 text, a NUL, zero bytes to the end) or a 32-bit little-endian count, written
// block by block over the whole tree. No signature, no version: the counts it carries are its
// only structure. Only the entered data and the values stored by the selection and check passes
// are saved; everything else is recalculated after loading.
//
// This layer is Qt-free. It writes a tree to bytes or to a file, and reads a file into a new tree
// that it hands over only when the whole file was read without a fault. The main window's
// commands (New, Open, Save, Save As, the recalculation after loading) build on it.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>
#include <vector>

#include "model/Classd.h"

namespace projectfile {

constexpr int SlotSize = 255;
constexpr int MaxSlotText = SlotSize - 1;  // bytes of text before the NUL
constexpr int RecordCount = 148;

// The project's title block ("Штамп проекта"), the last five records of the file. The title block
// dialog keeps no values of its own yet; its commands copy these to and from its edits.
struct ProjectStamp {
    std::string DocumentCode;  // "Обозначение документа", Edit1
    std::string DevelopedBy;   // "Разработал", Edit2
    std::string CheckedBy;     // "Проверил", Edit3
    std::string ApprovedBy;    // "Утвердил", Edit4
    std::string NormControl;   // "Нормоконтроль", Edit5

    friend bool operator==(const ProjectStamp&, const ProjectStamp&) = default;
};

// What the file carries besides the tree: the two counters of the group entry window (records 1
// and 2) and the title block.
struct ProjectFileExtras {
    int GroupCounter = 0;
    int GroupCounterCode = 0;  // 100 x counter + 700 after each added group
    ProjectStamp Stamp;

    friend bool operator==(const ProjectFileExtras&, const ProjectFileExtras&) = default;
};

// How a record holds its value.
enum class Form {
    I,  // 32-bit int as decimal integer text
    b,  // byte as decimal integer text; read back as the low 8 bits
    R,  // double as real text
    X,  // 80-bit real, rounded to double, as real text
    B,  // byte flag as real text ("0", "1"); read back as 1 when not 0
    N,  // 32-bit int as real text; read back truncated toward zero
    S,  // string, Windows-1251 in the file
    W,  // count: 4-byte little-endian signed int, no slot
};

// The blocks of the file, in file order.
enum class Block {
    Header,   // 1-6, once
    Counts,   // 7, once per switchboard
    B1,       // 8-22, per switchboard
    B2,       // 23-28, per switchboard
    B3,       // 29-32, per panel
    B4,       // 33-69, per panel
    B5,       // 70-76, per panel
    G1,       // 77-93, per scheme record
    G2,       // 94-104, per single-phase record
    G3,       // 105-122, per two-phase record
    G4,       // 123-142, per three-phase record
    Trailer,  // 143-148, once; may be missing, whole or in part, from the end of a file
};

// A field of a record of type R: a member, or one element of an owned array member.
template <class R>
using Member =
    std::variant<int R::*, std::uint8_t R::*, double R::*, long double R::*, std::string R::*,
                 std::vector<double> R::*, std::vector<long double> R::*>;

template <class R>
struct FieldOf {
    Member<R> Ptr;
    int Index = 0;  // element of an owned array
};

// The record that holds the field. Header and trailer fields of a TGrsed belong to the project
// root; those of the Counts, B1 and B2 blocks to each switchboard.
using FieldRef = std::variant<FieldOf<ProjectFileExtras>, FieldOf<ProjectStamp>, FieldOf<TGrsed>,
                              FieldOf<TSitid>, FieldOf<TCxemaGrupd>, FieldOf<TFasaGrup1d>,
                              FieldOf<TFasaGrup2d>, FieldOf<TFasaGrup3d>>;

struct RecordDef {
    int Number;
    Block InBlock;
    Form TextForm;
    FieldRef Field;
    const char* Name;   // the model field
    const char* Title;  // what the user calls the field, for messages
};

// The layout: every record of the file, by number (entry i is record i + 1), with the model field
// it is written from and read into.
const std::array<RecordDef, RecordCount>& ProjectRecords();

// A field's value in a form that compares across field types.
using FieldValue = std::variant<long long, long double, std::string>;

template <class R>
FieldValue ValueOf(const FieldOf<R>& field, const R& record) {
    return std::visit(
        [&](auto member) -> FieldValue {
            const auto& v = record.*member;
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, std::string>) {
                return v;
            } else if constexpr (std::is_integral_v<V>) {
                return static_cast<long long>(v);
            } else if constexpr (std::is_floating_point_v<V>) {
                return static_cast<long double>(v);
            } else {
                // An owned array shorter than the file's layout holds zeros there.
                const auto i = static_cast<size_t>(field.Index);
                return i < v.size() ? static_cast<long double>(v[i]) : 0.0L;
            }
        },
        field.Ptr);
}

// ---- Writing ----

// The bytes of the project file of the tree under `root`. The counts written are the lengths of
// the chains, so the file always describes exactly the records it holds. The tree is not changed
// (its cursors neither). Returns "" on success, else the reason, naming the field: a text that
// has no Windows-1251 form, is longer than 254 bytes or holds a NUL character is never truncated,
// and a number that is not finite is refused (the reader would not take it back).
std::string BuildProjectFile(const TGrsed& root, const ProjectFileExtras& extras,
                             std::vector<char>& bytes);

// Why a text entered for a text slot of the project file cannot be kept there, so that the window
// it is entered in refuses it at once rather than the next save: it holds a character without a
// Windows-1251 form (or a NUL character), or it is longer than the slot's 254 bytes (one a
// character in Windows-1251). `subject` names the field as the message begins ("Поле
// «Разработал»"). Empty when the text fits.
std::string EntryTextProblem(const std::string& text, const std::string& subject);

// Writes the project file to `path` through a temporary file beside it that replaces the old one
// only when it is complete. Returns "" on success, else the message; the previous file is then
// left as it was.
std::string SaveProjectFile(const std::string& path, const TGrsed& root,
                            const ProjectFileExtras& extras);

// ---- Reading ----

struct ProjectTreeDeleter {
    void operator()(TGrsed* root) const { DeleteProjectTree(root); }
};
using ProjectTree = std::unique_ptr<TGrsed, ProjectTreeDeleter>;

// A cable current table named by the loaded tree, with the record that uses it (exactly one of
// the three pointers is set), so that the table's cross-sections can be attached to it.
struct CableTableRequest {
    const std::string& Name;
    TGrsed* Switchboard = nullptr;
    TSitid* Panel = nullptr;
    TCxemaGrupd* Group = nullptr;
};

// Checks against the reference tables, run after the whole file was read. Each reports its own
// failure to the user and returns false to stop the load. Unset hooks accept everything.
struct LoadHooks {
    // The root's transformer name, when it is not empty.
    std::function<bool(const std::string& transformerName)> CheckTransformer;
    // Every stored cable table name, unchanged: each switchboard's feeder table, then each
    // panel's, then each scheme record's, in chain order.
    std::function<bool(const CableTableRequest&)> OpenCableTable;
};

enum class LoadStatus {
    Loaded,
    CannotOpen,  // the file could not be read
    Damaged,     // the file is not a whole project file
    Stopped,     // a hook returned false (it told the user why)
};

struct LoadResult {
    LoadStatus Status = LoadStatus::CannotOpen;
    std::string Message;  // for CannotOpen and Damaged
    ProjectTree Root;     // set only when Loaded
    ProjectFileExtras Extras;
};

// The text shown when a project file cannot be read at all.
extern const char* const CannotOpenMessage;

// Reads a project file held in memory; `path` names it in the messages. The tree is built with
// the model's appends in file order, every count field set from the file, cursors reset; the
// loaded values are all there is (no recalculation). Reals are read with ',' or '.'; a value
// that is not finite ("INF", "NAN") is damage.
LoadResult ReadProjectFile(std::string_view bytes, const std::string& path,
                           const LoadHooks& hooks = {});

// Reads the file at `path` as ReadProjectFile reads its bytes, through a buffer of bounded size
// as the tree is built rather than whole first.
LoadResult LoadProjectFile(const std::string& path, const LoadHooks& hooks = {});

// ---- Listing ----

// A record as a file holds it, for comparing files record by record.
struct FileRecord {
    const RecordDef* Def = nullptr;
    size_t Offset = 0;  // of its slot or count in the file
    size_t Size = 0;    // SlotSize, or 4 for a count
    // The element it belongs to, by 1-based places in the file; 0 where it belongs to none.
    int SwitchboardPlace = 0;
    int PanelPlace = 0;
    int GroupKind = 0;  // 1 scheme record, 2 single-, 3 two-, 4 three-phase record
    int GroupPlace = 0;
    // The same by the numbers and names read: "проект", "ГРЩ 1", "ГРЩ 1, щит 3",
    // "ГРЩ 1, щит 3, группа \"3.1\"", "ГРЩ 1, щит 3, однофазная запись \"3.1\"".
    std::string Owner;
    std::string Text;  // the slot's text up to its NUL, or the count
};

// Reads a project file as ReadProjectFile does, without hooks, and lists every record it holds in
// file order. Returns "" or, for a damaged file, what is wrong with it; `records` is then empty.
std::string ListFileRecords(std::string_view bytes, std::vector<FileRecord>& records);

}  // namespace projectfile
