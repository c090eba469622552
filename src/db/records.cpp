#include "records.h"

#include <functional>
#include <ranges>
#include <string_view>
#include <tuple>

#include "Cp1251.h"
#include "address_groups.h"
#include "record_order.h"
#include "reporter.h"

using namespace cp1251_literals;

bool SameAddress(const BaseRecord& a, const BaseRecord& b) {
    return a.Corpus == b.Corpus && a.Entrance == b.Entrance && a.Street == b.Street && a.House == b.House;
}

bool AddressLess(const BaseRecord& a, const BaseRecord& b) {
    return std::tie(a.Street, a.House, a.Corpus, a.Entrance) < std::tie(b.Street, b.House, b.Corpus, b.Entrance);
}

namespace {

uint64_t Mix(uint64_t h, uint64_t v) {
    h ^= v + 0x9E3779B97F4A7C15ull + (h << 6) + (h >> 2);
    return h;
}

}  // namespace

uint64_t AddressHash(const BaseRecord& row) {
    const std::hash<std::string_view> text;
    uint64_t h = text(row.Street);
    h = Mix(h, text(row.House));
    h = Mix(h, static_cast<uint32_t>(row.Corpus));
    return Mix(h, static_cast<uint32_t>(row.Entrance));
}

int DatabaseModel::FindRowByNumber(int32_t number) const {
    // Renumbering gives row i the Number i + 1; later appends carry 0 and
    // removals only move rows towards the front, so a match at that place is
    // the only row with that Number.
    if (number >= 1 && static_cast<std::size_t>(number) <= Rows.size() && Rows[number - 1].Number == number)
        return number - 1;
    for (std::size_t i = 0; i < Rows.size(); ++i)
        if (Rows[i].Number == number) return static_cast<int>(i);
    return -1;
}

void DatabaseModel::RenumberRows() {
    for (std::size_t i = 0; i < Rows.size(); ++i) Rows[i].Number = static_cast<int32_t>(i + 1);
}

void DatabaseModel::CollectStreets() { Streets = DistinctStreets(Rows); }

bool DatabaseModel::ReorderRows() { return SortRows(nullptr); }

bool DatabaseModel::SortRows(AddressRuns* runs) {
    // The sort collects the streets (what CollectStreets would) on its way.
    const bool settled = SortProgramOrder(Rows, &Streets, runs);
    RenumberRows();
    return settled;
}

namespace {

// One default per group, the first member's when there are none or several.
template <class Members>
void SettleDefault(std::vector<BaseRecord>& rows, Members members, Reporter& report) {
    int defaults = 0;
    for (uint32_t pos : members) defaults += rows[pos].KeyDef ? 1 : 0;
    if (defaults != 1) {
        for (uint32_t pos : members) rows[pos].KeyDef = false;
        rows[members.front()].KeyDef = true;  // the first in the program's order
    }
    for (std::size_t i = 0; i < members.size(); ++i) {
        report.StepProgress();
        report.ProcessMessages();
    }
}

}  // namespace

bool DatabaseModel::NormalizeDefaultKeys() {
    AddressRuns runs;
    const bool settled = SortRows(&runs);
    Reporter& report = reporter();
    report.BeginProgress(static_cast<int>(Rows.size()));
    if (runs.known) {
        // The sort has put the rows of each address next to each other.
        for (std::size_t r = 0; r < runs.starts.size(); ++r) {
            const uint32_t end = r + 1 < runs.starts.size() ? runs.starts[r + 1] : static_cast<uint32_t>(Rows.size());
            SettleDefault(Rows, std::views::iota(runs.starts[r], end), report);
        }
    } else {
        const AddressGroups groups(Rows);
        for (std::size_t g = 0; g < groups.GroupCount(); ++g) SettleDefault(Rows, groups.Group(g), report);
    }
    report.EndProgress();
    return settled;
}

bool DatabaseModel::IsDuplicateRow(const BaseRecord& row, bool quiet) const {
    for (const auto& other : Rows) {
        if (other.KeyHex != row.KeyHex || !SameAddress(other, row)) continue;
        if (!quiet) reporter().ShowSystemMessage("Такой адрес и ключ были уже добавлены ранее!"_cp, "", kMessageError);
        return true;
    }
    return false;
}
