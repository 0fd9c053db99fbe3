#pragma once
// Every value of a project tree, to compare the tree before and after an operation.
#include <string>
#include <vector>

#include "model/Classd.h"

// The values of every record of the tree, level by level, in tree order: the root and the
// switchboards, the panels, the four group chains and the nine result chains of every panel.
struct TreeImage {
    std::vector<TGrsedFields> boards;
    std::vector<TSitidFields> panels;
    std::vector<TCxemaGrupdFields> scheme;
    std::vector<TFasaGrup1dFields> single;
    std::vector<TFasaGrup2dFields> two;
    std::vector<TFasaGrup3dFields> three;
    std::vector<int> chainLengths;
    bool operator==(const TreeImage&) const = default;
};
TreeImage ImageOf(const TGrsed& root);
// The same without the cross-section copies in the per-phase result records: each recalculation
// copies them anew from the phase records, so a rollback that recalculates brings them up to
// date without changing anything the project keeps.
TreeImage ImageWithoutResultSectionCopies(const TGrsed& root);
// Where two images differ first ("panel 2", "chain lengths"...); empty when they are equal.
std::string FirstDifference(const TreeImage& a, const TreeImage& b);
// Every field that differs, one line each: the record (its place in the image and its name), the
// field, and the value in a, then in b ("panel 2 (Щит 3): CascadePower 7 -> 5").
std::vector<std::string> FieldDifferences(const TreeImage& a, const TreeImage& b);
// The first `most` of them, one a line, with the number of the rest; empty when equal.
std::string DifferencesText(const TreeImage& a, const TreeImage& b, std::size_t most = 30);
// The image of a tree to compare with its save-and-reopen: without the values nothing reads
// once a step has ended (the working fields of a calculation step, the section copies of the
// per-phase result records, a switchboard's copy of the switchboard count), which the file does
// not carry.
TreeImage ReopeningImage(const TGrsed& root);
// The differences of two such images, numbers held equal to the precision the project file keeps.
std::string ReopeningDifferences(const TreeImage& built, const TreeImage& reopened,
                                 std::size_t most = 30);
