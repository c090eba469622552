#include "cli_database.h"

#include <cstdint>
#include <unordered_map>

#include "Cp1251.h"
#include "address_groups.h"
#include "address_text.h"
#include "key_database.h"

using namespace cp1251_literals;

int OpenForCommand(DatabaseModel& model, const std::string& path) {
    switch (OpenKeyDatabase(model, path)) {
        case 1:
            return kExitOk;
        case -1:
            return kExitNotKeyDatabase;
        default:
            return kExitReadFailed;
    }
}

bool MarkAddresses(DatabaseModel& model, bool all, const std::vector<std::string>& addresses, CliContext& io) {
    const AddressGroups groups(model.Rows);
    std::unordered_map<std::string, std::vector<uint32_t>> lines;
    for (std::size_t g = 0; g < groups.GroupCount(); ++g) {
        const uint32_t first = groups.Group(g).front();
        if (all)
            model.Rows[first].Marked = true;
        else
            lines[AddressCaption(model.Rows[first], false)].push_back(first);
    }
    bool found = true;
    for (const auto& address : addresses) {
        const auto line = lines.find(address);
        if (line == lines.end()) {
            io.err << "vestorin-cli: ";
            PrintLine(io.err, "адрес '"_cp + address + "' не найден в базе"_cp);
            found = false;
            continue;
        }
        for (uint32_t pos : line->second) model.Rows[pos].Marked = true;
    }
    return found;
}
