#include "device/programming.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "config/kennung.h"
#include "config/number_text.h"
#include "link/transaction.h"

namespace kalvo {

namespace {

// A list index or count held in a cell; -1 when the cell holds no usable number.
int asInt(const Cell& cell) {
    const double x = cell.toNumber();
    if (!std::isfinite(x) || std::fabs(x) > 1e6) return -1;
    return static_cast<int>(std::lround(x));
}

// Range and limit values go to the device divided by the single-precision divisor of their
// quantity. The quotient is taken in double and written with 15 significant digits, so
// 20000 / 200 is "100", not a float's 99.99999.
std::string scaled(double value, float skalierung, char decimal) {
    return Zahl_anhaengen(Cell(value / static_cast<double>(skalierung)), decimal);
}

// Codes of the interface cells 0..36 in the "-M S,FF,E" command.
std::string interfaceCode(int i) {
    const auto n = [](int k) { return std::to_string(k); };
    if (i <= 2) return ",U" + n(i + 1);
    if (i == 3) return ",U12";
    if (i == 4) return ",U23";
    if (i == 5) return ",U31";
    if (i <= 8) return ",I" + n(i - 5);
    if (i == 9) return ",P";
    if (i <= 12) return ",P" + n(i - 9);
    if (i == 13) return ",Q";
    if (i <= 16) return ",Q" + n(i - 13);
    if (i == 17) return ",S";
    if (i <= 20) return ",S" + n(i - 17);
    if (i == 21) return ",PF";
    if (i <= 24) return ",PF" + n(i - 21);
    if (i == 25) return ",QF";
    if (i <= 28) return ",QF" + n(i - 25);
    if (i == 29) return ",ph";
    if (i <= 32) return ",ph" + n(i - 29);
    if (i == 33) return ",F";
    if (i == 34) return ",INP";
    if (i == 35) return ",U";
    return ",I";
}

int usedRows(int count, int rows) {
    return std::clamp(count, 0, rows);
}

Outcome failureOf(const Link& link) {
    return link.cancelled() ? Outcome::Cancelled : Outcome::LinkFailure;
}

ProgramResult fail(Outcome outcome, std::string reason, const HardwareInfo& hw = {}) {
    ProgramResult r;
    r.outcome = outcome;
    r.reason = std::move(reason);
    r.hardware = hw;
    return r;
}

}  // namespace

std::string Zahl_anhaengen(const Cell& value, char decimal) {
    const std::string t = value.toText(decimal);
    if (t.size() <= 1) return t;
    std::string out;
    bool separatorSeen = false;
    int digitsAfter = 0;
    for (char c : t) {
        if (separatorSeen) ++digitsAfter;
        if (c == ',') {
            c = '.';
            separatorSeen = true;
        }
        out.push_back(c);
        if (digitsAfter == 2) break;
    }
    return out;
}

double Wandler_Faktor_U(const Record& record) {
    const auto& g = record.Grundwerte;
    if (!g[2].equals(0)) return 1.0;
    return g[3].toNumber() / g[4].toNumber();
}

double Wandler_Faktor_I(const Record& record) {
    const auto& g = record.Grundwerte;
    if (!g[5].equals(0)) return 1.0;
    return g[6].toNumber() / g[7].toNumber();
}

std::vector<std::string> programmingCommands(const Record& record, char decimal) {
    const auto& g = record.Grundwerte;
    std::vector<std::string> out;
    const int type = asInt(g[0]);

    out.push_back("-S " + connectionCode(type) + "1,1," + g[1].toText(decimal));

    const double fu = Wandler_Faktor_U(record);
    const double fi = Wandler_Faktor_I(record);
    // The label of the last lookup stays when a code matches no row.
    std::string label;
    const auto lookUp = [&](int code) {
        Kennung k = Kennung_suchen(code, fu, fi);
        if (k.label) label = *k.label;
        return k.Skalierung;
    };

    const int analog = usedRows(record.Anzahl_Analog, kAnalogRows);
    for (int j = 0; j < analog; ++j) {
        const auto& a = record.Analogwerte[static_cast<std::size_t>(j)];
        double start = a[3].toNumber();
        double knee = a[4].toNumber();
        double end = a[5].toNumber();
        if (a[0].equals(5)) {  // power factor: the range is folded around 1
            start = a[3].toNumber() - 1;
            end = 1 - a[5].toNumber();
            knee = (start + end) / 2;
        }
        const float sk = lookUp(type * 1000 + asInt(a[0]) * 10 + asInt(a[1]));
        std::string c = "-M A" + std::to_string(j + 1) + "," + label + ",";
        c += scaled(start, sk, decimal) + ",";
        c += scaled(knee, sk, decimal) + ",";
        c += scaled(end, sk, decimal);
        c += std::string(",") + (a[6].equals(1) ? "V" : "mA") + ",";
        c += Zahl_anhaengen(a[7], decimal) + ",";
        c += Zahl_anhaengen(a[8], decimal) + ",";
        c += Zahl_anhaengen(a[9], decimal) + ",";
        c += Zahl_anhaengen(a[10], decimal) + ",";
        c += Zahl_anhaengen(a[11], decimal);
        c += ",0";
        out.push_back(std::move(c));
    }

    const int binary = usedRows(record.Anzahl_Binaer, kBinaryRows);
    for (int j = 0; j < binary; ++j) {
        const auto& b = record.Binaerwerte[static_cast<std::size_t>(j)];
        std::string c = "-M B" + std::to_string(j + 1) + ",";
        const double mode = b[0].toNumber();
        if (mode >= 2) {  // limit value
            const float sk = lookUp(type * 1000 + asInt(b[1]) * 10 + asInt(b[2]));
            c += label + ",";
            c += scaled(b[4].toNumber(), sk, decimal);
            if (b[1].toNumber() > 9) {
                c += "|";
            } else if (b[5].equals(0)) {
                c += ">";
            } else if (b[5].equals(1)) {
                c += "<";
            }
        } else if (b[0].equals(1)) {
            c += "on";
        } else {
            c += "off";
        }
        out.push_back(std::move(c));
    }

    std::string list = "-M S,FF,E";
    for (int i = 0; i < kInterfaceCells; ++i) {
        if (record.Schnittstellenwerte[static_cast<std::size_t>(i)].equals(1)) {
            list += interfaceCode(i);
        }
    }
    out.push_back(std::move(list));

    std::string d1 = "-D1,";
    for (const Cell& e : g) d1 += ":" + e.toText(decimal);
    d1 += ":" + std::to_string(record.Anzahl_Analog) + ":" + std::to_string(record.Anzahl_Binaer);
    d1 += ":";
    // One digit per cell, so the read-back finds every cell at its position.
    for (const Cell& s : record.Schnittstellenwerte) d1 += s.equals(1) ? "1" : "0";
    out.push_back(std::move(d1));

    std::string d2 = "-D2,";
    for (int j = 0; j < analog; ++j) {
        for (const Cell& v : record.Analogwerte[static_cast<std::size_t>(j)]) {
            d2 += ":" + v.toText(decimal);
        }
    }
    out.push_back(std::move(d2));

    std::string d3 = "-D3,";
    for (int j = 0; j < binary; ++j) {
        for (const Cell& v : record.Binaerwerte[static_cast<std::size_t>(j)]) {
            d3 += ":" + v.toText(decimal);
        }
    }
    out.push_back(std::move(d3));
    return out;
}

std::string checkRecordSendable(const Record& record) {
    if (auto why = checkVariant(record.Anzahl_Analog, record.Anzahl_Binaer, record.Max_Spannung,
                                record.Max_Strom)) {
        return "record: " + *why;
    }
    const auto usable = [](double factor) {
        const float f = static_cast<float>(factor);
        return std::isfinite(factor) && std::isfinite(f) && f != 0.0f;
    };
    const double fu = Wandler_Faktor_U(record);
    const double fi = Wandler_Faktor_I(record);
    if (!usable(fu)) return "record: voltage transformer ratio unusable";
    if (!usable(fi)) return "record: current transformer ratio unusable";
    if (!usable(fu * fi)) return "record: transformer ratios unusable";
    return {};
}

std::string checkHardwareFits(const Record& record, const HardwareInfo& hw) {
    const auto& g = record.Grundwerte;
    const double root3 = std::sqrt(3.0);
    if (hw.analog != record.Anzahl_Analog) {
        return "device has " + std::to_string(hw.analog) + " analog outputs, record " +
               std::to_string(record.Anzahl_Analog);
    }
    if (hw.binary != record.Anzahl_Binaer) {
        return "device has " + std::to_string(hw.binary) + " binary outputs, record " +
               std::to_string(record.Anzahl_Binaer);
    }
    const int type = asInt(g[0]);
    std::optional<double> neededU;
    if (!g[2].equals(0)) {  // direct connection: element 2 is the nominal input voltage
        if (type == 0 || type == 1 || type == 4) neededU = g[2].toNumber() * root3;
        if (type == 2 || type == 3) neededU = g[2].toNumber();
    } else {  // voltage transformer: element 4 is its secondary in kV
        if (type == 4) neededU = g[4].toNumber() * 1000 * root3;
        if (type >= 0 && type <= 3) neededU = g[4].toNumber() * 1000;
    }
    if (neededU && hw.voltage < *neededU) {
        return "device voltage class " + formatNumber(hw.voltage, '.') + " V below " +
               formatNumber(*neededU, '.') + " V";
    }
    const double neededI = !g[5].equals(0) ? g[5].toNumber() : g[7].toNumber();
    if (hw.current < neededI) {
        return "device current class " + formatNumber(hw.current, '.') + " A below " +
               formatNumber(neededI, '.') + " A";
    }
    return {};
}

ProgramResult programTransducer(Link& link, const Record& record, const std::string& address,
                                char decimal) {
    if (!record.hasConfiguration()) {
        ProgramResult r;
        r.outcome = Outcome::Ok;
        r.nothingToDo = true;
        return r;
    }
    if (std::string why = checkRecordSendable(record); !why.empty()) {
        return fail(Outcome::WrongTransducer, why);
    }
    const std::vector<std::string> commands = programmingCommands(record, decimal);

    // Hardware query and checks.
    link.stage(LinkObserver::Stage::Hardware);
    if (!link.ensureOpen()) return fail(Outcome::LinkFailure, "cannot open the port");
    if (!sendWakeFrames(link, address, /*crFirst=*/false)) {
        return fail(failureOf(link), "wake-up failed");
    }
    link.pause(Millis{2000});
    link.flushInput();
    link.pause(kWartezeit);
    if (link.cancelled()) return fail(Outcome::Cancelled, "cancelled");
    const std::optional<std::string> reply = queryHardware(link, address);
    if (!reply) return fail(failureOf(link), "port lost during the hardware query");
    HardwareParse parsed = parseHardwareReply(*reply);
    if (!parsed.info) return fail(Outcome::BadReply, "hardware reply: " + parsed.reason);
    const HardwareInfo hw = *parsed.info;
    if (std::string why = checkHardwareFits(record, hw); !why.empty()) {
        return fail(Outcome::WrongTransducer, why, hw);
    }

    // Programming.
    link.stage(LinkObserver::Stage::Programming);
    if (!link.send(std::string(1, CR))) return fail(failureOf(link), "port lost", hw);
    link.pause(Millis{2000});
    link.flushInput();
    if (link.cancelled()) return fail(Outcome::Cancelled, "cancelled", hw);

    const auto sendEchoed = [&](const std::string& command) {
        const std::string frame = frameText(address, command);
        const Transaction t = seriell(link, frame, 0);
        if (t.Befehl_ok) return std::optional<ProgramResult>{};
        const Outcome o =
            t.cancelled || link.cancelled() ? Outcome::Cancelled : Outcome::LinkFailure;
        return std::optional<ProgramResult>{fail(o, "no or wrong echo for " + frame, hw)};
    };

    if (auto f = sendEchoed("-t")) return *f;
    link.pause(Millis{1000});
    for (const std::string& command : commands) {
        if (link.cancelled()) return fail(Outcome::Cancelled, "cancelled", hw);
        if (auto f = sendEchoed(command)) return *f;
    }
    ProgramResult r;
    r.outcome = Outcome::Ok;
    r.hardware = hw;
    return r;
}

}  // namespace kalvo
