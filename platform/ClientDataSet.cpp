#include "platform/ClientDataSet.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <numeric>
#include <pugixml.hpp>
#include <unordered_map>

#include "platform/Conversions.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"

namespace platform {
namespace {

std::string Quoted(const std::string& text) {
    return "'" + text + "'";
}

// ---- UTF-8 ----

bool IsValidUtf8(const std::string& s) {
    char32_t cp;
    for (size_t i = 0; i < s.size();)
        if (!NextCodePoint(s, i, cp)) return false;
    return true;
}

// Characters, not bytes; a stray byte counts as one character.
size_t CharacterCount(const std::string& s) {
    size_t count = 0;
    char32_t cp;
    for (size_t i = 0; i < s.size(); ++count)
        if (!NextCodePoint(s, i, cp)) ++i;
    return count;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// ---- Field names as XML names ----

// XML 1.0 name characters, without ':' (namespaces) and '_' (our escape character).
bool IsNameStartChar(char32_t c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c <= 0xD6) ||
           (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) || (c >= 0x370 && c <= 0x37D) ||
           (c >= 0x37F && c <= 0x1FFF) || (c >= 0x200C && c <= 0x200D) ||
           (c >= 0x2070 && c <= 0x218F) || (c >= 0x2C00 && c <= 0x2FEF) ||
           (c >= 0x3001 && c <= 0xD7FF) || (c >= 0xF900 && c <= 0xFDCF) ||
           (c >= 0xFDF0 && c <= 0xFFFD) || (c >= 0x10000 && c <= 0xEFFFF);
}

bool IsNameChar(char32_t c) {
    return IsNameStartChar(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}

// Any text as an XML name: a character that may not stand where it is, and '_', becomes
// "_xHHHH_" (at least four hex digits).
std::string EncodeXmlName(const std::string& name) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    char32_t cp;
    for (size_t i = 0; i < name.size();) {
        const size_t start = i;
        if (!NextCodePoint(name, i, cp)) {  // field names are checked to be UTF-8; be safe
            cp = static_cast<unsigned char>(name[i++]);
        }
        const bool allowed = out.empty() ? IsNameStartChar(cp) : IsNameChar(cp);
        if (allowed) {
            out.append(name, start, i - start);
        } else {
            std::string digits;
            for (char32_t v = cp; v != 0 || digits.size() < 4; v >>= 4)
                digits.insert(digits.begin(), hex[v & 0xF]);
            out += "_x" + digits + "_";
        }
    }
    return out;
}

// Reads an escape "_xHHHH_" (4 to 6 hex digits) at i: its code point and the position after it.
bool ReadNameEscape(const std::string& text, size_t i, char32_t& cp, size_t& end) {
    if (text.compare(i, 2, "_x") != 0) return false;
    const size_t close = text.find('_', i + 2);
    if (close == std::string::npos || close - (i + 2) < 4 || close - (i + 2) > 6) return false;
    unsigned long value = 0;
    const char* first = text.data() + i + 2;
    const char* last = text.data() + close;
    const auto [ptr, ec] = std::from_chars(first, last, value, 16);
    if (ec != std::errc() || ptr != last || value > 0x10FFFF) return false;
    cp = static_cast<char32_t>(value);
    end = close + 1;
    return true;
}

bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The inverse of EncodeXmlName. A '_' that starts no escape stays as it is; so does the escape
// of a lone surrogate, which names no character. A pair of surrogate escapes, as writers that
// work in UTF-16 give, is its one character.
std::string DecodeXmlName(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size();) {
        char32_t cp, low;
        size_t end, lowEnd;
        if (ReadNameEscape(text, i, cp, end)) {
            if (IsHighSurrogate(cp) && ReadNameEscape(text, end, low, lowEnd) &&
                IsLowSurrogate(low)) {
                AppendUtf8(out, 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00));
                i = lowEnd;
                continue;
            }
            if (!IsHighSurrogate(cp) && !IsLowSurrogate(cp)) {
                AppendUtf8(out, cp);
                i = end;
                continue;
            }
        }
        out += text[i++];
    }
    return out;
}

// ---- Numbers in the file ----

std::string FormatDouble(double v) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    return std::string(buffer, end);
}

bool ParseDouble(std::string text, double& out) {
    std::replace(text.begin(), text.end(), ',', '.');
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [ptr, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && ptr == last && !text.empty() && std::isfinite(out);
}

bool ParseInt32(const std::string& text, int32_t& out) {
    const char* first = text.data();
    const char* last = first + text.size();
    const auto [ptr, ec] = std::from_chars(first, last, out);
    return ec == std::errc() && ptr == last && !text.empty();
}

// ---- Files ----

EDatabaseError WriteError(const std::string& path, int error) {
    return EDatabaseError("Не удалось записать файл " + Quoted(path) + ": " +
                          SystemErrorText(error) + ".");
}

EDatabaseError DamagedFile(const std::string& path, const std::string& detail) {
    return EDatabaseError("Файл " + Quoted(path) + " повреждён: " + detail + ".");
}

// The same for a reason that is a sentence of its own.
EDatabaseError DamagedFileBecause(const std::string& path, const std::string& reason) {
    return EDatabaseError("Файл " + Quoted(path) + " повреждён. " + reason);
}

// What tells one state of a file from another: the file itself (device and inode, which a
// symbolic link and its target share), its size, and the times of its last change, of its last
// change of any kind and of its creation where the file system keeps one. A file put in the place
// of another (even under an inode used before) or rewritten with its modification time put back
// shows other stamps.
struct FileStamp {
    uint64_t device = 0;
    uint64_t inode = 0;
    uint64_t size = 0;
    statx_timestamp modified{}, changed{}, born{};
    bool regular = false;
};

bool SameTime(const statx_timestamp& a, const statx_timestamp& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool SameStamp(const FileStamp& a, const FileStamp& b) {
    return a.device == b.device && a.inode == b.inode && a.size == b.size &&
           SameTime(a.modified, b.modified) && SameTime(a.changed, b.changed) &&
           SameTime(a.born, b.born);
}

// The stamps of the file at a path (links followed) or, with an empty path, of an open file.
bool ReadStamp(int fd, const char* path, FileStamp& stamp) {
    struct statx info;
    const int flags = (*path ? 0 : AT_EMPTY_PATH) | AT_STATX_SYNC_AS_STAT;
    if (::statx(fd, path, flags, STATX_BASIC_STATS | STATX_BTIME, &info) != 0) return false;
    stamp.device = (static_cast<uint64_t>(info.stx_dev_major) << 32) | info.stx_dev_minor;
    stamp.inode = info.stx_ino;
    stamp.size = info.stx_size;
    stamp.modified = info.stx_mtime;
    stamp.changed = info.stx_ctime;
    stamp.born = (info.stx_mask & STATX_BTIME) ? info.stx_btime : statx_timestamp{};
    stamp.regular = S_ISREG(info.stx_mode);
    return true;
}

bool FreshStampOfPath(const std::string& path, FileStamp& stamp) {
    return ReadStamp(AT_FDCWD, path.c_str(), stamp);
}

// The stamps looked up during the live FileCheckBatch, by path; a path without a file is
// remembered as such.
struct BatchedStamps {
    int depth = 0;
    std::unordered_map<std::string, std::pair<bool, FileStamp>> byPath;
    // Grows at the start of every outermost batch and whenever a file is written or forgotten.
    std::uint64_t generation = 0;
};

BatchedStamps& Batch() {
    static thread_local BatchedStamps batch;
    return batch;
}

bool StampOfPath(const std::string& path, FileStamp& stamp) {
    BatchedStamps& batch = Batch();
    if (batch.depth == 0) return FreshStampOfPath(path, stamp);
    auto [at, added] = batch.byPath.try_emplace(path);
    if (added) at->second.first = FreshStampOfPath(path, at->second.second);
    if (at->second.first) stamp = at->second.second;
    return at->second.first;
}

// The whole file. `held` is its stamp after the read; `steady` tells that nothing changed the
// file while it was read.
std::string ReadWholeFile(const std::string& path, const std::string& shownPath, FileStamp& held,
                          bool& steady) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw EDatabaseError("Файл " + Quoted(shownPath) + " не найден.");
        throw EDatabaseError("Не удалось прочитать файл " + Quoted(shownPath) + ": " +
                             SystemErrorText(errno) + ".");
    }
    if (S_ISDIR(info.st_mode))
        throw EDatabaseError("Не удалось прочитать файл " + Quoted(shownPath) +
                             ": это папка, а не файл.");
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw EDatabaseError("Не удалось прочитать файл " + Quoted(shownPath) + ": " +
                             SystemErrorText(errno) + ".");
    FileStamp before;
    const bool known = ReadStamp(fd, "", before) && before.regular;
    std::string data;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            throw EDatabaseError("Не удалось прочитать файл " + Quoted(shownPath) + ": " +
                                 SystemErrorText(error) + ".");
        }
        if (n == 0) break;
        data.append(chunk, static_cast<size_t>(n));
    }
    steady =
        known && ReadStamp(fd, "", held) && SameStamp(held, before) && data.size() == held.size;
    ::close(fd);
    return data;
}

// Writes beside the target and renames over it: the old file survives any failure.
void WriteFileReplacing(const std::string& path, const std::string& data,
                        const std::string& shownPath) {
    if (const int error = platform::WriteFileReplacing(path, data.data(), data.size()))
        throw WriteError(shownPath, error);
}

bool SameFile(const std::string& a, const std::string& b) {
    std::error_code ec;
    return std::filesystem::equivalent(a, b, ec) && !ec;
}

// ---- Text encoding of a packet ----

bool ConvertToUtf8(const std::string& bytes, const std::string& encoding, std::string& out) {
    iconv_t cd = ::iconv_open("UTF-8", encoding.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    out.assign(bytes.size() * 2 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    size_t done = 0;
    bool ok = true;
    while (inLeft > 0) {
        char* dst = out.data() + done;
        size_t outLeft = out.size() - done;
        const size_t r = ::iconv(cd, &in, &inLeft, &dst, &outLeft);
        done = out.size() - outLeft;
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) {
                out.resize(out.size() * 2);
                continue;
            }
            ok = false;
            break;
        }
    }
    ::iconv_close(cd);
    out.resize(done);
    return ok;
}

// The encoding named in the XML declaration, "" when there is none.
std::string DeclaredEncoding(const std::string& text) {
    if (text.compare(0, 5, "<?xml") != 0) return "";
    const size_t end = text.find("?>");
    if (end == std::string::npos) return "";
    const std::string declaration = text.substr(0, end);
    size_t pos = declaration.find("encoding");
    if (pos == std::string::npos) return "";
    pos += 8;
    while (pos < declaration.size() && std::isspace(static_cast<unsigned char>(declaration[pos])))
        ++pos;
    if (pos >= declaration.size() || declaration[pos] != '=') return "";
    ++pos;
    while (pos < declaration.size() && std::isspace(static_cast<unsigned char>(declaration[pos])))
        ++pos;
    if (pos >= declaration.size() || (declaration[pos] != '"' && declaration[pos] != '\''))
        return "";
    const size_t close = declaration.find(declaration[pos], pos + 1);
    if (close == std::string::npos) return "";
    return declaration.substr(pos + 1, close - pos - 1);
}

std::string PacketToUtf8(std::string bytes, const std::string& shownPath) {
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) bytes.erase(0, 3);
    std::string encoding = DeclaredEncoding(bytes);
    std::string upper = encoding;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper == "UTF-8" || upper == "UTF8") {
        if (!IsValidUtf8(bytes))
            throw DamagedFile(shownPath, "текст не соответствует объявленной кодировке UTF-8");
        return bytes;
    }
    if (encoding.empty()) {
        if (IsValidUtf8(bytes)) return bytes;
        encoding = "CP1251";  // older tables were written in the Windows code page
    }
    std::string text;
    if (!ConvertToUtf8(bytes, encoding, text))
        throw DamagedFile(shownPath, "текст не читается в кодировке " + encoding);
    return text;
}

// ---- Values ----

using Value = std::variant<std::monostate, double, int32_t, std::string>;

bool IsNull(const Value& v) {
    return std::holds_alternative<std::monostate>(v);
}

// Order of index keys: null first; numbers by value; texts by code point.
int CompareValues(const Value& a, const Value& b) {
    if (IsNull(a) || IsNull(b)) return IsNull(b) - IsNull(a);
    if (const double* x = std::get_if<double>(&a)) {
        const double y = std::get<double>(b);
        if (std::isnan(*x) || std::isnan(y)) return std::isnan(*x) - std::isnan(y);
        return (*x > y) - (*x < y);
    }
    if (const int32_t* x = std::get_if<int32_t>(&a)) {
        const int32_t y = std::get<int32_t>(b);
        return (*x > y) - (*x < y);
    }
    const int c = std::get<std::string>(a).compare(std::get<std::string>(b));
    return (c > 0) - (c < 0);
}

// Exactly the same stored value (a double by its bits, so -0 differs from 0).
bool SameValue(const Value& a, const Value& b) {
    if (a.index() != b.index()) return false;
    if (const double* x = std::get_if<double>(&a)) {
        const double y = std::get<double>(b);
        return std::memcmp(x, &y, sizeof y) == 0;
    }
    return a == b;
}

std::vector<std::string> SplitNames(const std::string& names) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        const size_t end = names.find(';', start);
        const std::string part =
            names.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!part.empty()) out.push_back(part);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return out;
}

std::string FieldList(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& name : names) out += (out.empty() ? "" : ", ") + Quoted(name);
    return out;
}

const char* TypeName(TFieldType type) {
    switch (type) {
        case ftString:
            return "string";
        case ftFloat:
            return "r8";
        case ftInteger:
            return "i4";
    }
    return "";
}

// What a field of that type holds, as messages say it.
const char* TypeDescription(TFieldType type) {
    switch (type) {
        case ftString:
            return "текст";
        case ftFloat:
            return "числа";
        case ftInteger:
            return "целые числа";
    }
    return "";
}

bool RoundToInt32(double v, int32_t& out) {
    const double r = std::nearbyint(v);  // ties to even in the default rounding mode
    if (!(r >= INT32_MIN && r <= INT32_MAX)) return false;
    out = static_cast<int32_t>(r);
    return true;
}

// ---- Keys of unique indexes ----

using Values = std::vector<Value>;

// Positions of ';'-separated field names among the definitions.
std::vector<int> ResolveNames(const std::vector<TFieldDef>& fields, const std::string& names) {
    std::vector<int> positions;
    for (const std::string& name : SplitNames(names)) {
        int found = -1;
        for (size_t i = 0; i < fields.size() && found < 0; ++i)
            if (fields[i].Name() == name) found = static_cast<int>(i);
        if (found < 0) throw EDatabaseError("Поле " + Quoted(name) + " не найдено.");
        positions.push_back(found);
    }
    return positions;
}

// The fields of every unique index that has fields.
std::vector<std::vector<int>> UniqueKeysOf(const std::vector<TFieldDef>& fields,
                                           const std::vector<TIndexDef>& indexes) {
    std::vector<std::vector<int>> keys;
    for (const TIndexDef& index : indexes) {
        if (!(index.Options() & ixUnique)) continue;
        std::vector<int> key = ResolveNames(fields, index.Fields());
        if (!key.empty()) keys.push_back(std::move(key));
    }
    return keys;
}

std::string DuplicateKeyMessage(const std::vector<TFieldDef>& fields,
                                const std::vector<TIndexDef>& indexes,
                                const std::vector<int>& key) {
    std::vector<std::string> names;
    for (int f : key) names.push_back(fields[static_cast<size_t>(f)].Name());
    for (const TIndexDef& index : indexes) {
        if (!(index.Options() & ixUnique) || ResolveNames(fields, index.Fields()) != key) continue;
        std::string text = "Нарушение уникальности ключа: запись с таким значением " +
                           std::string(names.size() == 1 ? "поля " : "полей ") + FieldList(names) +
                           " уже есть";
        if (!index.Name().empty()) text += " (индекс " + Quoted(index.Name()) + ")";
        return text + ".";
    }
    return "Нарушение уникальности ключа.";
}

void CheckUniqueKeys(const std::vector<TFieldDef>& fields, const std::vector<TIndexDef>& indexes,
                     const std::vector<Values>& rows) {
    for (const std::vector<int>& key : UniqueKeysOf(fields, indexes)) {
        const auto compare = [&](size_t a, size_t b) {
            for (int f : key) {
                const int c = CompareValues(rows[a][f], rows[b][f]);
                if (c != 0) return c;
            }
            return 0;
        };
        std::vector<size_t> order(rows.size());
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(),
                  [&](size_t a, size_t b) { return compare(a, b) < 0; });
        for (size_t i = 1; i < order.size(); ++i)
            if (compare(order[i - 1], order[i]) == 0)
                throw EDatabaseError(DuplicateKeyMessage(fields, indexes, key));
    }
}

}  // namespace

// ---- Definitions ----

void TFieldDefs::Add(const std::string& name, TFieldType type, int size, bool required) {
    if (owner_.Active()) throw EDatabaseError("Нельзя менять поля открытого набора данных.");
    if (name.empty()) throw EDatabaseError("Имя поля не может быть пустым.");
    if (!IsValidUtf8(name)) throw EDatabaseError("Имя поля содержит недопустимые символы.");
    if (IndexOf(name) >= 0) throw EDatabaseError("Поле " + Quoted(name) + " уже определено.");
    if (size < 0) throw EDatabaseError("Неверный размер поля " + Quoted(name) + ".");
    items_.emplace_back(name, type, type == ftString ? size : 0, required);
}

void TFieldDefs::Clear() {
    if (owner_.Active()) throw EDatabaseError("Нельзя менять поля открытого набора данных.");
    items_.clear();
}

int TFieldDefs::IndexOf(const std::string& name) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].Name() == name) return static_cast<int>(i);
    return -1;
}

TFieldDef& TFieldDefs::Items(int i) {
    if (i < 0 || i >= Count())
        throw EDatabaseError("Нет определения поля с номером " + IntToStr(i) + ".");
    return items_[static_cast<size_t>(i)];
}

const TFieldDef& TFieldDefs::Items(int i) const {
    return const_cast<TFieldDefs*>(this)->Items(i);
}

void TIndexDefs::Add(const std::string& name, const std::string& fields, TIndexOptions options) {
    if (owner_.Active()) throw EDatabaseError("Нельзя менять индексы открытого набора данных.");
    if (!IsValidUtf8(name) || !IsValidUtf8(fields))
        throw EDatabaseError("Описание индекса содержит недопустимые символы.");
    items_.emplace_back(name, fields, options & (ixUnique | ixDescending));
}

void TIndexDefs::Clear() {
    if (owner_.Active()) throw EDatabaseError("Нельзя менять индексы открытого набора данных.");
    items_.clear();
}

const TIndexDef& TIndexDefs::Items(int i) const {
    if (i < 0 || i >= Count())
        throw EDatabaseError("Нет определения индекса с номером " + IntToStr(i) + ".");
    return items_[static_cast<size_t>(i)];
}

// ---- Fields ----

std::string TField::FieldName() const {
    return ds_->fieldDefs_.Items(index_).Name();
}

TFieldType TField::DataType() const {
    return ds_->fieldDefs_.Items(index_).DataType();
}

int TField::Size() const {
    return ds_->fieldDefs_.Items(index_).Size();
}

bool TField::Required() const {
    return ds_->fieldDefs_.Items(index_).Required();
}

bool TField::IsNull() const {
    return platform::IsNull(ds_->ReadValue(index_));
}

double TField::AsFloat() const {
    const Value& v = ds_->ReadValue(index_);
    if (const double* d = std::get_if<double>(&v)) return *d;
    if (const int32_t* i = std::get_if<int32_t>(&v)) return *i;
    if (const std::string* s = std::get_if<std::string>(&v)) {
        double d;
        if (!TryStrToFloat(*s, d) || !std::isfinite(d))
            throw EDatabaseError("Значение " + Quoted(*s) + " поля " + Quoted(FieldName()) +
                                 " не является числом.");
        return d;
    }
    return 0.0;
}

int TField::AsInteger() const {
    const Value& v = ds_->ReadValue(index_);
    if (const int32_t* i = std::get_if<int32_t>(&v)) return *i;
    if (const double* d = std::get_if<double>(&v)) {
        int32_t i;
        if (!RoundToInt32(*d, i))
            throw EDatabaseError("Значение поля " + Quoted(FieldName()) +
                                 " не умещается в целое число.");
        return i;
    }
    if (const std::string* s = std::get_if<std::string>(&v)) {
        int i;
        if (!TryStrToInt(*s, i))
            throw EDatabaseError("Значение " + Quoted(*s) + " поля " + Quoted(FieldName()) +
                                 " не является целым числом.");
        return i;
    }
    return 0;
}

std::string TField::AsString() const {
    const Value& v = ds_->ReadValue(index_);
    if (const std::string* s = std::get_if<std::string>(&v)) return *s;
    if (const double* d = std::get_if<double>(&v)) return FloatToStr(*d);
    if (const int32_t* i = std::get_if<int32_t>(&v)) return IntToStr(*i);
    return "";
}

void TField::SetAsFloat(double value) {
    ds_->CheckEditing(index_);
    if (!std::isfinite(value))
        throw EDatabaseError("Недопустимое значение поля " + Quoted(FieldName()) + ".");
    switch (DataType()) {
        case ftFloat:
            ds_->WriteValue(index_, value);
            break;
        case ftInteger: {
            int32_t i;
            if (!RoundToInt32(value, i))
                throw EDatabaseError("Значение " + FloatToStr(value) + " не умещается в поле " +
                                     Quoted(FieldName()) + ".");
            ds_->WriteValue(index_, i);
            break;
        }
        case ftString:
            SetAsString(FloatToStr(value));
            break;
    }
}

void TField::SetAsInteger(int value) {
    ds_->CheckEditing(index_);
    switch (DataType()) {
        case ftFloat:
            ds_->WriteValue(index_, static_cast<double>(value));
            break;
        case ftInteger:
            ds_->WriteValue(index_, static_cast<int32_t>(value));
            break;
        case ftString:
            SetAsString(IntToStr(value));
            break;
    }
}

void TField::SetAsString(const std::string& value) {
    ds_->CheckEditing(index_);
    if (value.empty()) {
        ds_->WriteValue(index_, std::monostate());
        return;
    }
    switch (DataType()) {
        case ftFloat: {
            double d;
            if (!TryStrToFloat(value, d) || !std::isfinite(d))
                throw EDatabaseError(Quoted(value) + " не является числом (поле " +
                                     Quoted(FieldName()) + ").");
            ds_->WriteValue(index_, d);
            break;
        }
        case ftInteger: {
            int i;
            if (!TryStrToInt(value, i))
                throw EDatabaseError(Quoted(value) + " не является целым числом (поле " +
                                     Quoted(FieldName()) + ").");
            ds_->WriteValue(index_, static_cast<int32_t>(i));
            break;
        }
        case ftString:
            // Text that names no character could not be written to the file readably.
            if (!IsValidUtf8(value))
                throw EDatabaseError("Значение поля " + Quoted(FieldName()) +
                                     " содержит недопустимые символы.");
            if (Size() > 0 && CharacterCount(value) > static_cast<size_t>(Size()))
                throw EDatabaseError("Поле " + Quoted(FieldName()) + " вмещает не более " +
                                     IntToStr(Size()) + " символов.");
            ds_->WriteValue(index_, value);
            break;
    }
}

void TField::Clear() {
    ds_->CheckEditing(index_);
    ds_->WriteValue(index_, std::monostate());
}

// ---- The dataset ----

TClientDataSet::TClientDataSet() : fieldDefs_(*this), indexDefs_(*this) {}

TClientDataSet::~TClientDataSet() {
    try {
        Close();
    } catch (...) {
        // Nobody is left to tell; callers that care close the dataset themselves.
    }
}

void TClientDataSet::CheckActive() const {
    if (!active_) throw EDatabaseError("Набор данных закрыт.");
}

void TClientDataSet::CheckFieldIndex(int index) const {
    CheckActive();
    if (index < 0 || index >= fieldDefs_.Count())
        throw EDatabaseError("Нет поля с номером " + IntToStr(index) + ".");
}

void TClientDataSet::CheckEditing(int index) const {
    CheckFieldIndex(index);
    if (state_ != dsEdit && state_ != dsInsert)
        throw EDatabaseError("Набор данных не в режиме правки или вставки.");
}

// A pending edit is posted when something was set in it, otherwise dropped.
void TClientDataSet::CheckBrowseMode() {
    if (state_ != dsEdit && state_ != dsInsert) return;
    if (modified_)
        Post();
    else
        Cancel();
}

void TClientDataSet::SetFileName(const std::string& fileName) {
    const std::string oldPath = filePath_;
    fileName_ = fileName;
    filePath_.clear();
    if (!fileName.empty()) {
        std::error_code ec;
        const std::filesystem::path absolute = std::filesystem::absolute(fileName, ec);
        filePath_ = ec ? fileName : absolute.string();
    }
    // The rows came from another file than the one now named.
    if (filePath_ != oldPath) filePacket_.reset();
}

std::vector<int> TClientDataSet::ResolveFieldNames(const std::string& names) const {
    std::vector<int> fields;
    for (const std::string& name : SplitNames(names)) {
        const int i = fieldDefs_.IndexOf(name);
        if (i < 0) throw EDatabaseError("Поле " + Quoted(name) + " не найдено.");
        fields.push_back(i);
    }
    return fields;
}

void TClientDataSet::SetIndexFieldNames(const std::string& names) {
    if (names == indexFieldNames_) return;
    if (!active_) {
        indexFieldNames_ = names;
        return;
    }
    std::vector<int> fields = ResolveFieldNames(names);
    CheckBrowseMode();
    const bool hasRow = cursor_ >= 0;
    const uint64_t keep = hasRow ? CurrentId() : 0;
    indexFieldNames_ = names;
    sortFields_ = std::move(fields);
    RebuildView();
    if (hasRow) LocateRow(keep);
    eof_ = bof_ = view_.empty();
}

// ---- Opening and closing ----

void TClientDataSet::ClearData() {
    active_ = false;
    state_ = dsInactive;
    rows_.clear();
    view_.clear();
    sortFields_.clear();
    cursor_ = -1;
    eof_ = bof_ = true;
    buffer_.clear();
    modified_ = false;
    log_.clear();
    savedLogSize_ = 0;
    savedStateLost_ = false;
    filePacket_.reset();
    uniqueKeys_.clear();
}

// Makes the dataset open on a copy of the rows; the definitions are in place and checked.
void TClientDataSet::OpenOn(const std::vector<Values>& rows, std::vector<int> sortFields) {
    ClearData();
    rows_.reserve(rows.size());
    for (const Values& values : rows) rows_.push_back(Row{nextId_++, values});
    sortFields_ = std::move(sortFields);
    uniqueKeys_ = UniqueKeysOf(fieldDefs_.items_, indexDefs_.items_);
    active_ = true;
    state_ = dsBrowse;
    RebuildView();
    cursor_ = view_.empty() ? -1 : 0;
    eof_ = bof_ = view_.empty();
}

void TClientDataSet::CheckDefinitions() const {
    if (fieldDefs_.Count() == 0) throw EDatabaseError("У набора данных нет полей.");
    for (const TIndexDef& index : indexDefs_.items_)
        for (const std::string& name : SplitNames(index.Fields()))
            if (fieldDefs_.IndexOf(name) < 0)
                throw EDatabaseError("Индекс " + Quoted(index.Name()) +
                                     " ссылается на неизвестное поле " + Quoted(name) + ".");
}

void TClientDataSet::CreateDataSet() {
    Close();
    CheckDefinitions();
    std::vector<int> sortFields = ResolveFieldNames(indexFieldNames_);
    OpenOn({}, std::move(sortFields));
}

void TClientDataSet::Open() {
    if (active_) return;
    if (fileName_.empty()) throw EDatabaseError("Не задан файл набора данных.");
    Load(filePath_, fileName_);
}

void TClientDataSet::SetActive(bool active) {
    if (active)
        Open();
    else
        Close();
}

bool TClientDataSet::ChangedSinceFile() const {
    return savedStateLost_ || log_.size() != savedLogSize_;
}

void TClientDataSet::Close() {
    if (!active_) return;
    if (state_ == dsEdit || state_ == dsInsert) {
        try {
            CheckBrowseMode();
        } catch (const EDatabaseError&) {
            Cancel();  // an edit that cannot be posted has nowhere to go
        }
    }
    if (!filePath_.empty() && ChangedSinceFile()) Write(filePath_, fileName_);
    ClearData();
}

void TClientDataSet::LoadFromFile(const std::string& path) {
    Close();
    Load(path, path);
}

void TClientDataSet::SaveToFile(const std::string& path) {
    CheckActive();
    CheckBrowseMode();
    if (path.empty() && filePath_.empty()) throw EDatabaseError("Не задан файл набора данных.");
    if (path.empty())
        Write(filePath_, fileName_);
    else
        Write(path, path);
}

void TClientDataSet::Write(const std::string& path, const std::string& shownPath) {
    // The packet kept for the file goes with it, whatever becomes of the write.
    ForgetFile(path);
    WriteFileReplacing(path, BuildPacket(), shownPath);
    Batch().byPath.clear();
    ++Batch().generation;
    if (!filePath_.empty() && SameFile(path, filePath_)) {
        savedLogSize_ = log_.size();
        savedStateLost_ = false;
        filePacket_.reset();
    }
}

// ---- The packet ----

namespace {

struct StringWriter : pugi::xml_writer {
    std::string text;
    void write(const void* data, size_t size) override {
        text.append(static_cast<const char*>(data), size);
    }
};

}  // namespace

std::string TClientDataSet::BuildPacket() const {
    pugi::xml_document doc;
    pugi::xml_node declaration = doc.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    declaration.append_attribute("standalone") = "yes";
    pugi::xml_node packet = doc.append_child("DATAPACKET");
    packet.append_attribute("Version") = "2.0";
    pugi::xml_node metadata = packet.append_child("METADATA");
    pugi::xml_node fields = metadata.append_child("FIELDS");
    std::vector<std::string> attributeNames;
    for (const TFieldDef& def : fieldDefs_.items_) {
        attributeNames.push_back(EncodeXmlName(def.Name()));
        pugi::xml_node field = fields.append_child("FIELD");
        field.append_attribute("attrname") = attributeNames.back().c_str();
        field.append_attribute("fieldtype") = TypeName(def.DataType());
        if (def.DataType() == ftString) field.append_attribute("WIDTH") = def.Size();
        if (def.Required()) field.append_attribute("required") = "true";
    }
    pugi::xml_node params = metadata.append_child("PARAMS");
    for (const TIndexDef& def : indexDefs_.items_) {
        pugi::xml_node index = params.append_child("INDEX");
        index.append_attribute("name") = def.Name().c_str();
        index.append_attribute("fields") = def.Fields().c_str();
        if (def.Options() & ixUnique) index.append_attribute("unique") = "true";
        if (def.Options() & ixDescending) index.append_attribute("descending") = "true";
    }
    pugi::xml_node rowData = packet.append_child("ROWDATA");
    for (const Row& row : rows_) {
        pugi::xml_node element = rowData.append_child("ROW");
        for (size_t i = 0; i < row.values.size(); ++i) {
            const Value& v = row.values[i];
            if (IsNull(v)) continue;
            pugi::xml_attribute attribute = element.append_attribute(attributeNames[i].c_str());
            if (const double* d = std::get_if<double>(&v))
                attribute = FormatDouble(*d).c_str();
            else if (const int32_t* n = std::get_if<int32_t>(&v))
                attribute = IntToStr(*n).c_str();
            else
                attribute = std::get<std::string>(v).c_str();
        }
    }
    StringWriter writer;
    doc.save(writer, "  ", pugi::format_default, pugi::encoding_utf8);
    return writer.text;
}

namespace {

bool ReadFlag(const pugi::xml_node& node, const char* name, bool& out) {
    const pugi::xml_attribute attribute = node.attribute(name);
    const std::string text = attribute.value();
    if (!attribute || text == "false") {
        out = false;
    } else if (text == "true") {
        out = true;
    } else {
        return false;
    }
    return true;
}

}  // namespace

// ---- Parsed packets kept in memory ----

struct TClientDataSet::Packet {
    std::vector<TFieldDef> fields;
    std::vector<TIndexDef> indexes;
    std::vector<Values> rows;
};

namespace {

struct FileId {
    uint64_t device;
    uint64_t inode;
    bool operator==(const FileId&) const = default;
};

struct FileIdHash {
    size_t operator()(const FileId& id) const {
        return std::hash<uint64_t>()(id.inode * 1000003u ^ id.device);
    }
};

FileId IdOf(const FileStamp& stamp) {
    return {stamp.device, stamp.inode};
}

timespec Now() {
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

// A file system takes modification times from a clock that advances in ticks (of whole seconds
// where it keeps no fractions), so a change made in the tick of the previous one leaves the time
// as it was. A packet read within such a tick of its file's last change might be followed by a
// change nobody can see; only a packet read later than that can be kept.
bool SettledBefore(const FileStamp& stamp, const timespec& readAt) {
    const long long grain = stamp.modified.tv_nsec == 0 ? 2'000'000'000LL : 50'000'000LL;
    const long long sinceChange =
        (static_cast<long long>(readAt.tv_sec) - stamp.modified.tv_sec) * 1'000'000'000LL +
        (static_cast<long long>(readAt.tv_nsec) - stamp.modified.tv_nsec);
    return sinceChange > grain;
}

}  // namespace

// The packets of the files read, by the file's identity (a symbolic link and its target are one
// file), each with the size and modification time the file had when it was read.
class PacketCache {
public:
    using Packet = TClientDataSet::Packet;

    static PacketCache& Instance() {
        static PacketCache cache;
        return cache;
    }

    // The packet kept for the file, while the file has the stamps it had when it was read.
    std::shared_ptr<const Packet> Find(const FileStamp& stamp) {
        std::lock_guard<std::mutex> lock(mutex_);
        const auto found = entries_.find(IdOf(stamp));
        if (found == entries_.end()) return nullptr;
        if (!SameStamp(found->second.stamp, stamp)) {
            entries_.erase(found);
            return nullptr;
        }
        return found->second.packet;
    }

    void Keep(const FileStamp& stamp, std::shared_ptr<const Packet> packet) {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_[IdOf(stamp)] = Entry{stamp, std::move(packet)};
    }

    void Drop(const FileStamp& stamp) {
        std::lock_guard<std::mutex> lock(mutex_);
        entries_.erase(IdOf(stamp));
    }

private:
    struct Entry {
        FileStamp stamp;
        std::shared_ptr<const Packet> packet;
    };
    std::mutex mutex_;
    std::unordered_map<FileId, Entry, FileIdHash> entries_;
};

void TClientDataSet::ForgetFile(const std::string& path) {
    // The file is about to change: what the batch remembers of any file may be stale.
    Batch().byPath.clear();
    ++Batch().generation;
    FileStamp stamp;
    if (FreshStampOfPath(path, stamp)) PacketCache::Instance().Drop(stamp);
}

bool TClientDataSet::IsRegularFile(const std::string& path) {
    FileStamp stamp;
    return StampOfPath(path, stamp) && stamp.regular;
}

std::string TClientDataSet::FileVersion(const std::string& path) {
    FileStamp stamp;
    if (!StampOfPath(path, stamp)) return std::string();
    const auto time = [](const statx_timestamp& t) {
        return std::to_string(t.tv_sec) + "." + std::to_string(t.tv_nsec);
    };
    return std::to_string(stamp.device) + ":" + std::to_string(stamp.inode) + ":" +
           std::to_string(stamp.size) + ":" + time(stamp.modified) + ":" + time(stamp.changed) +
           ":" + time(stamp.born) + (stamp.regular ? "" : ":other");
}

FileCheckBatch::FileCheckBatch() {
    if (Batch().depth++ == 0) ++Batch().generation;
}

FileCheckBatch::~FileCheckBatch() {
    if (--Batch().depth == 0) {
        Batch().byPath.clear();
        ++Batch().generation;
    }
}

std::uint64_t FileCheckBatch::Generation() {
    return Batch().depth > 0 ? Batch().generation : 0;
}

// Reads the whole packet, or takes the one kept for the file, and opens the dataset on it only
// when all of it is sound; on any failure the dataset is left closed, empty and without
// definitions.
void TClientDataSet::Load(const std::string& path, const std::string& shownPath) {
    try {
        LoadPacket(path, shownPath);
    } catch (...) {
        ClearData();
        fieldDefs_.items_.clear();
        indexDefs_.items_.clear();
        throw;
    }
}

void TClientDataSet::LoadPacket(const std::string& path, const std::string& shownPath) {
    std::shared_ptr<const Packet> packet;
    FileStamp stamp;
    if (StampOfPath(path, stamp) && stamp.regular) packet = PacketCache::Instance().Find(stamp);
    bool kept = packet != nullptr;
    if (kept)
        CheckExpectedFields(packet->fields, shownPath);
    else
        packet = ReadPacket(path, shownPath, kept);
    OpenOnPacket(packet, shownPath);
    // Opening this file again can do without reading it while its packet is kept.
    if (kept && path == filePath_) filePacket_ = std::move(packet);
}

std::shared_ptr<const TClientDataSet::Packet> TClientDataSet::ReadPacket(
    const std::string& path, const std::string& shownPath, bool& kept) const {
    const timespec readAt = Now();
    FileStamp stamp;
    bool steady = false;
    const std::string bytes = ReadWholeFile(path, shownPath, stamp, steady);
    std::shared_ptr<const Packet> packet = ParsePacket(bytes, shownPath);
    kept = steady && SettledBefore(stamp, readAt);
    if (kept)
        PacketCache::Instance().Keep(stamp, packet);
    else if (steady)
        PacketCache::Instance().Drop(stamp);
    return packet;
}

void TClientDataSet::CheckExpectedFields(const std::vector<TFieldDef>& fields,
                                         const std::string& shownPath) const {
    for (const TExpectedField& expected : expectedFields_) {
        const auto found = std::find_if(fields.begin(), fields.end(), [&](const TFieldDef& def) {
            return def.Name() == expected.name;
        });
        if (found == fields.end()) {
            if (expected.mayBeAbsent) continue;
            throw DamagedFile(shownPath, "в таблице нет поля " + Quoted(expected.name));
        }
        const TFieldType type = found->DataType();
        if (type != expected.type)
            throw DamagedFile(shownPath, "поле " + Quoted(expected.name) + " хранит " +
                                             TypeDescription(type) + ", а должно хранить " +
                                             TypeDescription(expected.type));
    }
}

// The dataset's own copy of the rows; the order is resolved first, so that a failure changes
// nothing.
void TClientDataSet::OpenOnPacket(std::shared_ptr<const Packet> packet,
                                  const std::string& shownPath) {
    std::vector<int> sortFields;
    try {
        sortFields = ResolveNames(packet->fields, indexFieldNames_);
    } catch (const EDatabaseError& e) {
        throw DamagedFileBecause(shownPath, e.what());
    }
    fieldDefs_.items_ = packet->fields;
    indexDefs_.items_ = packet->indexes;
    OpenOn(packet->rows, std::move(sortFields));
}

bool TClientDataSet::ReopenUnchanged() {
    if (!active_ || !filePacket_ || state_ != dsBrowse || !log_.empty()) return false;
    FileStamp stamp;
    if (!StampOfPath(filePath_, stamp) || PacketCache::Instance().Find(stamp) != filePacket_)
        return false;
    for (size_t i = 0; i < fieldDefs_.items_.size(); ++i)
        fieldDefs_.items_[i].SetRequired(filePacket_->fields[i].Required());
    cursor_ = view_.empty() ? -1 : 0;
    eof_ = bof_ = view_.empty();
    savedLogSize_ = 0;
    savedStateLost_ = false;
    return true;
}

std::shared_ptr<const TClientDataSet::Packet> TClientDataSet::ParsePacket(
    const std::string& bytes, const std::string& shownPath) const {
    const std::string text = PacketToUtf8(bytes, shownPath);
    const auto damaged = [&](const std::string& detail) { return DamagedFile(shownPath, detail); };

    pugi::xml_document doc;
    const pugi::xml_parse_result parsed =
        doc.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!parsed)
        throw damaged("это не XML или файл обрезан (ошибка разбора у байта " +
                      IntToStr(parsed.offset) + ")");
    int topElements = 0;
    for (const pugi::xml_node& node : doc.children())
        if (node.type() == pugi::node_element) ++topElements;
    const pugi::xml_node packet = doc.document_element();
    if (topElements != 1 || std::string(packet.name()) != "DATAPACKET")
        throw damaged("это не пакет данных (нет элемента DATAPACKET)");
    const pugi::xml_node fieldsNode = packet.child("METADATA").child("FIELDS");
    if (!fieldsNode) throw damaged("нет описания полей (METADATA/FIELDS)");

    auto result = std::make_shared<Packet>();
    std::vector<TFieldDef>& fields = result->fields;
    std::vector<std::string> attributeNames;
    for (const pugi::xml_node& node : fieldsNode.children()) {
        if (node.type() != pugi::node_element) continue;
        if (std::string(node.name()) != "FIELD")
            throw damaged("неожиданный элемент " + Quoted(node.name()) + " в описании полей");
        const std::string attributeName = node.attribute("attrname").value();
        const std::string name = DecodeXmlName(attributeName);
        if (name.empty()) throw damaged("у поля нет имени");
        if (!IsValidUtf8(name))
            throw damaged("имя поля " + Quoted(attributeName) + " содержит недопустимый символ");
        for (const TFieldDef& other : fields)
            if (other.Name() == name) throw damaged("поле " + Quoted(name) + " описано дважды");
        const std::string typeName = node.attribute("fieldtype").value();
        TFieldType type;
        if (typeName == "string")
            type = ftString;
        else if (typeName == "r8")
            type = ftFloat;
        else if (typeName == "i4")
            type = ftInteger;
        else
            throw damaged("неизвестный тип " + Quoted(typeName) + " у поля " + Quoted(name));
        int32_t width = 0;
        if (type == ftString && node.attribute("WIDTH") &&
            (!ParseInt32(node.attribute("WIDTH").value(), width) || width < 0))
            throw damaged("неверная ширина поля " + Quoted(name));
        bool required;
        if (!ReadFlag(node, "required", required))
            throw damaged("неверный признак обязательности поля " + Quoted(name));
        fields.emplace_back(name, type, width, required);
        attributeNames.push_back(attributeName);
    }
    if (fields.empty()) throw damaged("в таблице нет ни одного поля");

    CheckExpectedFields(fields, shownPath);

    const auto fieldIndex = [&](const std::string& name) {
        for (size_t i = 0; i < fields.size(); ++i)
            if (fields[i].Name() == name) return static_cast<int>(i);
        return -1;
    };

    std::vector<TIndexDef>& indexes = result->indexes;
    for (const pugi::xml_node& node : packet.child("METADATA").child("PARAMS").children("INDEX")) {
        const std::string name = node.attribute("name").value();
        const std::string indexFields = node.attribute("fields").value();
        if (!IsValidUtf8(name) || !IsValidUtf8(indexFields))
            throw damaged("описание индекса содержит недопустимый символ");
        for (const std::string& field : SplitNames(indexFields))
            if (fieldIndex(field) < 0)
                throw damaged("индекс " + Quoted(name) + " ссылается на неизвестное поле " +
                              Quoted(field));
        bool unique, descending;
        if (!ReadFlag(node, "unique", unique) || !ReadFlag(node, "descending", descending))
            throw damaged("неверные параметры индекса " + Quoted(name));
        indexes.emplace_back(name, indexFields,
                             (unique ? ixUnique : 0u) | (descending ? ixDescending : 0u));
    }

    std::vector<Values>& rows = result->rows;
    int rowNumber = 0;
    for (const pugi::xml_node& node : packet.child("ROWDATA").children()) {
        if (node.type() != pugi::node_element) continue;
        if (std::string(node.name()) != "ROW")
            throw damaged("неожиданный элемент " + Quoted(node.name()) + " среди записей");
        ++rowNumber;
        const std::string where = "запись " + IntToStr(rowNumber);
        Values values(fields.size());
        std::vector<bool> seen(fields.size(), false);
        for (const pugi::xml_attribute& attribute : node.attributes()) {
            const auto found = std::find(attributeNames.begin(), attributeNames.end(),
                                         std::string(attribute.name()));
            if (found == attributeNames.end())
                throw damaged(where + ": неизвестное поле " + Quoted(attribute.name()));
            const size_t i = static_cast<size_t>(found - attributeNames.begin());
            if (seen[i])
                throw damaged(where + ": поле " + Quoted(fields[i].Name()) + " задано дважды");
            seen[i] = true;
            const std::string value = attribute.value();
            const std::string what =
                where + ": значение " + Quoted(value) + " поля " + Quoted(fields[i].Name());
            switch (fields[i].DataType()) {
                case ftFloat: {
                    double d;
                    if (!ParseDouble(value, d)) throw damaged(what + " не является числом");
                    values[i] = d;
                    break;
                }
                case ftInteger: {
                    int32_t n;
                    if (!ParseInt32(value, n))
                        throw damaged(what + " не является 32-битным целым числом");
                    values[i] = n;
                    break;
                }
                case ftString:
                    if (!IsValidUtf8(value))
                        throw damaged(where + ": значение поля " + Quoted(fields[i].Name()) +
                                      " содержит недопустимый символ");
                    if (!value.empty()) values[i] = value;
                    break;
            }
        }
        rows.push_back(std::move(values));
    }

    // The rows must satisfy the unique indexes.
    try {
        CheckUniqueKeys(fields, indexes, rows);
    } catch (const EDatabaseError& e) {
        throw DamagedFileBecause(shownPath, e.what());
    }
    return result;
}

// ---- Rows, keys and the view ----

void TClientDataSet::CheckRow(const Values& values, const Row* stored) const {
    for (size_t i = 0; i < values.size(); ++i)
        if (fieldDefs_.items_[i].Required() && IsNull(values[i]))
            throw EDatabaseError("Поле " + Quoted(fieldDefs_.items_[i].Name()) +
                                 " должно иметь значение.");
    for (const std::vector<int>& key : uniqueKeys_) {
        const auto sameKey = [&](const Values& other) {
            return std::all_of(key.begin(), key.end(),
                               [&](int f) { return CompareValues(other[f], values[f]) == 0; });
        };
        // An edit that keeps the key of its row keeps it unique.
        if (stored && sameKey(stored->values)) continue;
        for (const Row& row : rows_) {
            if (stored && row.id == stored->id) continue;
            if (sameKey(row.values))
                throw EDatabaseError(
                    DuplicateKeyMessage(fieldDefs_.items_, indexDefs_.items_, key));
        }
    }
}

void TClientDataSet::RebuildView() {
    view_.resize(rows_.size());
    std::iota(view_.begin(), view_.end(), 0);
    if (sortFields_.empty()) return;
    // Equal keys in the order of addition.
    std::sort(view_.begin(), view_.end(), [&](size_t a, size_t b) {
        for (int f : sortFields_) {
            const int c = CompareValues(rows_[a].values[f], rows_[b].values[f]);
            if (c != 0) return c < 0;
        }
        return a < b;
    });
}

// Makes the row with that id current; when it is gone, the row at the same place (or the last).
void TClientDataSet::LocateRow(uint64_t id) {
    for (size_t i = 0; i < view_.size(); ++i) {
        if (rows_[view_[i]].id == id) {
            cursor_ = static_cast<int>(i);
            return;
        }
    }
    cursor_ = std::min(cursor_, static_cast<int>(view_.size()) - 1);
    if (cursor_ < 0 && !view_.empty()) cursor_ = 0;
}

uint64_t TClientDataSet::CurrentId() const {
    return rows_[view_[static_cast<size_t>(cursor_)]].id;
}

size_t TClientDataSet::StoragePosition(uint64_t id, size_t hint) const {
    if (hint < rows_.size() && rows_[hint].id == id) return hint;
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].id == id) return i;
    return rows_.size();
}

const TClientDataSet::Value& TClientDataSet::ReadValue(int field) const {
    static const Value null;
    CheckFieldIndex(field);
    if (state_ == dsEdit || state_ == dsInsert) return buffer_[static_cast<size_t>(field)];
    if (cursor_ < 0) return null;
    return rows_[view_[static_cast<size_t>(cursor_)]].values[static_cast<size_t>(field)];
}

void TClientDataSet::WriteValue(int field, Value value) {
    CheckEditing(field);
    if (valueCheck_) {
        const TFieldDef& def = fieldDefs_.items_[static_cast<size_t>(field)];
        if (const double* number = std::get_if<double>(&value))
            valueCheck_(def, *number);
        else if (const int32_t* whole = std::get_if<int32_t>(&value))
            valueCheck_(def, *whole);
    }
    buffer_[static_cast<size_t>(field)] = std::move(value);
    modified_ = true;
}

// ---- Cursor ----

void TClientDataSet::First() {
    CheckActive();
    CheckBrowseMode();
    cursor_ = view_.empty() ? -1 : 0;
    eof_ = bof_ = view_.empty();
}

void TClientDataSet::Last() {
    CheckActive();
    CheckBrowseMode();
    cursor_ = static_cast<int>(view_.size()) - 1;
    eof_ = bof_ = view_.empty();
}

void TClientDataSet::Next() {
    MoveBy(1);
}

void TClientDataSet::Prior() {
    MoveBy(-1);
}

int TClientDataSet::MoveBy(int n) {
    CheckActive();
    CheckBrowseMode();
    if (view_.empty()) {
        eof_ = bof_ = true;
        return 0;
    }
    if (n == 0) return 0;
    const long long last = static_cast<long long>(view_.size()) - 1;
    const long long target = static_cast<long long>(cursor_) + n;
    const int from = cursor_;
    if (target > last) {
        cursor_ = static_cast<int>(last);
        eof_ = true;
        bof_ = false;
    } else if (target < 0) {
        cursor_ = 0;
        bof_ = true;
        eof_ = false;
    } else {
        cursor_ = static_cast<int>(target);
        eof_ = bof_ = false;
    }
    return cursor_ - from;
}

bool TClientDataSet::Eof() const {
    return !active_ || view_.empty() || eof_;
}

bool TClientDataSet::Bof() const {
    return !active_ || view_.empty() || bof_;
}

int TClientDataSet::RecNo() const {
    if (!active_ || state_ == dsInsert || cursor_ < 0) return 0;
    return cursor_ + 1;
}

int TClientDataSet::RecordCount() const {
    return active_ ? static_cast<int>(rows_.size()) : 0;
}

int TClientDataSet::FieldCount() const {
    return active_ ? fieldDefs_.Count() : 0;
}

TField TClientDataSet::Fields(int index) {
    CheckFieldIndex(index);
    return TField(this, index);
}

TField TClientDataSet::FieldByName(const std::string& name) {
    CheckActive();
    const int index = fieldDefs_.IndexOf(name);
    if (index < 0) throw EDatabaseError("Поле " + Quoted(name) + " не найдено.");
    return TField(this, index);
}

// ---- Editing ----

void TClientDataSet::Append() {
    CheckActive();
    CheckBrowseMode();
    buffer_.assign(static_cast<size_t>(fieldDefs_.Count()), Value());
    modified_ = false;
    insertBeforeId_ = 0;
    state_ = dsInsert;
}

void TClientDataSet::Insert() {
    Append();
    insertBeforeId_ = cursor_ >= 0 ? CurrentId() : 0;
}

void TClientDataSet::Edit() {
    CheckActive();
    if (state_ == dsEdit || state_ == dsInsert) return;
    if (cursor_ < 0) throw EDatabaseError("Набор данных пуст: нет записи для изменения.");
    buffer_ = rows_[view_[static_cast<size_t>(cursor_)]].values;
    modified_ = false;
    state_ = dsEdit;
}

void TClientDataSet::Post() {
    CheckActive();
    if (state_ == dsEdit) {
        const uint64_t id = CurrentId();
        const size_t position = view_[static_cast<size_t>(cursor_)];
        Row& row = rows_[position];
        CheckRow(buffer_, &row);
        bool changed = false, keyChanged = false;
        for (size_t i = 0; i < buffer_.size(); ++i) {
            if (SameValue(row.values[i], buffer_[i])) continue;
            changed = true;
            if (std::find(sortFields_.begin(), sortFields_.end(), static_cast<int>(i)) !=
                sortFields_.end())
                keyChanged = true;
        }
        if (changed) {
            log_.push_back(Change{Change::Kind::Edited, id, position, std::move(row.values)});
            row.values = std::move(buffer_);
            if (keyChanged) {
                RebuildView();
                LocateRow(id);
            }
        }
    } else if (state_ == dsInsert) {
        CheckRow(buffer_, nullptr);
        const uint64_t id = nextId_++;
        const size_t position =
            insertBeforeId_ != 0 ? StoragePosition(insertBeforeId_, 0) : rows_.size();
        rows_.insert(rows_.begin() + static_cast<long>(position), Row{id, std::move(buffer_)});
        log_.push_back(Change{Change::Kind::Inserted, id, position, {}});
        RebuildView();
        LocateRow(id);
    } else {
        return;
    }
    buffer_.clear();
    modified_ = false;
    state_ = dsBrowse;
    eof_ = bof_ = false;
}

void TClientDataSet::Cancel() {
    if (state_ != dsEdit && state_ != dsInsert) return;
    buffer_.clear();
    modified_ = false;
    state_ = dsBrowse;
}

void TClientDataSet::Delete() {
    CheckActive();
    if (state_ == dsInsert) {
        Cancel();
        return;
    }
    Cancel();
    if (cursor_ < 0) throw EDatabaseError("Набор данных пуст: нет записи для удаления.");
    const size_t position = view_[static_cast<size_t>(cursor_)];
    log_.push_back(
        Change{Change::Kind::Deleted, rows_[position].id, position, rows_[position].values});
    rows_.erase(rows_.begin() + static_cast<long>(position));
    RebuildView();
    eof_ = bof_ = false;
    if (view_.empty()) {
        cursor_ = -1;
        eof_ = bof_ = true;
    } else if (cursor_ >= static_cast<int>(view_.size())) {
        cursor_ = static_cast<int>(view_.size()) - 1;
        eof_ = true;
    }
}

void TClientDataSet::ScaleField(const std::string& name, double factor) {
    First();
    if (view_.empty()) return;
    const int field = FieldByName(name).Index();
    const TFieldDef& def = fieldDefs_.items_[static_cast<size_t>(field)];
    const auto among = [field](const std::vector<int>& fields) {
        return std::find(fields.begin(), fields.end(), field) != fields.end();
    };
    bool direct = def.DataType() == ftFloat && !among(sortFields_) &&
                  std::none_of(uniqueKeys_.begin(), uniqueKeys_.end(), among);
    for (const Row& row : rows_)
        if (!IsNull(row.values[static_cast<size_t>(field)]) &&
            !std::holds_alternative<double>(row.values[static_cast<size_t>(field)]))
            direct = false;
    // The other fields a post would find without a value.
    std::vector<size_t> required;
    for (size_t f = 0; f < fieldDefs_.items_.size(); ++f)
        if (static_cast<int>(f) != field && fieldDefs_.items_[f].Required()) required.push_back(f);
    if (!direct) {
        // Rows that move or keys that must stay unique: each row edited and posted in turn.
        for (int row = 0, rows = RecordCount(); row < rows && !Eof(); ++row) {
            Edit();
            TField value = Fields(field);
            value.SetAsFloat(value.AsFloat() * factor);
            Post();
            Next();
        }
        return;
    }
    // The order and the keys stay as they are: the rows are changed in place, each change
    // logged as a post would log it.
    for (size_t i = 0; i < view_.size(); ++i) {
        cursor_ = static_cast<int>(i);
        Row& row = rows_[view_[i]];
        Value& value = row.values[static_cast<size_t>(field)];
        const double scaled = (IsNull(value) ? 0.0 : std::get<double>(value)) * factor;
        if (!std::isfinite(scaled))
            throw EDatabaseError("Недопустимое значение поля " + Quoted(def.Name()) + ".");
        for (size_t f : required)
            if (IsNull(row.values[f]))
                throw EDatabaseError("Поле " + Quoted(fieldDefs_.items_[f].Name()) +
                                     " должно иметь значение.");
        if (SameValue(value, scaled)) continue;
        log_.push_back(Change{Change::Kind::FieldEdited, row.id, view_[i], {}, field, value});
        value = scaled;
    }
    cursor_ = static_cast<int>(view_.size()) - 1;
    eof_ = true;
    bof_ = false;
}

void TClientDataSet::SetSavePoint(int savePoint) {
    if (!active_) return;
    if (savePoint < 0 || static_cast<size_t>(savePoint) > log_.size())
        throw EDatabaseError("Неверная точка сохранения " + IntToStr(savePoint) + ".");
    Cancel();
    const bool hasRow = cursor_ >= 0;
    const uint64_t keep = hasRow ? CurrentId() : 0;
    // The order changes only with rows that come or go, or keys that are set back.
    bool reorder = false;
    while (log_.size() > static_cast<size_t>(savePoint)) {
        Change& change = log_.back();
        if (change.kind == Change::Kind::Deleted) {
            const size_t position = std::min(change.position, rows_.size());
            rows_.insert(rows_.begin() + static_cast<long>(position),
                         Row{change.id, std::move(change.values)});
            reorder = true;
        } else {
            const size_t position = StoragePosition(change.id, change.position);
            if (position == rows_.size()) {
                // cannot happen: every logged row is still there when its change is undone
            } else if (change.kind == Change::Kind::Inserted) {
                rows_.erase(rows_.begin() + static_cast<long>(position));
                reorder = true;
            } else if (change.kind == Change::Kind::FieldEdited) {
                Value& value = rows_[position].values[static_cast<size_t>(change.field)];
                if (std::find(sortFields_.begin(), sortFields_.end(), change.field) !=
                        sortFields_.end() &&
                    CompareValues(value, change.value) != 0)
                    reorder = true;
                value = std::move(change.value);
            } else {
                Values& values = rows_[position].values;
                for (int f : sortFields_)
                    if (CompareValues(values[f], change.values[f]) != 0) reorder = true;
                values = std::move(change.values);
            }
        }
        log_.pop_back();
    }
    if (log_.size() < savedLogSize_) savedStateLost_ = true;
    if (reorder) RebuildView();
    if (hasRow)
        LocateRow(keep);
    else
        cursor_ = view_.empty() ? -1 : 0;
    eof_ = bof_ = view_.empty();
}

}  // namespace platform
