#include <gtest/gtest.h>

#include <cstdio>

#include "db_fixtures.h"
#include "dbf.h"
#include "temp_dir.h"

namespace {

std::string Bytes(const std::string& s, std::size_t from, std::size_t n) { return s.substr(from, n); }

// A table of one C field NAME 8 and one N field NUM 8.
void CreateSmall(const std::string& path) {
    DBF table(path, DbfAccess::kReadWrite);
    ASSERT_TRUE(table.add_field('C', "NAME", 8, 0));
    ASSERT_TRUE(table.add_field('N', "NUM", 8, 0));
    ASSERT_TRUE(table.create());
}

TEST(Dbf, CreatedTableHoldsHeaderDescriptorsAndTerminatorOnly) {
    TempDir dir;
    const std::string path = dir.File("t.dbf");
    CreateSmall(path);
    const std::string bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 32u + 64u + 1u);
    EXPECT_EQ(Bytes(bytes, 0, 12), std::string("\x03\x00\x01\x01\x00\x00\x00\x00\x61\x00\x11\x00", 12));
    EXPECT_EQ(Bytes(bytes, 12, 20), std::string(20, '\0'));
    EXPECT_EQ(Bytes(bytes, 32, 32), std::string("NAME\0\0\0\0\0\0\0C\0\0\0\0\x08\0", 18) + std::string(14, '\0'));
    EXPECT_EQ(Bytes(bytes, 64, 32), std::string("NUM\0\0\0\0\0\0\0\0N\0\0\0\0\x08\0", 18) + std::string(14, '\0'));
    EXPECT_EQ(bytes.back(), '\x0D');

    DBF table(path, DbfAccess::kReadOnly);
    ASSERT_TRUE(table.open());
    EXPECT_EQ(table.record_count(), 0u);
    EXPECT_EQ(table.current_record(), 0);
    EXPECT_FALSE(table.go_to(1));
    table.close();
    EXPECT_EQ(ReadFileBytes(path), bytes);  // no end mark without an append
}

TEST(Dbf, AppendedRecordsAndEndMark) {
    TempDir dir;
    const std::string path = dir.File("t.dbf");
    CreateSmall(path);
    {
        DBF table(path, DbfAccess::kReadWrite);
        ASSERT_TRUE(table.open());
        const struct {
            const char* text;
            int32_t number;
        } values[] = {{"abcdef", 7}, {"abcdefghij", 123456789}, {"", -42}};
        for (const auto& v : values) {
            ASSERT_TRUE(table.append_blank());
            ASSERT_TRUE(table.put_char("NAME", CHARACTER(v.text)));
            ASSERT_TRUE(table.put_long("NUM", v.number));
            ASSERT_TRUE(table.write_buffer());
        }
        EXPECT_EQ(table.record_count(), 3u);
        EXPECT_EQ(table.current_record(), 3);
    }
    const std::string bytes = ReadFileBytes(path);
    ASSERT_EQ(bytes.size(), 97u + 3 * 17 + 1);
    EXPECT_EQ(Bytes(bytes, 1, 7), std::string("\x00\x01\x01\x03\x00\x00\x00", 7));
    EXPECT_EQ(Bytes(bytes, 97, 17), std::string(" ") + "abcdef  " + "       7");
    EXPECT_EQ(Bytes(bytes, 114, 17), std::string(" ") + "abcdefgh" + "12345678");
    EXPECT_EQ(Bytes(bytes, 131, 17), std::string(" ") + "        " + "     -42");
    EXPECT_EQ(bytes.back(), '\x1A');
}

TEST(Dbf, ValuesReadBack) {
    TempDir dir;
    const std::string path = dir.File("t.dbf");
    const std::vector<FieldBytes> fields = {{"NAME", 'C', 8}, {"NUM", 'N', 8}, {"WIDE", 'N', 40}};
    WriteFileBytes(path, TableBytes(fields, {
                                                " abc     " + std::string("      12") + std::string(40, ' '),
                                                std::string("*ab\0cd   ", 9) + std::string("     -12") + std::string(40, '9'),
                                                " x       " + std::string("12abc   ") + "-" + std::string(39, '9'),
                                            }));
    DBF table(path, DbfAccess::kReadOnly);
    ASSERT_TRUE(table.open());
    CHARACTER name;
    int32_t num = -1, wide = -1;
    ASSERT_TRUE(table.go_to(1));
    table.get_char("NAME", name);
    table.get_long("NUM", num);
    table.get_long("WIDE", wide);
    EXPECT_EQ(name.str(), "abc     ");  // trailing spaces kept
    EXPECT_EQ(num, 12);
    EXPECT_EQ(wide, 0);  // blank reads 0
    ASSERT_TRUE(table.skip(1));  // a deleted record reads like any other
    table.get_char("NAME", name);
    table.get_long("NUM", num);
    table.get_long("WIDE", wide);
    EXPECT_EQ(name.str(), "ab");  // a zero byte ends the text
    EXPECT_EQ(num, -12);
    EXPECT_EQ(wide, INT32_MAX);  // forty digits stop at the limit
    ASSERT_TRUE(table.skip(1));
    table.get_long("NUM", num);
    table.get_long("WIDE", wide);
    EXPECT_EQ(num, 12);
    EXPECT_EQ(wide, INT32_MIN);
    EXPECT_FALSE(table.skip(1));
    EXPECT_EQ(table.current_record(), 3);
}

TEST(Dbf, FieldDeclarationsAndLookups) {
    TempDir dir;
    const std::string path = dir.File("t.dbf");
    {
        DBF table(path, DbfAccess::kReadWrite);
        EXPECT_EQ(table.field_len(0), 0);
        ASSERT_TRUE(table.add_field('F', "FLOAT", 5, 2));
        ASSERT_TRUE(table.add_field('D', "DAY", 3, 0));
        ASSERT_TRUE(table.add_field('L', "FLAG", 9, 0));
        ASSERT_TRUE(table.add_field('M', "MEMO", 1, 0));
        ASSERT_TRUE(table.add_field('C', "LONGNAME_CUT", 300, 0));
        ASSERT_TRUE(table.add_field('N', "X", 4, 1));
        ASSERT_TRUE(table.add_field('C', "X", 4, 0));
        EXPECT_EQ(table.field_count(), 0);  // not open
        ASSERT_TRUE(table.create());
    }
    DBF table(path, DbfAccess::kReadWrite);
    ASSERT_TRUE(table.open());
    EXPECT_FALSE(table.add_field('C', "LATE", 1, 0));
    EXPECT_EQ(table.field_count(), 7);
    EXPECT_EQ(table.field_type("FLOAT"), 'C');
    EXPECT_EQ(table.field_length("FLOAT"), 5);
    EXPECT_EQ(table.field_length("DAY"), 8);
    EXPECT_EQ(table.field_length("FLAG"), 1);
    EXPECT_EQ(table.field_length("MEMO"), 10);
    EXPECT_EQ(table.field_length("LONGNAME_C"), 300);  // ten characters of the name, 16-bit length
    EXPECT_EQ(table.field_type("float"), 0);            // names are case-sensitive
    EXPECT_EQ(table.field_len(99), 5);                  // out of range: field 0
    EXPECT_EQ(table.record_length(), 1 + 5 + 8 + 1 + 10 + 300 + 4 + 4);
    std::string name;
    EXPECT_TRUE(table.field_name(7, name));
    EXPECT_EQ(name, "X");
    EXPECT_FALSE(table.field_name(8, name));
    EXPECT_FALSE(table.field_name(0, name));

    // N X has decimals, so numbers find no field X; texts go to the C field X.
    ASSERT_TRUE(table.append_blank());
    ASSERT_TRUE(table.put_char("X", CHARACTER("ab")));
    ASSERT_TRUE(table.put_long("X", 42));
    CHARACTER text;
    ASSERT_TRUE(table.get_char("X", text));
    EXPECT_EQ(text.str(), "ab  ");
    ASSERT_TRUE(table.put_char("NOPE", CHARACTER("a")));  // no such field: nothing changes
    EXPECT_FALSE(table.put_char("", CHARACTER("a")));
}

TEST(Dbf, PositionalAccessFindsWhatTheNamesFind) {
    TempDir dir;
    const std::string path = dir.File("t.dbf");
    const std::vector<FieldBytes> fields = {
        {"X", 'N', 4, 1}, {"X", 'C', 4}, {"N", 'N', 6}, {"LONG", 'C', 300}, {"N", 'C', 2}};
    const std::string record = " 12.5" + std::string("ab\0d", 4) + "   -17" + std::string(300, 'z') + "yq";
    WriteFileBytes(path, TableBytes(fields, {record, "ww"}));
    // Only the one record: the second text was too short to be one.
    DBF table(path, DbfAccess::kReadOnly);
    ASSERT_TRUE(table.open());
    EXPECT_EQ(table.field_index("X", true), -1);  // a number with decimals is no integer field
    EXPECT_EQ(table.field_index("X", false), 1);
    EXPECT_EQ(table.field_index("N", true), 2);
    EXPECT_EQ(table.field_index("N", false), 4);
    EXPECT_EQ(table.field_index("x", false), -1);
    EXPECT_EQ(table.char_value(1), "ab");  // a zero byte ends the text
    EXPECT_EQ(table.long_value(2), -17);
    EXPECT_EQ(table.char_value(3), std::string(256, 'z'));  // what a CHARACTER holds
    EXPECT_EQ(table.char_value(4), "yq");
    CHARACTER text;
    ASSERT_TRUE(table.get_char("LONG", text));
    EXPECT_EQ(text.str(), table.char_value(3));
}

// A second cursor reads the file the first has open, even once another file
// has taken its name, and moves independently of the first.
TEST(Dbf, ReaderOnTheSameOpenFile) {
    TempDir dir;
    const std::string path = dir.File("t.dbf");
    WriteFileBytes(path, TableBytes({{"A", 'C', 4}}, {" aaaa", " bbbb", " cccc"}));
    DBF table(path, DbfAccess::kReadOnly);
    ASSERT_TRUE(table.open());
    WriteFileBytes(dir.File("other.dbf"), TableBytes({{"A", 'C', 4}}, {" xxxx"}));
    ASSERT_EQ(std::rename(dir.File("other.dbf").c_str(), path.c_str()), 0);
    DBF reader(std::string(), DbfAccess::kReadOnly);
    ASSERT_TRUE(reader.open_reader(table));
    EXPECT_FALSE(reader.open_reader(table));  // already open
    EXPECT_EQ(reader.record_count(), 3u);
    EXPECT_EQ(reader.current_record(), 1);
    ASSERT_TRUE(reader.go_to(3));
    EXPECT_EQ(reader.char_value(0), "cccc");
    EXPECT_EQ(table.current_record(), 1);
    EXPECT_EQ(table.char_value(0), "aaaa");
    ASSERT_TRUE(table.close());
    ASSERT_TRUE(reader.go_to(2));
    EXPECT_EQ(reader.char_value(0), "bbbb");
    DBF closed(std::string(), DbfAccess::kReadOnly);
    EXPECT_FALSE(closed.open_reader(table));
}

TEST(Dbf, CharacterKeepsAtMost256Characters) {
    CHARACTER text(std::string(300, 'a'));
    EXPECT_EQ(text.str(), std::string(256, 'a'));
    text = "short";
    EXPECT_EQ(text.str(), "short");
}

std::string SixFieldsDeclaredAsSeven() {
    std::vector<FieldBytes> fields(6, FieldBytes{"F", 'C', 2});
    std::string bytes = TableBytes(fields, {});
    bytes[8] = static_cast<char>(32 * 7 + 33);  // header length of seven fields
    return bytes;
}

std::string RecordShorterThanFields() {
    std::string bytes = TableBytes({{"A", 'C', 10}, {"B", 'N', 5}}, {std::string(16, ' ')});
    bytes[10] = 8;  // the fields need 16
    return bytes;
}

std::string NoTerminator() {
    std::vector<FieldBytes> fields(260, FieldBytes{"F", 'C', 1});
    std::string bytes = TableBytes(fields, {});
    bytes.pop_back();  // the 0x1A tail
    bytes.pop_back();  // the 0x0D
    bytes[8] = bytes[9] = '\xFF';
    return bytes;
}

TEST(Dbf, HostileTablesAreRefused) {
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty file", ""},
        {"short header", std::string("\x03\x00\x01\x01", 4)},
        {"descriptor list ends early", SixFieldsDeclaredAsSeven()},
        {"record length shorter than the fields", RecordShorterThanFields()},
        {"no terminator within 256 slots", NoTerminator()},
        {"descriptor cut short", TableBytes({{"A", 'C', 10}}, {}).substr(0, 50)},
    };
    TempDir dir;
    for (const auto& c : cases) {
        const std::string path = dir.File("bad.dbf");
        WriteFileBytes(path, c.bytes);
        DBF table(path, DbfAccess::kReadOnly);
        EXPECT_FALSE(table.open()) << c.what;
        EXPECT_EQ(table.last_error(), 1) << c.what;
        EXPECT_EQ(table.field_count(), 0) << c.what;
    }
}

TEST(Dbf, TruncatedRecordsEndTheTable) {
    TempDir dir;
    const std::string path = dir.File("t.dbf");
    std::string bytes = TableBytes({{"A", 'C', 4}}, {" aaaa", " bbbb", " cccc"}, "");
    bytes.resize(bytes.size() - 2);
    WriteFileBytes(path, bytes);
    DBF table(path, DbfAccess::kReadOnly);
    ASSERT_TRUE(table.open());
    EXPECT_EQ(table.record_count(), 3u);
    EXPECT_EQ(table.stored_record_count(), 2u);
    EXPECT_TRUE(table.go_to(2));
    EXPECT_FALSE(table.go_to(3));
    EXPECT_EQ(table.last_error(), 1);
    EXPECT_EQ(table.current_record(), 2);
}

TEST(Dbf, OneSystemCallPerRecordRead) {
    TempDir dir;
    const std::string path = dir.File("t.dbf");
    std::vector<std::string> records(50, " abcd");
    WriteFileBytes(path, TableBytes({{"A", 'C', 4}}, records));
    CountingFileOps ops;
    DBF table(path, DbfAccess::kReadOnly, ops);
    ASSERT_TRUE(table.open());
    const int afterOpen = ops.reads;
    int seen = 1;
    while (table.skip(1)) ++seen;
    EXPECT_EQ(seen, 50);
    EXPECT_EQ(ops.reads - afterOpen, 49);  // skipping past the last record reads nothing
    EXPECT_EQ(ops.writes, 0);
}

TEST(Dbf, AppendWritesRecordThenHeaderAndWriteBufferOnce) {
    TempDir dir;
    const std::string path = dir.File("t.dbf");
    CreateSmall(path);
    CountingFileOps ops;
    DBF table(path, DbfAccess::kReadWrite, ops);
    ASSERT_TRUE(table.open());
    ASSERT_TRUE(table.append_blank());
    EXPECT_EQ(ops.writes, 2);
    ASSERT_TRUE(table.write_buffer());
    EXPECT_EQ(ops.writes, 3);
    ASSERT_TRUE(table.close());
    EXPECT_EQ(ops.writes, 4);  // the end mark
}

TEST(Dbf, FailedWritesAreReported) {
    TempDir dir;
    const std::string path = dir.File("t.dbf");
    CreateSmall(path);
    {
        DBF readOnly(path, DbfAccess::kReadOnly);
        ASSERT_TRUE(readOnly.open());
        EXPECT_FALSE(readOnly.append_blank());
        EXPECT_EQ(readOnly.last_error(), 1);
        EXPECT_EQ(readOnly.record_count(), 0u);
    }
    FailingFileOps ops(17 + 10);  // the record, then half of the header
    DBF table(path, DbfAccess::kReadWrite, ops);
    ASSERT_TRUE(table.open());
    EXPECT_FALSE(table.append_blank());
    EXPECT_EQ(table.last_error(), 1);
    EXPECT_EQ(table.record_count(), 0u);
    DBF closed(path, DbfAccess::kReadWrite);
    EXPECT_FALSE(closed.write_buffer());
    EXPECT_EQ(closed.last_error(), 2);
    EXPECT_FALSE(closed.go_to(1));
    EXPECT_EQ(closed.last_error(), 2);
}

}  // namespace
