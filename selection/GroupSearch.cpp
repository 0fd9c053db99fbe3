#include "selection/GroupSearch.h"

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

}  // namespace

TCxemaGrupd* FirstSchemeGroupNamed(TSitid& panel, const std::string& name) {
    return chains::FindFirst(panel.SchemeGroups, chains::SchemeLink{}, panel.SchemeGroupCount,
                             [&](const TCxemaGrupd& g) { return g.GroupName == name; });
}

template <typename Record>
Record* FirstRecordNamed(TSitid& panel, const std::string& name) {
    using K = Kind<Record>;
    return chains::FindFirst(K::Records(panel), typename K::RecordLink{}, K::Count(panel),
                             [&](const Record& r) { return K::Name(r) == name; });
}

template <typename Record>
bool SeekResultRowNamed(TSitid& panel, const std::string& name) {
    using K = Kind<Record>;
    std::array<ChainBlock<Record>, 3>& byPhase = K::Rows(panel);
    // At most the kind's count of rows, and no further than the longest chain.
    chains::ResultRow<Record, typename K::RowLink> row(byPhase);
    bool found = false;
    for (int k = 0; k < K::Count(panel) && !row.AllEnded() && !found; ++k) {
        for (Record* r : row.Records()) found = found || (r && K::Name(*r) == name);
        if (!found) row.Advance();
    }
    for (int x = 0; x < 3; ++x) byPhase[x].Cursor = row[x];
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
        if (K::Name(*r) == name) last = k;
    if (last < 0) return std::nullopt;
    chains::ResultRow<Record, typename K::RowLink> row(K::Rows(panel));
    for (int step = 0; step < last; ++step) row.Advance();
    return row.Records();
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
