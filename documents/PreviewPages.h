#pragma once
// What the preview of the scheme window's picture and its printing share: which sheet of the
// picture is which page.
#include "drawings/PrintSheets.h"

// The used sheet of the picture whose number is `page`; null when none has it.
const TSheetCell* SheetOfPage(const SheetGrid& grid, int page);
