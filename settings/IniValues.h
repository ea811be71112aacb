// Settings values in INI files: leading-number reads, control values, writes that report failure.
#pragma once

#include <cstdint>
#include <string>

namespace platform::forms {
class CheckBox;
class ComboBox;
}

namespace settings {

std::string lireTexte(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& defaut);
// The leading number of the value taken to the nearest integer, halves to even (0 without one).
int32_t lireEntier(const std::string& file, const std::string& section, const std::string& key,
                   const std::string& defaut);
int16_t lireEntier16(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& defaut);
int32_t entierDe(const std::string& text);

// The control refuses a value it cannot hold: reported as VB's "invalid property value".
void poserValeur(platform::forms::CheckBox& box, int32_t value, const std::string& caller);
void poserIndex(platform::forms::ComboBox& list, int32_t index, const std::string& caller);

// One group's writes into one file.
class Ecriture {
public:
    explicit Ecriture(std::string file) : file_(std::move(file)) {}
    void operator()(const std::string& section, const std::string& key, const std::string& value);
    void operator()(const std::string& section, const std::string& key, int32_t value) {
        (*this)(section, key, std::to_string(value));
    }
    bool reussie() const { return reussie_; }
    const std::string& file() const { return file_; }

private:
    std::string file_;
    bool reussie_ = true;
};

// "01" for row or base 0: the number from 1 on two digits.
std::string deuxChiffres(int number);

}  // namespace settings
