#pragma once
// What the last refresh of the project left, to tell which switchboards a refresh finds exactly
// as the last one left them. A refresh selects a switchboard's cables and raises its sections
// from the switchboard's own records, the reference tables they name and the values shared by
// the whole project (Shared). Run again on what it left, with those unchanged, its passes change
// nothing of that switchboard, so a refresh can leave such a switchboard alone and still give the
// tree the whole refresh gives.
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "model/Classd.h"

class SettledSwitchboards {
public:
    // The values of the root that the selection of every switchboard reads: the transformer and
    // the supply's short-circuit power (fault currents, raising), the project's design power and
    // cos phi (the transformer's share of every switchboard's voltage loss).
    struct Shared {
        std::string transformer;
        double supplyPower = 0.0;
        double designPower = 0.0;
        double cosPhi = 0.0;
        friend bool operator==(const Shared&, const Shared&) = default;
    };
    static Shared SharedOf(const TGrsed& root);

    // Nothing is known to be settled: the next refresh selects every switchboard.
    void Forget();

    // Whether the shared values and the breaker and transformer bases are those the last refresh
    // ended with (false when nothing is kept).
    bool SameShared(const TGrsed& root) const;
    // The same but for the project's design power and cos phi: what the fault currents and the
    // raising of sections until the breakers trip read is as the last refresh left it.
    bool SameFaultShared(const TGrsed& root) const;

    // Whether this switchboard's records (its own, its panels' and every chain of its panels,
    // in order) and the cable tables they name are as the last refresh left them.
    bool Unchanged(const TGrsed& sw) const;
    // The switchboards of the project that are not, in tree order.
    std::vector<const TGrsed*> Changed(const TGrsed& root) const;

    // Keeps what the refresh left: the shared values, and the records of the switchboards in
    // `selected` taken anew; the others keep what was kept of them. Switchboards no longer in
    // the tree are forgotten.
    void Keep(const TGrsed& root, const std::vector<const TGrsed*>& selected);

private:
    // A switchboard's records in tree order, each record as its parts of fields, one list for
    // each kind of part, with the length of every chain walked.
    template <typename Part>
    using Parts = std::vector<Part>;
    struct Image {
        std::tuple<Parts<TCxemaGrupdFields>, Parts<TFasaGrup1dFields>, Parts<TFasaGrup2dFields>,
                   Parts<TFasaGrup3dFields>, Parts<TSitidFields>, Parts<TGrsedFields>>
            parts;
        std::vector<int> lengths;
        // The cable tables the records name, each with its file's version when it was kept.
        std::map<std::string, std::optional<std::string>> tables;
    };

    // The image kept of the switchboard when the tables it names are unchanged, else null.
    const Image* TablesUnchanged(const TGrsed& sw) const;
    // Whether the switchboard's records are those of the image; reads nothing but both.
    static bool RecordsUnchanged(const Image& image, const TGrsed& sw);
    // Takes the switchboard's records into the image, over what it held; reads nothing but the
    // switchboard and writes nothing but the image.
    static void RetakeRecords(Image& image, const TGrsed& sw);

    bool kept_ = false;
    Shared shared_;
    std::optional<std::string> breakerBase_;
    std::optional<std::string> transformerBase_;
    std::map<const TGrsed*, Image> switchboards_;
};
