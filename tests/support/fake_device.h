// The one scripted transducer of the tests, behind a ScriptedPort, in virtual time.
//
// A frame ends at LF or CR; empty frames (the second half of LF CR, the wake-up's lone CR) are
// skipped. By default the device behaves like a TXR 3.0 at its address:
//   "-A<command>"   its text back with CR (the echo)
//   "-A-*?"         the hardware description `hardware` with CR
//   "-A-Dn,<data>"  the echo; <data> is kept as data copy n (1..3)
//   "-A-Dn"         "-A-Dn," + copy n with CR (24 bytes 255 when `erased`)
// Frames for another address get no answer. `overrides` replaces the answer to one frame text
// ("" = no answer); `answer`, when set, replaces the whole behaviour. Answers arrive `delay`
// after the frame's end.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "support/fakes.h"

namespace kalvo::test {

// A hardware description as the device sends it: the fields stand behind the marker "Ana.:  "
// at p + 1 (analog), p + 11 (binary), p + 69 (voltage) and p + 93 (current), p being the
// marker's last character.
std::string hardwareReply(const std::string& analog, const std::string& binary,
                          const std::string& voltage, const std::string& current);

class FakeDevice {
  public:
    explicit FakeDevice(ScriptedPort& port);

    std::string address = "0";
    std::string hardware = hardwareReply("2", " 5", "120", "1.2");
    std::array<std::string, 3> copies;
    bool erased = false;
    std::map<std::string, std::string> overrides;
    std::function<std::string(const std::string& frame)> answer;
    Millis delay{0};
    // Sees every frame before it is answered.
    std::function<void(const std::string& frame)> onFrame;

  private:
    void feed(ScriptedPort& port, std::string_view bytes);
    std::string answerTo(const std::string& frame);
    std::string partial_;
};

}  // namespace kalvo::test
