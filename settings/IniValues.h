// Settings values in INI files: leading-number reads, control values, writes that report failure.
#pragma once

#include <cstdint>
#include <string>

namespace platform::forms {
class CheckBox;
class ComboBox;
}  // namespace platform::forms

namespace settings {

std::string readText(const std::string& file, const std::string& section, const std::string& key,
                     const std::string& fallback);
// The leading number of the value taken to the nearest integer, halves to even (0 without one).
int32_t readInteger(const std::string& file, const std::string& section, const std::string& key,
                    const std::string& fallback);
int16_t readInteger16(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& fallback);
int32_t integerOf(const std::string& text);

// The control refuses a value it cannot hold: reported as VB's "invalid property value".
void setValue(platform::forms::CheckBox& box, int32_t value, const std::string& caller);
void setIndex(platform::forms::ComboBox& list, int32_t index, const std::string& caller);

// One group's writes into one file.
class Writer {
public:
    explicit Writer(std::string file) : file_(std::move(file)) {}
    void operator()(const std::string& section, const std::string& key, const std::string& value);
    void operator()(const std::string& section, const std::string& key, int32_t value) {
        (*this)(section, key, std::to_string(value));
    }
    bool succeeded() const { return succeeded_; }
    const std::string& file() const { return file_; }

private:
    std::string file_;
    bool succeeded_ = true;
};

// "01" for row or base 0: the number from 1 on two digits.
std::string twoDigits(int number);

}  // namespace settings
