#pragma once
// A Word document (.docx) made from one of the program's templates, filled in memory and
// written as a whole: table 1 of the body grows by copies of its last row, text goes after
// what a cell already holds, and the first-page footer's table takes the title block.
// Every operation reports a failure by a ReportError with the text for the user; nothing is
// written before SaveAs.
#include <memory>
#include <stdexcept>
#include <string>

class WordDocument {
public:
    // Reads the template package. Throws when it is missing or not a Word package.
    explicit WordDocument(const std::string& templatePath);
    ~WordDocument();
    WordDocument(const WordDocument&) = delete;
    WordDocument& operator=(const WordDocument&) = delete;

    // Appends `count` rows to table 1 of the body, each shaped as the last row, without text.
    void AddBodyRows(int count);
    // Appends text to the cell (1-based row and column) of table 1 of the body, in the format of
    // the cell's last paragraph mark.
    void AppendToBodyCell(int row, int column, const std::string& text);
    // The first page gets a footer of its own; text goes to the cell of its table 1.
    void AppendToFirstFooterCell(int row, int column, const std::string& text);

    // Writes the document to `path`, which must not exist yet; no file is left behind on a
    // failure, and an existing file is never replaced.
    void SaveAs(const std::string& path) const;

private:
    struct Package;
    std::unique_ptr<Package> package_;
};

class ReportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The text as Word XML takes it: UTF-8 with the characters XML 1.0 forbids (and malformed bytes)
// left out.
std::string XmlSafeText(const std::string& text);
