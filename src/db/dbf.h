#pragma once
// A small dBASE III table engine: one file, the header, the field
// descriptors and one record in memory, unbuffered input and output, one
// system call per record read or written. No indexes, memo files, deletion
// or locking. Operations return true for success; a failure leaves its
// reason in last_error(): 1 input/output or format, 2 no file or no record
// buffer, 100 the record buffer could not be allocated.
//
// A typed table derives from DBF, holds one member per field (CHARACTER for
// "C", int32_t for "N") and moves them with read_record/write_record.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "file_ops.h"

enum class DbfAccess { kReadOnly, kReadWrite };

// A text of at most 256 characters; a longer text keeps its first 256.
class CHARACTER {
public:
    static constexpr std::size_t kCapacity = 256;

    CHARACTER() = default;
    explicit CHARACTER(std::string_view text) { assign(text.data(), text.size()); }
    CHARACTER& operator=(std::string_view text) {
        assign(text.data(), text.size());
        return *this;
    }
    // Stops at a zero byte, as the stored text does.
    void assign(const char* data, std::size_t size);
    std::string str() const { return std::string(text_); }
    const char* c_str() const { return text_; }

private:
    char text_[kCapacity + 1] = {};  // always zero-terminated
};

class DBF {
public:
    // One of the 256 descriptor slots holds the 0x0D terminator.
    static constexpr int kMaxFields = 255;

    DBF(std::string fileName, DbfAccess access, FileOps& ops = SystemFileOps());
    ~DBF();
    DBF(const DBF&) = delete;
    DBF& operator=(const DBF&) = delete;

    // Declares the next field before create(). "C" and unknown letters ("F"
    // included) make a character field; "D", "L", "M" have fixed lengths.
    bool add_field(char type, std::string_view name, uint16_t length, uint8_t decimals);
    // Writes a new table of the declared fields with no records, truncating
    // any file of that name, and closes it again.
    bool create();
    // Reads header and descriptors; refuses a table whose descriptors do not
    // match its header or do not fit its record length. Record 1, when
    // there is one, becomes current.
    bool open();
    // Opens, for reading, the file that `source` has open (that file, even
    // when its name has since been given to another): the same header and
    // fields, a record buffer of its own, record 1 current. For reading
    // another part of the table at the same time, from another thread.
    bool open_reader(const DBF& source);
    // Writes the 0x1A end mark when records were appended. False when that
    // write or closing the file failed.
    bool close();

    bool go_to(int64_t n);  // 1-based
    bool skip(int32_t k);
    // A record of spaces after the last; it becomes current. The record and
    // then the header with the new count are written.
    bool append_blank();
    bool read_buffer();   // the current record again from the file
    bool write_buffer();  // the current record to the file

    // By the first field of that name whose type (and for numbers decimal
    // count 0) fits; no fitting field is not a failure.
    bool get_char(std::string_view name, CHARACTER& target) const;
    bool put_char(std::string_view name, const CHARACTER& source);
    bool get_long(std::string_view name, int32_t& target) const;
    bool put_long(std::string_view name, int32_t value);

    // The same by position, for readers that look their fields up once:
    // the 0-based index of the field the by-name access would use, -1 when
    // none fits; then what get_char would copy (up to a zero byte, at most
    // 256 characters) and what get_long would give, from the current record.
    // An index must come from field_index of the open table.
    int field_index(std::string_view name, bool numeric) const;
    std::string_view char_value(int index) const;
    int32_t long_value(int index) const;

    int32_t field_count() const;    // 0 when not open
    uint32_t record_count() const;  // the header's count; 0 when not open
    bool field_name(int index, std::string& target) const;  // 1-based
    char field_type(std::string_view name) const;          // 0 when none
    int field_length(std::string_view name) const;          // 0 when none
    // 0-based; an index out of range gives field 0's length.
    int field_len(int index) const;
    int last_error() const { return last_error_; }

    // The header as read, for reports.
    int version() const { return header_[0]; }
    int header_length() const;
    int record_length() const;
    int field_decimals(int index) const;  // 0-based; 0 for "C" fields
    int64_t current_record() const { return current_; }
    // Records the file really holds, never more than record_count().
    uint32_t stored_record_count() const;

private:
    using Descriptor = unsigned char[32];

    int length_of(int index) const;
    bool read_at(int64_t offset);
    bool write_header();
    uint32_t header_count() const;
    void set_header_count(uint32_t count);
    void fail(int code) { last_error_ = code; }

    unsigned char header_[32] = {};
    Descriptor descriptors_[256] = {};
    std::vector<int> offsets_;             // of each field in the record; fit the record length
    std::vector<std::string_view> names_;  // of each field, into descriptors_; set by open
    int32_t field_count_ = 0;
    int64_t current_ = 0;  // 1-based; 0 when none
    int fd_ = -1;
    bool open_ = false;
    int last_error_ = 0;
    bool appended_ = false;
    std::string file_name_;
    DbfAccess access_;
    std::vector<char> buffer_;  // record length + 1, zero-terminated
    FileOps& ops_;
};

// A table with its fields as members: `Table` provides read_record(), which
// copies the current record into them; moving the cursor refills them.
template <class Table>
class TypedDbf : public DBF {
public:
    using DBF::DBF;

    bool go_top() {
        if (!go_to(1)) return false;
        static_cast<Table*>(this)->read_record();
        return true;
    }
    bool skip(int32_t k) {
        if (!DBF::skip(k)) return false;
        static_cast<Table*>(this)->read_record();
        return true;
    }
};
