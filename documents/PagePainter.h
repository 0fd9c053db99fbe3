#pragma once
// What the preview builders of the calculation tables and the cable journals ask of the page
// painters that paint those documents.
#include <string>

namespace platform {
class TBitmap;
}

// One request to a painter: the arguments the builder hands on.
struct PageRequest {
    int argument = 0;  // the journal kind for the journal painter, 0 for the table painters
    int rows = 0;      // data rows of the document
    std::string title;
    int page = 1;         // the page asked for, from 1
    int panelNumber = 0;  // the panel of the consumers table; read by that painter only
};

class PagePainter {
public:
    virtual ~PagePainter() = default;
    // Paints the whole document, its title included, on `page`, which it sizes (800 px wide);
    // whatever page is asked for. The builders cut the pages out of it.
    virtual void Paint(platform::TBitmap& page, const PageRequest& request) = 0;
};
