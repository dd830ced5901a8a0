// Names for the cells of the record's tables and for the values some of them hold. Code reads
// and writes cells only through these names: Grundwerte[Basic::NominalVoltage], never
// Grundwerte[2].
#pragma once

#include <cstddef>

namespace kalvo {

// Grundwerte: how the transducer is connected to the network.
namespace Basic {
enum Field : std::size_t {
    ConnectionType,    // index 0..4, see ConnectionType below
    NominalFrequency,  // Hz: 50, 60 or 16.666
    NominalVoltage,    // V without voltage transformer (phase voltage for four-wire and
                       // single-phase); 0 when a voltage transformer is used
    VtPrimary,         // voltage transformer primary, kV; 0 without transformer
    VtSecondary,       // voltage transformer secondary, kV (100 V is 0.1); 0 without
    NominalCurrent,    // A without current transformer; 0 when one is used
    CtPrimary,         // current transformer primary, A; 0 without transformer
    CtSecondary,       // current transformer secondary, A; 0 without transformer
    Count
};
}  // namespace Basic

// Analogwerte: one row per analog output.
namespace Analog {
enum Field : std::size_t {
    Quantity,     // quantity index 0..9, see Quantity below
    Place,        // measuring place, index in the place list of the quantity
    RangeUnit,    // unit text of the range as shown, prefix included ("V", "kV", "MW")
    RangeStart,   // base unit (V, A, W, var, VA, Hz, degrees), prefix multiplied out
    KneeInput,    // knee point, input value, base unit
    RangeEnd,     // base unit
    OutputUnit,   // 1 = V, any other value = mA
    OutputStart,  // mA or V
    KneeOutput,   // knee point, output value, mA or V
    OutputEnd,    // mA or V
    LimitMin,     // limitation, lower bound
    LimitMax,     // limitation, upper bound
    Kinked,       // kinked characteristic: 1 on, 0 off
    Count
};
}  // namespace Analog

// Binaerwerte: one row per binary output.
namespace Binary {
enum Field : std::size_t {
    Mode,       // see BinaryMode below
    Quantity,   // quantity index (limit-value mode)
    Place,      // measuring place
    Unit,       // unit text of the limit value, prefix included
    Limit,      // limit value, base unit, prefix multiplied out
    Direction,  // 0 exceeding, 1 falling below
    Count
};
}  // namespace Binary

// Values of Grundwerte[Basic::ConnectionType].
enum ConnectionType : int {
    FourWireUnbalanced = 0,
    FourWireBalanced = 1,
    ThreeWireUnbalanced = 2,
    ThreeWireBalanced = 3,
    SinglePhase = 4,
};
inline constexpr int kConnectionTypes = 5;

// Values of Analogwerte[Analog::Quantity] and Binaerwerte[Binary::Quantity].
enum Quantity : int {
    Voltage = 0,
    Current = 1,
    ActivePower = 2,
    ReactivePower = 3,
    ApparentPower = 4,
    PowerFactor = 5,
    ReactiveFactor = 6,
    PhaseAngle = 7,
    Frequency = 8,
    DcInput = 9,  // the 10 V DC input
};
inline constexpr int kQuantities = 10;

// Values of Binaerwerte[Binary::Mode].
enum BinaryMode : int {
    ModeOff = 0,        // "OFF"
    ModeOnWhileOk = 1,  // on while the device is OK
    ModeLimit = 2,      // limit value with direction
};

}  // namespace kalvo
