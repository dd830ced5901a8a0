#include "support/fake_device.h"

#include <utility>

namespace kalvo::test {

std::string hardwareReply(const std::string& analog, const std::string& binary,
                          const std::string& voltage, const std::string& current) {
    std::string t = "TXR 3.0 Ana.:  ";
    const std::size_t p = t.size() - 1;
    t.resize(p + 96, 'x');
    t.replace(p + 1, analog.size(), analog);
    t.replace(p + 11, binary.size(), binary);
    t.replace(p + 69, voltage.size(), voltage);
    t.replace(p + 93, current.size(), current);
    return t;
}

FakeDevice::FakeDevice(ScriptedPort& port) {
    port.onWrite = [this](ScriptedPort& p, std::string_view bytes) { feed(p, bytes); };
}

void FakeDevice::feed(ScriptedPort& port, std::string_view bytes) {
    for (char c : bytes) {
        if (c != '\n' && c != '\r') {
            partial_ += c;
            continue;
        }
        if (partial_.empty()) continue;
        const std::string frame = std::exchange(partial_, {});
        if (onFrame) onFrame(frame);
        const std::string reply = answerTo(frame);
        if (!reply.empty()) port.deliver(reply, delay);
    }
}

std::string FakeDevice::answerTo(const std::string& frame) {
    if (auto it = overrides.find(frame); it != overrides.end()) return it->second;
    if (answer) return answer(frame);
    const std::string mine = "-" + address;
    if (frame.rfind(mine + "-", 0) != 0) return {};
    const std::string cmd = frame.substr(mine.size());
    if (cmd == "-*?") return hardware + "\r";
    if (cmd.size() >= 3 && cmd.compare(0, 2, "-D") == 0 && cmd[2] >= '1' && cmd[2] <= '3') {
        const std::size_t n = static_cast<std::size_t>(cmd[2] - '1');
        if (cmd.size() == 3)
            return frame + "," + (erased ? std::string(24, '\xFF') : copies[n]) + "\r";
        if (cmd[3] == ',') copies[n] = cmd.substr(4);
    }
    return frame + "\r";
}

}  // namespace kalvo::test
