#pragma once
// Order lines as a host writes them: the sixteen columns of the order grid and the second line.
#include <array>
#include <string>
#include <vector>

namespace order_fixture {

inline constexpr std::array<const char*, 16> kColumns = {
    "TColumn-1",     "Pos.",         "Stueck",        "Einheit",      "Bezeichnung1", "Bezeichnung2",
    "BestellNummer", "Seriennummer", "Artikelnummer", "Einzelbetrag", "Steuer",       "SummeBetrag",
    "intern",        "ID_Artikel",   "benutzer",      "Rabatt"};

// Column indexes of the fields the tests look at.
enum Col {
    kMarker = 0,
    kPos = 1,
    kQty = 2,
    kText = 4,
    kText2 = 5,
    kPrice = 9,
    kTax = 10,
    kSum = 11,
    kDiscount = 15
};

// One row: the sixteen cells (already escaped as the format wants) and the second line.
struct Row {
    std::array<std::string, 16> cells;
    std::string second;
};

inline Row Article(const char* qty, const char* price, const char* tax, const char* discount = "",
                   const char* marker = "") {
    Row r;
    r.cells[kMarker] = marker;
    r.cells[kQty] = qty;
    r.cells[kPrice] = price;
    r.cells[kTax] = tax;
    r.cells[kDiscount] = discount;
    r.cells[kSum] = "0,00";
    r.cells[kText] = "Artikel";
    return r;
}

inline Row Text(const char* marker, const char* text, const char* tax = "") {
    Row r;
    r.cells[kMarker] = marker;
    r.cells[kText] = text;
    r.cells[kTax] = tax;
    return r;
}

inline std::string Quoted(const std::string& s) {
    std::string out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

inline std::string OrderLines(const std::vector<Row>& rows) {
    std::string s = "\"@@DATADEF START@@\"\r\n";
    for (const char* n : kColumns) s += Quoted(n) + "\r\n";
    s += "\"SecondField\"\r\n\"@@DATADEF END@@\"\r\n";
    for (const char* n : kColumns) s += Quoted(n) + ",";
    s += "\"SecondField\",\r\n";
    for (const Row& r : rows) {
        for (const std::string& c : r.cells) s += Quoted(c) + ",";
        s += Quoted(r.second) + ",\r\n";
    }
    return s;
}

}  // namespace order_fixture
