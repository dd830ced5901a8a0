// The words about ports on the plant network: a gateway that cannot be reached, a connection
// that broke, and a tcp:// text that names no gateway. "%1" and "%2" stand for what is filled in.
#pragma once

#include "text/captions.h"
#include "text/language.h"

namespace kalvo {

// %1 HOST:PORT, %2 the reason (the system's words, or one of the reasons below).
inline constexpr Text kNetCannotConnect{"Verbindung zu %1 nicht möglich: %2",
                                        "Cannot connect to %1: %2"};
inline constexpr Text kNetConnectionLost{"Verbindung zu %1 unterbrochen: %2",
                                         "Connection to %1 lost: %2"};
inline constexpr Text kNetHostNotFound{"Rechnername nicht gefunden", "host name not found"};
inline constexpr Text kNetNoAnswer{"keine Antwort innerhalb von 5 s", "no answer within 5 s"};
inline constexpr Text kNetCancelled{"abgebrochen", "cancelled"};
// %1 the whole text as given.
inline constexpr Text kNetMalformed{
    "\"%1\" ist keine Netzwerk-Schnittstelle; erwartet wird tcp://RECHNER:PORT, z. B. "
    "tcp://10.0.0.20:4001",
    "\"%1\" is not a network port; expected tcp://HOST:PORT, e.g. tcp://10.0.0.20:4001"};
// %1 the port number as given, %2 the whole text.
inline constexpr Text kNetPortRange{"Portnummer %1 in \"%2\" liegt nicht zwischen 1 und 65535",
                                    "Port number %1 in \"%2\" is not between 1 and 65535"};

// The window `Netzwerk` of the port menu's "Netzwerk...": the gateway's host and port.
inline constexpr Caption kNetzwerkCaptions[] = {
    {"", {"Netzwerk", "Network"}},
    {"Label1",
     {"Rechner (Name oder IP-Adresse) des Geräteservers:",
      "Host (name or IP address) of the device server:"}},
    {"Label2", {"Port (Betriebsart TCP-Server):", "Port (TCP server mode):"}},
    {"OK_Netzwerk", {"OK", "OK"}},
    {"Abbrechen_Netzwerk", {"Abbrechen", "Cancel"}},
};
// The port menu's entry that opens it.
inline constexpr Text kNetworkMenuEntry{"&Netzwerk...", "&Network..."};

}  // namespace kalvo
