#include "selection/GroupSearch.h"

#include <cstddef>
#include <cstring>

#include "model/Chains.h"

namespace selection {
namespace {

// What the searches need of each kind of phase record.
template <typename Record>
struct Kind;

template <>
struct Kind<TFasaGrup1d> {
    using RecordLink = chains::SinglePhaseLink;
    using RowLink = chains::SinglePhaseByPhaseLink;
    static ChainBlock<TFasaGrup1d>& Records(TSitid& p) { return p.SinglePhaseGroups; }
    static std::array<ChainBlock<TFasaGrup1d>, 3>& Rows(TSitid& p) { return p.SinglePhaseByPhase; }
    static int Count(const TSitid& p) { return p.SinglePhaseCount; }
    static const std::string& Name(const TFasaGrup1d& r) { return r.GroupName1; }
};

template <>
struct Kind<TFasaGrup2d> {
    using RecordLink = chains::TwoPhaseLink;
    using RowLink = chains::TwoPhaseByPhaseLink;
    static ChainBlock<TFasaGrup2d>& Records(TSitid& p) { return p.TwoPhaseGroups; }
    static std::array<ChainBlock<TFasaGrup2d>, 3>& Rows(TSitid& p) { return p.TwoPhaseByPhase; }
    static int Count(const TSitid& p) { return p.TwoPhaseCount; }
    static const std::string& Name(const TFasaGrup2d& r) { return r.GroupName2; }
};

template <>
struct Kind<TFasaGrup3d> {
    using RecordLink = chains::ThreePhaseLink;
    using RowLink = chains::ThreePhaseByPhaseLink;
    static ChainBlock<TFasaGrup3d>& Records(TSitid& p) { return p.ThreePhaseGroups; }
    static std::array<ChainBlock<TFasaGrup3d>, 3>& Rows(TSitid& p) { return p.ThreePhaseByPhase; }
    static int Count(const TSitid& p) { return p.ThreePhaseCount; }
    static const std::string& Name(const TFasaGrup3d& r) { return r.GroupName3; }
};

// Whether two names are the same. The lines of a panel are mostly named alike but for their last
// characters ("1.1", "1.2"): those are compared before the whole texts.
bool SameName(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           (a.empty() || (a.back() == b.back() && std::memcmp(a.data(), b.data(), a.size()) == 0));
}

// Asks for the cache line of the field; changes nothing.
template <typename T>
void Prefetch(const T& field) {
    __builtin_prefetch(&field);
}

// What a line's searches, loss and largest phase current read of a record besides its links: of
// a scheme record the whole record, which the line's checks and drawing read too; of a phase
// record its name, its power, its currents and its losses.
void FetchFields(const TCxemaGrupd& g) {
    const char* bytes = reinterpret_cast<const char*>(&g);
    for (std::size_t at = 0; at < sizeof(TCxemaGrupd); at += 64) __builtin_prefetch(bytes + at);
}
void FetchFields(const TFasaGrup1d& r) {
    Prefetch(r.GroupName1);
    Prefetch(r.Power1);
    Prefetch(r.VoltageLoss1);
}
void FetchFields(const TFasaGrup2d& r) {
    Prefetch(r.GroupName2);
    Prefetch(r.Power2);
    Prefetch(r.CurrentA);
    Prefetch(r.VoltageLoss2);
}
void FetchFields(const TFasaGrup3d& r) {
    Prefetch(r.GroupName3);
    Prefetch(r.Power3);
    Prefetch(r.CurrentA3);
    Prefetch(r.VoltageLoss3);
}

}  // namespace

TCxemaGrupd* FirstSchemeGroupNamed(TSitid& panel, const std::string& name) {
    TCxemaGrupd* g =
        chains::FindFirst(panel.SchemeGroups, chains::SchemeLink{}, panel.SchemeGroupCount,
                          [&](const TCxemaGrupd& g) { return SameName(g.GroupName, name); });
    // The next line's record, searched next in a walk over the lines.
    if (g && g->SchemeGroups.Next) FetchFields(*g->SchemeGroups.Next);
    return g;
}

template <typename Record>
Record* FirstRecordNamed(TSitid& panel, const std::string& name) {
    using K = Kind<Record>;
    Record* r = chains::FindFirst(K::Records(panel), typename K::RecordLink{}, K::Count(panel),
                                  [&](const Record& r) { return SameName(K::Name(r), name); });
    // The next record of the kind, with its link, for the search of the next line.
    if (r) {
        if (Record* next = typename K::RecordLink{}(*r).Next) {
            Prefetch(K::Name(*next));
            Prefetch(typename K::RecordLink{}(*next));
        }
    }
    return r;
}

template <typename Record>
bool SeekResultRowNamed(TSitid& panel, const std::string& name) {
    using K = Kind<Record>;
    std::array<ChainBlock<Record>, 3>& byPhase = K::Rows(panel);
    // At most the kind's count of rows, and no further than the longest chain.
    chains::ResultRow<Record, typename K::RowLink> row(byPhase);
    bool found = false;
    for (int k = 0; k < K::Count(panel) && !row.AllEnded() && !found; ++k) {
        for (Record* r : row.Records()) found = found || (r && SameName(K::Name(*r), name));
        if (!found) row.Advance();
    }
    for (int x = 0; x < 3; ++x) byPhase[x].Cursor = row[x];
    // The row after the one found, with its links, where the next lines' records are.
    if (found) {
        for (int x = 0; x < 3; ++x) {
            if (!row[x]) continue;
            if (Record* next = typename K::RowLink{x}(*row[x]).Next) {
                FetchFields(*next);
                Prefetch(typename K::RowLink{x}(*next));
            }
        }
    }
    return found;
}

template <typename Record>
std::optional<std::array<Record*, 3>> RowOfLastRecordNamed(TSitid& panel, const std::string& name) {
    using K = Kind<Record>;
    // The place of the last record named so, then the rows walked that far.
    int last = -1;
    int k = 0;
    for (Record* r = K::Records(panel).First; r && k < K::Count(panel);
         r = typename K::RecordLink{}(*r).Next, ++k)
        if (SameName(K::Name(*r), name)) last = k;
    if (last < 0) return std::nullopt;
    chains::ResultRow<Record, typename K::RowLink> row(K::Rows(panel));
    for (int step = 0; step < last; ++step) row.Advance();
    return row.Records();
}

namespace {

// A chain's first `count` elements (fewer when it is shorter), a step at a time.
template <typename T, typename Link>
class ChainSteps {
public:
    ChainSteps(const ChainBlock<T>& owner, int count) : at_(owner.First), left_(count) {}
    bool Step() {
        if (!at_ || left_ <= 0) return false;
        FetchFields(*at_);
        at_ = Link{}(*at_).Next;
        --left_;
        return true;
    }

private:
    T* at_;
    int left_;
};

// A kind's three result chains in step, a row at a time, as SeekResultRowNamed walks them: at
// most `count` rows, and no further than the longest chain.
template <typename Record, typename Link>
class RowSteps {
public:
    RowSteps(const std::array<ChainBlock<Record>, 3>& chains, int count)
        : row_(chains), left_(count) {}
    bool Step() {
        if (left_ <= 0 || row_.AllEnded()) return false;
        for (Record* r : row_.Records())
            if (r) FetchFields(*r);
        row_.Advance();
        --left_;
        return true;
    }

private:
    chains::ResultRow<Record, Link> row_;
    int left_;
};

}  // namespace

void FetchPanelLines(const TSitid& panel) {
    ChainSteps<TCxemaGrupd, chains::SchemeLink> scheme(panel.SchemeGroups, panel.SchemeGroupCount);
    ChainSteps<TFasaGrup1d, chains::SinglePhaseLink> single(panel.SinglePhaseGroups,
                                                            panel.SinglePhaseCount);
    ChainSteps<TFasaGrup2d, chains::TwoPhaseLink> two(panel.TwoPhaseGroups, panel.TwoPhaseCount);
    ChainSteps<TFasaGrup3d, chains::ThreePhaseLink> three(panel.ThreePhaseGroups,
                                                          panel.ThreePhaseCount);
    RowSteps<TFasaGrup1d, chains::SinglePhaseByPhaseLink> singleRows(panel.SinglePhaseByPhase,
                                                                     panel.SinglePhaseCount);
    RowSteps<TFasaGrup2d, chains::TwoPhaseByPhaseLink> twoRows(panel.TwoPhaseByPhase,
                                                               panel.TwoPhaseCount);
    RowSteps<TFasaGrup3d, chains::ThreePhaseByPhaseLink> threeRows(panel.ThreePhaseByPhase,
                                                                   panel.ThreePhaseCount);
    // Every chain a step in turn until all have ended.
    for (bool more = true; more;) {
        more = scheme.Step();
        more = single.Step() || more;
        more = two.Step() || more;
        more = three.Step() || more;
        more = singleRows.Step() || more;
        more = twoRows.Step() || more;
        more = threeRows.Step() || more;
    }
}

template TFasaGrup1d* FirstRecordNamed<TFasaGrup1d>(TSitid&, const std::string&);
template TFasaGrup2d* FirstRecordNamed<TFasaGrup2d>(TSitid&, const std::string&);
template TFasaGrup3d* FirstRecordNamed<TFasaGrup3d>(TSitid&, const std::string&);
template bool SeekResultRowNamed<TFasaGrup1d>(TSitid&, const std::string&);
template bool SeekResultRowNamed<TFasaGrup2d>(TSitid&, const std::string&);
template bool SeekResultRowNamed<TFasaGrup3d>(TSitid&, const std::string&);
template std::optional<std::array<TFasaGrup2d*, 3>> RowOfLastRecordNamed<TFasaGrup2d>(
    TSitid&, const std::string&);
template std::optional<std::array<TFasaGrup3d*, 3>> RowOfLastRecordNamed<TFasaGrup3d>(
    TSitid&, const std::string&);

}  // namespace selection
