#include "key_database.h"

#include <array>
#include <system_error>
#include <thread>

#include "Cp1251.h"
#include "file_replace.h"
#include "large_arrays.h"
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

namespace {

// A stored text as the loader keeps it: without the field's padding, then
// trimmed. Padding is cut eight blanks at a time first; a 128-character
// field is mostly padding.
std::string StoredText(std::string_view value) {
    constexpr std::string_view kBlanks = "        ";
    while (value.size() >= kBlanks.size() && value.ends_with(kBlanks)) value.remove_suffix(kBlanks.size());
    return TrimText(value);
}

// Takes the current record of a key database into a row: what BaseDbf's
// read_record and the loader's trimming give, with the fields looked up
// once for the table instead of by name for every record.
class KeyRowReader {
public:
    explicit KeyRowReader(const DBF& table)
        : table_(table),
          street_(table.field_index("STREET", false)),
          house_(table.field_index("HOUSE", false)),
          corpus_(table.field_index("CORPUS", true)),
          entrance_(table.field_index("ENTRANCE", true)),
          keyHex_(table.field_index("KEY_HEX", false)),
          report_(table.field_index("REPORT", false)),
          keyDef_(table.field_index("KEY_DEF", true)) {}

    void Read(BaseRecord& row) const {
        row.Street = Text(street_);
        row.House = Text(house_);
        row.Corpus = Number(corpus_);
        row.Entrance = Number(entrance_);
        row.KeyHex = Text(keyHex_);
        row.Report = Text(report_);
        row.KeyDef = Number(keyDef_) != 0;
    }

private:
    // A field the engine does not read (a number with decimals) gives 0.
    std::string Text(int index) const { return index >= 0 ? StoredText(table_.char_value(index)) : std::string(); }
    int32_t Number(int index) const { return index >= 0 ? table_.long_value(index) : 0; }

    const DBF& table_;
    int street_, house_, corpus_, entrance_, keyHex_, report_, keyDef_;
};

// Records `first` onwards (1-based), at most `count` of them, into `rows`
// from its start: how many were read, fewer only where a record could not
// be read. Lets the user interface in after each record when given one.
std::size_t ReadRecords(DBF& table, uint32_t first, std::size_t count, BaseRecord* rows, Reporter* report) {
    if (count == 0 || !table.go_to(first)) return 0;
    const KeyRowReader reader(table);
    std::size_t read = 0;
    do {
        BaseRecord& row = rows[read];
        row.Number = static_cast<int32_t>(first + read);
        reader.Read(row);
        ++read;
        if (report) report->ProcessMessages();
    } while (read < count && table.skip(1));
    return read;
}

// Each record costs a system call, which is most of the loading time, so a
// large table is read in two halves at once: the second by a helper thread
// on a cursor of its own into its own part of the rows. The user interface
// is let in only from the calling thread.
constexpr uint32_t kRecordsForTwoReaders = 16384;

std::size_t ReadAllRecords(DBF& table, std::vector<BaseRecord>& rows, Reporter& report) {
    const uint32_t stored = table.stored_record_count();
    ReserveLarge(rows, stored);
    rows.resize(stored);
    DBF second(std::string(), DbfAccess::kReadOnly);
    const bool twoReaders = stored >= kRecordsForTwoReaders && std::thread::hardware_concurrency() > 1 &&
                            second.open_reader(table);
    const uint32_t half = twoReaders ? stored / 2 : stored;
    std::size_t secondRead = 0;
    std::thread helper;
    if (twoReaders) {
        try {
            helper = std::thread([&] { secondRead = ReadRecords(second, half + 1, stored - half, &rows[half], nullptr); });
        } catch (const std::system_error&) {
            secondRead = ReadRecords(second, half + 1, stored - half, &rows[half], nullptr);
        }
    }
    std::size_t read = ReadRecords(table, 1, half, rows.data(), &report);
    if (helper.joinable()) helper.join();
    // The rows end at the first record that could not be read, as when the
    // table is read from the start in one go; one that grew since it was
    // opened is read on to the count its header gave.
    if (read == half) read += secondRead;
    rows.resize(read);
    if (read == stored) {
        const KeyRowReader reader(table);
        for (int64_t next = int64_t{stored} + 1; table.go_to(next); ++next) {
            BaseRecord& row = rows.emplace_back();
            row.Number = static_cast<int32_t>(next);
            reader.Read(row);
            report.ProcessMessages();
        }
    }
    return rows.size();
}

}  // namespace

int LoadKeyDatabase(DatabaseModel& model, const std::string& fileName) {
    model.Rows.clear();
    DBF table(fileName, DbfAccess::kReadOnly);
    if (!table.open()) return 0;
    if (!HasKeyDatabaseFields(table)) return -1;
    if (table.record_count() == 0) return 1;
    if (!table.go_to(1)) return 0;

    Reporter& report = model.reporter();
    report.SetBusy(true);
    ReadAllRecords(table, model.Rows, report);
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
