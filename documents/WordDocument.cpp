#include "documents/WordDocument.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include <cerrno>
#include <cstring>
#include <pugixml.hpp>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/Conversions.h"
#include "platform/Cp1251.h"
#include "platform/Files.h"

namespace {

constexpr char kTemplateType[] =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.template.main+xml";
constexpr char kDocumentType[] =
    "application/vnd.openxmlformats-officedocument.wordprocessingml.document.main+xml";
// Whitespace-only text (a blank in a cell) is kept; the layout whitespace between elements not.
constexpr unsigned kParseOptions =
    pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata_single;

bool AllowedInXml(long cp) {
    return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp <= 0xD7FF) ||
           (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);
}

std::string CellText(int row, int column) {
    return "(строка " + platform::IntToStr(row) + ", столбец " + platform::IntToStr(column) + ")";
}

// The n-th (1-based) child element of that name.
pugi::xml_node NthChild(pugi::xml_node parent, const char* name, int n) {
    if (n < 1) return {};
    for (pugi::xml_node child = parent.child(name); child; child = child.next_sibling(name))
        if (--n == 0) return child;
    return {};
}

// A paragraph without its text: only its properties stay.
void ClearParagraph(pugi::xml_node paragraph) {
    for (pugi::xml_node child = paragraph.first_child(); child;) {
        const pugi::xml_node next = child.next_sibling();
        if (std::strcmp(child.name(), "w:pPr") != 0) paragraph.remove_child(child);
        child = next;
    }
}

// A copy of the row's shape: each cell keeps its properties and one empty paragraph.
void ClearRow(pugi::xml_node row) {
    for (pugi::xml_node cell = row.child("w:tc"); cell; cell = cell.next_sibling("w:tc")) {
        pugi::xml_node keep;
        for (pugi::xml_node p = cell.child("w:p"); p; p = p.next_sibling("w:p")) keep = p;
        for (pugi::xml_node child = cell.first_child(); child;) {
            const pugi::xml_node next = child.next_sibling();
            if (child != keep && std::strcmp(child.name(), "w:tcPr") != 0) cell.remove_child(child);
            child = next;
        }
        if (keep)
            ClearParagraph(keep);
        else
            cell.append_child("w:p");
    }
}

// Text after what the cell holds, in the format of its last paragraph mark; a tab becomes a
// tab element.
void AppendText(pugi::xml_node cell, const std::string& text) {
    pugi::xml_node paragraph;
    for (pugi::xml_node p = cell.child("w:p"); p; p = p.next_sibling("w:p")) paragraph = p;
    if (!paragraph) paragraph = cell.append_child("w:p");
    const std::string safe = XmlSafeText(text);
    if (safe.empty()) return;
    pugi::xml_node run = paragraph.append_child("w:r");
    const pugi::xml_node markFormat = paragraph.child("w:pPr").child("w:rPr");
    if (markFormat) {
        pugi::xml_node format = run.append_child("w:rPr");
        // Revision marks of the paragraph mark do not belong to the text.
        for (pugi::xml_node property : markFormat.children()) {
            const std::string name = property.name();
            if (name != "w:ins" && name != "w:del" && name != "w:moveFrom" && name != "w:moveTo" &&
                name != "w:rPrChange")
                format.append_copy(property);
        }
    }
    size_t start = 0;
    while (start <= safe.size()) {
        const size_t tab = safe.find('\t', start);
        const std::string piece = safe.substr(start, tab == std::string::npos ? tab : tab - start);
        if (!piece.empty()) {
            pugi::xml_node t = run.append_child("w:t");
            t.append_attribute("xml:space") = "preserve";
            t.text().set(piece.c_str());
        }
        if (tab == std::string::npos) break;
        run.append_child("w:tab");
        start = tab + 1;
    }
}

std::string Serialized(const pugi::xml_document& xml) {
    std::ostringstream out;
    xml.save(out, "", pugi::format_raw, pugi::encoding_utf8);
    return out.str();
}

}  // namespace

std::string XmlSafeText(const std::string& text) {
    std::string safe;
    safe.reserve(text.size());
    for (size_t i = 0; i < text.size();) {
        const size_t start = i;
        char32_t cp = 0;
        if (!platform::NextCodePoint(text, i, cp)) {
            ++i;  // a malformed byte goes
            continue;
        }
        if (AllowedInXml(cp)) safe.append(text, start, i - start);
    }
    return safe;
}

struct WordDocument::Package {
    std::string templatePath;
    std::vector<std::pair<std::string, std::string>> entries;  // name, bytes, in package order
    std::string documentName;
    std::string footerName;
    pugi::xml_document document;
    pugi::xml_document footer;
    pugi::xml_node sectionProperties;  // of section 1
    pugi::xml_node bodyTable;
    std::vector<pugi::xml_node> bodyRows;
    pugi::xml_node footerTable;

    [[noreturn]] void Fail(const std::string& what) const {
        throw ReportError("Шаблон отчета " + templatePath + " " + what);
    }

    std::string* Entry(const std::string& name) {
        for (auto& [entryName, bytes] : entries)
            if (entryName == name) return &bytes;
        return nullptr;
    }

    void Read() {
        int error = 0;
        zip_t* zip = zip_open(templatePath.c_str(), ZIP_RDONLY, &error);
        if (zip == nullptr) {
            if (error == ZIP_ER_NOENT || error == ZIP_ER_OPEN) Fail("не найден.");
            Fail("не является документом Word.");
        }
        const zip_int64_t count = zip_get_num_entries(zip, 0);
        bool failed = false;
        for (zip_int64_t k = 0; k < count && !failed; ++k) {
            zip_stat_t stat;
            if (zip_stat_index(zip, k, 0, &stat) != 0) {
                failed = true;
                break;
            }
            const std::string name = stat.name;
            if (!name.empty() && name.back() == '/') continue;  // folder entry
            std::string bytes(stat.size, '\0');
            zip_file_t* file = zip_fopen_index(zip, k, 0);
            if (file == nullptr ||
                zip_fread(file, bytes.data(), stat.size) != static_cast<zip_int64_t>(stat.size))
                failed = true;
            if (file) zip_fclose(file);
            entries.emplace_back(name, std::move(bytes));
        }
        zip_discard(zip);
        if (failed) Fail("не удается прочитать.");
    }

    // The main part as the package's relationships name it.
    void FindParts() {
        documentName = "word/document.xml";
        if (const std::string* rels = Entry("_rels/.rels")) {
            pugi::xml_document xml;
            if (xml.load_buffer(rels->data(), rels->size()))
                for (pugi::xml_node rel : xml.child("Relationships").children("Relationship"))
                    if (std::string(rel.attribute("Type").value()).ends_with("/officeDocument")) {
                        documentName = rel.attribute("Target").value();
                        if (documentName.starts_with("/")) documentName.erase(0, 1);
                    }
        }
        const std::string* body = Entry(documentName);
        if (body == nullptr || !document.load_buffer(body->data(), body->size(), kParseOptions))
            Fail("не является документом Word.");
        const pugi::xml_node bodyNode = document.child("w:document").child("w:body");
        for (pugi::xml_node block : bodyNode.children()) {
            if (!bodyTable && std::strcmp(block.name(), "w:tbl") == 0) bodyTable = block;
            if (!sectionProperties) {
                if (std::strcmp(block.name(), "w:sectPr") == 0)
                    sectionProperties = block;
                else if (std::strcmp(block.name(), "w:p") == 0)
                    sectionProperties = block.child("w:pPr").child("w:sectPr");
            }
        }
        if (!bodyTable) Fail("не содержит таблицы.");
        for (pugi::xml_node row = bodyTable.child("w:tr"); row; row = row.next_sibling("w:tr"))
            bodyRows.push_back(row);
        if (bodyRows.empty()) Fail("содержит таблицу без строк.");
    }

    void FindFirstFooter() {
        if (footerTable) return;
        std::string id;
        for (pugi::xml_node ref = sectionProperties.child("w:footerReference"); ref;
             ref = ref.next_sibling("w:footerReference"))
            if (std::strcmp(ref.attribute("w:type").value(), "first") == 0)
                id = ref.attribute("r:id").value();
        const std::string folder = documentName.substr(0, documentName.rfind('/') + 1);
        const std::string relsName =
            folder + "_rels/" + documentName.substr(folder.size()) + ".rels";
        const std::string* rels = Entry(relsName);
        pugi::xml_document relsXml;
        if (!id.empty() && rels && relsXml.load_buffer(rels->data(), rels->size()))
            for (pugi::xml_node rel : relsXml.child("Relationships").children("Relationship"))
                if (id == rel.attribute("Id").value()) {
                    const std::string target = rel.attribute("Target").value();
                    footerName = target.starts_with("/") ? target.substr(1) : folder + target;
                }
        const std::string* bytes = footerName.empty() ? nullptr : Entry(footerName);
        if (bytes == nullptr || !footer.load_buffer(bytes->data(), bytes->size(), kParseOptions))
            Fail("не содержит нижнего колонтитула первой страницы.");
        footerTable = footer.child("w:ftr").child("w:tbl");
        if (!footerTable) Fail("не содержит таблицы штампа в колонтитуле первой страницы.");
    }

    // The first page gets its own header and footer.
    void SetTitlePage() {
        if (sectionProperties.child("w:titlePg")) return;
        // Elements that follow titlePg in a section's properties.
        static const char* const later[] = {"w:textDirection",   "w:bidi",
                                            "w:rtlGutter",       "w:docGrid",
                                            "w:printerSettings", "w:sectPrChange"};
        for (pugi::xml_node child : sectionProperties.children())
            for (const char* name : later)
                if (std::strcmp(child.name(), name) == 0) {
                    sectionProperties.insert_child_before("w:titlePg", child);
                    return;
                }
        sectionProperties.append_child("w:titlePg");
    }
};

WordDocument::WordDocument(const std::string& templatePath) : package_(new Package) {
    package_->templatePath = templatePath;
    package_->Read();
    package_->FindParts();
}

WordDocument::~WordDocument() = default;

void WordDocument::AddBodyRows(int count) {
    Package& p = *package_;
    for (int k = 0; k < count; ++k) {
        const pugi::xml_node last = p.bodyRows.back();
        pugi::xml_node row = p.bodyTable.insert_copy_after(last, last);
        ClearRow(row);
        p.bodyRows.push_back(row);
    }
}

void WordDocument::AppendToBodyCell(int row, int column, const std::string& text) {
    Package& p = *package_;
    pugi::xml_node cell;
    if (row >= 1 && row <= static_cast<int>(p.bodyRows.size()))
        cell = NthChild(p.bodyRows[row - 1], "w:tc", column);
    if (!cell) p.Fail("не содержит ячейки таблицы " + CellText(row, column) + ".");
    AppendText(cell, text);
}

void WordDocument::AppendToFirstFooterCell(int row, int column, const std::string& text) {
    Package& p = *package_;
    if (!p.sectionProperties) p.Fail("не содержит свойств раздела.");
    p.FindFirstFooter();
    p.SetTitlePage();
    const pugi::xml_node cell = NthChild(NthChild(p.footerTable, "w:tr", row), "w:tc", column);
    if (!cell) p.Fail("не содержит ячейки штампа " + CellText(row, column) + ".");
    AppendText(cell, text);
}

void WordDocument::SaveAs(const std::string& path) const {
    const Package& p = *package_;
    const auto fail = [&path](const std::string& why) {
        throw ReportError("Не удается записать документ " + path + ": " + why);
    };
    // The parts in the order of the template; a document, no longer a template.
    std::vector<std::pair<std::string, std::string>> parts = p.entries;
    for (auto& [name, bytes] : parts) {
        if (name == p.documentName) {
            bytes = Serialized(p.document);
        } else if (name == p.footerName && p.footerTable) {
            bytes = Serialized(p.footer);
        } else if (name == "[Content_Types].xml") {
            const size_t at = bytes.find(kTemplateType);
            if (at != std::string::npos)
                bytes.replace(at, std::strlen(kTemplateType), kDocumentType);
        }
    }

    // Written whole under a temporary name in the same folder, then linked to its name, which
    // fails rather than replace a file that appeared meanwhile.
    const size_t slash = path.rfind('/');
    std::string temporary =
        (slash == std::string::npos ? std::string() : path.substr(0, slash + 1)) + ".report-XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) fail(std::strerror(errno));
    // A report is readable as any new file is, not by its owner only (mkstemp's 0600, which
    // the archive writer keeps).
    const int modeError = fchmod(fd, platform::NewFileMode()) != 0 ? errno : 0;
    close(fd);
    struct RemoveTemporary {
        const std::string& name;
        ~RemoveTemporary() { unlink(name.c_str()); }
    } removeTemporary{temporary};
    if (modeError != 0) fail(std::strerror(modeError));

    int error = 0;
    zip_t* zip = zip_open(temporary.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (zip == nullptr) fail("не удается создать файл.");
    for (const auto& [name, bytes] : parts) {
        zip_source_t* source = zip_source_buffer(zip, bytes.data(), bytes.size(), 0);
        if (source == nullptr ||
            zip_file_add(zip, name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE) < 0) {
            if (source) zip_source_free(source);
            const std::string why = zip_strerror(zip);
            zip_discard(zip);
            fail(why);
        }
    }
    if (zip_close(zip) != 0) {
        const std::string why = zip_strerror(zip);
        zip_discard(zip);
        fail(why);
    }
    if (link(temporary.c_str(), path.c_str()) != 0) fail(std::strerror(errno));
}
