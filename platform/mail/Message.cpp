// MIME composition of one message: headers as RFC 2047 words, quoted-printable text, base64 file.
#include "platform/mail/Message.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>

#include "platform/AtomicFile.h"
#include "platform/WinPath.h"

namespace platform::mail {
namespace {

const char* const kBase64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
const char* const kHex = "0123456789ABCDEF";

std::string base64(const std::string& bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const uint32_t b0 = uint8_t(bytes[i]);
        const uint32_t b1 = i + 1 < bytes.size() ? uint8_t(bytes[i + 1]) : 0;
        const uint32_t b2 = i + 2 < bytes.size() ? uint8_t(bytes[i + 2]) : 0;
        const uint32_t n = (b0 << 16) | (b1 << 8) | b2;
        out += kBase64[(n >> 18) & 63];
        out += kBase64[(n >> 12) & 63];
        out += i + 1 < bytes.size() ? kBase64[(n >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? kBase64[n & 63] : '=';
    }
    return out;
}

std::string base64Lines(const std::string& bytes) {
    const std::string flat = base64(bytes);
    std::string out;
    for (size_t i = 0; i < flat.size(); i += 76) out += flat.substr(i, 76) + "\r\n";
    return out;
}

bool plainAscii(const std::string& text) {
    for (unsigned char c : text)
        if (c < 0x20 || c > 0x7E) return false;
    return text.find("=?") == std::string::npos;
}

// Chunks of whole UTF-8 characters, each short enough for one encoded word.
std::vector<std::string> utf8Chunks(const std::string& text, size_t maxBytes) {
    std::vector<std::string> chunks;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = std::min(text.size(), start + maxBytes);
        while (end < text.size() && end > start + 1 && (uint8_t(text[end]) & 0xC0) == 0x80) --end;
        chunks.push_back(text.substr(start, end - start));
        start = end;
    }
    return chunks;
}

// A header holds one line: control characters (line breaks above all) become blanks.
std::string oneLine(std::string text) {
    for (char& c : text)
        if (uint8_t(c) < 0x20 || uint8_t(c) == 0x7F) c = ' ';
    return text;
}

// An unstructured header value: as it is when short plain ASCII, else encoded words folded
// onto continuation lines.
std::string headerText(const std::string& raw) {
    const std::string text = oneLine(raw);
    if (plainAscii(text) && text.size() <= 60) return text;
    std::string out;
    for (const std::string& chunk : utf8Chunks(text, 45)) {
        if (!out.empty()) out += "\r\n ";
        out += "=?UTF-8?B?" + base64(chunk) + "?=";
    }
    return out;
}

std::string displayName(const std::string& raw) {
    const std::string name = oneLine(raw);
    if (!plainAscii(name) || name.size() > 60) return headerText(name);
    std::string quoted = "\"";
    for (char c : name) {
        if (c == '"' || c == '\\') quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::string mailbox(const Address& a) {
    const std::string address = cleanAddress(a.address);
    if (a.name.empty() || a.name == a.address || cleanAddress(a.name) == address) return address;
    return displayName(a.name) + " <" + address + ">";
}

std::string mailboxList(const std::vector<Address>& list) {
    std::string out;
    for (const Address& a : list) out += (out.empty() ? "" : ",\r\n ") + mailbox(a);
    return out;
}

// Lines end with CR LF whatever the caller used.
std::string crlf(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += "\r\n";
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (text[i] == '\n') {
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string quotedPrintable(const std::string& text) {
    std::string out;
    size_t column = 0;
    auto put = [&](const std::string& piece) {
        if (column + piece.size() > 75) {
            out += "=\r\n";
            column = 0;
        }
        out += piece;
        column += piece.size();
    };
    const std::string lines = crlf(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const unsigned char c = uint8_t(lines[i]);
        if (c == '\r' && i + 1 < lines.size() && lines[i + 1] == '\n') {
            out += "\r\n";
            column = 0;
            ++i;
            continue;
        }
        const bool lineEnd = i + 1 == lines.size() || lines[i + 1] == '\r';
        const bool literal = (c >= 33 && c <= 126 && c != '=' && !(c == '.' && column == 0)) ||
                             ((c == ' ' || c == '\t') && !lineEnd);
        if (literal)
            put(std::string(1, char(c)));
        else
            put(std::string{'=', kHex[c >> 4], kHex[c & 15]});
    }
    return out;
}

std::string dateHeader(LocalClockTime date) {
    static const char* days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const LocalTimeFields f = fieldsOf(date);
    // The clock has no zone: the host's present offset is the best statement of it.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const long offset = local.tm_gmtoff / 60;
    char text[64];
    std::snprintf(text, sizeof text, "%s, %d %s %04d %02d:%02d:%02d %c%02ld%02ld", days[f.dayOfWeek % 7],
                  f.day, months[(f.month + 11) % 12], f.year, f.hour, f.minute, f.second,
                  offset < 0 ? '-' : '+', std::labs(offset) / 60, std::labs(offset) % 60);
    return text;
}

std::string randomHex(size_t digits) {
    static std::mt19937_64 generator{std::random_device{}()};
    std::string out;
    while (out.size() < digits) out += kHex[generator() % 16];
    return out;
}

std::string fileNameOf(const std::string& windowsPath) {
    const size_t cut = windowsPath.find_last_of("\\/");
    return cut == std::string::npos ? windowsPath : windowsPath.substr(cut + 1);
}

// RFC 2231 parameter, with a plain fallback for readers that ignore it.
std::string fileNameParameters(const std::string& keyword, const std::string& name) {
    if (plainAscii(name) && name.find('"') == std::string::npos) return keyword + "=\"" + name + "\"";
    std::string encoded;
    for (unsigned char c : name) {
        if (std::isalnum(c) || c == '.' || c == '-' || c == '_')
            encoded += char(c);
        else
            encoded += std::string{'%', kHex[c >> 4], kHex[c & 15]};
    }
    return keyword + "*=UTF-8''" + encoded;
}

}  // namespace

std::string cleanAddress(const std::string& address) {
    const size_t first = address.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    const size_t last = address.find_last_not_of(" \t");
    std::string trimmed = address.substr(first, last - first + 1);
    for (unsigned char c : trimmed)
        if (c < 0x21 || c == 0x7F || c == '<' || c == '>' || c == ',' || c == ';' || c == '"') return {};
    return trimmed;
}

Failure Compose(const Message& message, std::string& text) {
    text.clear();
    if (cleanAddress(message.from.address).empty())
        return {kBadAddress, "Invalid sender address: " + message.from.address};
    for (const auto* list : {&message.to, &message.cc})
        for (const Address& a : *list)
            if (cleanAddress(a.address).empty())
                return {kBadAddress, "Invalid recipient address: " + a.address};

    std::string attachment;
    if (!message.attachment.empty()) {
        if (!atomicfile::readAll(winpath::toHost(message.attachment), attachment))
            return {vb::kFileNotFound, "Attachment not found: " + message.attachment};
    }

    text += "Date: " + dateHeader(message.date) + "\r\n";
    text += "From: " + mailbox(message.from) + "\r\n";
    if (!message.to.empty()) text += "To: " + mailboxList(message.to) + "\r\n";
    if (!message.cc.empty()) text += "Cc: " + mailboxList(message.cc) + "\r\n";
    text += "Subject: " + headerText(message.subject) + "\r\n";
    text += "Message-ID: <" + randomHex(24) + "@al3-relaytone>\r\n";
    text += "MIME-Version: 1.0\r\n";

    std::string textPart =
        "Content-Type: text/plain; charset=UTF-8\r\n"
        "Content-Transfer-Encoding: quoted-printable\r\n\r\n" +
        quotedPrintable(message.body);
    if (message.attachment.empty()) {
        if (!textPart.ends_with("\r\n")) textPart += "\r\n";
        return text += textPart, Failure{};
    }
    // The line end before a boundary belongs to the boundary, not to the text.
    textPart += "\r\n";

    // "=_" never occurs in quoted-printable or base64 text, so the boundary cannot collide.
    const std::string boundary = "=_AL3_" + randomHex(24);
    const std::string name = fileNameOf(message.attachment);
    text += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    text += "--" + boundary + "\r\n" + textPart;
    text += "--" + boundary + "\r\n";
    text += "Content-Type: application/octet-stream; " + fileNameParameters("name", name) + "\r\n";
    text += "Content-Transfer-Encoding: base64\r\n";
    text += "Content-Disposition: attachment; " + fileNameParameters("filename", name) + "\r\n\r\n";
    text += base64Lines(attachment);
    text += "--" + boundary + "--\r\n";
    return {};
}

}  // namespace platform::mail
