#pragma once
#include <vector>

#include "model/Classd.h"

// Saved group lines of the panels an edit concerns, one entry per saved panel. Element i of
// an entry belongs to the panel's i-th scheme record: the whole scheme record in Scheme, the
// own level of the phase record of the same name in the table of its class (defaults where
// the panel has none). Entries grow with what is copied into them.
struct SavedGroupTables {
    std::vector<std::vector<TCxemaGrupd>> Scheme;
    std::vector<std::vector<TFasaGrup1d>> Single;
    std::vector<std::vector<TFasaGrup2d>> Two;
    std::vector<std::vector<TFasaGrup3d>> Three;

    // Makes room for entry p (empty when new).
    void Ensure(int p);
    int Entries() const { return static_cast<int>(Scheme.size()); }
    // The records of entry p (0 when there is no such entry).
    int Records(int p) const;
    bool Empty() const { return Scheme.empty(); }
    void Clear();
};
