#include "config/dialog_lists.h"

#include <algorithm>

#include "config/number_text.h"
#include "text/param_texts.h"

namespace kalvo {

namespace {

NominalList listOf(std::initializer_list<double> values, int selected, char decimal) {
    NominalList list;
    for (const double v : values) list.entries.push_back(formatNumber(v, decimal));
    list.selected = selected;
    return list;
}

}  // namespace

std::optional<NominalList> nominalVoltages(double Max_Spannung, char decimal) {
    // The entries are numbers, shown with the user's separator like every other number of the
    // dialog, so what is shown reads back as the same value (on a German system they are
    // "57,735", "63,5085" ...).
    if (Max_Spannung == 600) {
        return listOf({57.735, 63.5085, 69.282, 100, 110, 120, 220, 230.94, 254.034, 288.675,
                       346.41, 381.0512, 400, 440, 500, 300 * kSqrt3},
                      2, decimal);
    }
    if (Max_Spannung == 120) return listOf({57.735, 63.5085, 69.282, 100, 110, 120}, 0, decimal);
    if (Max_Spannung == 100) return listOf({57.735, 100}, 0, decimal);
    return std::nullopt;
}

std::optional<NominalList> nominalCurrents(double Max_Strom, char decimal) {
    if (Max_Strom == 5) return listOf({1, 2, 5}, 2, decimal);
    if (Max_Strom == 1) return listOf({0.2, 0.5, 1}, 2, decimal);
    if (Max_Strom == 1.2) return listOf({0.3, 0.6, 1.2}, 2, decimal);
    return std::nullopt;
}

StartState Startzustand_setzen(const Record& record, char decimal) {
    StartState s;
    s.voltages = nominalVoltages(record.Max_Spannung, decimal);
    s.currents = nominalCurrents(record.Max_Strom, decimal);
    return s;
}

PlaceList Messort_fuellen(int connectionType, int quantity) {
    using L = std::vector<std::string_view>;
    PlaceList p;
    p.baseUnit = baseUnit(quantity);
    p.capInd = quantity == PowerFactor || quantity == ReactiveFactor;
    if (connectionType < 0 || connectionType >= kConnectionTypes || quantity < 0 ||
        quantity >= kQuantities) {
        return p;
    }
    const int key = 100 * connectionType + quantity;
    const auto in = [key](int first, int last) { return key >= first && key <= last; };
    const auto any = [key](std::initializer_list<int> keys) {
        return std::find(keys.begin(), keys.end(), key) != keys.end();
    };
    if (key == 0) {
        p.entries = L{"L1 - N", "L2 - N", "L3 - N", "L1 - L2", "L2 - L3", "L3 - L1", "U"};
    } else if (any({1, 201})) {
        p.entries = L{"I1", "I2", "I3", "I"};
    } else if (in(2, 6) || in(202, 206)) {
        p.entries = L{"Summe", "L1", "L2", "L3"};
    } else if (any({7, 207})) {
        p.entries = L{"Gesamt", "L1", "L2", "L3"};
    } else if (any({200, 300})) {
        p.entries = L{"L1 - L2", "L2 - L3", "L3 - L1"};
    } else if (any({8, 100, 108, 400, 408})) {
        p.entries = L{"L1 - N"};
    } else if (any({101, 301, 401})) {
        p.entries = L{"I1"};
    } else if (in(102, 106) || in(302, 306)) {
        p.entries = L{"Summe"};
    } else if (any({107, 307}) || in(402, 407)) {
        p.entries = L{"L1"};
    } else if (any({208, 308})) {
        p.entries = L{"L1 - L2"};
    } else if (any({9, 109, 209, 309, 409})) {
        p.entries = L{"E+ - E-"};
    }
    return p;
}

std::string_view baseUnit(int quantity) {
    switch (quantity) {
        case Voltage:
        case DcInput:
            return "V";
        case Current:
            return "A";
        case ActivePower:
            return "W";
        case ReactivePower:
            return "Var";
        case ApparentPower:
            return "VA";
        case PhaseAngle:
            return "°";
        case Frequency:
            return "Hz";
        default:
            return "";
    }
}

int analogPages(const Record& record) {
    return std::clamp(record.Anzahl_Analog, 0, kAnalogRows);
}

int binaryPages(const Record& record) {
    return std::clamp(record.Anzahl_Binaer, 0, kBinaryRows);
}

int pageCount(const Record& record) {
    return 2 + analogPages(record) + binaryPages(record);
}

PageRef pageAt(const Record& record, int index) {
    const int analog = analogPages(record);
    const int binary = binaryPages(record);
    if (index == 0) return {PageKind::Basic, -1};
    if (index >= 1 && index <= analog) return {PageKind::Analog, index - 1};
    if (index > analog && index <= analog + binary) return {PageKind::Binary, index - analog - 1};
    if (index == analog + binary + 1) return {PageKind::Interface, -1};
    return {};
}

std::string pageText(PageRef page, Language language) {
    switch (page.kind) {
        case PageKind::Basic:
            return std::string(kPageBasic.in(language));
        case PageKind::Analog:
            return std::string(kPageAnalog.in(language)) + std::to_string(page.row + 1);
        case PageKind::Binary:
            return std::string(kPageBinary.in(language)) + std::to_string(page.row + 1);
        case PageKind::Interface:
            return std::string(kPageInterface.in(language));
        case PageKind::None:
            break;
    }
    return {};
}

std::string pageListText(const Record& record, int index, Language language) {
    return pageText(pageAt(record, index), language);
}

}  // namespace kalvo
