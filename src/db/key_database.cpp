#include "key_database.h"

#include <array>
#include <cstdio>

#include "Cp1251.h"
#include "file_replace.h"
#include "reporter.h"
#include "text_helpers.h"

using namespace cp1251_literals;

namespace {

struct FieldSpec {
    char type;
    const char* name;
    uint16_t length;
};

constexpr std::array<FieldSpec, 7> kKeyFields = {{
    {'C', "STREET", 128},
    {'C', "HOUSE", 8},
    {'N', "CORPUS", 8},
    {'N', "ENTRANCE", 8},
    {'C', "KEY_HEX", 16},
    {'C', "REPORT", 128},
    {'N', "KEY_DEF", 1},
}};

// "%s %d %c": the form in which the field check compares each field.
std::string FieldSignature(std::string_view name, int length, char type) {
    return std::string(name) + " " + std::to_string(length) + " " + std::string(1, type);
}

}  // namespace

bool BaseDbf::add_key_fields() {
    for (const auto& f : kKeyFields)
        if (!add_field(f.type, f.name, f.length, 0)) return false;
    return true;
}

void BaseDbf::read_record() {
    // A field the engine does not read (a number with decimals) gives 0.
    street = house = key_hex = report = "";
    corpus = entrance = key_def = 0;
    get_char("STREET", street);
    get_char("HOUSE", house);
    get_long("CORPUS", corpus);
    get_long("ENTRANCE", entrance);
    get_char("KEY_HEX", key_hex);
    get_char("REPORT", report);
    get_long("KEY_DEF", key_def);
}

bool BaseDbf::write_record() {
    put_char("STREET", street);
    put_char("HOUSE", house);
    put_long("CORPUS", corpus);
    put_long("ENTRANCE", entrance);
    put_char("KEY_HEX", key_hex);
    put_char("REPORT", report);
    put_long("KEY_DEF", key_def);
    return write_buffer();
}

bool BaseDbf::go_top() {
    if (!go_to(1)) return false;
    read_record();
    return true;
}

bool BaseDbf::skip(int32_t k) {
    if (!DBF::skip(k)) return false;
    read_record();
    return true;
}

bool HasKeyDatabaseFields(const DBF& table) {
    if (table.field_count() != static_cast<int32_t>(kKeyFields.size())) return false;
    for (std::size_t i = 0; i < kKeyFields.size(); ++i) {
        std::string name;
        if (!table.field_name(static_cast<int>(i + 1), name)) return false;
        const auto& want = kKeyFields[i];
        if (FieldSignature(name, table.field_length(name), table.field_type(name)) !=
            FieldSignature(want.name, want.length, want.type))
            return false;
    }
    return true;
}

int LoadKeyDatabase(DatabaseModel& model, const std::string& fileName) {
    model.Rows.clear();
    BaseDbf table(fileName, DbfAccess::kReadOnly);
    if (!table.open()) return 0;
    if (!HasKeyDatabaseFields(table)) return -1;
    if (table.record_count() == 0) return 1;
    if (!table.go_top()) return 0;

    Reporter& report = model.reporter();
    report.SetBusy(true);
    // A header may claim more records than the file holds; reserve only
    // what is really there.
    model.Rows.reserve(table.stored_record_count());
    int32_t number = 1;
    do {
        BaseRecord row;
        row.Number = number++;
        row.Street = TrimText(table.street.c_str());
        row.House = TrimText(table.house.c_str());
        row.Corpus = table.corpus;
        row.Entrance = table.entrance;
        row.KeyHex = TrimText(table.key_hex.c_str());
        row.Report = TrimText(table.report.c_str());
        row.KeyDef = table.key_def != 0;
        model.Rows.push_back(std::move(row));
        report.ProcessMessages();
    } while (table.skip(1));
    report.SetBusy(false);
    return 1;
}

int OpenKeyDatabase(DatabaseModel& model, const std::string& fileName) {
    const int result = LoadKeyDatabase(model, fileName);
    if (result != 1) {
        const std::string text = result < 0 ? "Формат файла не соответствует базе!"_cp : "Ошибка при загрузке базы!"_cp;
        model.reporter().ShowSystemMessage(text, cp1251::FromUtf8(fileName), kMessageError);
        return result;
    }
    // The window orders the rows once more after the normalisation; when the
    // order was settled that would change nothing.
    if (!model.NormalizeDefaultKeys()) model.ReorderRows();
    return result;
}

namespace {

bool WriteRows(const std::vector<BaseRecord>& rows, const std::string& path, FileOps& ops) {
    BaseDbf table(path, DbfAccess::kReadWrite, ops);
    if (!table.add_key_fields() || !table.create() || !table.open()) return false;
    for (const auto& row : rows) {
        if (!table.append_blank()) return false;
        table.street = row.Street;
        table.house = row.House;
        table.corpus = row.Corpus;
        table.entrance = row.Entrance;
        table.key_hex = row.KeyHex;
        table.report = row.Report;
        table.key_def = row.KeyDef ? 1 : 0;
        if (!table.write_record()) return false;
    }
    return table.close();
}

}  // namespace

bool SaveKeyDatabase(const DatabaseModel& model, const std::string& fileName, FileOps& ops) {
    Reporter& report = model.reporter();
    report.SetBusy(true);
    bool written = false;
    {
        ReplacingFile file(fileName, ops);
        written = file.Prepare() && WriteRows(model.Rows, file.TempPath(), ops) && file.Commit();
    }
    report.SetBusy(false);
    if (!written) {
        report.ShowSystemMessage("Ошибка при записи файла"_cp, cp1251::FromUtf8(fileName), kMessageError);
        return false;
    }
    report.ShowSystemMessage("Запись прошла успешно!"_cp, "", kMessageSuccess);
    return true;
}
