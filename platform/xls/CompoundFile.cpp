// OLE2 compound file: the header, the sector allocation table, the directory and the chains.
#include "platform/xls/CompoundFile.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/xls/Bytes.h"

namespace platform::xls::compound {
namespace {

using namespace bytes;

constexpr std::string_view kSignature("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
constexpr uint32_t kFreeSect = 0xFFFFFFFF;
constexpr uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr uint32_t kFatSect = 0xFFFFFFFD;
constexpr uint32_t kNoStream = 0xFFFFFFFF;
constexpr size_t kSector = 512;
constexpr size_t kHeaderFatSlots = 109;
constexpr uint32_t kMiniStreamCutoff = 4096;
constexpr size_t kDirEntry = 128;
constexpr size_t kMiniSector = 64;

void putName(std::string& entry, const std::string& name) {
    for (char c : name) put16(entry, uint8_t(c));  // ASCII names only
    entry.resize(64, '\0');
    put16(entry, uint32_t(name.size() + 1) * 2);
}

std::string directoryEntry(const std::string& name, int type, uint32_t child, uint32_t start, uint32_t size) {
    std::string e;
    putName(e, name);
    put8(e, type);
    put8(e, 1);  // black: a tree of one node is trivially balanced
    put32(e, kNoStream);
    put32(e, kNoStream);
    put32(e, child);
    e.resize(0x74, '\0');  // class id, state bits and time stamps stay zero
    put32(e, start);
    put32(e, size);
    put32(e, 0);
    return e;
}

std::string emptyEntry() {
    std::string e(0x44, '\0');
    put32(e, kNoStream);
    put32(e, kNoStream);
    put32(e, kNoStream);
    e.resize(kDirEntry, '\0');
    return e;
}

// The compound file as read: its sectors, the allocation tables and the directory.
class Reader {
public:
    explicit Reader(std::string_view file) : file_(file) {}

    Outcome open() {
        if (file_.empty()) return Outcome::failure("empty file");
        if (file_.size() < 512) return Outcome::failure("file too short for a compound file header");
        if (file_.substr(0, 8) != kSignature) return Outcome::failure("not a compound file (signature)");
        if (get16(file_, 0x1C) != 0xFFFE) return Outcome::failure("compound file: bad byte order mark");
        const uint32_t shift = get16(file_, 0x1E);
        if (shift != 9 && shift != 12) return Outcome::failure("compound file: bad sector size");
        sector_ = size_t(1) << shift;
        if (get16(file_, 0x20) != 6) return Outcome::failure("compound file: bad mini sector size");
        if (file_.size() < sector_) return Outcome::failure("compound file truncated in its header");
        sectorCount_ = (file_.size() - sector_) / sector_;
        miniCutoff_ = get32(file_, 0x38);

        if (Outcome o = readFat(); !o.ok()) return o;
        if (Outcome o = chain(get32(file_, 0x30), fat_, directory_); !o.ok())
            return Outcome::failure("directory: " + o.reason);
        if (directory_.size() < kDirEntry) return Outcome::failure("compound file: empty directory");
        return {};
    }

    Outcome stream(const std::string& wanted, std::string& out) {
        for (size_t at = 0; at + kDirEntry <= directory_.size(); at += kDirEntry) {
            const std::string_view e = std::string_view(directory_).substr(at, kDirEntry);
            if (get8(e, 0x42) != 2 || !nameIs(e, wanted)) continue;
            const uint32_t start = get32(e, 0x74);
            const uint64_t size = entrySize(e);
            std::string data;
            // Streams under the cut-off live in the mini stream (other spreadsheets write small
            // workbooks there; Excel and our writer pad theirs past it).
            if (Outcome o = size < miniCutoff_ ? miniChain(start, data) : chain(start, fat_, data); !o.ok())
                return Outcome::failure("stream " + wanted + ": " + o.reason);
            if (data.size() < size) return Outcome::failure("stream " + wanted + " truncated");
            data.resize(size);
            out = std::move(data);
            return {};
        }
        return Outcome::failure("no " + wanted + " stream in the compound file");
    }

private:
    static bool nameIs(std::string_view entry, const std::string& wanted) {
        const uint32_t length = get16(entry, 0x40);
        if (length != (wanted.size() + 1) * 2) return false;
        for (size_t i = 0; i < wanted.size(); ++i) {
            const uint32_t c = get16(entry, 2 * i);
            if (c > 127 || std::tolower(int(c)) != std::tolower(uint8_t(wanted[i]))) return false;
        }
        return true;
    }

    bool sectorPresent(uint32_t s) const { return s < sectorCount_; }
    std::string_view sectorBytes(uint32_t s) const {
        return file_.substr(sector_ + size_t(s) * sector_, sector_);
    }

    // Every table is held to the file's own sectors, and the DIFAT chain is followed once per
    // sector: a damaged header must not make a small file take the memory of a large one.
    Outcome readFat() {
        const uint32_t fatCount = get32(file_, 0x2C);
        if (fatCount > sectorCount_)
            return Outcome::failure("compound file: allocation table larger than the file");
        std::vector<uint32_t> fatSectors;
        for (size_t i = 0; i < kHeaderFatSlots && fatSectors.size() < fatCount; ++i)
            fatSectors.push_back(get32(file_, 0x4C + 4 * i));
        std::vector<bool> seen(sectorCount_, false);
        uint32_t difat = get32(file_, 0x44);
        const uint32_t difatCount = get32(file_, 0x48);
        if (difatCount > sectorCount_) return Outcome::failure("compound file: DIFAT larger than the file");
        for (uint32_t n = difatCount; n > 0 && fatSectors.size() < fatCount; --n) {
            if (!sectorPresent(difat)) return Outcome::failure("compound file truncated (DIFAT)");
            if (seen[difat]) return Outcome::failure("compound file: DIFAT chain loops");
            seen[difat] = true;
            const std::string_view s = sectorBytes(difat);
            for (size_t i = 0; i + 4 < sector_ && fatSectors.size() < fatCount; i += 4)
                fatSectors.push_back(get32(s, i));
            difat = get32(s, sector_ - 4);
        }
        if (fatSectors.size() < fatCount)
            return Outcome::failure("compound file: allocation table incomplete");
        std::fill(seen.begin(), seen.end(), false);
        fat_.reserve(size_t(fatCount) * (sector_ / 4));
        for (uint32_t s : fatSectors) {
            if (!sectorPresent(s)) return Outcome::failure("compound file truncated (allocation table)");
            if (seen[s]) return Outcome::failure("compound file: allocation table sector listed twice");
            seen[s] = true;
            const std::string_view b = sectorBytes(s);
            for (size_t i = 0; i < sector_; i += 4) fat_.push_back(get32(b, i));
        }
        return {};
    }

    // The sectors of a chain, each once, all inside the file.
    Outcome chain(uint32_t start, const std::vector<uint32_t>& table, std::string& out) const {
        std::vector<bool> seen(sectorCount_, false);
        for (uint32_t s = start; s != kEndOfChain;) {
            if (!sectorPresent(s)) return Outcome::failure("chain leaves the file (truncated)");
            if (seen[s]) return Outcome::failure("chain loops");
            seen[s] = true;
            out.append(sectorBytes(s));
            if (s >= table.size()) return Outcome::failure("chain beyond the allocation table");
            s = table[s];
        }
        return {};
    }

    uint64_t entrySize(std::string_view entry) const {
        return get32(entry, 0x78) | (sector_ == 512 ? 0 : uint64_t(get32(entry, 0x7C)) << 32);
    }

    // The mini stream (the root entry's chain) and its table, read at the first small stream.
    Outcome readMiniStream() {
        if (miniRead_) return {};
        const std::string_view root = std::string_view(directory_).substr(0, kDirEntry);
        if (get8(root, 0x42) != 5) return Outcome::failure("compound file: no root entry");
        std::string table;
        if (Outcome o = chain(get32(file_, 0x3C), fat_, table); !o.ok())
            return Outcome::failure("mini allocation table: " + o.reason);
        for (size_t i = 0; i + 4 <= table.size(); i += 4) miniFat_.push_back(get32(table, i));
        if (Outcome o = chain(get32(root, 0x74), fat_, miniStream_); !o.ok())
            return Outcome::failure("mini stream: " + o.reason);
        const uint64_t size = entrySize(root);
        if (miniStream_.size() < size) return Outcome::failure("mini stream truncated");
        miniStream_.resize(size);
        miniRead_ = true;
        return {};
    }

    // The 64-byte sectors of a chain in the mini stream, each once, all inside it.
    Outcome miniChain(uint32_t start, std::string& out) {
        if (Outcome o = readMiniStream(); !o.ok()) return o;
        const size_t count = (miniStream_.size() + kMiniSector - 1) / kMiniSector;
        std::vector<bool> seen(count, false);
        for (uint32_t s = start; s != kEndOfChain;) {
            if (s >= count) return Outcome::failure("chain leaves the mini stream (truncated)");
            if (seen[s]) return Outcome::failure("chain loops");
            seen[s] = true;
            out.append(std::string_view(miniStream_).substr(size_t(s) * kMiniSector, kMiniSector));
            if (s >= miniFat_.size()) return Outcome::failure("chain beyond the mini allocation table");
            s = miniFat_[s];
        }
        return {};
    }

    std::string_view file_;
    size_t sector_ = 512;
    size_t sectorCount_ = 0;
    uint32_t miniCutoff_ = kMiniStreamCutoff;
    std::vector<uint32_t> fat_;
    std::string directory_;
    bool miniRead_ = false;
    std::vector<uint32_t> miniFat_;
    std::string miniStream_;
};

}  // namespace

Outcome pack(const std::string& streamName, std::string_view stream, std::string& file) {
    // Streams under the cut-off would go to the mini stream; a padded stream keeps one road.
    std::string data(stream);
    if (data.size() < kMiniStreamCutoff) data.resize(kMiniStreamCutoff, '\0');
    const size_t declaredSize = data.size();
    const size_t streamSectors = (data.size() + kSector - 1) / kSector;
    data.resize(streamSectors * kSector, '\0');

    const size_t perFatSector = kSector / 4;
    size_t fatSectors = 1;
    while (fatSectors * perFatSector < streamSectors + fatSectors + 1) ++fatSectors;
    if (fatSectors > kHeaderFatSlots) return Outcome::failure("workbook too large for this writer");

    const uint32_t firstFat = uint32_t(streamSectors);
    const uint32_t dirSector = uint32_t(streamSectors + fatSectors);

    std::string header(kSignature);
    header.resize(0x18, '\0');
    put16(header, 0x003E);
    put16(header, 0x0003);
    put16(header, 0xFFFE);
    put16(header, 9);
    put16(header, 6);
    header.resize(0x28, '\0');
    put32(header, 0);  // directory sectors are not counted in version 3
    put32(header, uint32_t(fatSectors));
    put32(header, dirSector);
    put32(header, 0);
    put32(header, kMiniStreamCutoff);
    put32(header, kEndOfChain);
    put32(header, 0);
    put32(header, kEndOfChain);
    put32(header, 0);
    for (size_t i = 0; i < kHeaderFatSlots; ++i)
        put32(header, i < fatSectors ? firstFat + uint32_t(i) : kFreeSect);

    std::string fat;
    for (size_t s = 0; s < streamSectors; ++s)
        put32(fat, s + 1 < streamSectors ? uint32_t(s + 1) : kEndOfChain);
    for (size_t s = 0; s < fatSectors; ++s) put32(fat, kFatSect);
    put32(fat, kEndOfChain);
    while (fat.size() < fatSectors * kSector) put32(fat, kFreeSect);

    std::string directory = directoryEntry("Root Entry", 5, 1, kEndOfChain, 0);
    directory += directoryEntry(streamName, 2, kNoStream, 0, uint32_t(declaredSize));
    directory += emptyEntry();
    directory += emptyEntry();

    file = header + data + fat + directory;
    return {};
}

Outcome unpack(std::string_view file, const std::string& streamName, std::string& stream) {
    Reader reader(file);
    if (Outcome o = reader.open(); !o.ok()) return o;
    return reader.stream(streamName, stream);
}

}  // namespace platform::xls::compound
