#pragma once
// The in-memory table behind the reference tables (breakers, transformers, cable current tables):
// typed fields, index definitions, an ordered cursor, editing with a change log and save points,
// and persistence as an XML data packet.
//
// File form (written UTF-8 with a declaration; numbers with '.', shortest text that reads back
// to the same double):
//
//   <DATAPACKET Version="2.0">
//     <METADATA>
//       <FIELDS>
//         <FIELD attrname="Сечение_x0020_0_x0020_жилы" fieldtype="r8" required="true"/>
//         <FIELD attrname="Серии" fieldtype="string" WIDTH="20"/>
//         <FIELD attrname="Число_x0020_полюсов" fieldtype="i4"/>
//       </FIELDS>
//       <PARAMS>
//         <INDEX name="02" fields="Мощность кВА" unique="true" descending="true"/>
//       </PARAMS>
//     </METADATA>
//     <ROWDATA>
//       <ROW Сечение_x0020_0_x0020_жилы="2.5" Серии="ВА47-29"/>
//     </ROWDATA>
//   </DATAPACKET>
//
// A field name is written as `attrname` in an XML-name form, and each row carries its values as
// attributes of that name; a null value has no attribute. The XML-name form keeps every
// character that may stand in an XML name and writes any other one, and '_' itself, as
// "_xHHHH_" (its code point in hex), so it is reversible for any name. On reading, a pair of
// UTF-16 surrogate escapes ("_xD83D__xDE00_") stands for its one character; an escape of a
// lone surrogate names no character and stays as written, like any other text.
//
// The reader also takes a packet in Windows-1251 (or any encoding its declaration names); a
// packet without a declared encoding whose bytes are not valid UTF-8 is read as Windows-1251.
// Text that names no character (a character reference to a surrogate or beyond U+10FFFF) makes
// the packet damaged: whatever the reader accepts, the writer writes back readable.
//
// Parsed packets are kept in memory, shared by every dataset of the program, so that opening a
// table whose file has not changed reads nothing from disk. A packet is kept for the file itself
// (its device and inode, which a symbolic link and its target share) and used while the file
// keeps the size and the times of modification, of status change and of creation it had when it
// was read. A packet read within moments of its file's last modification is not kept: a second
// change in the same tick of the file system's clock could leave those stamps as they were.
// Writing a file through a dataset drops its packet at once; so does ForgetFile. Only sound
// packets are kept, and each dataset that opens one checks the fields it expects; the rows of an
// open dataset are its own copy, so nothing done to them reaches the kept packet.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace platform {

// Every failure of the dataset: a bad call, a refused post, a damaged or unwritable file. The
// text is Russian and meant for the user.
class EDatabaseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum TFieldType {
    ftString,   // UTF-8 text; Size is the most characters a value may have (0: no limit)
    ftFloat,    // 8-byte double
    ftInteger,  // 32-bit signed integer
};

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };

enum TIndexOption : unsigned { ixUnique = 1, ixDescending = 2 };
using TIndexOptions = unsigned;  // ixUnique | ixDescending

class TClientDataSet;

// A field that the owner of a dataset reads by name: a file whose table lacks it (unless it
// may be absent) or holds it with another type is damaged for that dataset.
struct TExpectedField {
    std::string name;
    TFieldType type;
    bool mayBeAbsent = false;
};

class TFieldDef {
public:
    TFieldDef(std::string name, TFieldType type, int size, bool required)
        : name_(std::move(name)), type_(type), size_(size), required_(required) {}
    const std::string& Name() const { return name_; }
    TFieldType DataType() const { return type_; }
    int Size() const { return size_; }
    // A required field refuses a post while it is null. May be changed on an open dataset.
    bool Required() const { return required_; }
    void SetRequired(bool required) { required_ = required; }

private:
    std::string name_;
    TFieldType type_;
    int size_;
    bool required_;
};

// The structure of the table. Add and Clear are refused while the dataset is open; a load
// replaces the definitions by those of the file.
class TFieldDefs {
public:
    // Refuses an empty name and a name already defined (the cable table window relies on it).
    void Add(const std::string& name, TFieldType type, int size = 0, bool required = false);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    // Position of the definition of that name, -1 when there is none.
    int IndexOf(const std::string& name) const;
    TFieldDef& Items(int i);
    const TFieldDef& Items(int i) const;
    TFieldDef& operator[](int i) { return Items(i); }
    const TFieldDef& operator[](int i) const { return Items(i); }

private:
    friend class TClientDataSet;
    explicit TFieldDefs(const TClientDataSet& owner) : owner_(owner) {}
    const TClientDataSet& owner_;
    std::vector<TFieldDef> items_;
};

class TIndexDef {
public:
    TIndexDef(std::string name, std::string fields, TIndexOptions options)
        : name_(std::move(name)), fields_(std::move(fields)), options_(options) {}
    const std::string& Name() const { return name_; }
    const std::string& Fields() const { return fields_; }  // ';'-separated field names
    TIndexOptions Options() const { return options_; }

private:
    std::string name_;
    std::string fields_;
    TIndexOptions options_;
};

// Index definitions are kept and saved with the table. A unique index with fields refuses a
// second row with the same key (an index without fields constrains nothing). The order of the
// rows is chosen by IndexFieldNames, not by these definitions.
class TIndexDefs {
public:
    void Add(const std::string& name, const std::string& fields, TIndexOptions options = 0);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }
    const TIndexDef& Items(int i) const;
    const TIndexDef& operator[](int i) const { return Items(i); }

private:
    friend class TClientDataSet;
    explicit TIndexDefs(const TClientDataSet& owner) : owner_(owner) {}
    const TClientDataSet& owner_;
    std::vector<TIndexDef> items_;
};

// A handle on one field of the current row (of the row being edited in dsEdit / dsInsert).
// A null number reads as 0, a null text as "". Setting "" makes the value null. Values convert
// between types: a float reads as text in the program's number form ("0,1"), a text that holds
// a number reads as a number ('.' or ',' as separator), a float reads as an integer rounded to
// the nearest (a tie to the even one).
class TField {
public:
    std::string FieldName() const;
    TFieldType DataType() const;
    int Size() const;
    bool Required() const;
    int Index() const { return index_; }

    bool IsNull() const;
    double AsFloat() const;
    int AsInteger() const;
    std::string AsString() const;

    // Only in dsEdit / dsInsert. A value the field cannot hold (text too long, not a number,
    // a float that is not finite) is refused with EDatabaseError and nothing changes.
    void SetAsFloat(double value);
    void SetAsInteger(int value);
    void SetAsString(const std::string& value);
    void Clear();

private:
    friend class TClientDataSet;
    TField(TClientDataSet* dataSet, int index) : ds_(dataSet), index_(index) {}
    TClientDataSet* ds_;
    int index_;
};

// One pass of the program over the reference tables (the cable and loss passes run thousands of
// lookups in a row): while a batch is alive, each table file's size and times are looked up once
// and the answer is used for every later open of the same path. A write through a dataset and
// ForgetFile look again at once; a change made by another process during the batch is seen at
// the first open after it. Batches nest; the outermost ends the remembering.
class FileCheckBatch {
public:
    FileCheckBatch();
    ~FileCheckBatch();
    FileCheckBatch(const FileCheckBatch&) = delete;
    FileCheckBatch& operator=(const FileCheckBatch&) = delete;

    // 0 outside a batch; inside, a number that stays the same while no table file is written or
    // forgotten: what was looked up in a table under one number still holds under it.
    static std::uint64_t Generation();
};

class TClientDataSet {
public:
    TClientDataSet();
    // Closes the dataset (writing changed rows back to FileName); a failure is swallowed here,
    // so callers that must report it call Close themselves.
    ~TClientDataSet();
    TClientDataSet(const TClientDataSet&) = delete;
    TClientDataSet& operator=(const TClientDataSet&) = delete;

    TFieldDefs& FieldDefs() { return fieldDefs_; }
    const TFieldDefs& FieldDefs() const { return fieldDefs_; }
    TIndexDefs& IndexDefs() { return indexDefs_; }
    const TIndexDefs& IndexDefs() const { return indexDefs_; }

    // ';'-separated field names: the rows are seen in ascending order of them, rows with equal
    // keys (and nulls, which come first) in the order they were added; "" is the order of
    // addition. Kept across Close and Open. Setting a new value keeps the cursor on the same
    // row; setting the value it already has does nothing at all (the end-of-data flag stays).
    const std::string& IndexFieldNames() const { return indexFieldNames_; }
    void SetIndexFieldNames(const std::string& names);

    // The file that Open loads and that Close writes changed rows back to. A relative name is
    // taken relative to the current folder at the moment it is set.
    const std::string& FileName() const { return fileName_; }
    void SetFileName(const std::string& fileName);

    // An empty table from the definitions, opened. Closes the dataset first if it is open.
    void CreateDataSet();
    // Loads FileName. Does nothing when already open.
    void Open();
    // Posts a pending edit when it can (an edit that cannot be posted is dropped), writes the
    // rows back to FileName when they differ from what was loaded or last saved there (rows
    // returned to a save point are no change), then empties the dataset. If the write fails it
    // throws, and the dataset stays open with all its rows; a later Close tries again. Does
    // nothing on a closed dataset.
    void Close();
    bool Active() const { return active_; }
    void SetActive(bool active);

    // Closes the dataset if it is open (see Close), then loads the packet and opens it. A file
    // that is missing, unreadable or damaged (the expected fields included) throws EDatabaseError
    // naming the file and leaves the dataset closed, empty and without definitions.
    void LoadFromFile(const std::string& path);
    // The fields every file loaded into this dataset must have (Open and LoadFromFile); none
    // at first. Tables made by CreateDataSet are not checked.
    void SetExpectedFields(std::vector<TExpectedField> fields) {
        expectedFields_ = std::move(fields);
        filePacket_.reset();  // the rows were checked against other fields
    }
    // Checks each number set into a field of the row being edited or inserted (through TField,
    // as typing in a grid does) before it is kept: the check throws EDatabaseError, with the
    // message for the user, to refuse it, and the row keeps the value it had. Kept across loads;
    // rows read from files are not checked. None at first.
    using TValueCheck = std::function<void(const TFieldDef& field, double value)>;
    void SetValueCheck(TValueCheck check) { valueCheck_ = std::move(check); }
    // Writes the whole table (a pending edit is posted first). The file is written beside the
    // target and renamed over it, so a failed write leaves the old file as it was. "" means
    // FileName.
    void SaveToFile(const std::string& path = "");

    // Close followed by Open, without reading the file, where that gives the same table: the
    // dataset is open on FileName, holds no change since it was loaded, and the file is still the
    // one it was loaded from, unchanged. Then the dataset is put back as opening leaves it (first
    // row current, no change log, the field definitions as in the file) and the result is true.
    // Otherwise nothing happens and the result is false.
    bool ReopenUnchanged();

    // The packet kept in memory for the file at that path, if any, is dropped (the file is about
    // to be deleted, or was changed in a way its stamps may not show).
    static void ForgetFile(const std::string& path);

    // A regular file stands at that path (links followed); within a FileCheckBatch the answer
    // is the batch's.
    static bool IsRegularFile(const std::string& path);
    // The version of the file at that path: equal texts for the same file unchanged (device,
    // inode, size and times), empty when no file stands there; within a FileCheckBatch the
    // batch's answer.
    static std::string FileVersion(const std::string& path);

    TDataSetState State() const { return state_; }

    // Moving posts a pending edit first (or drops a new row in which nothing was set). Moving
    // a closed dataset throws.
    void First();
    void Next();
    void Prior();
    void Last();
    // Moves by n rows and returns the rows actually moved. Moving past the last row stays on
    // it and sets Eof; moving before the first stays on it and sets Bof.
    int MoveBy(int n);
    // True only after a move past the last row (the last row stays current), on an empty or
    // a closed dataset. First and Last clear it.
    bool Eof() const;
    // True only after a move before the first row, on an empty or a closed dataset.
    bool Bof() const;
    // 1-based position of the current row; 0 when there is none or a new row is being inserted.
    int RecNo() const;
    int RecordCount() const;
    bool IsEmpty() const { return RecordCount() == 0; }

    // The fields of an open dataset (FieldCount is 0 on a closed one). A closed dataset, an
    // unknown name or a position out of range throws EDatabaseError.
    int FieldCount() const;
    TField Fields(int index);
    TField FieldByName(const std::string& name);

    // Append: a new row that goes after the others; Insert: one that goes before the current
    // row (in the order of addition). Either one is placed by IndexFieldNames when posted.
    void Append();
    void Insert();
    // Edit of an empty dataset is refused.
    void Edit();
    // Checks required fields and unique indexes; a refused post keeps the edit state and
    // its values. Does nothing in dsBrowse.
    void Post();
    void Cancel();
    // Deletes the current row; the next row becomes current (after the last row: the new last
    // one, with Eof set). In dsInsert it only drops the new row.
    void Delete();
    // A value of the row being edited has been set.
    bool Modified() const { return modified_; }

    // Edit, setting the field to its value (as a float) times `factor`, Post and Next for every
    // row from the first in the present order, each change in the change log; afterwards the
    // dataset is past its last row. A value that cannot be set or a row that cannot be posted
    // throws as Post would, the rows before it changed (callers return to a save point).
    void ScaleField(const std::string& name, double factor);

    // The position of the change log: SetSavePoint returns every row to its values at that
    // moment (inserted rows go, deleted rows come back, edited rows get their old values). A
    // position beyond the log is refused; on a closed dataset SetSavePoint does nothing.
    int SavePoint() const { return static_cast<int>(log_.size()); }
    void SetSavePoint(int savePoint);
    // Changes recorded since the rows were loaded or created.
    int ChangeCount() const { return static_cast<int>(log_.size()); }

private:
    friend class TField;
    friend class TFieldDefs;
    friend class TIndexDefs;
    friend class PacketCache;

    using Value = std::variant<std::monostate, double, int32_t, std::string>;
    using Values = std::vector<Value>;
    struct Row {
        uint64_t id;
        Values values;
    };
    struct Change {
        enum class Kind { Inserted, Deleted, Edited, FieldEdited } kind;
        uint64_t id;
        size_t position;  // storage position at the time of the change
        Values values;    // the deleted row, or the old values of an edited row
        int field = -1;   // FieldEdited: the one field changed, and its old value
        Value value = Value();
    };

    // A table as read from its file: definitions and rows in file order.
    struct Packet;

    void CheckActive() const;
    void CheckFieldIndex(int index) const;
    void CheckEditing(int index) const;
    void CheckBrowseMode();
    void CheckDefinitions() const;
    void ClearData();
    void OpenOn(const std::vector<Values>& rows, std::vector<int> sortFields);
    void Load(const std::string& path, const std::string& shownPath);
    void LoadPacket(const std::string& path, const std::string& shownPath);
    // Reads and parses the file; `kept` tells that the packet was kept for it.
    std::shared_ptr<const Packet> ReadPacket(const std::string& path, const std::string& shownPath,
                                             bool& kept) const;
    std::shared_ptr<const Packet> ParsePacket(const std::string& bytes,
                                              const std::string& shownPath) const;
    void CheckExpectedFields(const std::vector<TFieldDef>& fields,
                             const std::string& shownPath) const;
    void OpenOnPacket(std::shared_ptr<const Packet> packet, const std::string& shownPath);
    void Write(const std::string& path, const std::string& shownPath);
    std::string BuildPacket() const;
    bool ChangedSinceFile() const;
    std::vector<int> ResolveFieldNames(const std::string& names) const;
    // Required values and unique keys of a row to be posted: a new one, or an edit of `stored`.
    void CheckRow(const Values& values, const Row* stored) const;
    void RebuildView();
    void LocateRow(uint64_t id);
    uint64_t CurrentId() const;
    size_t StoragePosition(uint64_t id, size_t hint) const;

    const Value& ReadValue(int field) const;
    void WriteValue(int field, Value value);

    TFieldDefs fieldDefs_;
    TIndexDefs indexDefs_;
    std::vector<TExpectedField> expectedFields_;
    TValueCheck valueCheck_;
    std::string indexFieldNames_;
    std::string fileName_;
    std::string filePath_;  // FileName made absolute when it was set

    // The packet the open rows were loaded from, while FileName is the file it was read from and
    // that packet was kept; null otherwise.
    std::shared_ptr<const Packet> filePacket_;
    std::vector<std::vector<int>> uniqueKeys_;  // fields of the unique indexes, while open

    bool active_ = false;
    TDataSetState state_ = dsInactive;
    std::vector<Row> rows_;        // in the order of addition
    std::vector<size_t> view_;     // storage positions in the order the rows are seen
    std::vector<int> sortFields_;  // resolved IndexFieldNames
    int cursor_ = -1;              // position in view_, -1 when empty
    bool eof_ = true;
    bool bof_ = true;
    uint64_t nextId_ = 1;

    Values buffer_;  // the row being edited or inserted
    bool modified_ = false;
    bool appending_ = false;
    uint64_t insertBeforeId_ = 0;  // 0: at the end

    std::vector<Change> log_;
    size_t savedLogSize_ = 0;      // log size when the rows matched the file
    bool savedStateLost_ = false;  // the log was rolled back past that point
};

}  // namespace platform
