#include "dbf.h"

#include <fcntl.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr unsigned char kTerminator = 0x0D;
constexpr unsigned char kEndMark = 0x1A;

unsigned ReadU16(const unsigned char* p) { return p[0] | (p[1] << 8); }
void WriteU16(unsigned char* p, unsigned v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
}

std::string_view StoredName(const unsigned char* descriptor) {
    const char* name = reinterpret_cast<const char*>(descriptor);
    return std::string_view(name, strnlen(name, 11));
}

}  // namespace

void CHARACTER::assign(const char* data, std::size_t size) {
    std::size_t n = std::min(size, kCapacity);
    const void* zero = std::memchr(data, 0, n);
    if (zero) n = static_cast<std::size_t>(static_cast<const char*>(zero) - data);
    std::memcpy(text_, data, n);
    text_[n] = 0;
}

DBF::DBF(std::string fileName, DbfAccess access, FileOps& ops)
    : file_name_(std::move(fileName)), access_(access), ops_(ops) {}

DBF::~DBF() { close(); }

bool DBF::add_field(char type, std::string_view name, uint16_t length, uint8_t decimals) {
    if (open_ || field_count_ >= kMaxFields) return false;
    unsigned char* d = descriptors_[field_count_];
    std::memset(d, 0, 32);
    std::memcpy(d, name.data(), std::min<std::size_t>(name.size(), 10));
    switch (type) {
        case 'N':
            d[16] = static_cast<unsigned char>(length);
            d[17] = decimals;
            break;
        case 'D': WriteU16(d + 16, 8); break;
        case 'L': WriteU16(d + 16, 1); break;
        case 'M': WriteU16(d + 16, 10); break;
        case 'C': WriteU16(d + 16, length); break;
        default:
            type = 'C';
            WriteU16(d + 16, length);
    }
    d[11] = static_cast<unsigned char>(type);
    ++field_count_;
    return true;
}

int DBF::length_of(int index) const {
    const unsigned char* d = descriptors_[index];
    return d[11] == 'C' ? static_cast<int>(ReadU16(d + 16)) : d[16];
}

int DBF::field_len(int index) const {
    if (field_count_ == 0) return 0;
    return length_of(index >= 0 && index < field_count_ ? index : 0);
}

bool DBF::create() {
    if (open_ || field_count_ == 0) return false;
    long recordLength = 1;
    for (int i = 0; i < field_count_; ++i) recordLength += length_of(i);
    if (recordLength > std::numeric_limits<uint16_t>::max()) {
        fail(1);
        return false;
    }
    std::memset(header_, 0, sizeof header_);
    header_[0] = 0x03;
    header_[1] = 0x00;  // the date of last update is always 1900-01-01
    header_[2] = 0x01;
    header_[3] = 0x01;
    WriteU16(header_ + 8, static_cast<unsigned>(32 * field_count_ + 33));
    WriteU16(header_ + 10, static_cast<unsigned>(recordLength));

    std::vector<unsigned char> image(header_, header_ + 32);
    for (int i = 0; i < field_count_; ++i) image.insert(image.end(), descriptors_[i], descriptors_[i] + 32);
    image.push_back(kTerminator);

    if (fd_ >= 0) close();
    const int fd = ops_.Open(file_name_, O_RDWR | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) {
        fail(1);
        return false;
    }
    const long written = ops_.WriteAt(fd, image.data(), image.size(), 0);
    const bool closed = ops_.Close(fd) == 0;
    if (written != static_cast<long>(image.size()) || !closed) {
        fail(1);
        return false;
    }
    return true;
}

bool DBF::open() {
    if (open_) return true;
    if (fd_ < 0) fd_ = ops_.Open(file_name_, access_ == DbfAccess::kReadOnly ? O_RDONLY : O_RDWR, 0);
    const auto refuse = [this](int code) {
        ops_.Close(fd_);
        fd_ = -1;
        fail(code);
        return false;
    };
    if (fd_ < 0) return refuse(1);
    if (ops_.ReadAt(fd_, header_, 32, 0) != 32) return refuse(1);

    const int declared = (static_cast<int>(ReadU16(header_ + 8)) - 33) / 32;
    int read = 0;
    for (;; ++read) {
        if (read == 256) return refuse(1);  // no terminator within the slots
        unsigned char* slot = descriptors_[read];
        std::memset(slot, 0, 32);
        const long n = ops_.ReadAt(fd_, slot, 32, 32 + 32 * int64_t{read});
        if (n >= 1 && slot[0] == kTerminator) break;  // a short terminator slot is fine
        if (n != 32) return refuse(1);
        slot[10] = 0;
    }
    if (read != declared) return refuse(1);
    field_count_ = read;
    names_.clear();
    for (int i = 0; i < field_count_; ++i) names_.push_back(StoredName(descriptors_[i]));

    // Every field must lie inside the record, whatever the header claims.
    offsets_.assign(static_cast<std::size_t>(field_count_), 0);
    long end = 1;
    for (int i = 0; i < field_count_; ++i) {
        offsets_[static_cast<std::size_t>(i)] = static_cast<int>(end);
        end += length_of(i);
    }
    if (end > record_length()) return refuse(1);

    buffer_.assign(static_cast<std::size_t>(record_length()) + 1, 0);
    open_ = true;
    current_ = 0;
    go_to(1);
    return true;
}

bool DBF::open_reader(const DBF& source) {
    if (open_ || fd_ >= 0 || !source.open_) return false;
    fd_ = ops_.Duplicate(source.fd_);
    if (fd_ < 0) {
        fail(1);
        return false;
    }
    std::memcpy(header_, source.header_, sizeof header_);
    std::memcpy(descriptors_, source.descriptors_, sizeof descriptors_);
    field_count_ = source.field_count_;
    offsets_ = source.offsets_;
    names_.clear();
    for (int i = 0; i < field_count_; ++i) names_.push_back(StoredName(descriptors_[i]));
    access_ = DbfAccess::kReadOnly;
    buffer_.assign(source.buffer_.size(), 0);
    open_ = true;
    current_ = 0;
    go_to(1);
    return true;
}

bool DBF::close() {
    if (fd_ < 0) return true;
    bool ok = true;
    if (appended_) {
        const int64_t end = header_length() + int64_t{header_count()} * record_length();
        ok = ops_.WriteAt(fd_, &kEndMark, 1, end) == 1;
    }
    ok = ops_.Close(fd_) == 0 && ok;
    fd_ = -1;
    current_ = 0;
    open_ = false;
    appended_ = false;
    return ok;
}

int DBF::header_length() const { return static_cast<int>(ReadU16(header_ + 8)); }
int DBF::record_length() const { return static_cast<int>(ReadU16(header_ + 10)); }

uint32_t DBF::header_count() const {
    return header_[4] | (header_[5] << 8) | (header_[6] << 16) | (uint32_t{header_[7]} << 24);
}

void DBF::set_header_count(uint32_t count) {
    for (int i = 0; i < 4; ++i) header_[4 + i] = static_cast<unsigned char>(count >> (8 * i));
}

uint32_t DBF::record_count() const { return open_ ? header_count() : 0; }

int32_t DBF::field_count() const { return open_ ? field_count_ : 0; }

uint32_t DBF::stored_record_count() const {
    if (!open_ || record_length() == 0) return 0;
    const int64_t size = ops_.Size(fd_);
    if (size <= header_length()) return 0;
    const int64_t whole = (size - header_length()) / record_length();
    return static_cast<uint32_t>(std::min<int64_t>(whole, header_count()));
}

bool DBF::read_at(int64_t offset) {
    if (!open_ || fd_ < 0 || buffer_.empty()) {
        fail(2);
        return false;
    }
    const auto length = static_cast<std::size_t>(record_length());
    if (ops_.ReadAt(fd_, buffer_.data(), length, offset) != static_cast<long>(length)) {
        fail(1);
        return false;
    }
    buffer_[length] = 0;
    return true;
}

bool DBF::go_to(int64_t n) {
    if (fd_ < 0) {
        fail(2);
        return false;
    }
    if (n < 1 || n > header_count()) return false;
    if (!read_at(header_length() + (n - 1) * record_length())) return false;
    current_ = n;
    return true;
}

bool DBF::skip(int32_t k) { return go_to(current_ + k); }

bool DBF::read_buffer() {
    if (current_ < 1) {
        fail(2);
        return false;
    }
    return read_at(header_length() + (current_ - 1) * record_length());
}

bool DBF::write_buffer() {
    if (!open_ || fd_ < 0 || buffer_.empty() || current_ < 1) {
        fail(2);
        return false;
    }
    const auto length = static_cast<std::size_t>(record_length());
    buffer_[length] = 0;
    const int64_t offset = header_length() + (current_ - 1) * record_length();
    if (ops_.WriteAt(fd_, buffer_.data(), length, offset) != static_cast<long>(length)) {
        fail(1);
        return false;
    }
    return true;
}

bool DBF::write_header() { return ops_.WriteAt(fd_, header_, 32, 0) == 32; }

bool DBF::append_blank() {
    if (!open_ || fd_ < 0) {
        fail(2);
        return false;
    }
    const uint32_t count = header_count();
    if (count == std::numeric_limits<uint32_t>::max()) {
        fail(1);
        return false;
    }
    const auto length = static_cast<std::size_t>(record_length());
    std::fill(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(length), ' ');
    buffer_[length] = 0;
    const int64_t offset = header_length() + int64_t{count} * record_length();
    if (ops_.WriteAt(fd_, buffer_.data(), length, offset) != static_cast<long>(length)) {
        fail(1);
        return false;
    }
    set_header_count(count + 1);
    if (!write_header()) {
        set_header_count(count);
        go_to(count);
        fail(1);
        return false;
    }
    appended_ = true;
    current_ = count + 1;  // the buffer already holds what was written
    return true;
}

int DBF::field_index(std::string_view name, bool numeric) const {
    for (int i = 0; i < field_count_; ++i) {
        const unsigned char* d = descriptors_[i];
        if (names_[static_cast<std::size_t>(i)] != name) continue;
        if (numeric ? (d[11] == 'N' || d[11] == 'F') && d[17] == 0 : d[11] == 'C') return i;
    }
    return -1;
}

std::string_view DBF::char_value(int index) const {
    const char* field = buffer_.data() + offsets_[static_cast<std::size_t>(index)];
    std::size_t n = std::min(static_cast<std::size_t>(length_of(index)), CHARACTER::kCapacity);
    if (const void* zero = std::memchr(field, 0, n)) n = static_cast<std::size_t>(static_cast<const char*>(zero) - field);
    return {field, n};
}

int32_t DBF::long_value(int index) const {
    const char* p = buffer_.data() + offsets_[static_cast<std::size_t>(index)];
    const char* end = p + length_of(index);
    while (p < end && *p == ' ') ++p;
    bool negative = false;
    if (p < end && (*p == '-' || *p == '+')) negative = *p++ == '-';
    // A field of any length full of digits stops at the 32-bit limits.
    constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
    int64_t value = 0;
    for (; p < end && *p >= '0' && *p <= '9'; ++p)
        if (value < kLimit) value = std::min(value * 10 + (*p - '0'), kLimit);
    if (negative) value = -value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

bool DBF::get_char(std::string_view name, CHARACTER& target) const {
    if (field_count_ == 0 || name.empty() || buffer_.empty()) return false;
    const int i = field_index(name, false);
    if (i >= 0) target = char_value(i);
    return true;
}

bool DBF::put_char(std::string_view name, const CHARACTER& source) {
    if (field_count_ == 0 || name.empty() || buffer_.empty()) return false;
    const int i = field_index(name, false);
    if (i < 0) return true;
    const auto length = static_cast<std::size_t>(length_of(i));
    char* field = buffer_.data() + offsets_[static_cast<std::size_t>(i)];
    const std::size_t n = std::min(std::strlen(source.c_str()), length);
    std::memcpy(field, source.c_str(), n);
    std::memset(field + n, ' ', length - n);
    return true;
}

bool DBF::get_long(std::string_view name, int32_t& target) const {
    if (field_count_ == 0 || name.empty() || buffer_.empty()) return false;
    const int i = field_index(name, true);
    if (i >= 0) target = long_value(i);
    return true;
}

bool DBF::put_long(std::string_view name, int32_t value) {
    if (field_count_ == 0 || name.empty() || buffer_.empty()) return false;
    const int i = field_index(name, true);
    if (i < 0) return true;
    const auto length = static_cast<std::size_t>(length_of(i));
    std::string digits = std::to_string(value);
    if (digits.size() > length) digits.resize(length);  // the leading characters stay
    char* field = buffer_.data() + offsets_[static_cast<std::size_t>(i)];
    std::memset(field, ' ', length - digits.size());
    std::memcpy(field + (length - digits.size()), digits.data(), digits.size());
    return true;
}

bool DBF::field_name(int index, std::string& target) const {
    if (!open_ || index < 1 || index > field_count_) return false;
    target = std::string(StoredName(descriptors_[index - 1]));
    return true;
}

char DBF::field_type(std::string_view name) const {
    if (!open_) return 0;
    for (int i = 0; i < field_count_; ++i)
        if (names_[static_cast<std::size_t>(i)] == name) return static_cast<char>(descriptors_[i][11]);
    return 0;
}

int DBF::field_length(std::string_view name) const {
    if (!open_) return 0;
    for (int i = 0; i < field_count_; ++i)
        if (names_[static_cast<std::size_t>(i)] == name) return length_of(i);
    return 0;
}

int DBF::field_decimals(int index) const {
    if (index < 0 || index >= field_count_ || descriptors_[index][11] == 'C') return 0;
    return descriptors_[index][17];
}
