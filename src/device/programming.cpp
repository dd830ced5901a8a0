#include "device/programming.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "config/kennung.h"
#include "config/number_text.h"
#include "config/rules.h"
#include "device/backup.h"
#include "device/readback.h"
#include "link/transaction.h"
#include "text/messages.h"
#include "text/reasons.h"
#include "text/safety_texts.h"

namespace kalvo {

namespace {

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

ProgramResult fail(Outcome outcome, Wording reason, const HardwareInfo& hw = {}) {
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

std::vector<std::string> programmingCommands(const Record& record, char decimal) {
    const BasicRow& g = record.Grundwerte;
    std::vector<std::string> out;
    const int type = connectionType(record);

    out.push_back("-S " + connectionCode(type) + "1,1," +
                  g[Basic::NominalFrequency].toText(decimal));

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
        const AnalogRow& a = record.Analogwerte[static_cast<std::size_t>(j)];
        double start = a[Analog::RangeStart].toNumber();
        double knee = a[Analog::KneeInput].toNumber();
        double end = a[Analog::RangeEnd].toNumber();
        if (a[Analog::Quantity].equals(PowerFactor)) {  // the range is folded around 1
            start = a[Analog::RangeStart].toNumber() - 1;
            end = 1 - a[Analog::RangeEnd].toNumber();
            knee = (start + end) / 2;
        }
        const float sk = lookUp(analogCode(record, j));
        std::string c = "-M A" + std::to_string(j + 1) + "," + label + ",";
        c += scaled(start, sk, decimal) + ",";
        c += scaled(knee, sk, decimal) + ",";
        c += scaled(end, sk, decimal);
        c += "," + std::string(outputUnitText(a)) + ",";
        c += Zahl_anhaengen(a[Analog::OutputStart], decimal) + ",";
        c += Zahl_anhaengen(a[Analog::KneeOutput], decimal) + ",";
        c += Zahl_anhaengen(a[Analog::OutputEnd], decimal) + ",";
        c += Zahl_anhaengen(a[Analog::LimitMin], decimal) + ",";
        c += Zahl_anhaengen(a[Analog::LimitMax], decimal);
        c += ",0";
        out.push_back(std::move(c));
    }

    const int binary = usedRows(record.Anzahl_Binaer, kBinaryRows);
    for (int j = 0; j < binary; ++j) {
        const BinaryRow& b = record.Binaerwerte[static_cast<std::size_t>(j)];
        std::string c = "-M B" + std::to_string(j + 1) + ",";
        const double mode = b[Binary::Mode].toNumber();
        if (mode >= static_cast<double>(ModeLimit)) {
            const float sk = lookUp(binaryCode(record, j));
            c += label + ",";
            c += scaled(b[Binary::Limit].toNumber(), sk, decimal);
            if (b[Binary::Quantity].toNumber() > static_cast<double>(DcInput)) {
                c += "|";
            } else if (b[Binary::Direction].equals(0)) {
                c += ">";
            } else if (b[Binary::Direction].equals(1)) {
                c += "<";
            }
        } else if (b[Binary::Mode].equals(ModeOnWhileOk)) {
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

RecordCheck checkRecordSendable(const Record& record, char decimal) {
    if (record.Anzahl_Analog < 1 || record.Anzahl_Analog > kAnalogRows - 1) {
        return {RecordFault::AnalogCount};
    }
    if (record.Anzahl_Binaer < 1 || record.Anzahl_Binaer > kBinaryRows) {
        return {RecordFault::BinaryCount};
    }
    if (!std::isfinite(record.Max_Spannung) || record.Max_Spannung <= 0) {
        return {RecordFault::VoltageClass};
    }
    if (!std::isfinite(record.Max_Strom) || record.Max_Strom <= 0) {
        return {RecordFault::CurrentClass};
    }
    // The divisors go to the device in single precision: they must be finite and not 0 there,
    // and so must their product (the power divisor).
    const auto usable = [](double factor) {
        const float f = static_cast<float>(factor);
        return std::isfinite(factor) && std::isfinite(f) && f != 0.0f;
    };
    const double fu = Wandler_Faktor_U(record);
    const double fi = Wandler_Faktor_I(record);
    if (!usable(fu)) return {RecordFault::VoltageRatio};
    if (!usable(fi) || !usable(fu * fi)) return {RecordFault::CurrentRatio};
    for (CellFault& cell : cellFaults(record, decimal)) {
        if (cell.blocksSending()) return {RecordFault::Cell, std::move(cell)};
    }
    return {};
}

std::string_view describe(RecordFault fault) {
    switch (fault) {
        case RecordFault::None:
            break;
        case RecordFault::AnalogCount:
            return "record: analog output count is not 1..4";
        case RecordFault::BinaryCount:
            return "record: binary output count is not 1..13";
        case RecordFault::VoltageClass:
            return "record: voltage class is not above 0";
        case RecordFault::CurrentClass:
            return "record: current class is not above 0";
        case RecordFault::VoltageRatio:
            return "record: voltage transformer ratio unusable";
        case RecordFault::CurrentRatio:
            return "record: current transformer ratio unusable";
        case RecordFault::Cell:
            return "record: a cell cannot be sent as it stands";
    }
    return {};
}

Wording checkHardwareFits(const Record& record, const HardwareInfo& hw) {
    const BasicRow& g = record.Grundwerte;
    const double root3 = std::sqrt(3.0);
    if (hw.analog != record.Anzahl_Analog) {
        return fillIn(kReasonAnalogOutputs, std::to_string(hw.analog),
                      std::to_string(record.Anzahl_Analog));
    }
    if (hw.binary != record.Anzahl_Binaer) {
        return fillIn(kReasonBinaryOutputs, std::to_string(hw.binary),
                      std::to_string(record.Anzahl_Binaer));
    }
    const int type = connectionType(record);
    std::optional<double> neededU;
    if (!voltageTransformerInUse(record)) {
        // Four-wire and single-phase records hold the phase voltage; the class is line-to-line.
        const double u = g[Basic::NominalVoltage].toNumber();
        if (type == FourWireUnbalanced || type == FourWireBalanced || type == SinglePhase) {
            neededU = u * root3;
        }
        if (type == ThreeWireUnbalanced || type == ThreeWireBalanced) neededU = u;
    } else {  // the transformer's secondary, in kV
        const double secondary = g[Basic::VtSecondary].toNumber() * 1000;
        if (type == SinglePhase) neededU = secondary * root3;
        if (type >= FourWireUnbalanced && type <= ThreeWireBalanced) neededU = secondary;
    }
    if (neededU && hw.voltage < *neededU) {
        return fillIn(kReasonVoltageBelow, formatNumber(hw.voltage, '.'),
                      formatNumber(*neededU, '.'));
    }
    const double neededI = currentTransformerInUse(record) ? g[Basic::CtSecondary].toNumber()
                                                           : g[Basic::NominalCurrent].toNumber();
    if (hw.current < neededI) {
        return fillIn(kReasonCurrentBelow, formatNumber(hw.current, '.'),
                      formatNumber(neededI, '.'));
    }
    return {};
}

namespace {

// Reads the configuration the unit holds and saves it in the backup folder, before anything
// changes it. Nullopt to go on (also when the unit never held one); else the run's end. What
// it did goes to `notes`.
std::optional<ProgramResult> backUp(Link& link, const std::string& address, char decimal,
                                    const SafetyNet& net, const HardwareInfo& hw,
                                    ProgramResult& notes) {
    const Record base = newProject(hw.analog, hw.binary, hw.voltage, hw.current);
    const ReadBackResult stored = requestDataCopy(link, base, address);
    if (stored.outcome == Outcome::NeverProgrammed) {
        link.log(std::string(kLogBackupNothing.in(net.language)));
        notes.nothingBackedUp = true;
    } else if (stored.outcome != Outcome::Ok) {
        return fail(stored.outcome, stored.reason, hw);
    } else {
        const BackupWrite w =
            writeBackup(net.backupFolder, stored.record, address,
                        net.localTime ? net.localTime() : localTimeNow(), decimal);
        notes.backupPath = w.path;
        if (w.error != FileError::None) {
            notes.backupError = w.error;
            return fail(Outcome::BadRecord, fillIn(kReasonBackupFile, w.path), hw);
        }
        link.log(fillIn(kLogBackupWritten.in(net.language), w.path));
    }
    return std::nullopt;
}

// Reads the device copy back and compares it with the record sent. Nullopt when it matches.
std::optional<ProgramResult> verifyCopy(Link& link, const Record& record,
                                        const std::string& address, char decimal,
                                        const SafetyNet& net, const HardwareInfo& hw) {
    const ReadBackResult back = requestDataCopy(link, record, address);
    if (back.outcome == Outcome::NeverProgrammed) {
        return fail(Outcome::NeverProgrammed, kReasonVerifyErased, hw);
    }
    if (back.outcome != Outcome::Ok) return fail(back.outcome, back.reason, hw);
    std::vector<RecordDifference> differences =
        compareRecords(record, back.record, net.language, decimal);
    if (differences.empty()) {
        link.log(std::string(kLogVerifyPassed.in(net.language)));
        return std::nullopt;
    }
    link.log(std::string(kLogVerifyDiffers.in(net.language)));
    for (const RecordDifference& d : differences) link.log(differenceLine(d));
    ProgramResult r = fail(Outcome::BadReply,
                           fillIn(kReasonVerifyDiffers, std::to_string(differences.size())), hw);
    r.differences = std::move(differences);
    return r;
}

ProgramResult programRun(Link& link, const Record& record, const std::string& address, char decimal,
                         const SafetyNet& net, ProgramResult& notes) {
    if (!record.hasConfiguration()) {
        ProgramResult r;
        r.outcome = Outcome::Ok;
        r.nothingToDo = true;
        return r;
    }
    if (RecordCheck check = checkRecordSendable(record, decimal); !check.sendable()) {
        ProgramResult r = fail(Outcome::BadRecord, {});  // the fault says what is wrong
        r.fault = check.fault;
        r.cell = std::move(check.cell);
        return r;
    }
    // A backup that could not be kept is known before the port is touched.
    if (!net.backupFolder.empty() && prepareBackupFolder(net.backupFolder) != FileError::None) {
        notes.backupError = FileError::CannotWrite;
        notes.backupPath = net.backupFolder;
        return fail(Outcome::BadRecord, fillIn(kReasonBackupFolder, net.backupFolder));
    }
    const std::vector<std::string> commands = programmingCommands(record, decimal);

    // Hardware query and checks.
    link.stage(Stage::Hardware);
    link.step({Step::Kind::WakeUp});
    if (!link.ensureOpen()) return fail(Outcome::LinkFailure, kReasonCannotOpenPort);
    if (!sendWakeFrames(link, address, /*crFirst=*/false)) {
        return fail(failureOf(link), kReasonWakeUpFailed);
    }
    link.pause(Millis{2000});
    link.flushInput();
    link.pause(kWartezeit);
    if (link.cancelled()) return fail(Outcome::Cancelled, kReasonCancelled);
    link.step({Step::Kind::HardwareQuery});
    HardwareAnswer answer = askHardware(link, address);
    if (answer.outcome != Outcome::Ok) return fail(answer.outcome, std::move(answer.reason));
    const HardwareInfo hw = answer.info;
    if (Wording why = checkHardwareFits(record, hw); !why.empty()) {
        return fail(Outcome::WrongTransducer, std::move(why), hw);
    }

    // Programming.
    link.stage(Stage::Programming);
    link.step({Step::Kind::LinkTest});
    if (!link.send(std::string(1, CR))) return fail(failureOf(link), kReasonPortLost, hw);
    link.pause(Millis{2000});
    link.flushInput();
    if (link.cancelled()) return fail(Outcome::Cancelled, kReasonCancelled, hw);

    const auto sendEchoed = [&](const std::string& command) {
        const std::string frame = frameText(address, command);
        const Transaction t = seriell(link, frame, 0);
        if (t.Befehl_ok) return std::optional<ProgramResult>{};
        const Outcome o =
            t.cancelled || link.cancelled() ? Outcome::Cancelled : Outcome::LinkFailure;
        return std::optional<ProgramResult>{fail(o, fillIn(kReasonNoEchoFor, frame), hw)};
    };

    if (auto f = sendEchoed("-t")) return *f;
    link.pause(Millis{1000});
    if (!net.backupFolder.empty()) {
        link.step({Step::Kind::Backup});
        if (auto f = backUp(link, address, decimal, net, hw, notes)) return *f;
    }
    const int count = static_cast<int>(commands.size());
    for (int i = 0; i < count; ++i) {
        const std::string& command = commands[static_cast<std::size_t>(i)];
        if (link.cancelled()) return fail(Outcome::Cancelled, kReasonCancelled, hw);
        link.step({Step::Kind::Command, i + 1, count, command});
        if (auto f = sendEchoed(command)) return *f;
    }
    if (net.verify) {
        if (link.cancelled()) return fail(Outcome::Cancelled, kReasonCancelled, hw);
        link.step({Step::Kind::Verify});
        if (auto f = verifyCopy(link, record, address, decimal, net, hw)) return *f;
    }
    ProgramResult r;
    r.outcome = Outcome::Ok;
    r.hardware = hw;
    return r;
}

}  // namespace

ProgramResult programTransducer(Link& link, const Record& record, const std::string& address,
                                char decimal, const SafetyNet& net) {
    ProgramResult notes;
    ProgramResult r = programRun(link, record, address, decimal, net, notes);
    r.backupPath = std::move(notes.backupPath);
    r.backupError = notes.backupError;
    r.nothingBackedUp = notes.nothingBackedUp;
    if (r.outcome == Outcome::LinkFailure && link.lost()) r.portError = link.portError();
    return r;
}

}  // namespace kalvo
