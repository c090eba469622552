#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <cstdio>

#include "Cp1251.h"
#include "db_fixtures.h"
#include "key_database.h"
#include "recording_reporter.h"
#include "temp_dir.h"
#include "text_helpers.h"

using namespace cp1251_literals;

namespace {

std::vector<BaseRecord> ThreeRows() {
    return {Row("  Ленина", "10а ", 2, 3, "0100000000000000", true, "у двери "),
            Row("Мира", "1", 0, 0, "FFFFFFFFFFFFFFFF", false, ""),
            Row("Мира", "", 0, 5, "AB12CD34EF560078", true, "код 12")};
}

TEST(KeyDatabase, SaveAndLoadGiveTheSameRowsTrimmed) {
    TempDir dir;
    const std::string path = dir.File("keys.dbf");
    RecordingReporter report;
    DatabaseModel model(report);
    model.Rows = ThreeRows();
    model.Rows[1].Marked = model.Rows[1].Selected = true;
    ASSERT_TRUE(SaveKeyDatabase(model, path));
    EXPECT_EQ(report.Last().text, "Запись прошла успешно!"_cp);
    EXPECT_EQ(report.Last().kind, kMessageSuccess);
    EXPECT_EQ(report.busyCalls, (std::vector<bool>{true, false}));

    DatabaseModel loaded(report);
    loaded.Rows = {Row("old", "1", 0, 0)};
    ASSERT_EQ(LoadKeyDatabase(loaded, path), 1);
    ASSERT_EQ(loaded.Rows.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        const BaseRecord& want = model.Rows[i];
        const BaseRecord& got = loaded.Rows[i];
        EXPECT_EQ(got.Number, static_cast<int32_t>(i + 1));
        EXPECT_EQ(got.Street, TrimText(want.Street));
        EXPECT_EQ(got.House, TrimText(want.House));
        EXPECT_EQ(got.Corpus, want.Corpus);
        EXPECT_EQ(got.Entrance, want.Entrance);
        EXPECT_EQ(got.KeyHex, want.KeyHex);
        EXPECT_EQ(got.Report, TrimText(want.Report));
        EXPECT_EQ(got.KeyDef, want.KeyDef);
        EXPECT_FALSE(got.Marked);
        EXPECT_FALSE(got.Selected);
    }
}

TEST(KeyDatabase, SavedFileBytes) {
    TempDir dir;
    const std::string path = dir.File("keys.dbf");
    NullReporter report;
    DatabaseModel model(report);
    model.Rows = {Row("  Ленина", "10а", -2, 3, "0100000000000000", true, "у двери"),
                  Row(std::string(200, 'x'), "123456789", 123456789, 0, "0123456789ABCDEFFF", false)};
    ASSERT_TRUE(SaveKeyDatabase(model, path));
    const std::string bytes = ReadFileBytes(path);
    const std::string expected =
        TableBytes(KeyFields(), {KeyRecord("  Ленина", "10а", "-2", "3", "0100000000000000", "у двери", "1"),
                                 KeyRecord(std::string(128, 'x'), "12345678", "12345678", "0",
                                           "0123456789ABCDEF", "", "0")});
    EXPECT_EQ(bytes.size(), 257u + 2 * 298 + 1);
    EXPECT_EQ(bytes, expected);
}

TEST(KeyDatabase, EmptyDatabaseIsHeaderOnly) {
    TempDir dir;
    const std::string path = dir.File("keys.dbf");
    NullReporter report;
    DatabaseModel model(report);
    ASSERT_TRUE(SaveKeyDatabase(model, path));
    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(bytes, TableBytes(KeyFields(), {}, ""));
    EXPECT_EQ(bytes.size(), 257u);
    model.Rows = {Row("x", "1", 0, 0)};
    EXPECT_EQ(LoadKeyDatabase(model, path), 1);
    EXPECT_TRUE(model.Rows.empty());
}

TEST(KeyDatabase, ForeignFieldSetsAreRefused) {
    std::vector<FieldBytes> reordered = KeyFields();
    std::swap(reordered[0], reordered[1]);
    std::vector<FieldBytes> eighth = KeyFields();
    eighth.push_back({"EXTRA", 'C', 4});
    std::vector<FieldBytes> lower = KeyFields();
    lower[4].name = "key_hex";
    std::vector<FieldBytes> narrow = KeyFields();
    narrow[0].length = 100;
    std::vector<FieldBytes> retyped = KeyFields();
    retyped[2].type = 'C';
    const std::vector<FieldBytes>* cases[] = {&reordered, &eighth, &lower, &narrow, &retyped};
    TempDir dir;
    for (const auto* fields : cases) {
        const std::string path = dir.File("foreign.dbf");
        WriteFileBytes(path, TableBytes(*fields, {}));
        NullReporter report;
        DatabaseModel model(report);
        EXPECT_EQ(LoadKeyDatabase(model, path), -1);
    }
}

TEST(KeyDatabase, UnreadableFilesGiveZero) {
    TempDir dir;
    NullReporter report;
    DatabaseModel model(report);
    EXPECT_EQ(LoadKeyDatabase(model, dir.File("missing.dbf")), 0);
    std::string broken = TableBytes(KeyFields(), {});
    broken[8] = static_cast<char>(broken[8] + 32);  // claims an eighth descriptor
    WriteFileBytes(dir.File("broken.dbf"), broken);
    EXPECT_EQ(LoadKeyDatabase(model, dir.File("broken.dbf")), 0);
    // A header promising records the file does not hold.
    std::string empty = TableBytes(KeyFields(), {}, "");
    empty[4] = 3;
    WriteFileBytes(dir.File("hollow.dbf"), empty);
    EXPECT_EQ(LoadKeyDatabase(model, dir.File("hollow.dbf")), 0);
}

TEST(KeyDatabase, LoadsTablesOtherToolsWrite) {
    // A real date, a language byte, data addresses in the descriptors, one
    // byte of padding after the terminator, left-aligned numbers, a deleted
    // record, KEY_DEF 2 and blank, no end mark, a cut last record.
    std::vector<std::string> records = {
        KeyRecord("Мира", "1", "", "", "0100000000000000", "", "2", '*'),
        KeyRecord("Мира", "2", "", "", "0200000000000000", "", " "),
        KeyRecord("Мира", "3", "", "", "0300000000000000", "", "1"),
    };
    records[0].replace(137, 8, "3       ");
    std::string bytes = TableBytes(KeyFields(), records, "");
    bytes[1] = 124;
    bytes[2] = 5;
    bytes[3] = 17;
    bytes[29] = 0x57;
    bytes[32 + 12] = 1;
    bytes.insert(257, 1, '\0');
    bytes[8] = static_cast<char>(258);
    bytes[9] = 1;
    bytes.resize(bytes.size() - 100);
    TempDir dir;
    const std::string path = dir.File("other.dbf");
    WriteFileBytes(path, bytes);
    NullReporter report;
    DatabaseModel model(report);
    ASSERT_EQ(LoadKeyDatabase(model, path), 1);
    ASSERT_EQ(model.Rows.size(), 2u);
    EXPECT_EQ(model.Rows[0].Corpus, 3);
    EXPECT_TRUE(model.Rows[0].KeyDef);
    EXPECT_FALSE(model.Rows[1].KeyDef);
    EXPECT_EQ(model.Rows[1].House, "2");
}

// Large enough to be read in two parts at once: every record comes back in
// file order and numbered, also when the last one is cut or the header
// promises more than the file holds.
TEST(KeyDatabase, LargeTableLoadsEveryRecordInFileOrder) {
    const int n = 40001;
    std::vector<std::string> records;
    for (int i = 0; i < n; ++i) {
        char key[17];
        std::snprintf(key, sizeof key, "%016X", static_cast<unsigned>(i) * 2654435761u);
        records.push_back(KeyRecord("Улица " + std::to_string(i % 97), std::to_string(i % 150), std::to_string(i % 3),
                                    std::to_string(i % 7), key, i % 3 ? "" : "кв. " + std::to_string(i),
                                    i % 2 ? "1" : "0"));
    }
    const std::string whole = TableBytes(KeyFields(), records);
    std::string cut = whole.substr(0, whole.size() - 100);
    std::string promising = whole;
    promising[6] = 1;  // 65536 more records than there are
    const struct {
        const char* name;
        const std::string& bytes;
        std::size_t rows;
    } cases[] = {{"whole", whole, n}, {"cut", cut, n - 1}, {"promising", promising, n}};
    TempDir dir;
    for (const auto& c : cases) {
        const std::string path = dir.File("large.dbf");
        WriteFileBytes(path, c.bytes);
        NullReporter report;
        DatabaseModel model(report);
        ASSERT_EQ(LoadKeyDatabase(model, path), 1) << c.name;
        ASSERT_EQ(model.Rows.size(), c.rows) << c.name;
        for (std::size_t i = 0; i < c.rows; ++i) {
            const BaseRecord& row = model.Rows[i];
            const int k = static_cast<int>(i);
            ASSERT_EQ(row.Number, k + 1) << c.name;
            ASSERT_EQ(row.Street, cp1251::FromUtf8("Улица " + std::to_string(k % 97))) << c.name << " " << i;
            ASSERT_EQ(row.House, std::to_string(k % 150));
            ASSERT_EQ(row.Corpus, k % 3);
            ASSERT_EQ(row.Entrance, k % 7);
            ASSERT_EQ(row.KeyHex, records[i].substr(1 + 128 + 8 + 8 + 8, 16));
            ASSERT_EQ(row.Report, k % 3 ? "" : cp1251::FromUtf8("кв. " + std::to_string(k)));
            ASSERT_EQ(row.KeyDef, k % 2 == 1);
        }
    }
}

TEST(KeyDatabase, NumbersWithDecimalsReadAsZero) {
    std::vector<FieldBytes> fields = KeyFields();
    fields[2].decimals = 2;  // passes the field check, but is no integer field
    TempDir dir;
    const std::string path = dir.File("decimals.dbf");
    WriteFileBytes(path, TableBytes(fields, {KeyRecord("Мира", "1", "7", "3", "01", "", "1"),
                                             KeyRecord("Мира", "2", "8", "4", "02", "", "0")}));
    NullReporter report;
    DatabaseModel model(report);
    ASSERT_EQ(LoadKeyDatabase(model, path), 1);
    ASSERT_EQ(model.Rows.size(), 2u);
    EXPECT_EQ(model.Rows[0].Corpus, 0);
    EXPECT_EQ(model.Rows[1].Corpus, 0);
    EXPECT_EQ(model.Rows[1].Entrance, 4);
}

// The typed table read record by record gives what the loader gives, once
// its texts are trimmed, also where a number has decimals.
TEST(KeyDatabase, TypedTableReadsWhatTheLoaderReads) {
    std::vector<FieldBytes> fields = KeyFields();
    fields[3].decimals = 1;
    TempDir dir;
    const std::string path = dir.File("typed.dbf");
    WriteFileBytes(path, TableBytes(fields, {KeyRecord("  Мира", "10а", "-7", "3", "0100000000000000", "кв. 5", "1"),
                                             KeyRecord("Ленина", "", "", "4", "02", "", "0"),
                                             KeyRecord("Ленина", "2", "12", "", "FF", " x ", "2")}));
    NullReporter report;
    DatabaseModel model(report);
    ASSERT_EQ(LoadKeyDatabase(model, path), 1);
    ASSERT_EQ(model.Rows.size(), 3u);

    BaseDbf table(path, DbfAccess::kReadOnly);
    ASSERT_TRUE(table.open());
    ASSERT_TRUE(table.go_top());
    std::size_t i = 0;
    do {
        ASSERT_LT(i, model.Rows.size());
        const BaseRecord& row = model.Rows[i++];
        EXPECT_EQ(TrimText(table.street.str()), row.Street) << i;
        EXPECT_EQ(TrimText(table.house.str()), row.House) << i;
        EXPECT_EQ(table.corpus, row.Corpus) << i;
        EXPECT_EQ(table.entrance, row.Entrance) << i;
        EXPECT_EQ(TrimText(table.key_hex.str()), row.KeyHex) << i;
        EXPECT_EQ(TrimText(table.report.str()), row.Report) << i;
        EXPECT_EQ(table.key_def != 0, row.KeyDef) << i;
    } while (table.skip(1));
    EXPECT_EQ(i, 3u);
    EXPECT_EQ(model.Rows[0].Corpus, -7);
    EXPECT_EQ(model.Rows[0].Entrance, 0);  // the field with decimals
    EXPECT_EQ(model.Rows[2].Report, "x");
}

TEST(KeyDatabase, OpenNormalisesOrdersAndReportsFailures) {
    TempDir dir;
    const std::string path = dir.File("keys.dbf");
    WriteFileBytes(path, TableBytes(KeyFields(), {KeyRecord("Мира", "2", "0", "0", "FF00000000000000", "", "1"),
                                                  KeyRecord("Мира", "1", "0", "0", "FF00000000000000", "", "0"),
                                                  KeyRecord("Мира", "2", "0", "0", "0100000000000000", "", "1")}));
    RecordingReporter report;
    DatabaseModel model(report);
    ASSERT_EQ(OpenKeyDatabase(model, path), 1);
    ASSERT_EQ(model.Rows.size(), 3u);
    EXPECT_EQ(model.Rows[0].House, "1");
    EXPECT_TRUE(model.Rows[0].KeyDef);
    EXPECT_EQ(model.Rows[1].KeyHex, "0100000000000000");
    EXPECT_TRUE(model.Rows[1].KeyDef);
    EXPECT_FALSE(model.Rows[2].KeyDef);
    EXPECT_EQ(model.Rows[2].Number, 3);
    EXPECT_TRUE(report.messages.empty());

    const std::string foreign = dir.File("чужой.dbf");
    WriteFileBytes(foreign, TableBytes({{"A", 'C', 1}}, {}));
    EXPECT_EQ(OpenKeyDatabase(model, foreign), -1);
    EXPECT_EQ(report.Last().text, "Формат файла не соответствует базе!"_cp);
    EXPECT_EQ(report.Last().detail, cp1251::FromUtf8(foreign));
    EXPECT_EQ(report.Last().kind, kMessageError);
    EXPECT_EQ(OpenKeyDatabase(model, dir.File("none.dbf")), 0);
    EXPECT_EQ(report.Last().text, "Ошибка при загрузке базы!"_cp);
}

// A save that fails anywhere leaves the previous file byte for byte and no
// temporary file behind.
class FailedSave : public ::testing::Test {
protected:
    void SetUp() override {
        path = dir.File("ключи.dbf");
        NullReporter quiet;
        DatabaseModel old(quiet);
        old.Rows = {Row("Старая", "1", 0, 0, "0100000000000000", true)};
        ASSERT_TRUE(SaveKeyDatabase(old, path));
        before = ReadFileBytes(path);
        model.Rows = ThreeRows();
    }
    void ExpectUntouched() {
        EXPECT_EQ(report.Last().text, "Ошибка при записи файла"_cp);
        EXPECT_EQ(report.Last().detail, cp1251::FromUtf8(path));
        EXPECT_EQ(report.Last().kind, kMessageError);
        EXPECT_EQ(ReadFileBytes(path), before);
        EXPECT_EQ(FolderEntries(dir.Path()), (std::vector<std::string>{"ключи.dbf"}));
    }

    TempDir dir;
    std::string path, before;
    RecordingReporter report;
    DatabaseModel model{report};
};

TEST_F(FailedSave, AtEveryStepOfTheWrite) {
    const long full = 257 + 3 * (298 + 32 + 298) + 1;  // every byte written, the header updates included
    for (long budget : {0L, 100L, 257L, 257L + 298, 257L + 298 + 32 + 150, full - 1}) {
        FailingFileOps ops(budget);
        EXPECT_FALSE(SaveKeyDatabase(model, path, ops)) << budget;
        ExpectUntouched();
    }
    FailingFileOps unsynced(full);
    unsynced.failSync = true;
    EXPECT_FALSE(SaveKeyDatabase(model, path, unsynced));
    ExpectUntouched();
    FailingFileOps unrenamed(full);
    unrenamed.failRename = true;
    EXPECT_FALSE(SaveKeyDatabase(model, path, unrenamed));
    ExpectUntouched();

    FailingFileOps enough(full);
    EXPECT_TRUE(SaveKeyDatabase(model, path, enough));
    EXPECT_EQ(ReadFileBytes(path).size(), 257u + 3 * 298 + 1);
}

TEST_F(FailedSave, WhenTheFileSizeLimitIsReached) {
    // The system refuses the write itself, root or not.
    for (int i = 0; i < 400; ++i) model.Rows.push_back(Row("Новая", std::to_string(i), 0, 0));
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 20000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    const bool saved_ok = SaveKeyDatabase(model, path);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(saved_ok);
    ExpectUntouched();
}

TEST_F(FailedSave, ReadOnlyFileAndFolderThatIsAFile) {
    ASSERT_EQ(chmod(path.c_str(), 0444), 0);
    EXPECT_FALSE(SaveKeyDatabase(model, path));
    ExpectUntouched();
    ASSERT_EQ(chmod(path.c_str(), 0644), 0);

    const std::string inside = path + "/x.dbf";
    EXPECT_FALSE(SaveKeyDatabase(model, inside));
    EXPECT_EQ(report.Last().detail, cp1251::FromUtf8(inside));
    EXPECT_EQ(ReadFileBytes(path), before);
}

TEST(KeyDatabase, SaveReplacesTheFileAndKeepsItsPermissions) {
    TempDir dir;
    const std::string path = dir.File("keys.dbf");
    WriteFileBytes(path, std::string(5000, 'z'));
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    NullReporter report;
    DatabaseModel model(report);
    model.Rows = ThreeRows();
    ASSERT_TRUE(SaveKeyDatabase(model, path));
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
    EXPECT_EQ(ReadFileBytes(path).size(), 257u + 3 * 298 + 1);
}

}  // namespace
