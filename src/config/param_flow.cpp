#include "config/param_flow.h"

#include <algorithm>

#include "config/default_range.h"
#include "config/number_text.h"
#include "config/rules.h"
#include "text/param_texts.h"

namespace kalvo {

std::optional<PageContent> pageContent(const Record& record, int index, char decimal) {
    const PageRef page = pageAt(record, index);
    switch (page.kind) {
        case PageKind::Basic:
            return P_in_index(record, decimal);
        case PageKind::Analog:
            return Analog_anzeigen(record, page.row, decimal);
        case PageKind::Binary:
            return Binaer_anzeigen(record, page.row, decimal);
        case PageKind::Interface:
            return Schnittstelle_anzeigen(record);
        case PageKind::None:
            break;
    }
    return std::nullopt;
}

PageCheck Seite_speichern(Record& record, int index, PageContent& page, char decimal) {
    const PageRef ref = pageAt(record, index);
    if (ref.kind == PageKind::Basic) {
        if (auto* p = std::get_if<BasicPage>(&page)) return Grund_speichern(record, *p);
    } else if (ref.kind == PageKind::Analog) {
        if (auto* p = std::get_if<AnalogPage>(&page)) {
            return Analog_speichern(record, ref.row, *p, decimal);
        }
    } else if (ref.kind == PageKind::Binary) {
        if (auto* p = std::get_if<BinaryPage>(&page)) {
            return Binaer_speichern(record, ref.row, *p, decimal);
        }
    } else if (ref.kind == PageKind::Interface) {
        if (auto* p = std::get_if<InterfacePage>(&page)) Schnittstelle_speichern(record, *p);
    }
    return {};  // pages without a check are clean
}

namespace {

// Steps shared by page switching and OK: compare, store, and reset the outputs when a clean
// page is left after the basic settings changed.
Leave storeAndReset(Record& record, DialogFlags& flags, int index, const BasicPage& basic,
                    PageContent& page, char decimal) {
    Leave out;
    if (Grund_vergleichen(record, basic)) flags.Grund_geaendert = true;
    out.check = Seite_speichern(record, index, page, decimal);
    flags.Eingabefehler = out.check.Eingabefehler;
    out.stay = flags.Eingabefehler;
    if (!flags.Eingabefehler && flags.Grund_geaendert) {
        Ausgaenge_zuruecksetzen(record);
        out.reset = true;
        out.notice = !flags.Ruecksetzmeldung_aus;
    }
    flags.Grund_geaendert = false;
    return out;
}

}  // namespace

Leave leavePage(Record& record, DialogFlags& flags, int left, const BasicPage& basic,
                PageContent& page, char decimal) {
    if (left != 0) flags.Ruecksetzmeldung_aus = false;
    return storeAndReset(record, flags, left, basic, page, decimal);
}

OkLeave acceptPage(Record& record, DialogFlags& flags, int shown, const BasicPage& basic,
                   PageContent& page, char decimal) {
    OkLeave out;
    static_cast<Leave&>(out) = storeAndReset(record, flags, shown, basic, page, decimal);
    out.close = !out.stay && !out.notice;
    return out;
}

// ---- checking a whole record -----------------------------------------------------------------

int pageOf(const Record& record, const CellFault& cell) {
    switch (cell.table) {
        case Table::Basic:
            return 0;
        case Table::Analog:
            return 1 + cell.row;
        case Table::Binary:
            break;
    }
    return 1 + analogPages(record) + cell.row;
}

int stopSignOf(const CellFault& cell) {
    switch (cell.table) {
        case Table::Basic:
            return cell.field < Basic::NominalCurrent ? 1 : 2;
        case Table::Analog:
            switch (cell.field) {
                case Analog::Quantity:
                case Analog::Place:
                case Analog::RangeUnit:
                case Analog::RangeStart:
                case Analog::RangeEnd:
                    return 3;
                case Analog::KneeInput:
                case Analog::KneeOutput:
                case Analog::Kinked:
                    return 5;
                default:
                    return 4;
            }
        case Table::Binary:
            break;
    }
    return 6;
}

std::vector<PageFault> checkRecord(const Record& record, char decimal) {
    const std::vector<CellFault> cells = cellFaults(record, decimal);
    // The default range of an output comes from its connection type, quantity and place: when
    // one of them does not exist, the range or limit check of that output says nothing.
    const auto unknownCode = [&](int page, int stop) {
        for (const CellFault& c : cells) {
            if (c.problem != CellProblem::UnknownCode) continue;
            if (c.table == Table::Basic && c.field == Basic::ConnectionType) return true;
            if (pageOf(record, c) == page && stopSignOf(c) == stop) return true;
        }
        return false;
    };

    Record copy = record;
    std::vector<PageFault> faults;
    const int pages = pageCount(copy);
    for (int index = 0; index < pages; ++index) {
        std::optional<PageContent> page = pageContent(copy, index, decimal);
        if (!page) continue;
        const PageCheck check = Seite_speichern(copy, index, *page, decimal);
        for (int stop = 1; stop <= 6; ++stop) {
            if (!check.stop[static_cast<std::size_t>(stop)]) continue;
            if ((stop == 3 || stop == 6) && unknownCode(index, stop)) continue;
            faults.push_back({index, stop});
        }
    }
    for (const CellFault& c : cells) faults.push_back({pageOf(record, c), stopSignOf(c), c});
    std::stable_sort(faults.begin(), faults.end(),
                     [](const PageFault& a, const PageFault& b) { return a.page < b.page; });
    return faults;
}

std::string cellFaultText(const CellFault& cell, Language language) {
    std::string_view field;
    if (cell.table == Table::Basic && cell.field < kBasicFieldNames.size()) {
        field = kBasicFieldNames[cell.field].in(language);
    } else if (cell.table == Table::Analog && cell.field < kAnalogFieldNames.size()) {
        field = kAnalogFieldNames[cell.field].in(language);
    } else if (cell.table == Table::Binary && cell.field < kBinaryFieldNames.size()) {
        field = kBinaryFieldNames[cell.field].in(language);
    }
    switch (cell.problem) {
        case CellProblem::None:
            break;
        case CellProblem::UnknownCode:
            return fillInAll(kCellUnknownCode.in(language), {field, cell.text});
        case CellProblem::NotANumber:
            return fillInAll(kCellNotANumber.in(language), {field, cell.text});
        case CellProblem::Colon:
            return fillInAll(kCellColon.in(language), {field, cell.text});
        // The text itself is not shown: it may not print.
        case CellProblem::ControlCharacter:
            return fillInAll(kCellControl.in(language), {field});
        case CellProblem::NotWindows1252:
            return fillInAll(kCellNotWindows1252.in(language), {field});
        case CellProblem::UnknownUnit: {
            std::string units;
            for (const std::string& u : cell.allowed) {
                units += (units.empty() ? "\"" : ", \"") + u + "\"";
            }
            return fillInAll(kCellUnknownUnit.in(language), {field, cell.text, units});
        }
    }
    return {};
}

std::string cellPageText(const CellFault& cell, Language language) {
    const PageKind kind = cell.table == Table::Basic    ? PageKind::Basic
                          : cell.table == Table::Analog ? PageKind::Analog
                                                        : PageKind::Binary;
    return pageText({kind, cell.row}, language);
}

std::string faultText(const Record& record, const PageFault& fault, Language language,
                      char decimal) {
    if (fault.cell.problem != CellProblem::None) return cellFaultText(fault.cell, language);
    const PageRef ref = pageAt(record, fault.page);
    // Limits as the basic page shows them ("69,28"), not with every digit.
    switch (fault.stop) {
        case 1: {
            const BasicPage shown = P_in_index(record, decimal);
            const VoltageLimit limit =
                voltageLimit(record, connectionType(record), shown.voltageTransformer);
            return fillInAll(kFaultVoltage.in(language), {formatLimit(limit.volts, decimal),
                                                          formatLimit(limit.secondaryKv, decimal)});
        }
        case 2:
            return fillInAll(kFaultCurrent.in(language), {formatLimit(record.Max_Strom, decimal)});
        default:
            break;
    }
    if (ref.kind == PageKind::Analog) {
        const AnalogRow& a = record.Analogwerte.at(static_cast<std::size_t>(ref.row));
        const int q = cellIndex(a[Analog::Quantity]);
        const bool volts = outputInVolts(a);
        const std::string outUnit(volts ? "V" : "mA");
        if (fault.stop == 3) {
            if (q == PowerFactor) return std::string(kFaultRangePowerFactor.in(language));
            if (q == ReactiveFactor) return std::string(kFaultRangeReactiveFactor.in(language));
            const DefaultRange range =
                Vorgabebereich(record, q, cellIndex(a[Analog::Place]), RangeMode::Analog);
            const RangeBreach breach = rangeBreach(a[Analog::RangeStart].toNumber(),
                                                   a[Analog::RangeEnd].toNumber(), range);
            std::string what;
            for (const auto& [broken, text] :
                 {std::pair{breach.startAboveEnd, kRangeStartAboveEnd},
                  std::pair{breach.startBelowMinimum, kRangeStartBelowMinimum},
                  std::pair{breach.endAboveMaximum, kRangeEndAboveMaximum}}) {
                if (broken) what += (what.empty() ? "" : ", ") + std::string(text.in(language));
            }
            return fillInAll(kFaultRange.in(language),
                             {what, rangeDisplay(range, q, decimal).allowed});
        }
        if (fault.stop == 4) {
            return fillInAll(kFaultOutput.in(language),
                             {volts ? "10" : "20", volts ? "12" : "24", outUnit});
        }
        if (fault.stop == 5) {
            // In the units the page shows.
            const std::string unit = a[Analog::RangeUnit].toText(decimal);
            const double factor = prefixFactor(unit);
            const double start = a[Analog::RangeStart].toNumber() / factor;
            const double end = q == PowerFactor ? 1.0 : a[Analog::RangeEnd].toNumber() / factor;
            const std::string unitSuffix = unit.empty() ? std::string() : " " + unit;
            return fillInAll(
                kFaultKnee.in(language),
                {formatRange(start, decimal), formatRange(end, decimal) + unitSuffix,
                 formatNumber(a[Analog::OutputStart].toNumber(), decimal),
                 formatNumber(a[Analog::OutputEnd].toNumber(), decimal) + " " + outUnit});
        }
    }
    if (ref.kind == PageKind::Binary && fault.stop == 6) {
        const BinaryRow& b = record.Binaerwerte.at(static_cast<std::size_t>(ref.row));
        const int q = cellIndex(b[Binary::Quantity]);
        const DefaultRange range =
            Vorgabebereich(record, q, cellIndex(b[Binary::Place]), RangeMode::Binary);
        return fillInAll(kFaultLimit.in(language), {rangeDisplay(range, q, decimal).allowed});
    }
    return {};
}

std::string faultLine(const Record& record, const PageFault& fault, Language language,
                      char decimal) {
    return pageListText(record, fault.page, language) + '\t' + std::to_string(fault.stop) + '\t' +
           faultText(record, fault, language, decimal);
}

std::vector<std::string> faultLines(const Record& record, Language language, char decimal) {
    std::vector<std::string> lines;
    for (const PageFault& f : checkRecord(record, decimal)) {
        lines.push_back(faultLine(record, f, language, decimal));
    }
    return lines;
}

std::string faultList(const Record& record, Language language, char decimal) {
    std::string list;
    for (const PageFault& f : checkRecord(record, decimal)) {
        list += (list.empty() ? "" : "\n") + pageListText(record, f.page, language) + " – " +
                faultText(record, f, language, decimal);
    }
    return list;
}

// ---- the diagram button ----------------------------------------------------------------------

ScreenRect keepOnScreen(ScreenRect wanted, ScreenRect available) {
    const auto fit = [](int& start, int& length, int areaStart, int areaLength) {
        length = std::min(length, areaLength);
        start = std::clamp(start, areaStart, areaStart + areaLength - length);
    };
    fit(wanted.x, wanted.width, available.x, available.width);
    fit(wanted.y, wanted.height, available.y, available.height);
    return wanted;
}

DiagramPlace placeDiagram(ScreenRect wanted, int picture, int rest, ScreenRect available) {
    DiagramPlace place;
    place.dialog = keepOnScreen(wanted, available);
    place.picture = std::clamp(place.dialog.width - rest, 0, picture);
    return place;
}

}  // namespace kalvo
