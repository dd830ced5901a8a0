// The texts of the parameter dialog `param`: its caption table in German, English and the
// dialect, the words of its page list, the captions of the interface check boxes, and the
// explanations of the six stop signs that `kalvo-cli check` prints.
#pragma once

#include <array>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "text/captions.h"
#include "text/language.h"

namespace kalvo {

// The dialog's caption table (rows as in captions.h). Control arrays are stem + "_" + index:
// "G1_0", "Spannungswandler_Option_1", "Beschriftungen_Label_8", "über_unterschreitung_Option_0".
// The captions of the page frames come from the page list, not from here.
std::span<const Caption> paramCaptions();

// Page list words. Analog and binary entries are followed by the output number (1-based).
inline constexpr Text kPageBasic{"Grundeinstellungen", "Basic parameters", "Grundeinschdellungen"};
inline constexpr Text kPageAnalog{"Analogausgang ", "Analog output ", "Analogoausgong "};
inline constexpr Text kPageBinary{"Binärausgang ", "Binary output ", "Binäroausgong "};
inline constexpr Text kPageInterface{"Schnittstelle", "Interface", "Schnittstelle"};

// The diagram button: narrow dialog ">>", widened "<<".
inline constexpr std::string_view kDiagramWiden = ">>";
inline constexpr std::string_view kDiagramNarrow = "<<";

// The interface check boxes by index 0..36 (the same in every language).
inline constexpr std::array<std::string_view, 37> kInterfaceCaptions = {
    "U1",   "U2",   "U3",   "U12", "U23",         "U31", "I1",  "I2",  "I3",  "P",
    "P1",   "P2",   "P3",   "Q",   "Q1",          "Q2",  "Q3",  "S",   "S1",  "S2",
    "S3",   "PF",   "PF1",  "PF2", "PF3",         "QF",  "QF1", "QF2", "QF3", "phi",
    "phi1", "phi2", "phi3", "F",   "10VDC-Input", "U",   "I"};

// Why a stop sign is set, with the allowed values filled in for "%1".."%4" (see fillInAll).
// 1: nominal or secondary voltage; %1 the highest voltage in V, %2 the highest secondary in kV.
inline constexpr Text kFaultVoltage{
    "Nenneingangsspannung: höchstens %1 V, Sekundärspannung höchstens %2 kV, nicht beide 0",
    "Nominal input voltage: at most %1 V, secondary voltage at most %2 kV, not both 0"};
// 2: nominal or secondary current; %1 the current class in A.
inline constexpr Text kFaultCurrent{
    "Nenneingangsstrom: höchstens %1 A, Sekundärstrom höchstens %1 A, nicht beide 0",
    "Nominal input current: at most %1 A, secondary current at most %1 A, not both 0"};
// 3: measuring range; %1 what is wrong (the parts below, joined by ", "), %2 the allowed range
// as the page shows it ("0,0 ... 230,0 V").
inline constexpr Text kFaultRange{"Meßbereich: %1, erlaubt %2", "Measuring range: %1, allowed %2"};
inline constexpr Text kRangeStartAboveEnd{"Anfang über dem Ende", "start above end"};
inline constexpr Text kRangeStartBelowMinimum{"Anfang unter dem Minimum",
                                              "start below the minimum"};
inline constexpr Text kRangeEndAboveMaximum{"Ende über dem Maximum", "end above the maximum"};
inline constexpr Text kFaultRangePowerFactor{"Meßbereich: Anfang und Ende 0 ... 1, nicht beide 1",
                                             "Measuring range: start and end 0 ... 1, not both 1"};
inline constexpr Text kFaultRangeReactiveFactor{
    "Meßbereich: Anfang -1 ... 0, Ende 0 ... 1, nicht beide 0",
    "Measuring range: start -1 ... 0, end 0 ... 1, not both 0"};
// 4: output signal; %1 the signal bound, %2 the limitation bound, %3 the unit ("mA", "V").
inline constexpr Text kFaultOutput{
    "Ausgangssignal: Anfang unter Ende innerhalb -%1 ... %1 %3, Begrenzung min unter max "
    "innerhalb -%2 ... %2 %3, Signal innerhalb der Begrenzung",
    "Output signal: start below end within -%1 ... %1 %3, limitation min below max within "
    "-%2 ... %2 %3, signal within the limitation"};
// 5: knee point; %1 .. %2 the allowed input (with its unit), %3 .. %4 the allowed output.
inline constexpr Text kFaultKnee{"Knickpunkt: Eingang %1 ... %2, Ausgang %3 ... %4",
                                 "Knee point: input %1 ... %2, output %3 ... %4"};
// 6: binary limit value; %1 the allowed range as the page shows it.
inline constexpr Text kFaultLimit{"Grenzwert: erlaubt %1", "Limit value: allowed %1"};

// A cell that cannot be sent as it stands (or a unit its quantity does not have): %1 the
// field's name, %2 the cell's text, %3 the units the quantity has.
inline constexpr Text kCellUnknownCode{"%1 %2 gibt es nicht", "%1 %2 does not exist"};
inline constexpr Text kCellNotANumber{"%1 \"%2\" ist keine Zahl", "%1 \"%2\" is not a number"};
inline constexpr Text kCellColon{"%1 \"%2\" enthält einen Doppelpunkt",
                                 "%1 \"%2\" contains a colon"};
inline constexpr Text kCellControl{"%1 enthält ein Steuerzeichen",
                                   "%1 contains a control character"};
inline constexpr Text kCellNotWindows1252{"%1 enthält ein Zeichen außerhalb von Windows-1252",
                                          "%1 contains a character outside Windows-1252"};
inline constexpr Text kCellUnknownUnit{"%1 \"%2\" passt nicht zur Meßgröße, erlaubt %3",
                                       "%1 \"%2\" does not fit the quantity, allowed %3"};

// The names of the record's fields, in field order.
inline constexpr std::array<Text, 8> kBasicFieldNames = {{
    {"Anschlussart", "Connection type"},
    {"Nennfrequenz", "Nominal frequency"},
    {"Nenneingangsspannung", "Nominal input voltage"},
    {"Primärspannung", "Primary voltage"},
    {"Sekundärspannung", "Secondary voltage"},
    {"Nenneingangsstrom", "Nominal input current"},
    {"Primärstrom", "Primary current"},
    {"Sekundärstrom", "Secondary current"},
}};
inline constexpr std::array<Text, 13> kAnalogFieldNames = {{
    {"Meßgröße", "Measured quantity"},
    {"Meßort", "Measuring place"},
    {"Einheit", "Unit"},
    {"Meßbereich von", "Measuring range from"},
    {"Knickpunkt Eingang", "Knee point input"},
    {"Meßbereich bis", "Measuring range to"},
    {"Einheit des Ausgangssignals", "Output signal unit"},
    {"Ausgangssignal von", "Output signal from"},
    {"Knickpunkt Ausgang", "Knee point output"},
    {"Ausgangssignal bis", "Output signal to"},
    {"Begrenzung min", "Limitation min"},
    {"Begrenzung max", "Limitation max"},
    {"Geknickte Kennlinie", "Kinked characteristic"},
}};
inline constexpr std::array<Text, 6> kBinaryFieldNames = {{
    {"Signal", "Signal"},
    {"Meßgröße", "Measured quantity"},
    {"Meßort", "Measuring place"},
    {"Einheit", "Unit"},
    {"Grenzwert", "Limit value"},
    {"Richtung", "Direction"},
}};

// `pattern` with "%1", "%2" ... replaced by the values in order.
std::string fillInAll(std::string_view pattern, std::initializer_list<std::string_view> values);

}  // namespace kalvo
