#include "notebook_export.h"

#include <vector>

#include "Cp1251.h"
#include "address_text.h"
#include "file_replace.h"
#include "key_text.h"
#include "marked_entries.h"
#include "reporter.h"
#include "text_helpers.h"

using namespace cp1251_literals;

bool NBX4WriterDbf::add_notebook_fields() {
    return add_field('N', "TYPE_KEY", 3, 0) && add_field('N', "MODE", 3, 0) && add_field('C', "NAME", 14, 0) &&
           add_field('C', "KEY_HEX", 23, 0) && add_field('C', "OLD_KEY", 16, 0);
}

bool NBX4WriterDbf::write_record() {
    put_long("TYPE_KEY", TYPE_KEY);
    put_char("NAME", NAME);
    put_char("KEY_HEX", KEY_HEX);
    put_char("OLD_KEY", OLD_KEY);
    put_long("MODE", MODE);
    return write_buffer();
}

void NBX4WriterDbf::read_record() {
    TYPE_KEY = MODE = 0;
    NAME = KEY_HEX = OLD_KEY = "";
    get_long("TYPE_KEY", TYPE_KEY);
    get_char("NAME", NAME);
    get_char("KEY_HEX", KEY_HEX);
    get_char("OLD_KEY", OLD_KEY);
    get_long("MODE", MODE);
}

std::string NotebookEntryName(const BaseRecord& row) {
    static const std::string kAllowed = "АБВГДЕЖЗИКЛМНОПРСТУФХЦЧШЫЬЭЮЯ.-/0123456789 "_cp;
    static const std::string kFrom[] = {"Щ"_cp, "Ё"_cp, "Ъ"_cp, "Й"_cp};
    static const std::string kTo[] = {"Ш"_cp, "Е"_cp, "Ь"_cp, "И"_cp};
    std::string street = cp1251::ToUpper(TrimText(row.Street));
    for (std::size_t i = 0; i < std::size(kFrom); ++i) ReplaceAll(street, kFrom[i], kTo[i]);
    KeepOnly(street, kAllowed);
    BaseRecord copy = row;
    copy.Street = TrimText(street);
    std::string name = AddressCaption(copy, true);
    if (name.size() > kShortCaptionLength) name.resize(kShortCaptionLength);
    return name;
}

namespace {

enum class WriteStep { kOpened, kOpenFailed, kWriteFailed };

WriteStep WriteNotebook(const std::vector<BaseRecord>& entries, const std::string& path, FileOps& ops) {
    NBX4WriterDbf table(path, DbfAccess::kReadWrite, ops);
    table.add_notebook_fields();
    table.create();
    if (!table.open()) return WriteStep::kOpenFailed;
    if (table.record_count() != 0 && !table.go_top()) return WriteStep::kOpenFailed;
    for (int slot = 0; slot < kNotebookSlots; ++slot) {
        if (!table.append_blank()) return WriteStep::kWriteFailed;
        if (static_cast<std::size_t>(slot) < entries.size()) {
            const BaseRecord& entry = entries[static_cast<std::size_t>(slot)];
            table.NAME = NotebookEntryName(entry);
            table.TYPE_KEY = 0;
            table.MODE = 0;
            table.KEY_HEX = SpaceKeyText(entry.KeyHex);
            table.OLD_KEY = entry.KeyHex;
        } else {
            table.NAME = "";
            table.KEY_HEX = "";
            table.OLD_KEY = "";
            table.TYPE_KEY = 255;
            table.MODE = -1;
        }
        if (!table.write_record()) return WriteStep::kWriteFailed;
    }
    return table.close() ? WriteStep::kOpened : WriteStep::kWriteFailed;
}

}  // namespace

NotebookExport ExportMarkedToNotebook(const DatabaseModel& model, const std::string& fileName, FileOps& ops) {
    Reporter& report = model.reporter();
    std::vector<BaseRecord> entries;
    CollectMarkedEntries(model, entries, kNotebookSlots);
    if (entries.empty()) {
        report.ShowSystemMessage("Нет данных для экспорта!"_cp, "", kMessageError);
        return NotebookExport::kNothingToExport;
    }
    const std::string shownName = cp1251::FromUtf8(fileName);
    ReplacingFile file(fileName, ops);
    const WriteStep step = file.Prepare() ? WriteNotebook(entries, file.TempPath(), ops) : WriteStep::kOpenFailed;
    if (step == WriteStep::kOpenFailed) {
        report.ShowSystemMessage("Ошибка при открытии файла ... "_cp, shownName, kMessageError);
        return NotebookExport::kWriteFailed;
    }
    if (step == WriteStep::kWriteFailed || !file.Commit()) {
        report.ShowSystemMessage("Ошибка при записи файла"_cp, shownName, kMessageError);
        return NotebookExport::kWriteFailed;
    }
    report.ShowSystemMessage("Запись прошла успешно!"_cp, "", kMessageSuccess);
    return NotebookExport::kWritten;
}
