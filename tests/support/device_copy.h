// The round trip of the device copy: records built from bytes (a fuzz input or a seeded
// generator), programmed into a simulated transducer and read back. Header-only and core-only,
// so the fuzz target that guards the same invariant can use it too.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "config/record.h"
#include "device/programming.h"
#include "device/readback.h"
#include "link/link.h"
#include "sim/simulated_port.h"
#include "sim/transducer.h"
#include "virtual_clock.h"

namespace kalvo::test {

// Texts a cell may be set to: sound values, codes the device has and has not, and texts that
// break a command or the colon-separated copy.
inline constexpr std::array<std::string_view, 32> kCellTexts = {
    "0",  "1",  "2",    "4",  "9",        "50",    "16,666", "-20", "0,5",   "V",    "kV",
    "MW", "Hz", "°",    "",   "k,V",      "xx:yy", ":",      ",",   "1,2,3", "a\rb", "\n",
    "\t", "Ω",  "\x80", "€ÿ", "\xC2\x85", " 5",    "65536",  "2,5", "abc",   "1.5"};

// A new project of a variant taken from the first byte (600 V / 5 A, so that any nominal
// value up to the class fits), then one cell changed per two further bytes: the first picks
// the cell (basic, analog, binary, interface cells in that order), the second its value, a
// number in quarter steps from -8 or one of kCellTexts.
inline Record recordFromBytes(std::string_view bytes) {
    const auto byte = [&bytes](std::size_t i) {
        return i < bytes.size() ? static_cast<std::uint8_t>(bytes[i]) : std::uint8_t{0};
    };
    constexpr std::array<int, 4> kBinary = {1, 5, 9, 13};
    Record r = newProject(1 + byte(0) % 4, kBinary[(byte(0) / 4) % 4], 600, 5);
    for (std::size_t i = 1; i + 1 < bytes.size(); i += 2) {
        std::size_t cell = byte(i) % (Basic::Count + kAnalogRows * Analog::Count +
                                      kBinaryRows * Binary::Count + kInterfaceCells);
        const std::uint8_t v = byte(i + 1);
        const Cell value =
            v < 128 ? Cell((v - 32) / 4.0) : Cell(std::string(kCellTexts[v % kCellTexts.size()]));
        if (cell < Basic::Count) {
            r.Grundwerte[cell] = value;
            continue;
        }
        cell -= Basic::Count;
        if (cell < kAnalogRows * Analog::Count) {
            r.Analogwerte[cell / Analog::Count][cell % Analog::Count] = value;
            continue;
        }
        cell -= kAnalogRows * Analog::Count;
        if (cell < kBinaryRows * Binary::Count) {
            r.Binaerwerte[cell / Binary::Count][cell % Binary::Count] = value;
            continue;
        }
        r.Schnittstellenwerte[cell - kBinaryRows * Binary::Count] = value;
    }
    return r;
}

// Programs `record` into a simulated transducer of its variant and reads the copy back:
// nullopt when programming refuses the record (or the unit's class does not fit it), else the
// record the read-back rebuilt.
inline std::optional<Record> programAndReadBack(const Record& record, char decimal) {
    sim::Transducer device({.analog = record.Anzahl_Analog,
                            .binary = record.Anzahl_Binaer,
                            .voltage = 600,
                            .current = 5});
    FakeClock clock;
    sim::SimulatedPort port(device, clock);
    Link link(port, clock, nullptr);
    // Any other failure (a frame cut short, an echo that differs) and any unusable copy give
    // a record no programmed one equals.
    const Outcome programmed = programTransducer(link, record, "0", decimal).outcome;
    if (programmed == Outcome::BadRecord || programmed == Outcome::WrongTransducer) {
        return std::nullopt;
    }
    if (programmed != Outcome::Ok) return startRecord();
    ReadBackResult read = readTransducer(link, startRecord(), "0");
    if (read.outcome != Outcome::Ok) return startRecord();
    return std::move(read.record);
}

// Do two records hold the same configuration as the device copy carries it? The counts, every
// cell of the used rows as the copy writes it, and which interface values are selected.
inline bool sameCopy(const Record& a, const Record& b, char decimal) {
    const auto same = [decimal](const auto& x, const auto& y) {
        for (std::size_t i = 0; i < x.size(); ++i) {
            if (x[i].toText(decimal) != y[i].toText(decimal)) return false;
        }
        return true;
    };
    if (a.Anzahl_Analog != b.Anzahl_Analog || a.Anzahl_Binaer != b.Anzahl_Binaer ||
        !same(a.Grundwerte, b.Grundwerte)) {
        return false;
    }
    for (std::size_t j = 0; j < static_cast<std::size_t>(a.Anzahl_Analog); ++j) {
        if (!same(a.Analogwerte[j], b.Analogwerte[j])) return false;
    }
    for (std::size_t j = 0; j < static_cast<std::size_t>(a.Anzahl_Binaer); ++j) {
        if (!same(a.Binaerwerte[j], b.Binaerwerte[j])) return false;
    }
    for (std::size_t i = 0; i < a.Schnittstellenwerte.size(); ++i) {
        if (a.Schnittstellenwerte[i].equals(1) != b.Schnittstellenwerte[i].equals(1)) return false;
    }
    return true;
}

}  // namespace kalvo::test
