#include "address_text.h"

namespace {

std::string CaptionWith(const std::string& street, const BaseRecord& row) {
    std::string text = street + " " + row.House;
    if (row.Corpus != 0) return text + "/" + std::to_string(row.Corpus) + "-" + std::to_string(row.Entrance);
    if (row.Entrance != 0) return text + "-" + std::to_string(row.Entrance);
    return text;
}

}  // namespace

std::string AddressCaption(const BaseRecord& row, bool shortened) {
    const std::string text = CaptionWith(row.Street, row);
    if (!shortened || text.size() <= kShortCaptionLength) return text;
    const auto excess = static_cast<long>(text.size() - kShortCaptionLength);
    const long keep = static_cast<long>(row.Street.size()) - excess;
    return CaptionWith(row.Street.substr(0, keep > 0 ? static_cast<std::size_t>(keep) : 1), row);
}

std::string AddressTextLine(const BaseRecord& row) {
    return row.Street + "\t" + row.House + "\t" + std::to_string(row.Corpus) + "\t" + std::to_string(row.Entrance) +
           "\t" + row.KeyHex + "\t" + row.Report + "\t" + (row.KeyDef ? "1" : "0") + "\n";
}
