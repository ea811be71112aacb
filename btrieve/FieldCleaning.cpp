// Field cleaning on the record's bytes; fields are named by offset (from 0) and length.
#include "btrieve/FieldCleaning.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>

#include "foundation/ConversionsVba.h"

namespace Lib_Data_BTrieve {
namespace {

struct Field {
    char* at;
    size_t length;
    std::string_view view() const { return {at, length}; }
    bool is(std::string_view text) const { return view() == text; }
    void fill(char c) const { std::memset(at, c, length); }
    void set(std::string_view text) const { std::memcpy(at, text.data(), length); }
};

// The grave accent, the curly quotes and the bullet of Windows-1252 become "'".
void apostrophes(Field f) {
    for (size_t i = 0; i < f.length; ++i) {
        const unsigned char c = static_cast<unsigned char>(f.at[i]);
        if (c == 96 || (c >= 145 && c <= 149)) f.at[i] = '\'';
    }
}

void nulsToBlanks(Field f) { std::replace(f.at, f.at + f.length, '\0', ' '); }

// A text that reads as a number: blanks around, a sign, digits with one decimal separator.
bool readsAsNumber(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return false;
    text = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (text.front() == '+' || text.front() == '-') text.remove_prefix(1);
    bool digit = false, separator = false;
    for (char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)))
            digit = true;
        else if ((c == '.' || c == ',') && !separator)
            separator = true;
        else
            return false;
    }
    return digit;
}

bool hasAnyOf(std::string_view text, std::string_view letters) {
    for (char c : text)
        if (letters.find(char(std::toupper(static_cast<unsigned char>(c)))) != std::string_view::npos)
            return true;
    return false;
}

void cleanArtist(char* r) {
    const Field f145{r + 145, 1}, f264{r + 264, 1};
    if (f145.is("1"))
        f264.set("1");
    else if (f145.is("2"))
        f264.set("O");
    f145.set(" ");
    apostrophes({r + 15, 30});
    const Field f194{r + 194, 12};
    if (readsAsNumber(f194.view()))
        f194.fill(' ');
    else
        nulsToBlanks(f194);
    apostrophes(f194);
    apostrophes({r + 146, 30});
}

bool categoryKept(std::string_view head) {
    static constexpr std::string_view kKept[] = {"JIN", "LIN", "RUB", "INF", "EMI", "ANN",
                                                 "CHR", "SPE", "RLT", "EXT", "PRE", "   "};
    if (head >= "000" && head <= "999") return true;
    return std::find(std::begin(kKept), std::end(kKept), head) != std::end(kKept);
}

void cleanTrack(char* r) {
    const Field f453{r + 453, 5};
    if (!hasAnyOf(f453.view(), "ON12ABCDEFGHIJKL")) f453.set("KKKKK");
    apostrophes({r + 23, 40});
    apostrophes({r + 289, 40});
    const Field f243{r + 243, 10};
    if (f243.is("NNNNNNNNNN")) f243.fill(' ');
    const Field f289{r + 289, 40};
    nulsToBlanks(f289);
    if (f289.view() == std::string(40, '0')) f289.fill(' ');
    const Field f465{r + 465, 2};
    if (VBA::Val(f465.view()) == 0) f465.set("00");
    const Field f856{r + 856, 1}, f107{r + 107, 1};
    if (f856.is("O")) f107.set("1");
    f856.set(" ");
    if (!f107.is("O") && !f107.is("1") && !f107.is("N") && !f107.is("-")) f107.set("N");
    const Field f536{r + 536, 3};
    std::string lowered(f536.view());
    for (char& c : lowered) c = char(std::tolower(static_cast<unsigned char>(c)));
    if (lowered == ".s4") f536.set("N00");
    const Field f229{r + 229, 1};
    if (!f229.is("O") && !f229.is("N")) {
        f229.set("N");
        for (size_t at : {230, 232, 234}) Field{r + at, 2}.set("00");
    }
    for (size_t at : {645, 653, 661, 669, 677}) {
        const Field slot{r + at, 8};
        if (!categoryKept(slot.view().substr(0, 3))) slot.fill(' ');
    }
    const Field f437{r + 437, 5};
    for (size_t i = 0; i < f437.length; ++i)
        if (f437.at[i] != 'N') f437.at[i] = 'O';
}

void cleanTrackDetail(char* r) {
    if (std::string_view(r, 3) != "ART" && std::string_view(r + 8, 2) == "03") apostrophes({r + 10, 240});
}

}  // namespace

void cleanFields(int16_t NoFichier, char* record) {
    if (!record) return;
    if (NoFichier == 20)
        cleanArtist(record);
    else if (NoFichier == 22)
        cleanTrack(record);
    else if (NoFichier == 32)
        cleanTrackDetail(record);
}

}  // namespace Lib_Data_BTrieve
