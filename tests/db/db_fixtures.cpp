#include "db_fixtures.h"

#include <algorithm>
#include <filesystem>

#include "Cp1251.h"

BaseRecord Row(const std::string& street, const std::string& house, int32_t corpus, int32_t entrance,
               const std::string& key, bool keyDef, const std::string& report) {
    BaseRecord row;
    row.Street = cp1251::FromUtf8(street);
    row.House = cp1251::FromUtf8(house);
    row.Corpus = corpus;
    row.Entrance = entrance;
    row.KeyHex = key;
    row.KeyDef = keyDef;
    row.Report = cp1251::FromUtf8(report);
    return row;
}

std::string TableBytes(const std::vector<FieldBytes>& fields, const std::vector<std::string>& records,
                       const std::string& tail) {
    int recordLength = 1;
    for (const auto& f : fields) recordLength += f.length;
    const int headerLength = 32 * static_cast<int>(fields.size()) + 33;
    std::string out(32, '\0');
    out[0] = 0x03;
    out[2] = 0x01;
    out[3] = 0x01;
    const auto count = static_cast<uint32_t>(records.size());
    for (int i = 0; i < 4; ++i) out[4 + i] = static_cast<char>(count >> (8 * i));
    out[8] = static_cast<char>(headerLength & 0xFF);
    out[9] = static_cast<char>(headerLength >> 8);
    out[10] = static_cast<char>(recordLength & 0xFF);
    out[11] = static_cast<char>(recordLength >> 8);
    for (const auto& f : fields) {
        std::string d(32, '\0');
        d.replace(0, f.name.size(), f.name);
        d[11] = f.type;
        d[16] = static_cast<char>(f.length & 0xFF);
        d[17] = static_cast<char>(f.type == 'C' ? f.length >> 8 : f.decimals);
        out += d;
    }
    out += '\x0D';
    for (const auto& r : records) out += r;
    return out + tail;
}

const std::vector<FieldBytes>& KeyFields() {
    static const std::vector<FieldBytes> fields = {
        {"STREET", 'C', 128}, {"HOUSE", 'C', 8},    {"CORPUS", 'N', 8},  {"ENTRANCE", 'N', 8},
        {"KEY_HEX", 'C', 16}, {"REPORT", 'C', 128}, {"KEY_DEF", 'N', 1},
    };
    return fields;
}

namespace {

std::string Left(const std::string& text, std::size_t width) {
    std::string t = text.substr(0, width);
    return t + std::string(width - t.size(), ' ');
}
std::string Right(const std::string& text, std::size_t width) { return std::string(width - text.size(), ' ') + text; }

}  // namespace

std::string KeyRecord(const std::string& street, const std::string& house, const std::string& corpus,
                      const std::string& entrance, const std::string& key, const std::string& report,
                      const std::string& keyDef, char flag) {
    return std::string(1, flag) + Left(cp1251::FromUtf8(street), 128) + Left(cp1251::FromUtf8(house), 8) +
           Right(corpus, 8) + Right(entrance, 8) + Left(key, 16) + Left(cp1251::FromUtf8(report), 128) +
           Right(keyDef, 1);
}

long FailingFileOps::WriteAt(int fd, const void* data, std::size_t size, int64_t offset) {
    if (static_cast<long>(size) > budget_) {
        // The part that still fits reaches the file, as on a full disk.
        const long part = budget_ > 0 ? FileOps::WriteAt(fd, data, static_cast<std::size_t>(budget_), offset) : 0;
        budget_ = 0;
        return part > 0 ? part : -1;
    }
    budget_ -= static_cast<long>(size);
    return FileOps::WriteAt(fd, data, size, offset);
}

std::vector<std::string> FolderEntries(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}
