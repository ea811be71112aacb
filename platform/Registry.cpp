// Hive files: "[key\path]" lines, then one "name"=type:hex-bytes line per value; names matched
// without regard to case, as Windows does.
#include "platform/Registry.h"

#include <charconv>
#include <filesystem>
#include <map>
#include <optional>

#include <QString>

#include "platform/AtomicFile.h"
#include "platform/WinPath.h"

namespace platform::registry {
namespace {
namespace fs = std::filesystem;

struct NoCase {
    bool operator()(const std::string& a, const std::string& b) const {
        return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) < 0;
    }
};

struct Value {
    std::string name;  // as first written
    uint32_t type = REG_NONE;
    std::string data;
};

struct Key {
    std::string path;  // as first written
    std::map<std::string, Value, NoCase> values;
};

using Hive = std::map<std::string, Key, NoCase>;

const char* rootName(uint32_t root) {
    switch (root) {
        case HKEY_CLASSES_ROOT:
            return "HKEY_CLASSES_ROOT";
        case HKEY_CURRENT_USER:
            return "HKEY_CURRENT_USER";
        case HKEY_LOCAL_MACHINE:
            return "HKEY_LOCAL_MACHINE";
        case HKEY_USERS:
            return "HKEY_USERS";
        default:
            return nullptr;
    }
}

fs::path hivePath(uint32_t root) {
    const char* name = rootName(root);
    if (!name) return {};
    return winpath::toHost("C:\\Windows\\AL3_Registry\\" + std::string(name) + ".reg");
}

// "a\\b\" -> "a\b": no empty components, no leading or trailing separators.
std::string normalised(const std::string& path) {
    std::string out;
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\' && (out.empty() || out.back() == '\\')) continue;
        out += path[i];
    }
    while (!out.empty() && out.back() == '\\') out.pop_back();
    return out;
}

std::string quoted(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::string hex(const std::string& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::optional<std::string> unhex(std::string_view text) {
    if (text.size() % 2) return std::nullopt;
    std::string out;
    for (size_t i = 0; i < text.size(); i += 2) {
        const auto digit = [](char c) -> int {
            if (c >= '0' && c <= '9') return c - '0';
            if (c >= 'a' && c <= 'f') return c - 'a' + 10;
            if (c >= 'A' && c <= 'F') return c - 'A' + 10;
            return -1;
        };
        const int hi = digit(text[i]), lo = digit(text[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        out += char(hi * 16 + lo);
    }
    return out;
}

// A damaged line is skipped; the rest of the hive still reads.
Hive parse(const std::string& text) {
    Hive hive;
    Key* current = nullptr;
    size_t start = 0;
    while (start < text.size()) {
        size_t stop = text.find('\n', start);
        if (stop == std::string::npos) stop = text.size();
        std::string_view line(text.data() + start, stop - start);
        start = stop + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            const std::string path = normalised(std::string(line.substr(1, line.size() - 2)));
            current = &hive.try_emplace(path, Key{path, {}}).first->second;
            continue;
        }
        if (!current || line.empty() || line.front() != '"') continue;
        std::string name;
        size_t i = 1;
        for (; i < line.size() && line[i] != '"'; ++i) {
            if (line[i] == '\\' && i + 1 < line.size()) ++i;
            name += line[i];
        }
        const size_t colon = line.find(':', i);
        if (i >= line.size() || i + 1 >= line.size() || line[i + 1] != '=' || colon == std::string_view::npos)
            continue;
        const std::string_view typeText = line.substr(i + 2, colon - i - 2);
        const auto data = unhex(line.substr(colon + 1));
        uint32_t type = 0;
        const auto [end, error] = std::from_chars(typeText.data(), typeText.data() + typeText.size(), type);
        if (typeText.empty() || error != std::errc() || end != typeText.data() + typeText.size() || !data)
            continue;
        current->values.try_emplace(name, Value{name, type, *data});
    }
    return hive;
}

std::string serialise(const Hive& hive) {
    std::string out = "; registry hive of AL3_Relaytone: [key] then \"value\"=type:hex-data\n";
    for (const auto& [unused, key] : hive) {
        out += "[" + key.path + "]\n";
        for (const auto& [unusedName, value] : key.values)
            out += quoted(value.name) + "=" + std::to_string(value.type) + ":" + hex(value.data) + "\n";
    }
    return out;
}

bool load(uint32_t root, Hive& hive) {
    const fs::path path = hivePath(root);
    std::error_code ec;
    if (!fs::exists(path, ec)) return true;
    std::string text;
    if (!atomicfile::readAll(path, text)) return false;
    hive = parse(text);
    return true;
}

// Reads, changes and writes the hive under its folder's lock.
template <typename Change>
int32_t update(uint32_t root, Change change) {
    const fs::path path = hivePath(root);
    if (path.empty()) return ERROR_INVALID_HANDLE;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    atomicfile::FolderLock lock(path.parent_path());
    if (!lock.held()) return ERROR_ACCESS_DENIED;
    Hive hive;
    if (!load(root, hive)) return ERROR_ACCESS_DENIED;
    bool changed = false;
    const int32_t status = change(hive, changed);
    if (status != ERROR_SUCCESS || !changed) return status;
    if (fs::exists(path, ec) &&
        (fs::status(path, ec).permissions() & fs::perms::owner_write) == fs::perms::none)
        return ERROR_ACCESS_DENIED;
    return atomicfile::replace(path, serialise(hive), atomicfile::newFileMode()) ==
                   atomicfile::Result::Written
               ? ERROR_SUCCESS
               : ERROR_ACCESS_DENIED;
}

}  // namespace

std::string hiveFile(uint32_t root) { return hivePath(root).string(); }

std::string rewrittenHive(const std::string& text) { return serialise(parse(text)); }

int32_t createKey(uint32_t root, const std::string& path) {
    return update(root, [&](Hive& hive, bool& changed) {
        std::string level;
        for (const char c : normalised(path) + "\\") {
            if (c != '\\') {
                level += c;
                continue;
            }
            if (!hive.count(level)) {
                hive.emplace(level, Key{level, {}});
                changed = true;
            }
            level += c;
        }
        return int32_t(ERROR_SUCCESS);
    });
}

int32_t queryValue(uint32_t root, const std::string& path, const std::string& name, uint32_t& type,
                   std::string& data, uint32_t bufferSize, uint32_t& size) {
    if (hivePath(root).empty()) return ERROR_INVALID_HANDLE;
    Hive hive;
    if (!load(root, hive)) return ERROR_ACCESS_DENIED;
    const auto key = hive.find(normalised(path));
    if (key == hive.end()) return ERROR_FILE_NOT_FOUND;
    const auto value = key->second.values.find(name);
    if (value == key->second.values.end()) return ERROR_FILE_NOT_FOUND;
    type = value->second.type;
    size = uint32_t(value->second.data.size());
    if (size > bufferSize) return ERROR_MORE_DATA;
    data = value->second.data;
    return ERROR_SUCCESS;
}

int32_t setValue(uint32_t root, const std::string& path, const std::string& name, uint32_t type,
                 const std::string& data) {
    return update(root, [&](Hive& hive, bool& changed) {
        const auto key = hive.find(normalised(path));
        if (key == hive.end()) return int32_t(ERROR_FILE_NOT_FOUND);
        auto [value, added] = key->second.values.try_emplace(name, Value{name, type, data});
        if (!added) value->second = {value->second.name, type, data};
        changed = true;
        return int32_t(ERROR_SUCCESS);
    });
}

}  // namespace platform::registry
