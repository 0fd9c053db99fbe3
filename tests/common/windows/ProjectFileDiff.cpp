#include "ProjectFileDiff.h"

#include <map>
#include <tuple>
#include <vector>

#include "app/ProjectFile.h"

namespace {

using projectfile::FileRecord;

// A record's place: its element's places and its number.
using Place = std::tuple<int, int, int, int, int>;

Place PlaceOf(const FileRecord& r) {
    return {r.SwitchboardPlace, r.PanelPlace, r.GroupKind, r.GroupPlace, r.Def->Number};
}

std::string Named(const FileRecord& r) {
    return "record " + std::to_string(r.Def->Number) + " " + r.Def->Name + ", " + r.Owner + ": ";
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

}  // namespace

std::string ProjectFileDifferences(std::string_view made, std::string_view expected, int shown) {
    if (made == expected) return {};
    std::vector<FileRecord> mine, theirs;
    std::string refused;
    if (const std::string why = projectfile::ListFileRecords(made, mine); !why.empty())
        refused += "made file: " + why + "\n";
    if (const std::string why = projectfile::ListFileRecords(expected, theirs); !why.empty())
        refused += "expected file: " + why + "\n";
    if (!refused.empty()) return refused;

    std::map<Place, const FileRecord*> byPlace;
    for (const FileRecord& r : mine) byPlace[PlaceOf(r)] = &r;
    std::vector<std::string> lines;
    for (const FileRecord& e : theirs) {
        const auto found = byPlace.find(PlaceOf(e));
        if (found == byPlace.end()) {
            lines.push_back(Named(e) + "expected only (" + Quoted(e.Text) + ")");
            continue;
        }
        const FileRecord& m = *found->second;
        byPlace.erase(found);
        if (made.substr(m.Offset, m.Size) == expected.substr(e.Offset, e.Size)) continue;
        if (m.Text == e.Text)
            lines.push_back(Named(e) + Quoted(e.Text) + " in both, the bytes after it differ");
        else
            lines.push_back(Named(e) + Quoted(m.Text) + " made, " + Quoted(e.Text) + " expected");
    }
    for (const FileRecord& m : mine)
        if (byPlace.count(PlaceOf(m)))
            lines.push_back(Named(m) + "made only (" + Quoted(m.Text) + ")");
    if (lines.empty()) return "the files differ where no record lies\n";

    std::string text;
    for (int i = 0; i < static_cast<int>(lines.size()) && i < shown; ++i) text += lines[i] + "\n";
    if (static_cast<int>(lines.size()) > shown)
        text += "and " + std::to_string(static_cast<int>(lines.size()) - shown) +
                " more records differ\n";
    return text;
}
