// A cell of the configuration record: empty, a number or a text. After the dialog stored a
// page cells hold numbers; after a file or device read they hold the raw texts of the fields.
// All consumers convert through the same rules.
#pragma once

#include <string>
#include <variant>

namespace kalvo {

class Cell {
  public:
    Cell() = default;
    Cell(double number) : value_(number) {}  // NOLINT(google-explicit-constructor)
    Cell(int number) : value_(static_cast<double>(number)) {}  // NOLINT
    Cell(std::string text) : value_(std::move(text)) {}        // NOLINT
    Cell(const char* text) : value_(std::string(text)) {}      // NOLINT

    bool isEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    bool isNumber() const { return std::holds_alternative<double>(value_); }
    bool isText() const { return std::holds_alternative<std::string>(value_); }

    // Text for files, the device copy and commands: numbers by formatNumber with the given
    // separator, texts unchanged (UTF-8), empty as "".
    std::string toText(char decimal) const;
    // Number for arithmetic and comparison: texts by parseNumber (0 when not a number).
    double toNumber() const;
    // Numeric comparison: the text "0" equals 0, "0,5" and "0.5" equal 0.5.
    bool equals(double number) const;

    bool operator==(const Cell&) const = default;

  private:
    std::variant<std::monostate, double, std::string> value_;
};

}  // namespace kalvo
