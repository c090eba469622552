#pragma once
// The rows of one database and the operations on them. The database window
// owns one DatabaseModel; nothing here knows about windows: progress, the
// busy cursor and status-line messages go through the Reporter the owner
// hands in.

#include <cstdint>
#include <string>
#include <vector>

class Reporter;
struct AddressRuns;

// One row: one key of one entrance. Texts are CP1251.
struct BaseRecord {
    int32_t Number = 0;  // 1-based position in Rows after the last renumbering; 0 for a row added since
    std::string Street;
    std::string House;  // may hold letters or a slash; "" when not given
    int32_t Corpus = 0;    // 0: none
    int32_t Entrance = 0;  // 0: none
    std::string KeyHex;    // 16 upper-case hexadecimal digits, check byte first
    std::string Report;
    bool Marked = false;    // never stored
    bool KeyDef = false;    // the default key of its address
    bool Selected = false;  // never stored; meaningful in AddressRows only
};

// The one address comparison of the program: street and house texts equal
// byte for byte (case and blanks count), corpus and entrance equal.
bool SameAddress(const BaseRecord& a, const BaseRecord& b);
// A strict order whose equivalence is SameAddress; only for grouping.
bool AddressLess(const BaseRecord& a, const BaseRecord& b);
// Equal for rows with the same address.
uint64_t AddressHash(const BaseRecord& row);

class DatabaseModel {
public:
    explicit DatabaseModel(Reporter& reporter) : reporter_(&reporter) {}

    std::vector<BaseRecord> Rows;          // every row, in the program's order
    std::vector<BaseRecord> FilteredRows;  // copies of the rows that pass the filters
    std::vector<BaseRecord> AddressRows;   // one copy per address of FilteredRows
    std::vector<BaseRecord> KeyRows;       // copies of the rows of the current address
    std::vector<std::string> Streets;      // distinct streets of Rows, first spelling first

    // Index into Rows of the first row with this Number, or -1. Constant
    // time while Rows is as the last renumbering left it (rows added since
    // carry 0, so non-zero Numbers stay unique); a search otherwise.
    int FindRowByNumber(int32_t number) const;
    void RenumberRows();
    void CollectStreets();
    // The program's order, then RenumberRows and CollectStreets. True when
    // a second call would change nothing (see SortProgramOrder).
    bool ReorderRows();
    // Reorders, then gives every address exactly one default key: an
    // address with none or several keeps only its first row's. Addresses
    // with exactly one are left as they are. Returns what ReorderRows did:
    // only default flags change after it, and they play no part in the order.
    bool NormalizeDefaultKeys();
    // A row of Rows with the same address and KeyHex exists; unless quiet
    // the status line says so. Searches Rows: loops over many rows should
    // group them once with AddressGroups instead.
    bool IsDuplicateRow(const BaseRecord& row, bool quiet) const;

    Reporter& reporter() const { return *reporter_; }

private:
    bool SortRows(AddressRuns* runs);

    Reporter* reporter_;
};
