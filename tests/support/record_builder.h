// Configuration records for tests in one expression: a new project of a variant (the
// simulator's 2A/5D 120 V / 1.2 A unless told) with only the cells a case is about changed.
//   Record r = RecordBuilder(1, 2).connection(SinglePhase).vt(20, 0.1).flags({0, 33})
//                  .analog(0, Analog::Quantity, ActivePower, Analog::RangeUnit, "MW");
#pragma once

#include <utility>
#include <vector>

#include "config/record.h"

namespace kalvo::test {

class RecordBuilder {
  public:
    explicit RecordBuilder(int analog = 2, int binary = 5, double voltage = 120,
                           double current = 1.2)
        : r_(newProject(analog, binary, voltage, current)) {}

    // Cells as pairs of field and value: basic(Basic::VtPrimary, 20, Basic::VtSecondary, "0,1").
    template <class... More>
    RecordBuilder& basic(Basic::Field field, Cell cell, More&&... more) {
        return set<Basic::Field>(r_.Grundwerte, field, std::move(cell), more...);
    }
    template <class... More>
    RecordBuilder& analog(int row, Analog::Field field, Cell cell, More&&... more) {
        return set<Analog::Field>(r_.Analogwerte.at(static_cast<std::size_t>(row)), field,
                                  std::move(cell), more...);
    }
    template <class... More>
    RecordBuilder& binary(int row, Binary::Field field, Cell cell, More&&... more) {
        return set<Binary::Field>(r_.Binaerwerte.at(static_cast<std::size_t>(row)), field,
                                  std::move(cell), more...);
    }
    RecordBuilder& connection(Cell type) { return basic(Basic::ConnectionType, std::move(type)); }
    // A transformer as the dialog stores it: the nominal value 0, primary and secondary.
    RecordBuilder& vt(Cell kvPrimary, Cell kvSecondary) {
        return basic(Basic::NominalVoltage, 0, Basic::VtPrimary, std::move(kvPrimary),
                     Basic::VtSecondary, std::move(kvSecondary));
    }
    RecordBuilder& ct(Cell primary, Cell secondary) {
        return basic(Basic::NominalCurrent, 0, Basic::CtPrimary, std::move(primary),
                     Basic::CtSecondary, std::move(secondary));
    }
    // Interface cells set to 1.
    RecordBuilder& flags(const std::vector<int>& cells) {
        for (const int i : cells) r_.Schnittstellenwerte.at(static_cast<std::size_t>(i)) = 1;
        return *this;
    }
    operator Record() const { return r_; }  // NOLINT(google-explicit-constructor)

  private:
    template <class Field, class Row, class... More>
    RecordBuilder& set(Row& row, Field field, Cell cell, More&&... more) {
        row[field] = std::move(cell);
        if constexpr (sizeof...(more) > 0) return set<Field>(row, more...);
        return *this;
    }
    Record r_;
};

}  // namespace kalvo::test
