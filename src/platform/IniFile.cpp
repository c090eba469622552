#include "IniFile.h"

#include <fstream>
#include <sstream>

#include "Cp1251.h"

namespace platform {
namespace {

std::string Trim(const std::string& text) {
    const char* ws = " \t\r\n";
    const auto first = text.find_first_not_of(ws);
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(ws);
    return text.substr(first, last - first + 1);
}

bool SameName(const std::string& a, const std::string& b) { return cp1251::ToLower(a) == cp1251::ToLower(b); }

// "[name]" → name; false for any other line.
bool SectionName(const std::string& line, std::string& name) {
    const std::string t = Trim(line);
    if (t.size() < 2 || t.front() != '[') return false;
    const auto close = t.find(']');
    if (close == std::string::npos) return false;
    name = Trim(t.substr(1, close - 1));
    return true;
}

// "key = value" → key, value (quotes around the whole value removed).
bool KeyLine(const std::string& line, std::string& key, std::string& value) {
    const std::string t = Trim(line);
    if (t.empty() || t.front() == ';') return false;
    const auto eq = t.find('=');
    if (eq == std::string::npos) return false;
    key = Trim(t.substr(0, eq));
    value = Trim(t.substr(eq + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return !key.empty();
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

bool IniFile::Load() {
    lines_.clear();
    std::ifstream in(path_, std::ios::binary);
    if (!in) return false;
    std::ostringstream all;
    all << in.rdbuf();
    const std::string text = all.str();
    if (text.find("\r\n") != std::string::npos) eol_ = "\r\n";
    std::size_t start = 0;
    while (start < text.size()) {
        auto nl = text.find('\n', start);
        if (nl == std::string::npos) nl = text.size();
        std::string line = text.substr(start, nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines_.push_back(std::move(line));
        start = nl + 1;
    }
    return true;
}

bool IniFile::Save() const {
    std::string text;
    for (const auto& line : lines_) text += line + eol_;
    std::ofstream out(path_, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out << text;
    out.flush();
    return static_cast<bool>(out);
}

bool IniFile::FindSection(const std::string& section, Span& span) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        std::string name;
        if (!SectionName(lines_[i], name) || !SameName(name, section)) continue;
        std::size_t end = i + 1;
        while (end < lines_.size() && !SectionName(lines_[end], name)) ++end;
        span = {i, end};
        return true;
    }
    return false;
}

bool IniFile::FindKey(const Span& span, const std::string& key, std::size_t& line, std::string* value) const {
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        std::string k, v;
        if (KeyLine(lines_[i], k, v) && SameName(k, key)) {
            line = i;
            if (value) *value = v;
            return true;
        }
    }
    return false;
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& fallback) const {
    Span span{};
    std::size_t line = 0;
    std::string value;
    if (FindSection(section, span) && FindKey(span, key, line, &value)) return value;
    return fallback;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    const std::string entry = key + "=" + value;
    Span span{};
    if (!FindSection(section, span)) {
        lines_.push_back("[" + section + "]");
        lines_.push_back(entry);
        return;
    }
    std::size_t line = 0;
    if (FindKey(span, key, line, nullptr)) {
        lines_[line] = entry;
        return;
    }
    // After the section's last non-blank line, so blank separators stay below it.
    std::size_t at = span.end;
    while (at > span.header + 1 && Trim(lines_[at - 1]).empty()) --at;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), entry);
}

std::vector<std::pair<std::string, std::string>> IniFile::ReadSection(const std::string& section) const {
    std::vector<std::pair<std::string, std::string>> out;
    Span span{};
    if (!FindSection(section, span)) return out;
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        std::string k, v;
        if (KeyLine(lines_[i], k, v)) out.emplace_back(k, v);
    }
    return out;
}

}  // namespace platform
