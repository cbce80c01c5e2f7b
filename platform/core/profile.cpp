#include "platform/core/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/core/strings.h"

namespace core {

namespace {

constexpr size_t npos = std::string::npos;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Upper case in the Windows-1252 code page: the names in profile files are 8-bit text and the
// platform compares them with its accented letters folded too.
unsigned char FoldCp1252(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
    switch (c) {
        case 0x9A:  // s caron
        case 0x9C:  // oe
        case 0x9E:  // z caron
            return static_cast<unsigned char>(c - 16);
        case 0xFF:  // y diaeresis
            return 0x9F;
        default:
            return c;
    }
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCp1252(static_cast<unsigned char>(a[i])) != FoldCp1252(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool HasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != npos;
}

bool IsStorableName(std::string_view name) {
    return !name.empty() && Trim(name) == name && !HasLineBreak(name) && name.front() != '[' &&
           name.front() != ';';
}

std::string Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

enum class ReadResult { kOk, kMissing, kFailed };

ReadResult ReadWholeFile(const std::string& path, std::string& out) {
    out.clear();
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return errno == ENOENT ? ReadResult::kMissing : ReadResult::kFailed;
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return ReadResult::kFailed;
    }
    char buf[8192];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            ::close(fd);
            return ReadResult::kFailed;
        }
        if (n == 0) break;
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return ReadResult::kOk;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

// Overwrites the file in place; used only where no sibling file can be made.
bool WriteInPlace(const std::string& path, std::string_view bytes) {
    int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = WriteAll(fd, bytes);
    return ::close(fd) == 0 && ok;
}

// Replaces the whole file through a sibling temporary file, so that a failing write (a full disk) leaves
// the old file intact. A file the user may not write is refused, though renaming over it would work.
bool ReplaceFile(const std::string& fileName, std::string_view bytes) {
    std::string path = fileName;
    char resolved[PATH_MAX];
    if (realpath(fileName.c_str(), resolved) != nullptr) path = resolved;  // write through a symlink
    struct stat st {};
    bool exists = ::stat(path.c_str(), &st) == 0;
    if (exists && (!S_ISREG(st.st_mode) || ::access(path.c_str(), W_OK) != 0)) return false;

    std::string temp = path + ".XXXXXX";
    int fd = mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return exists && WriteInPlace(path, bytes);  // a read-only directory with a writable file
    mode_t mode = exists ? (st.st_mode & 07777) : 0;
    if (!exists) {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = WriteAll(fd, bytes) && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) ::unlink(temp.c_str());
    return ok;
}

}  // namespace

// ---- ProfileText ----

ProfileText::ProfileText(std::string_view bytes) {
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t nl = bytes.find('\n', pos);
        std::string_view line = bytes.substr(pos, nl == npos ? npos : nl - pos);
        std::string eol = nl == npos ? "" : "\n";
        if (!line.empty() && line.back() == '\r') {  // a last line may end in a lone CR
            line.remove_suffix(1);
            eol.insert(0, "\r");
        }
        lines_.push_back(Classify(std::string(line), std::move(eol)));
        pos = nl == npos ? bytes.size() : nl + 1;
    }
}

ProfileText::Line ProfileText::Classify(std::string body, std::string eol) {
    Line line{std::move(body), std::move(eol), Kind::kBlank, {}};
    std::string_view t = Trim(line.body);
    if (t.empty()) return line;
    if (t.front() == ';') {
        line.kind = Kind::kComment;
    } else if (t.front() == '[') {
        line.kind = Kind::kSection;
        size_t closing = t.find(']');  // a header without "]" names the rest of the line
        line.name = Trim(t.substr(1, closing == npos ? npos : closing - 1));
    } else {
        line.kind = Kind::kKey;
        line.name = Trim(t.substr(0, t.find('=')));
    }
    return line;
}

size_t ProfileText::FindSection(std::string_view section) const {
    for (size_t i = 0; i < lines_.size(); ++i)
        if (lines_[i].kind == Kind::kSection && SameName(lines_[i].name, section)) return i;
    return npos;
}

size_t ProfileText::FindKey(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.kind == Kind::kSection)
            inSection = SameName(line.name, section);
        else if (inSection && line.kind == Kind::kKey && SameName(line.name, key))
            return i;
    }
    return npos;
}

std::optional<std::string> ProfileText::Value(std::string_view section, std::string_view key) const {
    size_t i = FindKey(section, key);
    if (i == npos) return std::nullopt;
    std::string_view body = lines_[i].body;
    size_t eq = body.find('=');
    if (eq == npos) return std::string();
    return Unquote(Trim(body.substr(eq + 1)));
}

bool ProfileText::HasSection(std::string_view section) const {
    return FindSection(section) != npos;
}

std::vector<std::string> ProfileText::Sections() const {
    std::vector<std::string> names;
    for (const Line& line : lines_) {
        if (line.kind != Kind::kSection) continue;
        bool seen = false;
        for (const std::string& n : names) seen = seen || SameName(n, line.name);
        if (!seen) names.push_back(line.name);
    }
    return names;
}

std::vector<std::string> ProfileText::Keys(std::string_view section) const {
    std::vector<std::string> names;
    bool inSection = false;
    for (const Line& line : lines_) {
        if (line.kind == Kind::kSection) inSection = SameName(line.name, section);
        if (!inSection || line.kind != Kind::kKey) continue;
        bool seen = false;
        for (const std::string& n : names) seen = seen || SameName(n, line.name);
        if (!seen) names.push_back(line.name);
    }
    return names;
}

std::string ProfileText::NewLineEnding() const {
    for (const Line& line : lines_)
        if (line.eol == "\n" || line.eol == "\r\n") return line.eol;
    return "\r\n";  // the host's platform writes its profile files with CR LF
}

void ProfileText::EndLine(Line& line, const std::string& eol) {
    // A lone CR becomes CR LF: the body may itself end in CR, which the CR LF then leaves in place.
    if (line.eol == "\r") line.eol = "\r\n";
    if (line.eol.empty()) line.eol = eol;
}

bool ProfileText::SetValue(std::string_view section, std::string_view key, std::string_view value) {
    if (!IsStorableName(section) || section.find(']') != npos) return false;
    if (!IsStorableName(key) || key.find('=') != npos || HasLineBreak(value)) return false;

    std::string eol = NewLineEnding();
    size_t i = FindKey(section, key);
    if (i != npos) {
        Line& line = lines_[i];
        line.body = line.name + "=" + std::string(value);
        return true;
    }
    Line entry{std::string(key) + "=" + std::string(value), eol, Kind::kKey, std::string(key)};
    size_t header = FindSection(section);
    if (header != npos) {
        size_t at = header + 1;
        for (size_t j = header + 1; j < lines_.size() && lines_[j].kind != Kind::kSection; ++j)
            if (lines_[j].kind == Kind::kKey) at = j + 1;
        EndLine(lines_[at - 1], eol);
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(entry));
        return true;
    }
    if (!lines_.empty()) EndLine(lines_.back(), eol);
    lines_.push_back(Line{"[" + std::string(section) + "]", eol, Kind::kSection, std::string(section)});
    lines_.push_back(std::move(entry));
    return true;
}

std::string ProfileText::Text() const {
    std::string out;
    for (const Line& line : lines_) out += line.body + line.eol;
    return out;
}

// ---- IniFile ----

ProfileText IniFile::Load() const {
    std::string bytes;
    ReadWholeFile(fileName_, bytes);
    return ProfileText(bytes);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                std::string_view fallback) const {
    return Load().Value(section, key).value_or(std::string(fallback));
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const {
    std::optional<std::string> text = Load().Value(section, key);
    return text ? StrToIntDef(*text, fallback) : fallback;
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

bool IniFile::SectionExists(std::string_view section) const {
    return Load().HasSection(section);
}

bool IniFile::ValueExists(std::string_view section, std::string_view key) const {
    return Load().Value(section, key).has_value();
}

void IniFile::FailWrite() const {
    throw EIniFileException(Format("nach %s kann nicht geschrieben werden", fileName_.c_str()));
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    std::string bytes;
    // A file that exists but cannot be read is not overwritten with a fresh one.
    if (ReadWholeFile(fileName_, bytes) == ReadResult::kFailed) FailWrite();
    ProfileText text(bytes);
    if (!text.SetValue(section, key, value)) FailWrite();
    if (!ReplaceFile(fileName_, text.Text())) FailWrite();
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int32_t value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

}  // namespace core
