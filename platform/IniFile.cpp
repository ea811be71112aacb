// Profile-file engine: parse lines, find or set one key, replace the file atomically.
#include "platform/IniFile.h"

#include <filesystem>
#include <vector>

#include <sys/stat.h>
#include <QString>

#include "platform/AtomicFile.h"
#include "platform/Cp1252.h"
#include "platform/SystemInfo.h"
#include "platform/WinPath.h"

namespace platform::ini {
namespace {
namespace fs = std::filesystem;

struct Line {
    std::string_view text;  // without its line end
    std::string_view end;   // "\r\n", "\n", "\r" or nothing (last line)
};

std::vector<Line> splitLines(std::string_view bytes) {
    std::vector<Line> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t stop = bytes.find_first_of("\r\n", start);
        if (stop == std::string_view::npos) {
            lines.push_back({bytes.substr(start), {}});
            break;
        }
        const size_t endLength =
            (bytes[stop] == '\r' && stop + 1 < bytes.size() && bytes[stop + 1] == '\n') ? 2 : 1;
        lines.push_back({bytes.substr(start, stop - start), bytes.substr(stop, endLength)});
        start = stop + endLength;
    }
    return lines;
}

std::string_view trim(std::string_view s) {
    const size_t first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() == b.size() && a == b) return true;
    const QString qa = QString::fromStdString(cp1252::toUtf8(a));
    const QString qb = QString::fromStdString(cp1252::toUtf8(b));
    return qa.compare(qb, Qt::CaseInsensitive) == 0;
}

// What one line is: a section header, a key line, or anything else (blank, comment, junk).
struct Parsed {
    enum Kind { Other, Section, Key } kind = Other;
    std::string_view name;
    std::string_view value;
};

Parsed parseLine(std::string_view raw, bool firstLine) {
    if (firstLine && raw.substr(0, 3) == "\xEF\xBB\xBF") raw.remove_prefix(3);
    const std::string_view text = trim(raw);
    if (text.empty()) return {};
    if (text.front() == '[') {
        const size_t close = text.find(']');
        return {
            Parsed::Section, trim(text.substr(1, close == std::string_view::npos ? close : close - 1)), {}};
    }
    const size_t equals = text.find('=');
    if (equals == std::string_view::npos) return {Parsed::Key, text, {}};
    return {Parsed::Key, trim(text.substr(0, equals)), trim(text.substr(equals + 1))};
}

std::string_view unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

struct Found {
    std::optional<size_t> keyLine;     // the first matching key line
    std::optional<size_t> sectionEnd;  // last non-blank line of the first matching section
};

Found locate(const std::vector<Line>& lines, std::string_view section, std::string_view key) {
    Found found;
    bool inSection = false, inFirstSection = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const Parsed p = parseLine(lines[i].text, i == 0);
        if (p.kind == Parsed::Section) {
            inSection = sameName(p.name, section);
            inFirstSection = inSection && !found.sectionEnd;
            if (inFirstSection) found.sectionEnd = i;
            continue;
        }
        if (!inSection) continue;
        if (inFirstSection && !trim(lines[i].text).empty()) found.sectionEnd = i;
        if (p.kind == Parsed::Key && !found.keyLine && sameName(p.name, key)) found.keyLine = i;
    }
    return found;
}

std::string cut(std::string_view cp1252Text, size_t bufferSize) {
    const size_t room = bufferSize == 0 ? 0 : bufferSize - 1;
    return cp1252::toUtf8(cp1252Text.substr(0, room));
}

bool hasLineBreak(std::string_view s) { return s.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

std::optional<std::string> findValue(std::string_view fileBytes, std::string_view section,
                                     std::string_view key) {
    section = trim(section);
    key = trim(key);
    if (section.empty() || key.empty()) return std::nullopt;
    const std::vector<Line> lines = splitLines(fileBytes);
    const Found found = locate(lines, section, key);
    if (!found.keyLine) return std::nullopt;
    return std::string(unquoted(parseLine(lines[*found.keyLine].text, *found.keyLine == 0).value));
}

std::string withValue(std::string_view fileBytes, std::string_view section, std::string_view key,
                      std::string_view value) {
    section = trim(section);
    key = trim(key);
    const std::vector<Line> lines = splitLines(fileBytes);
    const Found found = locate(lines, section, key);
    std::string out;
    out.reserve(fileBytes.size() + key.size() + value.size() + section.size() + 8);
    auto keyLine = [&](std::string_view name) {
        return std::string(name) + "=" + std::string(value) + "\r\n";
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        if (found.keyLine && i == *found.keyLine) {
            const Parsed p = parseLine(lines[i].text, i == 0);
            const std::string_view indent = lines[i].text.substr(0, lines[i].text.find_first_not_of(" \t"));
            out += std::string(indent) + std::string(p.name) + "=" + std::string(value);
            out += lines[i].end.empty() ? std::string_view("\r\n") : lines[i].end;
            continue;
        }
        out += lines[i].text;
        out += lines[i].end;
        if (!found.keyLine && found.sectionEnd && i == *found.sectionEnd) {
            if (lines[i].end.empty()) out += "\r\n";
            out += keyLine(key);
        }
    }
    if (!found.sectionEnd) {
        if (!out.empty() && out.back() != '\n' && out.back() != '\r') out += "\r\n";
        out += "[" + std::string(section) + "]\r\n" + keyLine(key);
    }
    return out;
}

std::string profilePath(std::string_view windowsPath) {
    if (windowsPath.empty() || windowsPath.find_first_of("\\/") != std::string_view::npos)
        return std::string(windowsPath);
    return system::windowsFolder() + "\\" + std::string(windowsPath);
}

std::string getString(std::string_view windowsPath, std::string_view section, std::string_view key,
                      std::string_view defaultValue, size_t bufferSize) {
    const std::string fallback = cut(cp1252::fromUtf8(defaultValue), bufferSize);
    const fs::path host = winpath::toHost(profilePath(windowsPath));
    std::string bytes;
    if (host.empty() || !atomicfile::readAll(host, bytes)) return fallback;
    const auto value = findValue(bytes, cp1252::fromUtf8(section), cp1252::fromUtf8(key));
    return value ? cut(*value, bufferSize) : fallback;
}

WriteStatus writeString(std::string_view windowsPath, std::string_view section, std::string_view key,
                        std::string_view value) {
    const std::string_view s = trim(section), k = trim(key);
    if (s.empty() || k.empty() || hasLineBreak(s) || hasLineBreak(k) ||
        s.find(']') != std::string_view::npos || k.find('=') != std::string_view::npos || k.front() == '[')
        return WriteStatus::InvalidName;
    if (hasLineBreak(value)) return WriteStatus::InvalidValue;

    const fs::path host = winpath::toHost(profilePath(windowsPath));
    std::error_code ec;
    if (host.empty() || host.filename().empty() || !fs::is_directory(host.parent_path(), ec))
        return WriteStatus::PathNotFound;
    atomicfile::FolderLock lock(host.parent_path());
    if (!lock.held()) return WriteStatus::AccessDenied;

    mode_t mode = atomicfile::newFileMode();
    std::string bytes;
    struct stat st {};
    const bool exists = ::stat(host.c_str(), &st) == 0;
    if (exists) {
        if (!S_ISREG(st.st_mode)) return WriteStatus::AccessDenied;
        if (!(st.st_mode & S_IWUSR) || ::access(host.c_str(), W_OK) != 0) return WriteStatus::AccessDenied;
        mode = st.st_mode & 07777;
        if (!atomicfile::readAll(host, bytes)) return WriteStatus::IoError;
    }
    const std::string updated =
        withValue(bytes, cp1252::fromUtf8(s), cp1252::fromUtf8(k), cp1252::fromUtf8(value));
    atomicfile::Result result = atomicfile::Result::AccessDenied;
    if (atomicfile::folderTakesNewFiles(host.parent_path()))
        result = atomicfile::replace(host, updated, mode);
    // The folder refuses the temporary file, not this one: Windows writes such a file in place.
    if (result == atomicfile::Result::AccessDenied && exists)
        result = atomicfile::rewriteInPlace(host, updated);
    switch (result) {
        case atomicfile::Result::Written:
            return WriteStatus::Written;
        case atomicfile::Result::AccessDenied:
            return WriteStatus::AccessDenied;
        default:
            return WriteStatus::IoError;
    }
}

}  // namespace platform::ini
