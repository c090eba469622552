#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Cp1251.h"
#include "cli_common.h"
#include "cli_run.h"
#include "db_fixtures.h"
#include "key_database.h"
#include "notebook_export.h"
#include "records.h"
#include "reporter.h"
#include "temp_dir.h"

using namespace cp1251_literals;

namespace {

// Rows out of order, one address with two defaults, one with none.
class CliDb : public ::testing::Test {
protected:
    void SetUp() override {
        NullReporter report;
        DatabaseModel model(report);
        model.Rows = {Row("Мира", "2", 0, 0, "FF00000000000000", false, "r"),
                      Row("Мира", "10", 1, 2, "0200000000000000", true, "r"),
                      Row("Ленина", "5", 0, 3, "0300000000000000", true, "r"),
                      Row("Ленина", "5", 0, 3, "0100000000000000", true, "r")};
        // Saved as another tool might have left it: not in the program's order.
        ASSERT_TRUE(SaveKeyDatabase(model, keys));
        WriteFileBytes(foreign, ReadFileBytes(keys).replace(32, 6, "STREEX"));
    }
    TempDir dir;
    const std::string keys = dir.File("ключи.dbf");
    const std::string foreign = dir.File("foreign.dbf");
};

TEST_F(CliDb, InfoDescribesTheTable) {
    const CliRun run = RunArgs({"info", keys});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out,
              "Версия: 0x03\nЗаписей: 4\nДлина заголовка: 257\nДлина записи: 298\nПоля: 7\n"
              "  STREET C 128 0\n  HOUSE C 8 0\n  CORPUS N 8 0\n  ENTRANCE N 8 0\n  KEY_HEX C 16 0\n"
              "  REPORT C 128 0\n  KEY_DEF N 1 0\nБаза ключей: да\n");

    const CliRun other = RunArgs({"info", foreign});
    EXPECT_EQ(other.status, kExitNotKeyDatabase);
    EXPECT_NE(other.out.find("  STREEX C 128 0\n"), std::string::npos);
    EXPECT_EQ(other.err, "vestorin-cli: Формат файла не соответствует базе!  " + foreign + "\n");

    const CliRun missing = RunArgs({"info", dir.File("нет.dbf")});
    EXPECT_EQ(missing.status, kExitReadFailed);
    EXPECT_EQ(missing.err, "vestorin-cli: Ошибка при загрузке базы!  " + dir.File("нет.dbf") + "\n");
}

TEST_F(CliDb, ListPrintsRowsAsTheProgramOpensThem) {
    const CliRun run = RunArgs({"list", keys});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out,
              "Ленина\t5\t0\t3\t0100000000000000\tr\t1\n"
              "Ленина\t5\t0\t3\t0300000000000000\tr\t0\n"
              "Мира\t2\t0\t0\tFF00000000000000\tr\t1\n"
              "Мира\t10\t1\t2\t0200000000000000\tr\t1\n");
    EXPECT_EQ(RunArgs({"list", foreign}).status, kExitNotKeyDatabase);
    EXPECT_EQ(RunArgs({"list", dir.File("нет.dbf")}).status, kExitReadFailed);
    EXPECT_EQ(RunArgs({"list"}).status, kExitBadArguments);
}

TEST_F(CliDb, NormalizeWritesTheRepairedFile) {
    const std::string out = dir.File("out.dbf");
    const CliRun run = RunArgs({"normalize", keys, out});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "Запись прошла успешно!\n");
    EXPECT_EQ(RunArgs({"list", out}).out, RunArgs({"list", keys}).out);
    NullReporter report;
    DatabaseModel model(report);
    ASSERT_EQ(LoadKeyDatabase(model, out), 1);
    EXPECT_EQ(model.Rows[0].KeyHex, "0100000000000000");  // stored in the program's order
    EXPECT_FALSE(model.Rows[1].KeyDef);

    const std::string unwritable = keys + "/out.dbf";
    const CliRun failed = RunArgs({"normalize", keys, unwritable});
    EXPECT_EQ(failed.status, kExitWriteFailed);
    EXPECT_EQ(failed.err, "vestorin-cli: Ошибка при записи файла  " + unwritable + "\n");
}

std::string NameOfSlot(const std::string& file, int slot) {
    return ReadFileBytes(file).substr(193 + static_cast<std::size_t>(slot) * 60 + 7, 14);
}

TEST_F(CliDb, ExportMarkedAddressesOrAll) {
    const std::string out = dir.File("nbx.dbf");
    CliRun run = RunArgs({"export-nbx4", keys, out, "--mark", "Мира 10/1-2", "Ленина 5-3"});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(run.out, "Запись прошла успешно!\n");
    ASSERT_EQ(ReadFileBytes(out).size(), 60194u);
    EXPECT_EQ(cp1251::ToUtf8(NameOfSlot(out, 0)), "ЛЕНИНА 5-3    ");  // in the order of the rows
    EXPECT_EQ(cp1251::ToUtf8(NameOfSlot(out, 1)), "МИРА 10/1-2   ");
    EXPECT_EQ(NameOfSlot(out, 2), std::string(14, ' '));

    run = RunArgs({"export-nbx4", keys, out, "--all"});
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(cp1251::ToUtf8(NameOfSlot(out, 1)), "МИРА 2        ");
    EXPECT_EQ(cp1251::ToUtf8(NameOfSlot(out, 2)), "МИРА 10/1-2   ");
}

TEST_F(CliDb, ExportRefusesUnknownAddressesBeforeWriting) {
    const std::string out = dir.File("nbx.dbf");
    const CliRun run = RunArgs({"export-nbx4", keys, out, "--mark", "Мира 2", "Мира 3"});
    EXPECT_EQ(run.status, kExitBadArguments);
    EXPECT_EQ(run.err, "vestorin-cli: адрес 'Мира 3' не найден в базе\n");
    EXPECT_FALSE(std::ifstream(out).good());

    for (const CliArgs& args : std::vector<CliArgs>{{"export-nbx4", keys, out},
                                                     {"export-nbx4", keys, out, "--mark"},
                                                     {"export-nbx4", keys, out, "--all", "--mark", "Мира 2"},
                                                     {"export-nbx4", keys, out, "Мира 2"}})
        EXPECT_EQ(RunArgs(args).status, kExitBadArguments);
    EXPECT_FALSE(std::ifstream(out).good());
    EXPECT_EQ(RunArgs({"export-nbx4", foreign, out, "--all"}).status, kExitNotKeyDatabase);
    EXPECT_EQ(RunArgs({"export-nbx4", keys, keys + "/x", "--all"}).status, kExitWriteFailed);
}

TEST(CliDbEmpty, ExportOfAnEmptyDatabaseHasNothingToWrite) {
    TempDir dir;
    NullReporter report;
    DatabaseModel model(report);
    ASSERT_TRUE(SaveKeyDatabase(model, dir.File("empty.dbf")));
    const CliRun run = RunArgs({"export-nbx4", dir.File("empty.dbf"), dir.File("nbx.dbf"), "--all"});
    EXPECT_EQ(run.status, kExitBadArguments);
    EXPECT_EQ(run.err, "vestorin-cli: Нет данных для экспорта!\n");
}

}  // namespace
