#include "shell/session.h"

#include <filesystem>
#include <map>

#include "files/project_file.h"
#include "platform/file_path.h"
#include "shell/messages.h"

namespace kalvo {

namespace {

// "Öffnen" lists "*.cfg": a file name chosen without a suffix gets it ("anlage" ->
// "anlage.cfg"), so the project can be found again. A trailing dot, which Windows drops, is no
// suffix either; a dot in a folder name or at the start of the name does not count.
std::string withProjectSuffix(std::string path) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = path.rfind('.');
    const bool hasDot = dot != std::string::npos && dot > nameStart;
    if (hasDot && dot + 1 < path.size()) return path;
    if (hasDot) path.pop_back();
    return path + ".cfg";
}

}  // namespace

struct Session::Listeners {
    int next = 0;
    std::map<int, std::function<void()>> byId;
};

Session::Subscription::~Subscription() {
    if (auto owner = owner_.lock()) owner->byId.erase(id_);
}

Session::Session(SettingsStore& store, char decimal, std::string programFolder)
    : store_(store), listeners_(std::make_shared<Listeners>()) {
    settings_ = loadSettings(store_);
    safety_ = loadProgrammingSafety(store_);
    ctx_.decimal = decimal;
    ctx_.programFolder = std::move(programFolder);
    ctx_.Geraeteadresse = settings_.Adr;
    storedEnglish_ = settings_.Sprache;
    ctx_.language = languageOf(storedEnglish_);
    markClean();
}

Session::~Session() = default;

std::unique_ptr<Session::Subscription> Session::subscribe(std::function<void()> listener) {
    const int id = listeners_->next++;
    listeners_->byId.emplace(id, std::move(listener));
    return std::unique_ptr<Subscription>(new Subscription(listeners_, id));
}

void Session::changed() {
    // A listener may end its own subscription while it runs: call a copy.
    const auto listeners = listeners_->byId;
    for (const auto& [id, listener] : listeners) listener();
}

EnabledCommands Session::commands() const {
    EnabledCommands c;
    c.save = save_;
    c.saveAs = saveAs_;
    c.print = print_;
    c.device = !jobRunning_;
    return c;
}

// ---- language ----

void Session::chooseLanguage(Language language) {
    storedEnglish_ = language == Language::English;
    useLanguageForThisRun(language);
}

void Session::useLanguageForThisRun(Language language) {
    // The program speaks German or English; the dialect is the parameter dialog's own.
    ctx_.language = language == Language::English ? Language::English : Language::German;
    changed();
}

// ---- port, interface type, address ----

void Session::usePortForThisRun(std::string description) {
    portOverride_ = std::move(description);
    changed();
}

void Session::selectCom(int n) {
    settings_.COM = n;
    portOverride_.reset();
    network_.reset();
    changed();
}

void Session::selectNetwork(const NetworkPort& port) {
    network_ = port;
    portOverride_ = port.name();
    rememberNetworkPort(store_, port);
    changed();
}

std::vector<NetworkPort> Session::recentNetworkPorts() const {
    return loadRecentNetworkPorts(store_);
}

void Session::selectRs(int rs) {
    settings_.RS = rs;
    changed();
}

void Session::setStandardAddress(std::string address) {
    ctx_.Geraeteadresse = std::move(address);
    changed();
}

int Session::portInUse() const {
    if (network_) return kNetworkPortInUse;
    return portOverride_ ? 0 : settings_.COM;
}

std::string Session::portText() const {
    return portOverride_ ? *portOverride_ : "COM " + std::to_string(settings_.COM);
}

std::string Session::rsText() const {
    return "RS-" + std::to_string(settings_.RS);
}

std::string Session::addressText() const {
    return "Adr. " + ctx_.Geraeteadresse;
}

// ---- project ----

void Session::newProject() {
    projectPath_.clear();
    dialogFlags_.Ruecksetzmeldung_aus = true;
    save_ = saveAs_ = print_ = false;
    ctx_.record.Max_Spannung = 600;
    ctx_.record.Max_Strom = 5;
    markClean();
    changed();
}

void Session::chooseHardware(int listIndex) {
    const auto [analog, binary] = variantCounts(listIndex);
    if (analog == 0) return;
    ctx_.record =
        kalvo::newProject(analog, binary, ctx_.record.Max_Spannung, ctx_.record.Max_Strom);
    markClean();
    changed();
}

bool Session::hardwareKnown() const {
    return ctx_.record.Anzahl_Analog != 0 && ctx_.record.Anzahl_Binaer != 0;
}

void Session::parameterDialogAccepted() {
    save_ = saveAs_ = print_ = true;
    changed();
}

Applied Session::openProject(const std::string& path) {
    Decoded loaded = Projekt_laden(path, ctx_.record);
    if (loaded.error != FileError::None) {
        return {false, fileErrorMessage(loaded.error, path, false, ctx_.language)};
    }
    ctx_.record = std::move(loaded.record);
    markClean();
    projectPath_ = path;
    dialogFlags_.Ruecksetzmeldung_aus = false;
    save_ = saveAs_ = true;
    changed();
    return {true, std::nullopt};
}

Applied Session::saveProject(const std::string& chosenPath) {
    const std::string path = withProjectSuffix(chosenPath);
    const FileError error = Projekt_speichern(ctx_.record, path, ctx_.decimal);
    if (error != FileError::None) {
        return {false, fileErrorMessage(error, path, true, ctx_.language)};
    }
    projectPath_ = path;
    markClean();  // the file holds it now
    return {true, std::nullopt};
}

// The caption once cut the program folder's length off the path, whatever folder the file was
// in; a file elsewhere lost the start of its own name. Inside the folder the relative path is
// what that cut gave; outside it the whole path is shown.
std::string Session::projectCaptionName() const {
    namespace fs = std::filesystem;
    if (projectPath_.empty()) return {};
    std::error_code ec;
    const fs::path file = fs::absolute(pathFromUtf8(projectPath_), ec).lexically_normal();
    if (!ctx_.programFolder.empty()) {
        const fs::path folder = pathFromUtf8(ctx_.programFolder).lexically_normal();
        const fs::path relative = file.lexically_relative(folder);
        if (!relative.empty() && *relative.begin() != "..") return utf8FromPath(relative);
    }
    return utf8FromPath(file);
}

// ---- results of device sequences ----

void Session::setJobRunning(bool running) {
    if (jobRunning_ == running) return;
    jobRunning_ = running;
    changed();
}

Applied Session::applyIdentification(const Identification& result) {
    if (result.outcome != Outcome::Ok) {
        return {false, messageFor(result.outcome, result.portError, ctx_.language)};
    }
    const HardwareInfo& hw = result.info;
    ctx_.record = kalvo::newProject(hw.analog, hw.binary, hw.voltage, hw.current);
    markClean();
    changed();
    return {true, std::nullopt};
}

Applied Session::applyProgramming(const ProgramResult& result) {
    if (result.outcome == Outcome::Ok && !result.nothingToDo) {
        ctx_.record.Max_Spannung = result.hardware.voltage;
        ctx_.record.Max_Strom = result.hardware.current;
        markClean();
        changed();
    }
    return {result.outcome == Outcome::Ok, programmingMessage(result, ctx_.language)};
}

Applied Session::applyReadBack(ReadBackResult result) {
    if (result.outcome != Outcome::Ok) {
        return {false, messageFor(result.outcome, result.portError, ctx_.language)};
    }
    ctx_.record = std::move(result.record);
    markClean();
    changed();
    return {true, std::nullopt};
}

Applied Session::jobFailed() const {
    return {false, msg(ctx_.language)};
}

// ---- the safety net around programming ----

void Session::setProgrammingSafety(const ProgrammingSafety& safety) {
    safety_ = safety;
    saveProgrammingSafety(store_, safety_);
    changed();
}

// ---- settings ----

void Session::saveSettings(int leftTwips, int topTwips, int widthTwips, int heightTwips) {
    Settings s = settings_;
    s.MainLeft = leftTwips;
    s.MainTop = topTwips;
    s.MainWidth = widthTwips;
    s.MainHeight = heightTwips;
    s.Adr = ctx_.Geraeteadresse;
    s.Sprache = storedEnglish_;
    kalvo::saveSettings(store_, s);
    settings_ = s;
}

bool Session::unsavedChanges() const {
    if (ctx_.record == clean_) return false;
    return encodeProject(ctx_.record, {}, ctx_.decimal).bytes !=
           encodeProject(clean_, {}, ctx_.decimal).bytes;
}

}  // namespace kalvo
