#include "shell/cli.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <system_error>
#include <variant>

#include "config/compare.h"
#include "config/number_text.h"
#include "config/param_flow.h"
#include "config/rules.h"
#include "device/backup.h"
#include "device/programming.h"
#include "device/readback.h"
#include "files/project_file.h"
#include "link/address.h"
#include "link/hardware.h"
#include "link/link.h"
#include "link/port_name.h"
#include "link/transaction.h"
#include "link/transcript.h"
#include "measure/watch.h"
#include "platform/file_path.h"
#include "print/datasheet.h"
#include "shell/messages.h"
#include "shell/settings.h"
#include "shell/version.h"
#include "text/cli_texts.h"
#include "text/cp1252.h"
#include "text/messages.h"
#include "text/safety_texts.h"

namespace kalvo {

namespace {

constexpr const char* kUsage =
    "usage: kalvo-cli [--port PATH | --simulator [--fresh]] [--address N] [--lang de|en]\n"
    "                 [--verbose] [--transcript FILE] COMMAND\n"
    "       kalvo-cli --help | --version\n"
    "  --port PATH  the device path of the serial port, or tcp://HOST:PORT for a serial\n"
    "               device server (gateway) on the network\n"
    "  --simulator  a built-in simulated unit: programmed 2A/5D, 120 V / 1.2 A with a demo\n"
    "               configuration; --fresh: one that was never programmed\n"
    "  --address N  the unit's address, a whole number 0..32 (default 0)\n"
    "  --transcript FILE\n"
    "               append the device job's time-stamped transcript to FILE\n"
    "commands:\n"
    "  transact TEXT...       one exchange of \"-\" + address + TEXT (e.g. transact -t)\n"
    "  identify               detect the hardware variant and input class\n"
    "  program [--force] [--backup DIR] [--verify] [--addresses LIST] FILE.cfg\n"
    "                         program the transducer from a project file after the\n"
    "                         dialog's checks: faults are printed and nothing is sent (exit\n"
    "                         5); --force sends anyway, the faults as warnings; --strict is\n"
    "                         accepted and means the default\n"
    "                         --backup DIR: first save the unit's configuration in DIR\n"
    "                         --verify: read the copy back and compare it (exit 6 if not\n"
    "                         the same); --addresses 1,3-5: every unit in turn, then one\n"
    "                         line each: address TAB ok|failed TAB message (instead of\n"
    "                         --address)\n"
    "  read [--output FILE]   read the stored configuration (print it, or save it)\n"
    "  show FILE.cfg          print a project file's configuration\n"
    "  set-address [--verify] OLD NEW\n"
    "                         give the device at OLD the address NEW (each 0..32);\n"
    "                         --verify: then a link test at NEW\n"
    "  send TEXT...           send TEXT + LF + CR exactly as given (e.g. send -0-t);\n"
    "                         Windows-1252 characters only\n"
    "  datasheet [--lang de|en] FILE.cfg --pdf OUT.pdf\n"
    "                         write the project's data sheet as a PDF (never over the\n"
    "                         project file itself)\n"
    "  check [--lang de|en] FILE.cfg\n"
    "                         run the parameter dialog's checks on a project file; one\n"
    "                         line per fault: page TAB stop sign TAB explanation\n"
    "  watch [--config FILE.cfg] [--lines N | --cycles N] [--csv FILE]\n"
    "                         print the measured values as they arrive (Ctrl-C ends); an\n"
    "                         existing CSV file is replaced only once a value came\n"
    "  diff [--lang de|en] FILE.cfg [OTHER.cfg]\n"
    "                         compare the unit's stored configuration (or OTHER.cfg) with\n"
    "                         FILE.cfg; one line per difference: page TAB parameter TAB\n"
    "                         file TAB unit (or OTHER.cfg); exit 6 when they differ\n"
    "exit codes: 0 ok, 1 usage, 2 link, 3 wrong transducer, 4 never programmed, 5 bad input,\n"
    "            6 differences found\n";

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
    bool fresh = false;
    std::string address = "0";
    bool addressGiven = false;  // --address was on the command line
    Language language = Language::German;
    bool verbose = false;
    std::optional<std::string> transcript;
    std::vector<std::string> args;  // the whole command line, for the transcript
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
        case Outcome::BadRecord:
            return kExitBadInput;
        case Outcome::Cancelled:
            return kExitLink;
    }
    return kExitLink;
}

std::string num(double v) {
    return formatNumber(v, '.');
}

// The language of every message, known before anything can go wrong: the last --lang among
// the options before the command word, else the desktop tool's choice.
Language messageLanguage(const std::vector<std::string>& args, const SettingsStore* settings) {
    std::optional<Language> chosen;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--lang" && hasValue && (args[i + 1] == "de" || args[i + 1] == "en")) {
            chosen = languageOf(args[i + 1] == "en");
        }
        if ((a == "--port" || a == "--address" || a == "--lang" || a == "--transcript") &&
            hasValue) {
            ++i;
        } else if (a.rfind("--", 0) != 0) {
            break;  // the command word
        }
    }
    return chosen.value_or(languageOf(settings != nullptr && loadSettings(*settings).Sprache));
}

// The language a command's own --lang asks for, or `current`.
Language commandLanguage(const std::vector<std::string>& rest, Language current) {
    for (std::size_t i = 0; i + 1 < rest.size(); ++i) {
        if (rest[i] == "--lang" && (rest[i + 1] == "de" || rest[i + 1] == "en")) {
            return languageOf(rest[i + 1] == "en");
        }
    }
    return current;
}

void usageError(std::ostream& err, const Wording& why, Language language) {
    err << "kalvo-cli: " << why.in(language) << '\n' << kCliSeeHelp.in(language) << '\n';
}

class Runner {
  public:
    Runner(Options o, const CliEnvironment& env)
        : o_(std::move(o)), env_(env), language_(o_.language) {}

    int run() {
        const int code = runCommand();
        if (!transcript_) return code;
        transcript_->ended(outcome_, reason_.in(language_));
        transcriptFile_.close();
        if (!transcriptFile_.fail()) return code;
        err() << "kalvo-cli: "
              << fillIn(kCliTranscriptIncomplete.in(language_), "\"" + *o_.transcript + "\"")
              << '\n';
        return code == kExitOk ? kExitBadInput : code;
    }

  private:
    int runCommand() {
        const std::string& c = o_.command;
        if (c == "show") return show();
        if (c == "transact") return transact();
        if (c == "identify") return identify();
        if (c == "program") return program();
        if (c == "read") return read();
        if (c == "set-address") return setAddress();
        if (c == "send") return send();
        if (c == "datasheet") return datasheet();
        if (c == "check") return check();
        if (c == "watch") return watch();
        if (c == "diff") return diff();
        return usage(fillIn(kCliUnknownCommand, c));
    }

    std::ostream& out() { return *env_.out; }
    std::ostream& err() { return *env_.err; }

    int usage(const Wording& why) {
        usageError(err(), why, language_);
        return kExitUsage;
    }

    void showMessage(Outcome outcome) {
        if (auto m = messageFor(outcome, language_)) err() << m->title << ' ' << m->text << '\n';
    }

    int fail(Outcome outcome, const Wording& reason) {
        // The transcript file could not be opened: that was said, and nothing was sent.
        if (transcriptRefused_) return kExitBadInput;
        outcome_ = outcome;
        if (!reason.empty()) reason_ = reason;
        showMessage(outcome);
        if (!reason.empty()) err() << "kalvo-cli: " << reason.in(language_) << '\n';
        return exitFor(outcome);
    }

    int fileFail(const std::string& path, FileError e, bool saving, const Wording& detail) {
        if (auto m = fileErrorMessage(e, path, saving, language_)) {
            err() << m->title << ": " << m->text;
        }
        if (!detail.empty()) err() << " (" << detail.in(language_) << ")";
        err() << '\n';
        return kExitBadInput;
    }

    // Opens the transcript file (appending) and starts the job's transcript in it; false,
    // with the message said, when the file cannot be opened.
    bool openTranscript() {
        if (!o_.transcript || transcript_) return true;
        errno = 0;
        transcriptFile_.open(pathFromUtf8(*o_.transcript), std::ios::binary | std::ios::app);
        if (!transcriptFile_.is_open()) {
            err() << "kalvo-cli: "
                  << fillIn(kCliTranscriptCannotOpen.in(language_), "\"" + *o_.transcript + "\"");
            if (errno != 0) err() << " (" << std::generic_category().message(errno) << ")";
            err() << '\n';
            transcriptRefused_ = true;
            return false;
        }
        const SystemWallClock system;
        const WallClock& wall = env_.wallClock ? *env_.wallClock : system;
        transcript_.emplace(wall.now(), *env_.clock, [this](const std::string& line) {
            transcriptFile_ << line << '\n' << std::flush;
        });
        std::string what = "kalvo-cli";
        for (const std::string& a : o_.args) what += " " + a;
        transcript_->begin(what);
        return true;
    }

    // Opens the link to the named port, the simulator, or the stored COM port.
    bool connect() {
        if (!openTranscript()) return false;
        if (o_.simulator) {
            const auto& make = o_.fresh ? env_.freshSimulator : env_.simulator;
            if (make) port_ = make();
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
            const std::string reason = port_ ? port_->errorText() : std::string();
            // A gateway says which one could not be reached and why, in the user's language.
            if (isNetworkPortName(portPath_) && !reason.empty()) {
                reason_ = Wording(portErrorIn(reason, Language::German),
                                  portErrorIn(reason, Language::English));
                err() << "kalvo-cli: " << reason_.in(language_) << '\n';
                return false;
            }
            const std::string detail = reason.empty() ? "" : " (" + reason + ")";
            reason_ = Wording(Text{"Port nicht zu öffnen: ", "cannot open port "}) +
                      Wording(portPath_ + detail, portPath_ + detail);
            err() << "kalvo-cli: " << reason_.in(language_) << '\n';
            return false;
        }
        return true;
    }

    Link makeLink(LinkObserver* observer, const std::atomic<bool>* cancel = nullptr) {
        Link link(*port_, *env_.clock, observer, cancel);
        if (transcript_) link.setTranscript(&*transcript_);
        return link;
    }

    int transact() {
        if (o_.rest.empty()) return usage(kCliTransactNeedsText);
        std::string text;
        for (const auto& a : o_.rest) text += (text.empty() ? "" : " ") + a;
        if (!connect()) return fail(Outcome::LinkFailure, {});
        StreamLog log(env_.out);
        Link link = makeLink(&log);
        const Transaction t = seriell(link, frameText(o_.address, text), 0);
        if (t.cancelled) {
            outcome_ = Outcome::Cancelled;
            return kExitLink;
        }
        if (!t.Befehl_ok) return fail(Outcome::LinkFailure, {});
        return kExitOk;
    }

    int identify() {
        if (!o_.rest.empty()) return usage(kCliIdentifyNoArguments);
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
        bool force = false;
        SafetyNet net;
        net.language = language_;
        std::optional<AddressList> bus;
        std::vector<std::string> files;
        for (std::size_t i = 0; i < o_.rest.size(); ++i) {
            const std::string& a = o_.rest[i];
            const bool hasValue = i + 1 < o_.rest.size() && !o_.rest[i + 1].empty();
            if (a == "--strict") {
                continue;  // what programming does anyway
            } else if (a == "--force") {
                force = true;
            } else if (a == "--verify") {
                net.verify = true;
            } else if (a == "--backup") {
                if (!hasValue) return usage(kCliBackupNeedsFolder);
                net.backupFolder = o_.rest[++i];
            } else if (a == "--addresses") {
                if (!hasValue) return usage(kCliAddressesNeedsList);
                // One unit or a list: which one --address meant would be a guess.
                if (o_.addressGiven) return usage(kCliAddressesWithAddress);
                bus = parseAddressList(o_.rest[++i]);
                if (bus->badEntry) return usage(fillIn(kCliAddressesEntry, *bus->badEntry));
                if (bus->twice) {
                    return usage(fillIn(kCliAddressesTwice, std::to_string(*bus->twice)));
                }
            } else {
                files.push_back(a);
            }
        }
        if (files.size() != 1) return usage(kCliProgramNeedsFile);
        const std::string& path = files[0];
        Decoded file = Projekt_laden(path, startRecord());
        if (file.error != FileError::None) return fileFail(path, file.error, false, file.detail);
        const bool faulty = printFaults(file.record, force);
        // A record that cannot be sent is refused before the port is touched, --force or not.
        if (const RecordCheck check = checkRecordSendable(file.record, env_.decimal);
            !check.sendable()) {
            const MessageText m = recordFaultMessage(check.fault, language_, check.cell);
            err() << m.title << ' ' << m.text << '\n';
            return kExitBadInput;
        }
        if (faulty && !force) {
            err() << "kalvo-cli: "
                  << Text{"nicht programmiert (--force programmiert trotzdem)",
                          "not programmed (--force programs anyway)"}
                         .in(language_)
                  << '\n';
            return kExitBadInput;
        }
        // Neither is the port touched when the backups could not be kept.
        if (!net.backupFolder.empty() && prepareBackupFolder(net.backupFolder) != FileError::None) {
            ProgramResult r;
            r.outcome = Outcome::BadRecord;
            r.backupError = FileError::CannotWrite;
            r.backupPath = net.backupFolder;
            r.reason = fillIn(kReasonBackupFolder, net.backupFolder);
            return programFailed(r);
        }
        if (!connect()) return fail(Outcome::LinkFailure, {});
        StreamLog log(env_.out);
        Link link = makeLink(&log);
        if (!bus) {
            const ProgramResult r =
                programTransducer(link, file.record, o_.address, env_.decimal, net);
            if (r.outcome != Outcome::Ok) return programFailed(r);
            out() << programmingDone(language_).text << '\n';
            return kExitOk;
        }
        // Unit after unit, each with its own hardware check; a failure does not stop the others.
        std::vector<std::string> summary;
        int exitCode = kExitOk;
        for (const int address : bus->addresses) {
            const ProgramResult r =
                programTransducer(link, file.record, std::to_string(address), env_.decimal, net);
            const bool ok = r.outcome == Outcome::Ok;
            if (!ok && exitCode == kExitOk) {
                exitCode = programExitCode(r);
                outcome_ = r.outcome;  // the transcript ends with the first failure
                reason_ = r.reason;
            }
            summary.push_back(std::to_string(address) + (ok ? "\tok\t" : "\tfailed\t") +
                              busMessage(r));
        }
        for (const std::string& line : summary) out() << line << '\n';
        return exitCode;
    }

    static int programExitCode(const ProgramResult& r) {
        return r.differences.empty() ? exitFor(r.outcome) : kExitDifferent;
    }

    // The end of a failed programming run: its box and the reason on stderr.
    int programFailed(const ProgramResult& r) {
        if (r.backupError == FileError::None && r.differences.empty()) {
            return fail(r.outcome, r.reason);
        }
        outcome_ = r.outcome;
        if (!r.reason.empty()) reason_ = r.reason;
        if (auto m = programmingMessage(r, language_)) err() << m->title << ' ' << m->text << '\n';
        if (!r.reason.empty()) err() << "kalvo-cli: " << r.reason.in(language_) << '\n';
        return programExitCode(r);
    }

    // A unit's summary message in a bus run: one line without TABs.
    std::string busMessage(const ProgramResult& r) const {
        std::string text;
        if (r.outcome == Outcome::Ok) {
            text = programmingDone(language_).text;
            if (r.nothingBackedUp) text += " " + std::string(kLogBackupNothing.in(language_));
            if (!r.backupPath.empty()) {
                text += " " + fillIn(kLogBackupWritten.in(language_), r.backupPath);
            }
        } else {
            if (auto m = programmingMessage(r, language_))
                text = m->text.substr(0, m->text.find('\n'));
            if (!r.reason.empty()) text += " (" + r.reason.in(language_) + ")";
        }
        std::replace(text.begin(), text.end(), '\t', ' ');
        return text;
    }

    int read() {
        std::optional<std::string> output;
        for (std::size_t i = 0; i < o_.rest.size(); ++i) {
            if (o_.rest[i] == "--output" && i + 1 < o_.rest.size()) {
                output = o_.rest[++i];
            } else {
                return usage(kCliReadOptions);
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

    // The parameter dialog's checks before programming: faults go to stderr as errors, or with
    // --force as warnings. True when there is a fault.
    bool printFaults(const Record& record, bool force) {
        const std::vector<std::string> faults = faultLines(record, language_, env_.decimal);
        const Text kind = force ? Text{"Warnung: ", "warning: "} : Text{"Fehler: ", "error: "};
        for (const std::string& line : faults) {
            err() << "kalvo-cli: " << kind.in(language_) << line << '\n';
        }
        return !faults.empty();
    }

    // The arguments of a command that takes files and --lang: the files in order, the language
    // set; a usage error's exit code for anything else.
    std::optional<int> fileArguments(std::vector<std::string>& files) {
        for (std::size_t i = 0; i < o_.rest.size(); ++i) {
            const std::string& a = o_.rest[i];
            if (a == "--lang") {
                if (i + 1 >= o_.rest.size() || (o_.rest[i + 1] != "de" && o_.rest[i + 1] != "en")) {
                    return usage(kCliLangValues);
                }
                language_ = languageOf(o_.rest[++i] == "en");
            } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
                return usage(fillIn(kCliUnknownOption, a));
            } else {
                files.push_back(a);
            }
        }
        return std::nullopt;
    }

    // Runs the parameter dialog's page checks on a project file: one line per fault on
    // stdout, nothing when it is clean.
    int check() {
        language_ = commandLanguage(o_.rest, language_);
        std::vector<std::string> files;
        if (auto refused = fileArguments(files)) return *refused;
        if (files.size() != 1) return usage(kCliCheckNeedsFile);
        const Decoded file = Projekt_laden(files[0], startRecord());
        if (file.error != FileError::None) {
            return fileFail(files[0], file.error, false, file.detail);
        }
        const std::vector<std::string> faults = faultLines(file.record, language_, env_.decimal);
        for (const std::string& line : faults) out() << line << '\n';
        return faults.empty() ? kExitOk : kExitBadInput;
    }

    // A project file against the unit's stored copy, or against a second file: one line per
    // difference on stdout, exit 6 when there is any. Files are read first, so a bad file
    // never touches the port.
    int diff() {
        std::vector<std::string> files;
        if (auto refused = fileArguments(files)) return *refused;
        if (files.empty() || files.size() > 2) return usage(kCliDiffArguments);
        std::vector<Record> records;
        for (const std::string& path : files) {
            Decoded file = Projekt_laden(path, startRecord());
            if (file.error != FileError::None) {
                return fileFail(path, file.error, false, file.detail);
            }
            records.push_back(std::move(file.record));
        }
        if (records.size() == 1) {
            if (!connect()) return fail(Outcome::LinkFailure, {});
            StreamLog log(o_.verbose ? env_.err : nullptr);
            Link link = makeLink(&log);
            ReadBackResult r = readTransducer(link, startRecord(), o_.address);
            if (r.outcome != Outcome::Ok) return fail(r.outcome, r.reason);
            records.push_back(std::move(r.record));
        }
        const std::vector<RecordDifference> differences =
            compareRecords(records[0], records[1], language_, env_.decimal);
        for (const RecordDifference& d : differences) out() << differenceLine(d) << '\n';
        return differences.empty() ? kExitOk : kExitDifferent;
    }

    int show() {
        if (o_.rest.size() != 1) return usage(kCliShowNeedsFile);
        const std::string& path = o_.rest[0];
        Decoded file = Projekt_laden(path, startRecord());
        if (file.error != FileError::None) return fileFail(path, file.error, false, file.detail);
        out() << describeRecord(file.record);
        return kExitOk;
    }

    // Both addresses are whole numbers 0..32 ("07" is 7); anything else sends nothing. A
    // failed link test counts as a link failure (exit 2): the device may or may not have
    // taken the new address, and only a test that passes tells.
    int setAddress() {
        bool verify = false;
        std::vector<std::string> entries;
        for (const auto& a : o_.rest) {
            if (a == "--verify") {
                verify = true;
            } else {
                entries.push_back(a);
            }
        }
        if (entries.size() != 2) return usage(kCliSetAddressArguments);
        AddressChange change{0, 0, verify};
        for (auto [entry, into] : {std::pair{&entries[0], &change.oldAddress},
                                   std::pair{&entries[1], &change.newAddress}}) {
            const std::optional<int> address = strictAddress(*entry);
            if (!address) return usage(fillIn(kCliSetAddressAllowed, *entry));
            *into = *address;
        }
        if (!connect()) return fail(Outcome::LinkFailure, {});
        StreamLog log(env_.out);
        Link link = makeLink(&log);
        const AddressChangeResult r = changeAddress(link, change);
        if (r.outcome != Outcome::Ok) return fail(r.outcome, {});
        return kExitOk;
    }

    int send() {
        if (o_.rest.empty()) return usage(kCliSendNeedsText);
        std::string text;
        for (std::size_t i = 0; i < o_.rest.size(); ++i) text += (i ? " " : "") + o_.rest[i];
        // The line carries Windows-1252 only: a character without a byte there would go out as
        // "?", another command than the one given.
        if (const std::string bad = outsideCp1252(text); !bad.empty()) {
            err() << "kalvo-cli: " << fillIn(kCliSendNotCp1252.in(language_), bad) << '\n';
            return kExitBadInput;
        }
        if (!connect()) return fail(Outcome::LinkFailure, {});
        StreamLog log(env_.out);
        Link link = makeLink(&log);
        const Outcome r = sendDirect(link, text);
        if (r != Outcome::Ok) return fail(r, {});
        return kExitOk;
    }

    int datasheet() {
        std::string project;
        std::string pdfPath;
        language_ = commandLanguage(o_.rest, language_);
        for (std::size_t i = 0; i < o_.rest.size(); ++i) {
            const std::string& a = o_.rest[i];
            const bool hasValue = i + 1 < o_.rest.size();
            if (a == "--pdf" && hasValue && !o_.rest[i + 1].empty()) {
                pdfPath = o_.rest[++i];
            } else if (a == "--lang" && hasValue &&
                       (o_.rest[i + 1] == "de" || o_.rest[i + 1] == "en")) {
                language_ = languageOf(o_.rest[++i] == "en");
            } else if (a.rfind("--", 0) != 0 && project.empty()) {
                project = a;
            } else {
                return usage(kCliDatasheetArguments);
            }
        }
        if (project.empty() || pdfPath.empty()) return usage(kCliDatasheetArguments);
        Decoded file = Projekt_laden(project, startRecord());
        if (file.error != FileError::None) return fileFail(project, file.error, false, file.detail);
        if (env_.pdf == nullptr) {
            err() << "kalvo-cli: " << kCliNoPdf.in(language_) << '\n';
            return kExitBadInput;
        }
        SheetOptions options;
        options.language = language_;
        options.decimal = env_.decimal;
        const SheetStamp now = sheetStampNow();
        options.date = now.date;
        options.time = now.time;
        options.pictureFolder = env_.programFolder;
        options.projectFile = project;  // never written over by the sheet
        SheetReport report;
        const PdfResult r = writeDatasheetPdf(*env_.pdf, pdfPath, file.record, options, &report);
        if (auto m = pdfErrorMessage(r, pdfPath, language_)) {
            err() << m->title << ": " << m->text << '\n';
            return kExitBadInput;
        }
        // The sheet goes out without the picture, as the desktop tool prints it; say so.
        if (!report.picturePath.empty() && !report.pictureDrawn) {
            err() << "kalvo-cli: "
                  << Text{"Anschlussbild fehlt: ", "wiring picture missing: "}.in(language_)
                  << report.picturePath << '\n';
        }
        return kExitOk;
    }

    int watch() {
        auto parsed = parseWatchArguments(o_.rest);
        if (auto* why = std::get_if<Wording>(&parsed)) return usage(*why);
        const WatchRequest& w = std::get<WatchRequest>(parsed);
        Transformers transformers;
        if (w.config) {
            Decoded file = Projekt_laden(*w.config, startRecord());
            if (file.error != FileError::None)
                return fileFail(*w.config, file.error, false, file.detail);
            transformers = displayTransformers(file.record);
        }
        std::optional<CsvLog> csv;
        auto csvFail = [&] {
            err() << kFileErrorTitle.in(language_) << ": "
                  << fillIn(kFileCannotWrite.in(language_), "\"" + *w.csv + "\"") << '\n';
            return kExitBadInput;
        };
        if (w.csv && !(csv = CsvLog::create(*w.csv))) return csvFail();
        if (!connect()) return fail(Outcome::LinkFailure, {});
        Link link = makeLink(nullptr, env_.interrupt);
        const WatchResult r = watchMeasuredValues(link, o_.address, transformers, w.options, out(),
                                                  csv ? &*csv : nullptr);
        outcome_ = r.outcome;  // Ctrl-C ends a watch: the transcript says so
        if (r.csvFailed) return csvFail();
        if (r.outcome == Outcome::Cancelled) return kExitOk;
        if (r.outcome != Outcome::Ok) return fail(r.outcome, r.reason);
        return kExitOk;
    }

    Options o_;
    const CliEnvironment& env_;
    Language language_ = Language::German;
    std::unique_ptr<SerialPort> port_;
    std::string portPath_ = "(simulator)";
    // --transcript: the file, the job's transcript in it, and how the job ended.
    std::ofstream transcriptFile_;
    std::optional<Transcript> transcript_;
    bool transcriptRefused_ = false;
    Outcome outcome_ = Outcome::Ok;
    Wording reason_;
};

}  // namespace

int runCli(const std::vector<std::string>& args, const CliEnvironment& env) {
    Options o;
    o.language = messageLanguage(args, env.settings);
    o.args = args;
    std::size_t i = 0;
    auto usage = [&](const Wording& why) {
        usageError(*env.err, why, o.language);
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
            if (!value(v) || v.empty()) return usage(kCliPortNeedsPath);
            o.port = v;
        } else if (a == "--simulator") {
            o.simulator = true;
        } else if (a == "--fresh") {
            o.fresh = true;
        } else if (a == "--address") {
            std::string v;
            // A whole number 0..32 ("07" is 7): anything else would put a malformed frame on
            // the line or talk to another unit.
            const std::optional<int> address = value(v) ? strictAddress(v) : std::nullopt;
            if (!address) return usage(fillIn(kCliAddressAllowed, v));
            o.address = std::to_string(*address);
            o.addressGiven = true;
        } else if (a == "--lang") {
            std::string v;
            if (!value(v) || (v != "de" && v != "en")) return usage(kCliLangValues);
        } else if (a == "--verbose") {
            o.verbose = true;
        } else if (a == "--transcript") {
            std::string v;
            if (!value(v) || v.empty()) return usage(kCliTranscriptNeedsFile);
            o.transcript = v;
        } else if (a == "--help" || a == "-h") {
            *env.out << kUsage;
            return kExitOk;
        } else if (a == "--version") {
            *env.out << versionLine("kalvo-cli") << '\n';
            return kExitOk;
        } else if (!a.empty() && a[0] == '-' && a.size() > 1 && a[1] == '-') {
            return usage(fillIn(kCliUnknownOption, a));
        } else {
            break;
        }
    }
    if (o.port && o.simulator) return usage(kCliPortOrSimulator);
    if (o.fresh && !o.simulator) return usage(kCliFreshNeedsSimulator);
    if (i >= args.size()) return usage(kCliNoCommand);
    o.command = args[i++];
    // After the command word every argument belongs to it: "transact -t" sends "-t".
    o.rest.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    return Runner(std::move(o), env).run();
}

}  // namespace kalvo
