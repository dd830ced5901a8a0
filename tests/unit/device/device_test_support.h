// A scripted transducer, sample records and their command lists worked out by hand.
#pragma once

#include <string>
#include <vector>

#include "config/record.h"
#include "support/fake_device.h"

namespace kalvo::test {

using Frames = std::vector<std::string>;

// 2A/5D, 20 kV / 100 V and 100 A / 5 A transformers, every binary mode, some interface cells.
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

// Voltage factor 20 / 0.1 = 200, current factor 100 / 5 = 20, powers 4000.
inline const Frames kFourWireCommands = {
    "-S 4U,1,1,50",
    "-M A1,U1,0,50,100,mA,4,12,20,0,24,0",
    "-M A2,P,-308.64,0,308.64,V,-10,0,10,-10.5,10.5,0",  // 1234588 / 4000 = 308.647, cut
    "-M B1,off",
    "-M B2,on",
    "-M B3,U12,55>",  // 11000 / 200
    "-M B4,I3,4<",    // 80 / 20
    "-M B5,F,50.5>",  // frequency is not scaled
    "-M S,FF,E,U1,U31,P,PF1,ph,F,INP,I",
    "-D1,:0:50:0:20:0,1:0:100:5:2:5:1000010001000000000000100000010001101",
    "-D2,:0:0:kV:0:10000:20000:0:4:12:20:0:24:0"
    ":2:0:MW:-1234588:0:1234588:1:-10:0:10:-10,5:10,5:1",
    "-D3,:0:0:0:0:0:0:1:0:0:0:0:0:2:0:3:kV:11000:0:2:1:2:A:80:1:2:8:0:Hz:50,5:0",
};

// 1A/1D, three-wire unbalanced at 60 Hz, 400 V and 1 A without transformers.
inline Record threeWire() {
    Record r = newProject(1, 1, 400, 1.2);
    r.Grundwerte = {Cell(2), Cell(60), Cell(400), Cell(0), Cell(0), Cell(1), Cell(0), Cell(0)};
    // U23, 0..480 V, knee 240 V / 0 mA, -20..20 mA, limitation -24..24, kinked.
    r.Analogwerte[0] = {Cell(0),   Cell(1), Cell("V"), Cell(0),   Cell(240), Cell(480), Cell(0),
                        Cell(-20), Cell(0), Cell(20),  Cell(-24), Cell(24),  Cell(1)};
    r.Binaerwerte[0] = {Cell(2), Cell(5), Cell(0), Cell(""), Cell(0.95), Cell(1)};  // PF < 0.95
    return r;
}

inline const Frames kThreeWireCommands = {
    "-S 3U,1,1,60",
    "-M A1,U23,0,240,480,mA,-20,0,20,-24,24,0",
    "-M B1,PF,0.95<",
    "-M S,FF,E",
    "-D1,:2:60:400:0:0:1:0:0:1:1:0000000000000000000000000000000000000",
    "-D2,:0:1:V:0:240:480:0:-20:0:20:-24:24:1",
    "-D3,:2:5:0::0,95:1",
};

// 1A/1D single-phase at 16.666 Hz, 230 V and 5 A, power-factor output.
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

// Power factor 0.5 .. 0.5: start 0.5 - 1, end 1 - 0.5, knee their middle; the record's own
// knee (0.75) is not sent but stays in the copy. German system: commas in -S and the copy.
inline const Frames kSinglePhaseCommands = {
    "-S 1,1,1,16,666",
    "-M A1,PF1,-0.5,0,0.5,mA,4,12,20,0,24,0",
    "-M B1,INP,5>",
    "-M S,FF,E,U,I",
    "-D1,:4:16,666:230:0:0:5:0:0:1:1:0000000000000000000000000000000000011",
    "-D2,:5:0::0,5:0,75:0,5:0:4:12:20:0:24:0",
    "-D3,:2:9:0:V:5:0",
};

}  // namespace kalvo::test
