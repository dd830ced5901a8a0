#include "config/kennung.h"

#include <array>
#include <initializer_list>

namespace kalvo {
namespace {

enum class Scale { Voltage, Current, Power, None };

struct LabelRow {
    const char* label;
    std::initializer_list<int> codes;
    Scale scale;
};

// The device's label table; the first row that lists a code wins.
const std::array<LabelRow, 37> kLabels = {{
    {"U1", {0, 1000, 4000}, Scale::Voltage},
    {"U2", {1}, Scale::Voltage},
    {"U3", {2}, Scale::Voltage},
    {"U12", {3, 2000, 3000}, Scale::Voltage},
    {"U23", {4, 2001, 3001}, Scale::Voltage},
    {"U31", {5, 2002, 3002}, Scale::Voltage},
    {"U", {6}, Scale::Voltage},
    {"I1", {10, 1010, 2010, 3010, 4010}, Scale::Current},
    {"I2", {11, 2011}, Scale::Current},
    {"I3", {12, 2012}, Scale::Current},
    {"I", {13, 2013}, Scale::Current},
    {"P", {20, 1020, 2020, 3020}, Scale::Power},
    {"P1", {21, 2021, 4020}, Scale::Power},
    {"P2", {22, 2022}, Scale::Power},
    {"P3", {23, 2023}, Scale::Power},
    {"Q", {30, 1030, 2030, 3030}, Scale::Power},
    {"Q1", {31, 2031, 4030}, Scale::Power},
    {"Q2", {32, 2032}, Scale::Power},
    {"Q3", {33, 2033}, Scale::Power},
    {"S", {40, 1040, 2040, 3040}, Scale::Power},
    {"S1", {41, 2041, 4040}, Scale::Power},
    {"S2", {42, 2042}, Scale::Power},
    {"S3", {43, 2043}, Scale::Power},
    {"PF", {50, 1050, 2050, 3050}, Scale::None},
    {"PF1", {51, 2051, 4050}, Scale::None},
    {"PF2", {52, 2052}, Scale::None},
    {"PF3", {53, 2053}, Scale::None},
    {"QF", {60, 1060, 2060, 3060}, Scale::None},
    {"QF1", {61, 2061, 4060}, Scale::None},
    {"QF2", {62, 2062}, Scale::None},
    {"QF3", {63, 2063}, Scale::None},
    {"PH", {70, 1070, 2070, 3070}, Scale::None},
    {"PH1", {71, 2071, 4070}, Scale::None},
    {"PH2", {72, 2072}, Scale::None},
    {"PH3", {73, 2073}, Scale::None},
    {"F", {80, 1080, 2080, 3080, 4080}, Scale::None},
    {"INP", {90, 1090, 2090, 3090, 4090}, Scale::None},
}};

}  // namespace

Kennung Kennung_suchen(int code, double Wandler_Faktor_U, double Wandler_Faktor_I) {
    Kennung result;  // Skalierung 1 until a row matches
    for (const auto& row : kLabels) {
        for (const int listed : row.codes) {
            if (listed != code) continue;
            result.label = row.label;
            switch (row.scale) {
                case Scale::Voltage:
                    result.Skalierung = static_cast<float>(Wandler_Faktor_U);
                    break;
                case Scale::Current:
                    result.Skalierung = static_cast<float>(Wandler_Faktor_I);
                    break;
                case Scale::Power:
                    result.Skalierung = static_cast<float>(Wandler_Faktor_U * Wandler_Faktor_I);
                    break;
                case Scale::None:
                    break;
            }
            return result;
        }
    }
    return result;
}

}  // namespace kalvo
