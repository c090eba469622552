#include <gtest/gtest.h>

#include <random>

#include "Cp1251.h"
#include "db_fixtures.h"
#include "marked_entries.h"
#include "notebook_export.h"
#include "recording_reporter.h"
#include "temp_dir.h"

using namespace cp1251_literals;

namespace {

const std::vector<FieldBytes> kNotebookFields = {
    {"TYPE_KEY", 'N', 3}, {"MODE", 'N', 3}, {"NAME", 'C', 14}, {"KEY_HEX", 'C', 23}, {"OLD_KEY", 'C', 16}};

std::string Pad(const std::string& text, std::size_t width) { return text + std::string(width - text.size(), ' '); }

std::string KeySlot(const std::string& nameUtf8, const std::string& spaced, const std::string& key) {
    return " " + std::string("  0") + "  0" + Pad(cp1251::FromUtf8(nameUtf8), 14) + Pad(spaced, 23) + Pad(key, 16);
}
const std::string kEmptySlot = " " + std::string("255") + " -1" + std::string(14 + 23 + 16, ' ');

std::string NotebookBytes(const std::vector<std::string>& keySlots) {
    std::vector<std::string> records = keySlots;
    while (records.size() < 1000) records.push_back(kEmptySlot);
    return TableBytes(kNotebookFields, records);
}

TEST(NotebookExport, OneMarkedAddressGivesTheWholeFile) {
    TempDir dir;
    const std::string path = dir.File("nbx.dbf");
    RecordingReporter report;
    DatabaseModel model(report);
    model.Rows = {Row("Мира", "1", 0, 2, "0100000000000000"), Row("Мира", "1", 0, 2, "A1B2C3D4E5F60718", true),
                  Row("Мира", "3", 0, 0, "0300000000000000", true)};
    model.Rows[0].Marked = true;
    ASSERT_EQ(ExportMarkedToNotebook(model, path), NotebookExport::kWritten);
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes.size(), 60194u);
    EXPECT_EQ(bytes, NotebookBytes({KeySlot("МИРА 1-2", "A1 B2 C3 D4 E5 F6 07 18", "A1B2C3D4E5F60718")}));
    EXPECT_EQ(report.Last().text, "Запись прошла успешно!"_cp);
    EXPECT_EQ(report.Last().kind, kMessageSuccess);

    NBX4WriterDbf table(path, DbfAccess::kReadOnly);
    ASSERT_TRUE(table.open());
    ASSERT_TRUE(table.go_top());
    EXPECT_EQ(table.TYPE_KEY, 0);
    EXPECT_EQ(table.OLD_KEY.str(), "A1B2C3D4E5F60718");
    ASSERT_TRUE(table.skip(1));
    EXPECT_EQ(table.TYPE_KEY, 255);
    EXPECT_EQ(table.MODE, -1);
}

TEST(NotebookExport, ExistingFileIsReplacedNotAppended) {
    TempDir dir;
    const std::string path = dir.File("nbx.dbf");
    WriteFileBytes(path, std::string(70000, 'x'));
    NullReporter report;
    DatabaseModel model(report);
    model.Rows = {Row("Мира", "1", 0, 0, "0100000000000000", true)};
    model.Rows[0].Marked = true;
    ASSERT_EQ(ExportMarkedToNotebook(model, path), NotebookExport::kWritten);
    ASSERT_EQ(ExportMarkedToNotebook(model, path), NotebookExport::kWritten);
    EXPECT_EQ(ReadFileBytes(path).size(), 60194u);
    EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"nbx.dbf"}));
}

TEST(NotebookExport, NothingToExportTouchesNoFile) {
    TempDir dir;
    const std::string path = dir.File("nbx.dbf");
    WriteFileBytes(path, "old");
    RecordingReporter report;
    DatabaseModel model(report);
    model.Rows = {Row("Мира", "1", 0, 0, "0100000000000000", false), Row("Мира", "2", 0, 0, "02", true)};
    model.Rows[0].Marked = true;  // its address has no default key
    EXPECT_EQ(ExportMarkedToNotebook(model, path), NotebookExport::kNothingToExport);
    EXPECT_EQ(report.Last().text, "Нет данных для экспорта!"_cp);
    EXPECT_EQ(report.Last().kind, kMessageError);
    EXPECT_EQ(ReadFileBytes(path), "old");
}

TEST(NotebookExport, FailedWriteIsReportedAndLosesNothing) {
    TempDir dir;
    const std::string path = dir.File("nbx.dbf");
    WriteFileBytes(path, "old");
    RecordingReporter report;
    DatabaseModel model(report);
    model.Rows = {Row("Мира", "1", 0, 0, "0100000000000000", true)};
    model.Rows[0].Marked = true;
    for (long budget : {193L, 193L + 60 + 32 + 30, 30000L, 60193L}) {
        FailingFileOps ops(budget);
        EXPECT_EQ(ExportMarkedToNotebook(model, path, ops), NotebookExport::kWriteFailed) << budget;
        EXPECT_EQ(report.Last().text, "Ошибка при записи файла"_cp);
        EXPECT_EQ(report.Last().detail, cp1251::FromUtf8(path));
        EXPECT_EQ(ReadFileBytes(path), "old");
        EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"nbx.dbf"}));
    }
    FailingFileOps none(0);
    EXPECT_EQ(ExportMarkedToNotebook(model, path, none), NotebookExport::kWriteFailed);
    EXPECT_EQ(report.Last().text, "Ошибка при открытии файла ... "_cp);
    EXPECT_EQ(ReadFileBytes(path), "old");
}

TEST(NotebookExport, EntryNames) {
    struct Case {
        BaseRecord row;
        const char* name;
    } cases[] = {
        {Row("улица Щорса", "12", 0, 3), "УЛИЦА ШОР 12-3"},
        {Row("Lenina", "5", 0, 0), " 5"},
        {Row("Мира", "7", 2, 0), "МИРА 7/2-0"},
        {Row("  ёлочная, Подъём ", "1", 0, 0), "ЕЛОЧНАЯ ПОДЬ 1"},
        {Row("Мира", "7", 0, 0), "МИРА 7"},
        {Row("пр. Мира-2/3", "4", 0, 0), "ПР. МИРА-2/3 4"},
        {Row("Мира", "12345678", 11, 22), "М 12345678/11-"},  // the field keeps 14 characters
        {Row("Mira ул", "1а", 0, 0), "УЛ 1а"},                 // the house goes in as stored
    };
    for (const auto& c : cases) EXPECT_EQ(cp1251::ToUtf8(NotebookEntryName(c.row)), c.name);
}

std::vector<BaseRecord> Addresses(int count, bool marked) {
    std::vector<BaseRecord> rows;
    for (int i = 0; i < count; ++i) {
        rows.push_back(Row("Мира", std::to_string(i + 1), 0, 0, "0100000000000000", true));
        rows.back().Marked = marked;
    }
    return rows;
}

int CapacityMessages(const RecordingReporter& report, int limit) {
    int n = 0;
    for (const auto& m : report.messages)
        n += m.text == "Размер отмеченных адресов только "_cp + std::to_string(limit) + " ячеек!"_cp &&
             m.kind == kMessageInfo;
    return n;
}

TEST(MarkedEntries, LimitWithAndWithoutFurtherRows) {
    struct Case {
        int marked, unmarkedAfter, limit;
        std::size_t collected;
        int messages;
    } cases[] = {
        {1000, 0, 1000, 1000, 0}, {1000, 1, 1000, 1000, 1}, {1001, 0, 1000, 1000, 1},
        {99, 0, 99, 99, 0},       {99, 5, 99, 99, 1},       {3, 0, 99, 3, 0},
    };
    for (const auto& c : cases) {
        RecordingReporter report;
        DatabaseModel model(report);
        model.Rows = Addresses(c.marked, true);
        for (auto& row : Addresses(c.unmarkedAfter, false)) {
            row.Street = "Нева"_cp;
            model.Rows.push_back(row);
        }
        std::vector<BaseRecord> entries{BaseRecord{}};
        CollectMarkedEntries(model, entries, c.limit);
        EXPECT_EQ(entries.size(), c.collected) << c.marked << "+" << c.unmarkedAfter;
        EXPECT_EQ(CapacityMessages(report, c.limit), c.messages) << c.marked << "+" << c.unmarkedAfter;
        EXPECT_EQ(report.busyCalls, (std::vector<bool>{true, false}));
    }
}

TEST(MarkedEntries, EveryDefaultOfTheMarkedAddressInTableOrder) {
    RecordingReporter report;
    DatabaseModel model(report);
    model.Rows = {Row("Мира", "1", 0, 0, "01", true), Row("Мира", "2", 0, 0, "02", true),
                  Row("Мира", "1", 0, 0, "03", false), Row("Мира", "1", 0, 0, "04", true)};
    model.Rows[2].Marked = true;
    std::vector<BaseRecord> entries;
    CollectMarkedEntries(model, entries, 99);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].KeyHex, "01");
    EXPECT_EQ(entries[1].KeyHex, "04");

    CollectMarkedEntries(model, entries, 1);  // never past the limit
    EXPECT_EQ(entries.size(), 1u);
    EXPECT_EQ(CapacityMessages(report, 1), 1);
}

// Streets of one length ("Мира", "мира", "Мирр") and shared houses make rows
// that agree in everything but the street text; marks on several rows of one
// address, defaults spread out. Checked against the rule as written.
TEST(MarkedEntries, AgreeWithTheRuleOnAddressesAlikeButForTheStreet) {
    std::mt19937 random(29);
    const char* streets[] = {"Мира", "мира", "Мирр"};
    for (int round = 0; round < 20; ++round) {
        NullReporter report;
        DatabaseModel model(report);
        const int n = 20 + static_cast<int>(random() % 300);
        for (int i = 0; i < n; ++i) {
            model.Rows.push_back(Row(streets[random() % 3], std::to_string(random() % 3), 0,
                                     static_cast<int>(random() % 2), std::to_string(i), random() % 3 == 0));
            model.Rows.back().Marked = random() % 10 == 0;
        }
        std::vector<std::string> expected;
        for (const auto& marked : model.Rows) {
            if (!marked.Marked) continue;
            for (const auto& row : model.Rows)
                if (row.KeyDef && SameAddress(row, marked)) expected.push_back(row.KeyHex);
        }
        std::vector<BaseRecord> entries;
        CollectMarkedEntries(model, entries, 100000);
        std::vector<std::string> got;
        for (const auto& e : entries) got.push_back(e.KeyHex);
        EXPECT_EQ(got, expected) << "round " << round;
    }
}

TEST(NotebookExport, ExactlyAThousandEntriesLeaveNoEmptySlot) {
    TempDir dir;
    const std::string path = dir.File("nbx.dbf");
    RecordingReporter report;
    DatabaseModel model(report);
    model.Rows = Addresses(1000, true);
    model.Rows.push_back(Row("Нева", "1", 0, 0, "0200000000000000", true));
    ASSERT_EQ(ExportMarkedToNotebook(model, path), NotebookExport::kWritten);
    EXPECT_EQ(CapacityMessages(report, 1000), 1);
    const std::string bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 60194u);
    EXPECT_EQ(bytes.substr(193 + 999 * 60, 60),
              KeySlot("МИРА 1000", "01 00 00 00 00 00 00 00", "0100000000000000"));
}

}  // namespace
