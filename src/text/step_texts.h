// The line above the progress window's log: what a device sequence does now, and how long a
// pause still waits.
#pragma once

#include "text/language.h"

namespace kalvo {

inline constexpr Text kStepWakeUp{"Messumformer wecken", "Waking the transducer"};
inline constexpr Text kStepHardwareQuery{"Hardware abfragen", "Asking for the hardware"};
inline constexpr Text kStepLinkTest{"Verbindung prüfen", "Testing the link"};
inline constexpr Text kStepBackup{"Konfiguration sichern", "Backing up the configuration"};
inline constexpr Text kStepReadCopy{"Konfiguration lesen", "Reading the configuration"};
inline constexpr Text kStepVerify{"Konfiguration prüfen", "Verifying the configuration"};
// "%1" the count ("5 von 12"), "%2" what the command sets.
inline constexpr Text kStepCommand{"Befehl %1: %2", "Command %1: %2"};
inline constexpr Text kStepCount{"%1 von %2", "%1 of %2"};
// After the step while a pause waits; "%1" the whole seconds left.
inline constexpr Text kStepWaiting{" ... %1 s", " ... %1 s"};
// What a programming command sets; "%1" the output's or the copy's number.
inline constexpr Text kStepSystem{"Grundeinstellungen", "Basic settings"};
inline constexpr Text kStepAnalog{"Analogausgang %1", "Analog output %1"};
inline constexpr Text kStepBinary{"Binärausgang %1", "Binary output %1"};
inline constexpr Text kStepInterface{"Schnittstelle", "Interface"};
inline constexpr Text kStepCopy{"Gerätekopie %1", "Device copy %1"};

}  // namespace kalvo
