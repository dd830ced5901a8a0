#include "config/compare.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "config/default_range.h"
#include "config/dialog_lists.h"
#include "config/number_text.h"
#include "config/pages.h"
#include "config/rules.h"
#include "text/compare_texts.h"
#include "text/param_texts.h"
#include "text/value_lists.h"

namespace kalvo {

namespace {

// One value as a page shows it. `key` decides whether two values are the same: numbers by
// value in their base unit ("230" and "230,0" meet at "230 V", and so do 0,4 kV and 400 V, whose
// different unit labels get a line of their own), list entries by the entry shown.
struct Shown {
    std::string key;
    std::string text;
    // The knee of a straight characteristic: the keys of what places it (the range, or the
    // output signal). Storing a straight characteristic puts the knee at their midpoint, so
    // two straight knees on different ranges differ only as a consequence of a listed line.
    std::string basis = {};
};

// A field of a page: its caption and its value, or nullopt where the page does not show the
// field for this record (the transformer ratio of a direct connection, the limit of a binary
// output in another mode). The same builder makes the
// slots of both sides, so slot i is the same field on both.
struct Slot {
    Text parameter;
    std::optional<Shown> value;
};
using Slots = std::vector<Slot>;

std::string withUnit(std::string number, std::string_view unit) {
    if (!unit.empty()) number.append(" ").append(unit);
    return number;
}

// A number held in base units, shown divided by the factor of the unit's prefix.
Shown number(double base, std::string_view unit, std::string_view baseUnitText, char decimal) {
    return {withUnit(formatNumber(base, '.'), baseUnitText),
            withUnit(formatNumber(base / prefixFactor(unit), decimal), unit)};
}

// A number held in the unit it is shown in.
Shown plain(double value, std::string_view unit, char decimal) {
    return {withUnit(formatNumber(value, '.'), unit), withUnit(formatNumber(value, decimal), unit)};
}

Shown entry(std::string_view text) {
    return {std::string(text), std::string(text)};
}

// A list position: the list's entry, or the cell as it stands when the list has no such entry.
Shown listEntry(std::string_view listText, const Cell& cell, char decimal) {
    return entry(listText.empty() ? cell.toText(decimal) : std::string(listText));
}

Shown onOff(bool on, Language language) {
    return entry((on ? kCompareOn : kCompareOff).in(language));
}

std::string_view optionText(std::string_view stem, int index, Language language) {
    if (index < 0) return {};
    return captionOf(paramCaptions(), std::string(stem) + "_" + std::to_string(index), language);
}

std::string_view placeText(int connection, int quantity, int place) {
    const PlaceList list = Messort_fuellen(connection, quantity);
    if (place < 0 || place >= static_cast<int>(list.entries.size())) return {};
    return list.entries[static_cast<std::size_t>(place)];
}

// ---- basic page ------------------------------------------------------------------------------

Slots basicSlots(const Record& r, Language language, char decimal) {
    const BasicRow& g = r.Grundwerte;
    const BasicPage shown = P_in_index(r, decimal);
    const auto num = [&](Basic::Field f, std::string_view unit) {
        return plain(g[f].toNumber(), unit, decimal);
    };
    const auto when = [](bool on, Shown value) { return on ? std::optional(value) : std::nullopt; };
    const auto name = [](Basic::Field f) { return kBasicFieldNames[f]; };
    std::string frequency(optionText("Nennfrquenz_Option", shown.frequencyOption, language));
    if (frequency.empty()) frequency = num(Basic::NominalFrequency, "Hz").text;
    const bool vt = shown.voltageTransformer;
    const bool ct = shown.currentTransformer;
    return {
        {kCompareAnalogCount, entry(std::to_string(r.Anzahl_Analog))},
        {kCompareBinaryCount, entry(std::to_string(r.Anzahl_Binaer))},
        {kCompareVoltageClass, plain(r.Max_Spannung, "V", decimal)},
        {kCompareCurrentClass, plain(r.Max_Strom, "A", decimal)},
        {name(Basic::ConnectionType), listEntry(connectionTypeText(connectionType(r), language),
                                                g[Basic::ConnectionType], decimal)},
        {name(Basic::NominalFrequency), entry(frequency)},
        {name(Basic::NominalVoltage), when(!vt, num(Basic::NominalVoltage, "V"))},
        {name(Basic::VtPrimary), when(vt, num(Basic::VtPrimary, "kV"))},
        {name(Basic::VtSecondary), when(vt, num(Basic::VtSecondary, "kV"))},
        {name(Basic::NominalCurrent), when(!ct, num(Basic::NominalCurrent, "A"))},
        {name(Basic::CtPrimary), when(ct, num(Basic::CtPrimary, "A"))},
        {name(Basic::CtSecondary), when(ct, num(Basic::CtSecondary, "A"))},
    };
}

// ---- analog outputs --------------------------------------------------------------------------

struct AnalogShown {
    Shown quantity, place, unit;
    std::string_view base;        // the quantity's base unit
    std::string_view outputUnit;  // "mA" or "V"
};

AnalogShown analogShown(const Record& r, int row, Language language, char decimal) {
    const AnalogRow& a = r.Analogwerte[static_cast<std::size_t>(row)];
    const int q = cellIndex(a[Analog::Quantity]);
    const int place = cellIndex(a[Analog::Place]);
    return {listEntry(quantityText(q, language), a[Analog::Quantity], decimal),
            listEntry(placeText(connectionType(r), q, place), a[Analog::Place], decimal),
            entry(a[Analog::RangeUnit].toText(decimal)), baseUnit(q), outputUnitText(a)};
}

// The fields in the order the page shows them. The knee goes to the device with a straight
// characteristic too, so it is compared either way (see Shown::basis).
Slots analogSlots(const Record& r, int row, Language language, char decimal) {
    const AnalogRow& a = r.Analogwerte[static_cast<std::size_t>(row)];
    const AnalogShown s = analogShown(r, row, language, decimal);
    const bool kinked = a[Analog::Kinked].equals(1);
    const auto range = [&](Analog::Field f) {
        return number(a[f].toNumber(), s.unit.text, s.base, decimal);
    };
    const auto output = [&](Analog::Field f) {
        return plain(a[f].toNumber(), s.outputUnit, decimal);
    };
    const auto knee = [kinked](Shown value, const Shown& from, const Shown& to) {
        if (!kinked) value.basis = from.key + " ... " + to.key;
        return value;
    };
    const auto name = [](Analog::Field f) { return kAnalogFieldNames[f]; };
    return {
        {name(Analog::Quantity), s.quantity},
        {name(Analog::Place), s.place},
        {name(Analog::RangeUnit), s.unit},
        {name(Analog::RangeStart), range(Analog::RangeStart)},
        {name(Analog::RangeEnd), range(Analog::RangeEnd)},
        {name(Analog::OutputUnit), entry(s.outputUnit)},
        {name(Analog::OutputStart), output(Analog::OutputStart)},
        {name(Analog::OutputEnd), output(Analog::OutputEnd)},
        {name(Analog::LimitMin), output(Analog::LimitMin)},
        {name(Analog::LimitMax), output(Analog::LimitMax)},
        {name(Analog::Kinked), onOff(kinked, language)},
        {name(Analog::KneeInput),
         knee(range(Analog::KneeInput), range(Analog::RangeStart), range(Analog::RangeEnd))},
        {name(Analog::KneeOutput),
         knee(output(Analog::KneeOutput), output(Analog::OutputStart), output(Analog::OutputEnd))},
    };
}

// An output the other side lacks, in one value: "Spannung L1 - N, 0 ... 400 V, 4 ... 20 mA".
std::string analogSummary(const Record& r, int row, Language language, char decimal) {
    const AnalogRow& a = r.Analogwerte[static_cast<std::size_t>(row)];
    const AnalogShown s = analogShown(r, row, language, decimal);
    const auto shown = [&](Analog::Field f, double factor) {
        return formatNumber(a[f].toNumber() / factor, decimal);
    };
    const double factor = prefixFactor(s.unit.text);
    return withUnit(s.quantity.text, s.place.text) + ", " + shown(Analog::RangeStart, factor) +
           " ... " + withUnit(shown(Analog::RangeEnd, factor), s.unit.text) + ", " +
           shown(Analog::OutputStart, 1) + " ... " +
           withUnit(shown(Analog::OutputEnd, 1), s.outputUnit);
}

// ---- binary outputs --------------------------------------------------------------------------

// In field order. The limit fields exist only in limit-value mode; the other modes hold zeros
// there.
Slots binarySlots(const Record& r, int row, Language language, char decimal) {
    const BinaryRow& b = r.Binaerwerte[static_cast<std::size_t>(row)];
    const int mode = cellIndex(b[Binary::Mode]);
    const bool limit = mode == ModeLimit;
    const int q = cellIndex(b[Binary::Quantity]);
    const std::string unit = b[Binary::Unit].toText(decimal);
    const int direction = b[Binary::Direction].equals(0) ? 0 : 1;
    const auto when = [limit](Shown value) {
        return limit ? std::optional(std::move(value)) : std::nullopt;
    };
    const auto name = [](Binary::Field f) { return kBinaryFieldNames[f]; };
    return {
        {name(Binary::Mode), listEntry(optionText("Signal_off_on_Grenzwert_Option", mode, language),
                                       b[Binary::Mode], decimal)},
        {name(Binary::Quantity),
         when(listEntry(quantityText(q, language), b[Binary::Quantity], decimal))},
        {name(Binary::Place),
         when(listEntry(placeText(connectionType(r), q, cellIndex(b[Binary::Place])),
                        b[Binary::Place], decimal))},
        {name(Binary::Unit), when(entry(unit))},
        {name(Binary::Limit),
         when(number(b[Binary::Limit].toNumber(), unit, baseUnit(q), decimal))},
        {name(Binary::Direction),
         when(entry(optionText("über_unterschreitung_Option", direction, language)))},
    };
}

// "Grenzwert, Spannung L1 - N, 400 V, Überschreitung", or the mode alone.
std::string binarySummary(const Record& r, int row, Language language, char decimal) {
    const Slots slots = binarySlots(r, row, language, decimal);
    std::string out;
    for (const Binary::Field f :
         {Binary::Mode, Binary::Quantity, Binary::Place, Binary::Limit, Binary::Direction}) {
        if (!slots[f].value) continue;
        if (!out.empty()) out += f == Binary::Place ? " " : ", ";
        out += slots[f].value->text;
    }
    return out;
}

// ---- interface page --------------------------------------------------------------------------

// One field per check box, named by its caption, "ein" or "aus". Programming sends every flag
// that is set, also one whose box the connection type does not offer (the page shows that box
// clear), so the flags are compared as stored.
Slots interfaceSlots(const Record& r, Language language) {
    Slots slots;
    for (std::size_t i = 0; i < kInterfaceCaptions.size(); ++i) {
        slots.push_back({{kInterfaceCaptions[i], kInterfaceCaptions[i]},
                         onOff(r.Schnittstellenwerte[i].equals(1), language)});
    }
    return slots;
}

// ---- the comparison --------------------------------------------------------------------------

void compareSlots(const std::string& page, const Slots& left, const Slots& right, Language language,
                  std::vector<RecordDifference>& out) {
    for (std::size_t i = 0; i < left.size() && i < right.size(); ++i) {
        const std::optional<Shown>& l = left[i].value;
        const std::optional<Shown>& r = right[i].value;
        if (!l && !r) continue;
        if (l && r && l->key == r->key) continue;
        if (l && r && !l->basis.empty() && !r->basis.empty() && l->basis != r->basis) continue;
        out.push_back({page, std::string(left[i].parameter.in(language)), l ? l->text : "",
                       r ? r->text : ""});
    }
}

}  // namespace

std::vector<RecordDifference> compareRecords(const Record& left, const Record& right,
                                             Language language, char decimal) {
    std::vector<RecordDifference> out;
    compareSlots(std::string(kPageBasic.in(language)), basicSlots(left, language, decimal),
                 basicSlots(right, language, decimal), language, out);

    // Outputs past a side's count are not part of its configuration: one line names what the
    // other side has there.
    const auto outputs = [&](Text pageWord, int leftCount, int rightCount, auto slots,
                             auto summary) {
        for (int row = 0; row < std::max(leftCount, rightCount); ++row) {
            const std::string page = std::string(pageWord.in(language)) + std::to_string(row + 1);
            const bool inLeft = row < leftCount;
            const bool inRight = row < rightCount;
            if (inLeft && inRight) {
                compareSlots(page, slots(left, row), slots(right, row), language, out);
            } else {
                out.push_back({page, std::string(kCompareOutput.in(language)),
                               inLeft ? summary(left, row) : "",
                               inRight ? summary(right, row) : ""});
            }
        }
    };
    outputs(
        kPageAnalog, analogPages(left), analogPages(right),
        [&](const Record& r, int row) { return analogSlots(r, row, language, decimal); },
        [&](const Record& r, int row) { return analogSummary(r, row, language, decimal); });
    outputs(
        kPageBinary, binaryPages(left), binaryPages(right),
        [&](const Record& r, int row) { return binarySlots(r, row, language, decimal); },
        [&](const Record& r, int row) { return binarySummary(r, row, language, decimal); });

    compareSlots(std::string(kPageInterface.in(language)), interfaceSlots(left, language),
                 interfaceSlots(right, language), language, out);
    return out;
}

std::string differenceLine(const RecordDifference& d) {
    return d.page + '\t' + d.parameter + '\t' + d.left + '\t' + d.right;
}

}  // namespace kalvo
