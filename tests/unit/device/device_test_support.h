// A scripted transducer and sample records for the programming and read-back tests.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "config/record.h"
#include "link/link.h"
#include "support/fakes.h"

namespace kalvo::test {

// The hardware description as the device sends it (CR, LF, TAB aside): the fields stand
// behind the marker "Ana.:  " at p + 1 (analog), p + 11 (binary, 2 characters), p + 69
// (voltage, 3 characters) and p + 93 (current, 3 characters), p being the marker's last
// character.
inline std::string hardwareText(const std::string& analog, const std::string& binary,
                                const std::string& voltage, const std::string& current) {
    std::string t = "TXR 3.0 Ana.:  ";  // marker ends at index 14 (p - 1)
    const std::size_t p0 = t.size() - 1;
    t.resize(p0 + 96, 'x');
    t.replace(p0 + 1, analog.size(), analog);
    t.replace(p0 + 11, binary.size(), binary);
    t.replace(p0 + 69, voltage.size(), voltage);
    t.replace(p0 + 93, current.size(), current);
    return t;
}

// A transducer on the far side of a ScriptedPort. Frames end at LF or CR (empty ones are
// ignored); every frame for its address is echoed with CR, except:
//   "-A-*?"   the hardware description
//   "-A-Dn,"  echo; the text after the comma is kept as data copy n
//   "-A-Dn"   "-A-Dn," + copy n (an erased copy is 24 bytes 255)
// `overrides` replaces the answer for a frame text ("" = no answer).
class FakeTransducer {
  public:
    explicit FakeTransducer(ScriptedPort& port) {
        port.onWrite = [this](ScriptedPort& p, std::string_view bytes) { feed(p, bytes); };
    }

    std::string address = "0";
    std::string hardware = hardwareText("2", " 5", "120", "1.2");
    std::array<std::string, 3> copies;
    bool erased = false;
    Millis delay{0};
    std::map<std::string, std::string> overrides;
    std::function<void(const std::string& frame)> onFrame;
    std::vector<std::string> received;  // every non-empty frame, in order

  private:
    void feed(ScriptedPort& port, std::string_view bytes) {
        for (char c : bytes) {
            if (c != '\n' && c != '\r') {
                partial_ += c;
                continue;
            }
            if (partial_.empty()) continue;
            const std::string frame = partial_;
            partial_.clear();
            received.push_back(frame);
            if (onFrame) onFrame(frame);
            const std::string answer = answerTo(frame);
            if (!answer.empty()) port.deliver(answer, delay);
        }
    }

    std::string answerTo(const std::string& frame) {
        if (auto it = overrides.find(frame); it != overrides.end()) return it->second;
        const std::string own = "-" + address;
        if (frame.rfind(own, 0) != 0) return {};
        const std::string cmd = frame.substr(own.size());
        if (cmd == "-*?") return hardware + "\r";
        if (cmd.size() >= 3 && cmd.compare(0, 2, "-D") == 0 && cmd[2] >= '1' && cmd[2] <= '3') {
            const std::size_t n = static_cast<std::size_t>(cmd[2] - '1');
            if (cmd.size() == 3) {
                const std::string copy = erased ? std::string(24, '\xFF') : copies[n];
                return frame + "," + copy + "\r";
            }
            if (cmd[3] == ',') copies[n] = cmd.substr(4);
        }
        return frame + "\r";
    }

    std::string partial_;
};

// A 2A/5D record with 20 kV / 100 V voltage and 100 A / 5 A current transformers, every
// binary mode and several interface values, as the parameter dialog stores it (numbers).
inline Record fourWireWithTransformers() {
    Record r = newProject(2, 5, 120, 5);
    r.Grundwerte = {Cell(0), Cell(50), Cell(0), Cell(20), Cell(0.1), Cell(0), Cell(100), Cell(5)};
    // U1, 0..20 kV, knee 10 kV / 12 mA, 4..20 mA, limitation 0..24.
    r.Analogwerte[0] = {Cell(0), Cell(0),  Cell("kV"), Cell(0), Cell(10000), Cell(20000), Cell(0),
                        Cell(4), Cell(12), Cell(20),   Cell(0), Cell(24),    Cell(0)};
    // P, -1.234588..1.234588 MW, output -10..10 V, limitation -10.5..10.5, kinked.
    r.Analogwerte[1] = {Cell(2),       Cell(0),    Cell("MW"), Cell(-1234588), Cell(0),
                        Cell(1234588), Cell(1),    Cell(-10),  Cell(0),        Cell(10),
                        Cell(-10.5),   Cell(10.5), Cell(1)};
    r.Binaerwerte[0] = {Cell(0), Cell(0), Cell(0), Cell(0), Cell(0), Cell(0)};
    r.Binaerwerte[1] = {Cell(1), Cell(0), Cell(0), Cell(0), Cell(0), Cell(0)};
    r.Binaerwerte[2] = {Cell(2), Cell(0), Cell(3), Cell("kV"), Cell(11000), Cell(0)};  // U12 >
    r.Binaerwerte[3] = {Cell(2), Cell(1), Cell(2), Cell("A"), Cell(80), Cell(1)};      // I3 <
    r.Binaerwerte[4] = {Cell(2), Cell(8), Cell(0), Cell("Hz"), Cell(50.5), Cell(0)};   // F >
    for (int i : {0, 5, 9, 22, 29, 33, 34, 36}) r.Schnittstellenwerte[i] = Cell(1);
    return r;
}

// A 1A/1D record, three-wire unbalanced at 60 Hz, 400 V and 1 A without transformers.
inline Record threeWire() {
    Record r = newProject(1, 1, 400, 1.2);
    r.Grundwerte = {Cell(2), Cell(60), Cell(400), Cell(0), Cell(0), Cell(1), Cell(0), Cell(0)};
    // U23, 0..480 V, knee 240 V / 0 mA, -20..20 mA, limitation -24..24, kinked.
    r.Analogwerte[0] = {Cell(0),   Cell(1), Cell("V"), Cell(0),   Cell(240), Cell(480), Cell(0),
                        Cell(-20), Cell(0), Cell(20),  Cell(-24), Cell(24),  Cell(1)};
    // PF below 0.95, no unit label.
    r.Binaerwerte[0] = {Cell(2), Cell(5), Cell(0), Cell(""), Cell(0.95), Cell(1)};
    return r;
}

// A 1A/1D single-phase record at 16.666 Hz, 230 V and 5 A, power-factor output.
inline Record singlePhase() {
    Record r = newProject(1, 1, 400, 5);
    r.Grundwerte = {Cell(4), Cell(16.666), Cell(230), Cell(0), Cell(0), Cell(5), Cell(0), Cell(0)};
    // PF1, range 0.5 .. 0.5 (folded to -0.5 .. 0.5), knee input 0.75 (replaced), 4..20 mA.
    r.Analogwerte[0] = {Cell(5), Cell(0),  Cell(""), Cell(0.5), Cell(0.75), Cell(0.5), Cell(0),
                        Cell(4), Cell(12), Cell(20), Cell(0),   Cell(24),   Cell(0)};
    r.Binaerwerte[0] = {Cell(2), Cell(9), Cell(0), Cell("V"), Cell(5), Cell(0)};  // INP > 5
    r.Schnittstellenwerte[35] = Cell(1);
    r.Schnittstellenwerte[36] = Cell(1);
    return r;
}

}  // namespace kalvo::test
