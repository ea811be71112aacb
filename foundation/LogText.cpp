// Control characters of outside text shown in a visible, distinct form.
#include "foundation/LogText.h"

namespace logtext {
namespace {

void appendCode(std::string& out, unsigned code) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    out += "\\x";
    out += kDigits[(code >> 4) & 0xF];
    out += kDigits[code & 0xF];
}

bool isCodeDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

// The text at `at` reads as one of the forms visible() writes for a control character.
bool readsAsCode(std::string_view text, size_t at) {
    const std::string_view rest = text.substr(at);
    if (rest.starts_with('\\'))
        return rest.size() >= 4 && rest[1] == 'x' && isCodeDigit(rest[2]) && isCodeDigit(rest[3]);
    return rest.starts_with("<CR>") || rest.starts_with("<LF>") || rest.starts_with("<CRLF>");
}

}  // namespace

std::string visible(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += "<CRLF>";
            ++i;
        } else if (c == '\r') {
            out += "<CR>";
        } else if (c == '\n') {
            out += "<LF>";
        } else if (c < 0x20 || c == 0x7F) {
            appendCode(out, c);
        } else if (c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9F) {
            // U+0080..U+009F in UTF-8: some readers take U+0085 for a line break
            appendCode(out, static_cast<unsigned char>(text[i + 1]));
            ++i;
        } else if ((c == '\\' || c == '<') && readsAsCode(text, i)) {
            appendCode(out, c);
        } else {
            out += char(c);
        }
    }
    return out;
}

}  // namespace logtext
