// The words of the safety net around programming: the backup made before, the read-back
// after, and the run over several addresses. "%1" stands for a path, a number or an entry.
#pragma once

#include "text/language.h"

namespace kalvo {

// Lines of the progress log.
inline constexpr Text kLogBackupWritten{"Sicherung gespeichert: %1", "Backup saved: %1"};
inline constexpr Text kLogBackupNothing{
    "Keine Sicherung: der Messumformer wurde noch nie parametriert.",
    "No backup: the transducer has never been programmed."};
inline constexpr Text kLogVerifyPassed{
    "Prüfung: der Messumformer hat gespeichert, was gesendet wurde.",
    "Verify: the transducer stored what was sent."};
inline constexpr Text kLogVerifyDiffers{
    "Prüfung: die gespeicherte Kopie weicht ab (Seite, Wert, gesendet, gespeichert):",
    "Verify: the stored copy differs (page, value, sent, stored):"};

// Why a run stopped.
inline constexpr Text kReasonBackupFolder{"der Sicherungsordner %1 ist nicht beschreibbar",
                                          "the backup folder %1 cannot be written"};
inline constexpr Text kReasonBackupFile{"die Sicherung %1 konnte nicht geschrieben werden",
                                        "the backup %1 could not be written"};
inline constexpr Text kReasonVerifyErased{
    "nach dem Programmieren meldet der Messumformer einen gelöschten Datenbereich",
    "after programming the transducer reports an erased data area"};
inline constexpr Text kReasonVerifyDiffers{
    "die gespeicherte Kopie weicht von der gesendeten ab (Unterschiede: %1)",
    "the stored copy differs from the one sent (differences: %1)"};

// The boxes.
inline constexpr Text kBackupCannotWrite{
    "Die Sicherung %1 konnte nicht geschrieben werden. Es wurde nichts programmiert.",
    "The backup %1 could not be written. Nothing was programmed."};
inline constexpr Text kVerifyTitle{"Prüfung nach dem Programmieren", "Verify after programming"};
inline constexpr Text kVerifyDiffers{"Der Messumformer hat nicht gespeichert, was gesendet wurde.",
                                     "The transducer did not store what was sent."};

// The command line.
inline constexpr Text kCliBackupNeedsFolder{"--backup erwartet einen Ordner",
                                            "--backup needs a folder"};
inline constexpr Text kCliAddressesNeedsList{"--addresses erwartet eine Liste wie 1,3-5",
                                             "--addresses needs a list such as 1,3-5"};
inline constexpr Text kCliAddressesEntry{
    "--addresses: \"%1\" ist keine Adresse 0..32 und kein Bereich wie 3-5",
    "--addresses: \"%1\" is neither an address 0..32 nor a range such as 3-5"};
inline constexpr Text kCliAddressesTwice{"--addresses: Adresse %1 steht mehrmals in der Liste",
                                         "--addresses: address %1 is in the list more than once"};
inline constexpr Text kCliAddressesWithAddress{
    "--addresses nimmt den Platz von --address ein: nur eins von beiden angeben",
    "--addresses takes the place of --address: give only one of them"};

}  // namespace kalvo
