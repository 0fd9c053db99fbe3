#include "groups/SettledSwitchboards.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <optional>
#include <set>
#include <thread>
#include <type_traits>

#include "model/Chains.h"
#include "platform/ClientDataSet.h"
#include "platform/ProgramFolder.h"
#include "refdb/TableSchemas.h"
#include "refdb/TableWriteBack.h"

namespace {

// Every record of a switchboard in tree order: the switchboard, then each panel followed by its
// four group chains and its nine result chains, each chain walked to its real end and closed
// with `chainEnd(length)`.
template <typename Visit, typename ChainEnd>
void WalkRecords(const TGrsed& sw, Visit visit, ChainEnd chainEnd) {
    const auto chain = [&](const auto& owner, auto link) {
        int n = 0;
        for (auto* e = owner.First; e; e = link(*e).Next, ++n) visit(*e);
        chainEnd(n);
    };
    visit(sw);
    for (const TSitid* p = sw.Panels.First; p; p = p->Panels.Next) {
        visit(*p);
        chain(p->SchemeGroups, chains::SchemeLink{});
        chain(p->SinglePhaseGroups, chains::SinglePhaseLink{});
        chain(p->TwoPhaseGroups, chains::TwoPhaseLink{});
        chain(p->ThreePhaseGroups, chains::ThreePhaseLink{});
        for (int x = 0; x < 3; ++x) {
            chain(p->SinglePhaseByPhase[x], chains::SinglePhaseByPhaseLink{x});
            chain(p->TwoPhaseByPhase[x], chains::TwoPhaseByPhaseLink{x});
            chain(p->ThreePhaseByPhase[x], chains::ThreePhaseByPhaseLink{x});
        }
    }
}

// Every part of fields a record has: a record of each kind carries the fields of the kinds
// before it as well (a panel record those of the group records, a switchboard record those of a
// panel), and all of them are part of what a pass may read.
template <typename Record, typename Sink>
void EachPart(const Record& r, Sink sink) {
    sink(static_cast<const TCxemaGrupdFields&>(r));
    if constexpr (std::is_base_of_v<TFasaGrup1dFields, Record>)
        sink(static_cast<const TFasaGrup1dFields&>(r));
    if constexpr (std::is_base_of_v<TFasaGrup2dFields, Record>)
        sink(static_cast<const TFasaGrup2dFields&>(r));
    if constexpr (std::is_base_of_v<TFasaGrup3dFields, Record>)
        sink(static_cast<const TFasaGrup3dFields&>(r));
    if constexpr (std::is_base_of_v<TSitidFields, Record>)
        sink(static_cast<const TSitidFields&>(r));
    if constexpr (std::is_base_of_v<TGrsedFields, Record>)
        sink(static_cast<const TGrsedFields&>(r));
}

// The place of the list of Part among an image's lists.
template <typename Part, typename... Lists>
constexpr std::size_t IndexOf(const std::tuple<Lists...>&) {
    constexpr bool matches[] = {std::is_same_v<Lists, std::vector<Part>>...};
    std::size_t i = 0;
    while (!matches[i]) ++i;
    return i;
}

// Calls work(i) for every i below n, on this thread and as many others as the processor has
// cores, each taking the next i not taken yet: for work that only reads what all share and
// writes what is its own.
template <typename Work>
void InParallel(std::size_t n, Work work) {
    const std::size_t threads =
        std::min<std::size_t>(n, std::max(1u, std::thread::hardware_concurrency()));
    std::atomic<std::size_t> next{0};
    const auto run = [&] {
        for (std::size_t i = next++; i < n; i = next++) work(i);
    };
    std::vector<std::thread> helpers;
    for (std::size_t t = 1; t < threads; ++t) helpers.emplace_back(run);
    run();
    for (std::thread& helper : helpers) helper.join();
}

// The cable tables a switchboard's selection reads: its supply's, its panels' and its lines'.
std::set<std::string> TablesOf(const TGrsed& sw) {
    std::set<std::string> tables{sw.SwitchboardTable};
    for (const TSitid* p = sw.Panels.First; p; p = p->Panels.Next) {
        tables.insert(p->CurrentTableName);
        for (const TCxemaGrupd* g = p->SchemeGroups.First; g; g = g->SchemeGroups.Next)
            tables.insert(g->CableTable);
    }
    return tables;
}

// The version of a reference table by its name in the program folder (empty for a name without
// a file: a lookup in it fails, and a refresh with a failure keeps nothing). A table whose rows
// are kept in memory only (its file could not be written) has none that could be compared.
std::optional<std::string> TableVersion(const std::string& name) {
    const std::string path = platform::ProgramFolder() + name;
    if (refdb::HasKeptRows(path)) return std::nullopt;
    return platform::TClientDataSet::FileVersion(path);
}

// Whether the table's version is the one kept.
bool SameVersion(const std::string& name, const std::optional<std::string>& kept) {
    return kept && TableVersion(name) == kept;
}

}  // namespace

void SettledSwitchboards::Forget() {
    *this = SettledSwitchboards{};
}

SettledSwitchboards::Shared SettledSwitchboards::SharedOf(const TGrsed& root) {
    return {root.TransformerName, root.SupplyScPower, root.TotalDesignPower, root.TotalCosPhi};
}

bool SettledSwitchboards::SameShared(const TGrsed& root) const {
    return SameFaultShared(root) && root.TotalDesignPower == shared_.designPower &&
           root.TotalCosPhi == shared_.cosPhi;
}

bool SettledSwitchboards::SameFaultShared(const TGrsed& root) const {
    return kept_ && root.TransformerName == shared_.transformer &&
           root.SupplyScPower == shared_.supplyPower &&
           SameVersion(refdb::kBreakerFile, breakerBase_) &&
           SameVersion(refdb::kTransformerFile, transformerBase_);
}

bool SettledSwitchboards::Unchanged(const TGrsed& sw) const {
    const Image* image = TablesUnchanged(sw);
    return image && RecordsUnchanged(*image, sw);
}

std::vector<const TGrsed*> SettledSwitchboards::Changed(const TGrsed& root) const {
    const std::vector<TGrsed*> every = chains::SwitchboardsOf(root);
    // The tables are looked at here, once a file within the refresh's batch; the records, which
    // only are read, by several threads at once, each comparing switchboards of its own.
    std::vector<const Image*> images(every.size());
    for (std::size_t i = 0; i < every.size(); ++i) images[i] = TablesUnchanged(*every[i]);
    std::vector<char> same(every.size(), 0);
    InParallel(every.size(), [&](std::size_t i) {
        same[i] = images[i] && RecordsUnchanged(*images[i], *every[i]);
    });
    std::vector<const TGrsed*> changed;
    for (std::size_t i = 0; i < every.size(); ++i)
        if (!same[i]) changed.push_back(every[i]);
    return changed;
}

const SettledSwitchboards::Image* SettledSwitchboards::TablesUnchanged(const TGrsed& sw) const {
    const auto found = switchboards_.find(&sw);
    if (found == switchboards_.end()) return nullptr;
    for (const auto& [name, version] : found->second.tables)
        if (!SameVersion(name, version)) return nullptr;
    return &found->second;
}

namespace {

// How far a walk of a switchboard's records has come in each list of parts of an image, and in
// its chain lengths.
template <typename Parts>
struct Reached {
    std::array<std::size_t, std::tuple_size_v<Parts>> parts{};
    std::size_t lengths = 0;
};

// Walks the switchboard's records beside an image's lists: `part(list, at, part)` with the
// image's list of that kind of part and the place the part has in it, `length(at, n)` with the
// place of each chain's length. Returns how far each list was walked.
template <typename Image, typename OnPart, typename OnLength>
auto WalkBeside(Image& image, const TGrsed& sw, OnPart onPart, OnLength onLength) {
    Reached<std::decay_t<decltype(image.parts)>> reached;
    WalkRecords(
        sw,
        [&](const auto& record) {
            EachPart(record, [&](const auto& part) {
                using Part = std::decay_t<decltype(part)>;
                std::size_t& at = reached.parts[IndexOf<Part>(image.parts)];
                onPart(std::get<std::vector<Part>>(image.parts), at, part);
                ++at;
            });
        },
        [&](int n) { onLength(reached.lengths++, n); });
    return reached;
}

}  // namespace

bool SettledSwitchboards::RecordsUnchanged(const Image& image, const TGrsed& sw) {
    bool same = true;
    const auto reached = WalkBeside(
        image, sw,
        [&](const auto& kept, std::size_t at, const auto& part) {
            same = same && at < kept.size() && kept[at] == part;
        },
        [&](std::size_t at, int n) {
            same = same && at < image.lengths.size() && image.lengths[at] == n;
        });
    if (!same || reached.lengths != image.lengths.size()) return false;
    // Nothing kept is left over.
    return std::apply(
        [&](const auto&... kept) {
            std::size_t i = 0;
            return ((kept.size() == reached.parts[i++]) && ...);
        },
        image.parts);
}

void SettledSwitchboards::RetakeRecords(Image& image, const TGrsed& sw) {
    // Written over what the image held, in place: its lists and texts keep their storage. Most
    // parts are as they were (a refresh that the load alone reaches changes a few values of each
    // line): they are only compared, which reads less than a copy writes.
    const auto overwrite = [](auto& list, std::size_t at, const auto& value) {
        if (at >= list.size())
            list.push_back(value);
        else if (!(list[at] == value))
            list[at] = value;
    };
    const auto reached = WalkBeside(
        image, sw, overwrite, [&](std::size_t at, int n) { overwrite(image.lengths, at, n); });
    std::apply(
        [&](auto&... kept) {
            std::size_t i = 0;
            (kept.resize(reached.parts[i++]), ...);
        },
        image.parts);
    image.lengths.resize(reached.lengths);
}

void SettledSwitchboards::Keep(const TGrsed& root, const std::vector<const TGrsed*>& selected) {
    const std::set<const TGrsed*> anew(selected.begin(), selected.end());
    std::set<const TGrsed*> inTree;
    for (const TGrsed* sw = root.Switchboards.First; sw; sw = sw->Switchboards.Next)
        inTree.insert(sw);
    // The images of switchboards gone serve those that have none yet.
    std::vector<Image> spare;
    for (auto it = switchboards_.begin(); it != switchboards_.end();) {
        if (inTree.count(it->first)) {
            ++it;
            continue;
        }
        spare.push_back(std::move(it->second));
        it = switchboards_.erase(it);
    }
    std::vector<std::pair<Image*, const TGrsed*>> retaken;
    for (const TGrsed* sw : inTree) {
        auto at = switchboards_.find(sw);
        if (at == switchboards_.end()) {
            Image image;
            if (!spare.empty()) {
                image = std::move(spare.back());
                spare.pop_back();
            }
            at = switchboards_.emplace(sw, std::move(image)).first;
        } else if (!anew.count(sw)) {
            continue;
        }
        // The tables here, once a file within the refresh's batch; the records below.
        Image& image = at->second;
        image.tables.clear();
        for (const std::string& name : TablesOf(*sw))
            image.tables.emplace(name, TableVersion(name));
        retaken.emplace_back(&image, sw);
    }
    InParallel(retaken.size(),
               [&](std::size_t i) { RetakeRecords(*retaken[i].first, *retaken[i].second); });
    kept_ = true;
    shared_ = SharedOf(root);
    breakerBase_ = TableVersion(refdb::kBreakerFile);
    transformerBase_ = TableVersion(refdb::kTransformerFile);
}
