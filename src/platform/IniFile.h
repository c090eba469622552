#pragma once
// A profile (INI) file read and written the way the Windows profile functions
// treat it: section and key names compared without regard to case, values
// trimmed, every line the program does not touch kept where it stands.

#include <string>
#include <utility>
#include <vector>

namespace platform {

class IniFile {
public:
    explicit IniFile(std::string path);

    // Reads the file; a missing or unreadable file gives an empty profile.
    // Returns false when the file could not be read.
    bool Load();
    // Writes the profile back in one piece; false when that failed.
    bool Save() const;

    std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) const;
    // Replaces the key's line, adds it at the end of its section, or appends
    // a new section at the end of the file.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    // Every key=value line of the section, in file order.
    std::vector<std::pair<std::string, std::string>> ReadSection(const std::string& section) const;

    const std::string& Path() const { return path_; }

private:
    struct Span {
        std::size_t header;  // line index of "[name]"
        std::size_t end;     // one past the section's last line
    };
    bool FindSection(const std::string& section, Span& span) const;
    bool FindKey(const Span& span, const std::string& key, std::size_t& line, std::string* value) const;

    std::string path_;
    std::vector<std::string> lines_;  // without line ends
    std::string eol_ = "\n";          // kept from the file that was read
};

}  // namespace platform
