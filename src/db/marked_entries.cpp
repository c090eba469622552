#include "marked_entries.h"

#include <string>

#include "Cp1251.h"
#include "address_groups.h"
#include "reporter.h"

using namespace cp1251_literals;

void CollectMarkedEntries(const DatabaseModel& model, std::vector<BaseRecord>& entries, int limit) {
    entries.clear();
    Reporter& report = model.reporter();
    report.SetBusy(true);
    const auto& rows = model.Rows;
    const AddressGroups defaults(rows, [](const BaseRecord& r) { return r.KeyDef; });
    const auto full = [&] { return entries.size() >= static_cast<std::size_t>(limit > 0 ? limit : 0); };
    const auto capacityMessage = [&] {
        report.ShowSystemMessage("Размер отмеченных адресов только "_cp + std::to_string(limit) + " ячеек!"_cp, "",
                                 kMessageInfo);
    };
    bool stopped = false;
    for (std::size_t i = 0; i < rows.size() && !stopped; ++i) {
        if (full()) {
            capacityMessage();
            break;
        }
        if (!rows[i].Marked) continue;
        for (uint32_t pos : defaults.Find(rows[i])) {
            if (full()) {
                // More default keys of this address than room: never past the limit.
                capacityMessage();
                stopped = true;
                break;
            }
            entries.push_back(rows[pos]);
        }
    }
    report.SetBusy(false);
}
