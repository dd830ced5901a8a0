// Why a device sequence or a project file failed, in a line of its own below the message:
// the command line prints it after the box's text. "%1" and "%2" stand for a number, a
// command or a path.
#pragma once

#include "text/language.h"

namespace kalvo {

// The port.
inline constexpr Text kReasonPortUnavailable{"Schnittstelle nicht verfügbar", "port not available"};
inline constexpr Text kReasonCannotOpenPort{"die Schnittstelle lässt sich nicht öffnen",
                                            "cannot open the port"};
inline constexpr Text kReasonPortLost{"die Schnittstelle ist verschwunden", "the port vanished"};
inline constexpr Text kReasonPortFailedSending{"die Schnittstelle versagte beim Senden",
                                               "the port failed while sending"};
inline constexpr Text kReasonWakeUpFailed{"das Wecken misslang", "wake-up failed"};
inline constexpr Text kReasonCancelled{"abgebrochen", "cancelled"};

// Echoes and replies.
inline constexpr Text kReasonNoLinkTestEcho{"keine oder falsche Antwort auf den Verbindungstest",
                                            "no or wrong echo for the link test"};
inline constexpr Text kReasonNoEchoFor{"keine oder falsche Antwort auf %1",
                                       "no or wrong echo for %1"};
inline constexpr Text kReasonNoDataReply{"keine Datenantwort auf %1", "no data reply to %1"};
inline constexpr Text kReasonErased{"der Datenbereich des Messumformers ist gelöscht",
                                    "the transducer's data area is erased"};
inline constexpr Text kReasonNoMeasuredValue{"kein Messwert seit %1", "no measured value for %1"};

// The hardware query "-*?".
inline constexpr Text kReasonNoHardwareReply{"keine Antwort auf die Hardware-Abfrage",
                                             "no reply to the hardware query"};
inline constexpr Text kReasonHardwareReplyLate{
    "die Hardware-Antwort kam nicht vollständig in der vorgesehenen Zeit",
    "the hardware reply did not arrive whole within its time"};
inline constexpr Text kReasonPortLostInQuery{
    "die Schnittstelle verschwand während der Hardware-Abfrage",
    "port lost during the hardware query"};
inline constexpr Text kReasonNoMarker{"kein \"Ana.:  \" in der Hardware-Antwort",
                                      "no \"Ana.:  \" in the hardware reply"};
inline constexpr Text kReasonHardwareTooShort{"Hardware-Antwort zu kurz",
                                              "hardware reply too short"};
inline constexpr Text kReasonHardwareReply{"Hardware-Antwort: ", "hardware reply: "};

// A variant no TXR 3.0 has (hardware reply, device copy, project file).
inline constexpr Text kReasonAnalogCount{"Anzahl der Analogausgänge ist nicht 1..4",
                                         "analog output count is not 1..4"};
inline constexpr Text kReasonBinaryCount{"Anzahl der Binärausgänge ist nicht 1..13",
                                         "binary output count is not 1..13"};
inline constexpr Text kReasonVoltageClass{"Spannungsklasse ist nicht größer als 0",
                                          "voltage class is not above 0"};
inline constexpr Text kReasonCurrentClass{"Stromklasse ist nicht größer als 0",
                                          "current class is not above 0"};

// Does the device fit the record?
inline constexpr Text kReasonAnalogOutputs{"das Gerät hat %1 Analogausgänge, die Konfiguration %2",
                                           "device has %1 analog outputs, record %2"};
inline constexpr Text kReasonBinaryOutputs{"das Gerät hat %1 Binärausgänge, die Konfiguration %2",
                                           "device has %1 binary outputs, record %2"};
inline constexpr Text kReasonVoltageBelow{"Spannungsklasse des Geräts %1 V unter %2 V",
                                          "device voltage class %1 V below %2 V"};
inline constexpr Text kReasonCurrentBelow{"Stromklasse des Geräts %1 A unter %2 A",
                                          "device current class %1 A below %2 A"};

// The device copy "-D1", "-D2", "-D3".
inline constexpr Text kReasonD1Fields{"Antwort auf \"-D1\" hat %1 von 10 Feldern",
                                      "\"-D1\" reply has %1 of 10 fields"};
inline constexpr Text kReasonD1Counts{"Antwort auf \"-D1\": Ausgangsanzahlen sind keine Zahlen",
                                      "\"-D1\" reply: output counts are not numbers"};
inline constexpr Text kReasonD1{"Antwort auf \"-D1\": ", "\"-D1\" reply: "};
inline constexpr Text kReasonD2Short{"Antwort auf \"-D2\" zu kurz für %1 Analogausgänge",
                                     "\"-D2\" reply too short for %1 analog outputs"};
inline constexpr Text kReasonD3Short{"Antwort auf \"-D3\" zu kurz für %1 Binärausgänge",
                                     "\"-D3\" reply too short for %1 binary outputs"};

// Project files.
inline constexpr Text kReasonNotProjectFile{"keine Projektdatei", "not a project file"};
inline constexpr Text kReasonTyp{"[Typ]: ", "[Typ]: "};
inline constexpr Text kReasonNoVariant{"kein Abschnitt [Typ] und keine bekannte Variante: ",
                                       "no [Typ] section and no known variant: "};
inline constexpr Text kReasonNotReadable{"keine lesbare Datei: %1", "not a readable file: %1"};
inline constexpr Text kReasonCannotRead{"%1 kann nicht gelesen werden", "cannot read %1"};
inline constexpr Text kReasonCannotOpenFile{"%1 lässt sich nicht öffnen", "cannot open %1"};
inline constexpr Text kReasonTooLarge{"zu groß für eine Projektdatei",
                                      "too large for a project file"};

}  // namespace kalvo
