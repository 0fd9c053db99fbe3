#pragma once
// Trees and byte helpers for the project file tests.
#include <cstdint>
#include <string>
#include <vector>

#include "app/ProjectFile.h"

// Builds a project the way the dialogs do: appends through the root, counts kept by the caller.
class ProjectBuilder {
public:
    ProjectBuilder();

    TGrsed& Root() { return *root_; }
    projectfile::ProjectTree Take() { return std::move(root_); }

    TGrsed* AddSwitchboard(int number);
    TSitid* AddPanel(int switchboardNumber, int panelNumber);

    // A group line: its scheme record and the phase record of its kind (2, 3 or 4 conductors).
    struct Line {
        TCxemaGrupd* scheme = nullptr;
        TFasaGrup1d* single = nullptr;
        TFasaGrup2d* two = nullptr;
        TFasaGrup3d* three = nullptr;
    };
    Line AddGroup(int panelNumber, int kind, const std::string& name);

private:
    projectfile::ProjectTree root_;
};

// One switchboard (number 1) with one panel (number 1) and one group line of the given kind.
projectfile::ProjectTree OneLineProject(int kind, ProjectBuilder::Line* line = nullptr);

// Byte offset of a record in the file of OneLineProject, from the layout: header slots 1-5, the
// switchboard count, one panel count, B1, B2, the four group counts, B4, B5, G1, the phase block
// of the line's kind, the trailer.
size_t OneLineOffset(int record, int kind);

std::vector<char> Bytes(const TGrsed& root, const projectfile::ProjectFileExtras& extras = {});

// The text of the slot at `offset`, up to its NUL.
std::string SlotAt(const std::vector<char>& bytes, size_t offset);
std::int32_t WordAt(const std::vector<char>& bytes, size_t offset);

// Overwrites a slot with the text, its NUL and zeros; or a count word.
void PutSlot(std::string& bytes, size_t offset, const std::string& text);
void PutWord(std::string& bytes, size_t offset, std::int32_t value);

// A fresh temporary folder; the caller removes it.
std::string MakeTempFolder();
std::vector<char> FileBytes(const std::string& path);
