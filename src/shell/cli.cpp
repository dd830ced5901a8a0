#include "shell/cli.h"

#include <optional>
#include <sstream>

#include "config/kennung.h"
#include "config/number_text.h"
#include "device/programming.h"
#include "device/readback.h"
#include "files/project_file.h"
#include "link/hardware.h"
#include "link/link.h"
#include "link/transaction.h"
#include "shell/settings.h"
#include "text/main_texts.h"
#include "text/messages.h"

namespace kalvo {

namespace {

constexpr const char* kUsage =
    "usage: kalvo-cli [--port PATH | --simulator] [--address N] [--lang de|en] [--verbose]\n"
    "                 COMMAND\n"
    "commands:\n"
    "  transact TEXT...       one exchange of \"-\" + address + TEXT (e.g. transact -t)\n"
    "  identify               detect the hardware variant and input class\n"
    "  program FILE.cfg       program the transducer from a project file\n"
    "  read [--output FILE]   read the stored configuration (print it, or save it)\n"
    "  show FILE.cfg          print a project file's configuration\n";

// Prints the progress window's log lines as they happen.
class StreamLog final : public LinkObserver {
  public:
    explicit StreamLog(std::ostream* out) : out_(out) {}
    void logLine(const std::string& line) override {
        if (out_) *out_ << line << '\n' << std::flush;
    }

  private:
    std::ostream* out_;
};

struct Options {
    std::optional<std::string> port;
    bool simulator = false;
    std::string address = "0";
    std::optional<bool> english;
    bool verbose = false;
    std::string command;
    std::vector<std::string> rest;
};

int exitFor(Outcome outcome) {
    switch (outcome) {
        case Outcome::Ok:
            return kExitOk;
        case Outcome::LinkFailure:
            return kExitLink;
        case Outcome::WrongTransducer:
            return kExitWrongTransducer;
        case Outcome::NeverProgrammed:
            return kExitNeverProgrammed;
        case Outcome::BadReply:
            return kExitBadInput;
        case Outcome::Cancelled:
            return kExitLink;
    }
    return kExitLink;
}

std::string num(double v) {
    return formatNumber(v, '.');
}

class Runner {
  public:
    Runner(Options o, const CliEnvironment& env) : o_(std::move(o)), env_(env) {
        english_ = o_.english.value_or(env.settings ? loadSettings(*env.settings).Sprache : false);
    }

    int run() {
        const std::string& c = o_.command;
        if (c == "show") return show();
        if (c == "transact") return transact();
        if (c == "identify") return identify();
        if (c == "program") return program();
        if (c == "read") return read();
        return usage("unknown command: " + c);
    }

  private:
    std::ostream& out() { return *env_.out; }
    std::ostream& err() { return *env_.err; }

    int usage(const std::string& why) {
        err() << "kalvo-cli: " << why << '\n' << kUsage;
        return kExitUsage;
    }

    void showMessage(Outcome outcome) {
        if (auto m = messageFor(outcome, english_)) err() << m->title << ' ' << m->text << '\n';
    }

    int fail(Outcome outcome, const std::string& reason) {
        showMessage(outcome);
        if (!reason.empty()) err() << "kalvo-cli: " << reason << '\n';
        return exitFor(outcome);
    }

    int fileFail(const std::string& path, FileError e, bool saving, const std::string& detail) {
        if (auto m = fileErrorMessage(e, path, saving, english_)) {
            err() << m->title << ": " << m->text;
        }
        if (!detail.empty()) err() << " (" << detail << ")";
        err() << '\n';
        return kExitBadInput;
    }

    // Opens the link to the named port, the simulator, or the stored COM port.
    bool connect() {
        if (o_.simulator) {
            port_ = env_.simulator();
        } else {
            std::string path = o_.port.value_or("");
            if (path.empty()) {
                const int com = env_.settings ? loadSettings(*env_.settings).COM : 1;
                path =
                    env_.settings ? portPathFor(com, *env_.settings, env_.windows) : "/dev/ttyS0";
            }
            portPath_ = path;
            port_ = env_.openPath(path);
        }
        if (!port_ || !port_->open()) {
            err() << "kalvo-cli: " << (english_ ? "cannot open port " : "Port nicht zu öffnen: ")
                  << portPath_ << '\n';
            return false;
        }
        return true;
    }

    Link makeLink(LinkObserver* observer) { return Link(*port_, *env_.clock, observer); }

    int transact() {
        if (o_.rest.empty()) return usage("transact needs the command text, e.g. transact -t");
        std::string text;
        for (const auto& a : o_.rest) text += (text.empty() ? "" : " ") + a;
        if (!connect()) return fail(Outcome::LinkFailure, {});
        StreamLog log(env_.out);
        Link link = makeLink(&log);
        const Transaction t = seriell(link, frameText(o_.address, text), 0);
        if (t.cancelled) return kExitLink;
        if (!t.Befehl_ok) return fail(Outcome::LinkFailure, {});
        return kExitOk;
    }

    int identify() {
        if (!o_.rest.empty()) return usage("identify takes no arguments");
        if (!connect()) return fail(Outcome::LinkFailure, {});
        StreamLog log(o_.verbose ? env_.err : nullptr);
        Link link = makeLink(&log);
        const Identification id = Hardware_erkennung(link, o_.address);
        if (id.outcome != Outcome::Ok) return fail(id.outcome, id.reason);
        out() << "analog=" << id.info.analog << '\n'
              << "binary=" << id.info.binary << '\n'
              << "voltage=" << num(id.info.voltage) << '\n'
              << "current=" << num(id.info.current) << '\n';
        return kExitOk;
    }

    int program() {
        if (o_.rest.size() != 1) return usage("program needs one project file");
        const std::string& path = o_.rest[0];
        Decoded file = Projekt_laden(path, startRecord());
        if (file.error != FileError::None) return fileFail(path, file.error, false, file.detail);
        if (!connect()) return fail(Outcome::LinkFailure, {});
        StreamLog log(env_.out);
        Link link = makeLink(&log);
        const ProgramResult r = programTransducer(link, file.record, o_.address, env_.decimal);
        if (r.outcome != Outcome::Ok) return fail(r.outcome, r.reason);
        out() << programmingDone(english_).text << '\n';
        return kExitOk;
    }

    int read() {
        std::optional<std::string> output;
        for (std::size_t i = 0; i < o_.rest.size(); ++i) {
            if (o_.rest[i] == "--output" && i + 1 < o_.rest.size()) {
                output = o_.rest[++i];
            } else {
                return usage("read takes only --output FILE");
            }
        }
        if (!connect()) return fail(Outcome::LinkFailure, {});
        StreamLog log(o_.verbose ? env_.err : nullptr);
        Link link = makeLink(&log);
        const ReadBackResult r = readTransducer(link, startRecord(), o_.address);
        if (r.outcome != Outcome::Ok) return fail(r.outcome, r.reason);
        if (!output) {
            out() << describeRecord(r.record);
            return kExitOk;
        }
        const FileError e = Projekt_speichern(r.record, *output, env_.decimal);
        if (e != FileError::None) return fileFail(*output, e, true, {});
        return kExitOk;
    }

    int show() {
        if (o_.rest.size() != 1) return usage("show needs one project file");
        const std::string& path = o_.rest[0];
        Decoded file = Projekt_laden(path, startRecord());
        if (file.error != FileError::None) return fileFail(path, file.error, false, file.detail);
        out() << describeRecord(file.record);
        return kExitOk;
    }

    Options o_;
    const CliEnvironment& env_;
    bool english_ = false;
    std::unique_ptr<SerialPort> port_;
    std::string portPath_ = "(simulator)";
};

const char* kConnectionNames[] = {"Four wire unbalanced", "Four wire balanced",
                                  "Three wire unbalanced", "Three wire balanced",
                                  "Single-Phase System"};

// Label of a quantity code without scaling ("?" when the table has no row).
std::string label(int type, const Cell& quantity, const Cell& place) {
    const int code = type * 1000 + static_cast<int>(quantity.toNumber()) * 10 +
                     static_cast<int>(place.toNumber());
    return Kennung_suchen(code, 1, 1).label.value_or("?");
}

}  // namespace

std::string describeRecord(const Record& r) {
    std::ostringstream s;
    const auto& g = r.Grundwerte;
    const auto n = [](const Cell& c) { return num(c.toNumber()); };
    s << "variant: TXR 3.0 " << r.Anzahl_Analog << "A/" << r.Anzahl_Binaer << "D\n";
    s << "input class: " << num(r.Max_Spannung) << " V, " << num(r.Max_Strom) << " A\n";
    const int type = static_cast<int>(g[0].toNumber());
    std::string code = connectionCode(type);  // "4U," as the device takes it
    if (!code.empty()) code.pop_back();
    s << "connection: " << (code.empty() ? "?" : code) << ' '
      << (type >= 0 && type <= 4 ? kConnectionNames[type] : "unknown") << '\n';
    s << "frequency: " << n(g[1]) << " Hz\n";
    if (g[2].equals(0)) {
        s << "voltage: transformer " << n(g[3]) << " kV / " << n(g[4]) << " kV\n";
    } else {
        s << "voltage: " << n(g[2]) << " V\n";
    }
    if (g[5].equals(0)) {
        s << "current: transformer " << n(g[6]) << " A / " << n(g[7]) << " A\n";
    } else {
        s << "current: " << n(g[5]) << " A\n";
    }
    for (int j = 0; j < r.Anzahl_Analog && j < kAnalogRows; ++j) {
        const auto& a = r.Analogwerte[static_cast<std::size_t>(j)];
        const char* unit = a[6].equals(1) ? "V" : "mA";
        s << "analog " << j + 1 << ": " << label(type, a[0], a[1]) << " (" << a[2].toText('.')
          << "), range " << n(a[3]) << " .. " << n(a[5]) << ", knee " << n(a[4]) << " -> "
          << n(a[8]) << ' ' << unit << ", signal " << n(a[7]) << " .. " << n(a[9]) << ' ' << unit
          << ", limits " << n(a[10]) << " .. " << n(a[11]) << ' ' << unit << ", kinked "
          << (a[12].equals(1) ? "on" : "off") << '\n';
    }
    for (int j = 0; j < r.Anzahl_Binaer && j < kBinaryRows; ++j) {
        const auto& b = r.Binaerwerte[static_cast<std::size_t>(j)];
        s << "binary " << j + 1 << ": ";
        if (b[0].equals(0)) {
            s << "off\n";
        } else if (b[0].equals(1)) {
            s << "on while OK\n";
        } else {
            s << "limit " << label(type, b[1], b[2]) << ' ' << (b[5].equals(1) ? "<" : ">") << ' '
              << n(b[4]) << " (" << b[3].toText('.') << ")\n";
        }
    }
    s << "interface:";
    bool any = false;
    for (int i = 0; i < kInterfaceCells; ++i) {
        if (r.Schnittstellenwerte[static_cast<std::size_t>(i)].equals(1)) {
            s << ' ' << i;
            any = true;
        }
    }
    s << (any ? "\n" : " none\n");
    return s.str();
}

int runCli(const std::vector<std::string>& args, const CliEnvironment& env) {
    Options o;
    std::size_t i = 0;
    auto usage = [&](const std::string& why) {
        *env.err << "kalvo-cli: " << why << '\n' << kUsage;
        return kExitUsage;
    };
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& into) {
            if (i + 1 >= args.size()) return false;
            into = args[++i];
            return true;
        };
        if (a == "--port") {
            std::string v;
            if (!value(v) || v.empty()) return usage("--port needs a device path");
            o.port = v;
        } else if (a == "--simulator") {
            o.simulator = true;
        } else if (a == "--address") {
            std::string v;
            if (!value(v)) return usage("--address needs a number");
            // Typed addresses are read like the device reads numbers: "07" is 7.
            o.address = formatNumber(leadingNumber(v), '.');
        } else if (a == "--lang") {
            std::string v;
            if (!value(v) || (v != "de" && v != "en")) return usage("--lang takes de or en");
            o.english = v == "en";
        } else if (a == "--verbose") {
            o.verbose = true;
        } else if (a == "--help" || a == "-h") {
            *env.out << kUsage;
            return kExitOk;
        } else if (!a.empty() && a[0] == '-' && a.size() > 1 && a[1] == '-') {
            return usage("unknown option " + a);
        } else {
            break;
        }
    }
    if (o.port && o.simulator) return usage("--port and --simulator exclude each other");
    if (i >= args.size()) return usage("no command given");
    o.command = args[i++];
    // After the command word every argument belongs to it: "transact -t" sends "-t".
    o.rest.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    return Runner(std::move(o), env).run();
}

}  // namespace kalvo
