// The application's rules driven the way a user drives them: new project, hardware choice,
// files, the results of device sequences, and which commands are offered after each step.
#include "shell/session.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "config/rules.h"
#include "support/fakes.h"
#include "support/scratch_dir.h"

namespace kalvo {
namespace {

using test::MemorySettings;

EnabledCommands offered(bool save, bool saveAs, bool print, bool device = true) {
    return {save, saveAs, print, device};
}

struct SessionTest : ::testing::Test {
    test::ScratchDir scratch;
    std::string tempPath(const std::string& name) const { return scratch.file(name); }
    MemorySettings store;
    std::unique_ptr<Session> session;
    int notices = 0;
    std::unique_ptr<Session::Subscription> subscription;

    Session& start(char decimal = '.') {
        session = std::make_unique<Session>(store, decimal, "/opt/kalvo");
        subscription = session->subscribe([this] { ++notices; });
        return *session;
    }
};

TEST_F(SessionTest, AUsersPathThroughNewProjectFilesAndTheDevice) {
    Session& s = start();
    EXPECT_FALSE(s.hardwareKnown());
    EXPECT_EQ(s.commands(), offered(false, false, false));

    // New: classes back to 600 V / 5 A, the reset notice suppressed, nothing to save yet.
    s.context().record.Max_Spannung = 120;
    s.dialogFlags().Ruecksetzmeldung_aus = false;
    s.newProject();
    EXPECT_EQ(s.record().Max_Spannung, 600);
    EXPECT_EQ(s.record().Max_Strom, 5);
    EXPECT_TRUE(s.dialogFlags().Ruecksetzmeldung_aus);

    // A manual 2A/5D keeps the classes and takes every default for them.
    s.context().record.Max_Spannung = 100;
    s.context().record.Max_Strom = 1;
    s.chooseHardware(6);  // "TXR 3.0 2A/5D"
    EXPECT_TRUE(s.hardwareKnown());
    EXPECT_EQ(s.record(), newProject(2, 5, 100, 1));
    EXPECT_EQ(s.commands(), offered(false, false, false));
    EXPECT_FALSE(s.unsavedChanges());  // a new project's defaults are nothing to lose
    // The dialog stores numbers where a file or the unit gave text: the same values.
    const Cell frequency = s.record().Grundwerte[Basic::NominalFrequency];
    const std::string text = frequency.toText('.');
    s.context().record.Grundwerte[Basic::NominalFrequency] =
        frequency == Cell(text) ? Cell(std::stod(text)) : Cell(text);
    EXPECT_FALSE(s.unsavedChanges());
    s.context().record.Grundwerte[Basic::NominalFrequency] = Cell("60");
    EXPECT_TRUE(s.unsavedChanges());

    // The dialog's OK offers saving and printing; saving writes the record. A name chosen
    // without a suffix gets ".cfg", so "Öffnen" lists the file; other names stay as chosen.
    s.parameterDialogAccepted();
    EXPECT_EQ(s.commands(), offered(true, true, true));
    const std::pair<const char*, const char*> names[] = {
        {"user", "user.cfg"}, {"old.", "old.cfg"}, {"notes.txt", "notes.txt"}};
    for (const auto& [chosen, written] : names) {
        ASSERT_TRUE(s.saveProject(tempPath(chosen)).ok);
        EXPECT_EQ(s.projectPath(), tempPath(written));
        EXPECT_TRUE(std::filesystem::exists(tempPath(written))) << written;
    }
    EXPECT_FALSE(std::filesystem::exists(tempPath("user")));
    EXPECT_FALSE(s.unsavedChanges());
    const std::string path = tempPath("user.cfg");

    // A failed read-back changes nothing and says so; a good one replaces the record.
    const Record saved = s.record();
    ReadBackResult read{Outcome::LinkFailure, newProject(4, 9, 600, 5), {}, {}};
    const Applied a = s.applyReadBack(read);
    EXPECT_FALSE(a.ok);
    ASSERT_TRUE(a.message);
    EXPECT_EQ(a.message->text, "Überprüfen Sie die Datenverbindung und versuchen Sie es nochmals!");
    EXPECT_EQ(s.record(), saved);
    read.outcome = Outcome::Ok;
    s.context().record.Grundwerte[Basic::NominalFrequency] = Cell("50");
    EXPECT_TRUE(s.applyReadBack(read).ok);
    EXPECT_EQ(s.record(), newProject(4, 9, 600, 5));
    EXPECT_FALSE(s.unsavedChanges());

    // Opening the saved file restores it, offers Save and Save As (printing waits for the
    // dialog) and turns the reset notice on.
    s.newProject();
    EXPECT_EQ(s.commands(), offered(false, false, false));
    const Applied opened = s.openProject(path);
    EXPECT_TRUE(opened.ok);
    EXPECT_FALSE(opened.message);
    EXPECT_EQ(s.record().Anzahl_Analog, 2);
    EXPECT_EQ(describeRecord(s.record()), describeRecord(saved));
    EXPECT_FALSE(s.dialogFlags().Ruecksetzmeldung_aus);
    EXPECT_EQ(s.commands(), offered(true, true, false));
    EXPECT_FALSE(s.unsavedChanges());

    // While a sequence runs the device commands are withdrawn.
    s.setJobRunning(true);
    EXPECT_EQ(s.commands(), offered(true, true, false, false));
    s.setJobRunning(false);
    EXPECT_TRUE(s.commands().device);
    EXPECT_EQ(notices, 8);  // every step above that changed what the windows show
}

TEST_F(SessionTest, AFileThatCannotBeReadLeavesTheRecordAndNamesTheFile) {
    Session& s = start();
    s.chooseHardware(1);
    const Record before = s.record();
    const std::string missing = tempPath("missing.cfg");
    const Applied a = s.openProject(missing);
    EXPECT_FALSE(a.ok);
    ASSERT_TRUE(a.message);
    EXPECT_NE(a.message->text.find(missing), std::string::npos);
    EXPECT_EQ(s.record(), before);
    EXPECT_EQ(s.commands(), offered(false, false, false));

    const Applied w = s.saveProject(tempPath("no/such/folder.cfg"));
    EXPECT_FALSE(w.ok);
    ASSERT_TRUE(w.message);
    EXPECT_NE(w.message->text.find("Das Projekt wurde nicht gespeichert."), std::string::npos);
}

TEST_F(SessionTest, DeviceResultsReachTheRecordOnlyOnSuccess) {
    Session& s = start();
    s.context().language = Language::English;

    Identification id;
    id.outcome = Outcome::BadReply;
    id.info = {3, 9, 100, 1};
    EXPECT_EQ(s.applyIdentification(id).message->text, "Check the dataconnection and try again!");
    EXPECT_FALSE(s.hardwareKnown());
    id.outcome = Outcome::Ok;
    EXPECT_FALSE(s.applyIdentification(id).message);
    EXPECT_EQ(s.record(), newProject(3, 9, 100, 1));

    // Programming: the device's classes; the success box, or the failure's box.
    ProgramResult p;
    p.outcome = Outcome::Ok;
    p.hardware = {3, 9, 120, 5};
    s.context().record.Grundwerte[Basic::NominalFrequency] = Cell("60");
    EXPECT_EQ(s.applyProgramming(p).message->text, "Programming successfully finally!");
    EXPECT_FALSE(s.unsavedChanges());  // the unit holds it now
    EXPECT_EQ(s.record().Max_Spannung, 120);
    EXPECT_EQ(s.record().Max_Strom, 5);
    p.outcome = Outcome::WrongTransducer;
    p.hardware = {3, 9, 600, 1};
    EXPECT_EQ(s.applyProgramming(p).message->text, "wrong transducer!!");
    EXPECT_EQ(s.record().Max_Spannung, 120);
    p.outcome = Outcome::BadRecord;
    p.fault = RecordFault::VoltageRatio;
    EXPECT_NE(s.applyProgramming(p).message->text.find("The voltage transformer has no valid"),
              std::string::npos);
    p.outcome = Outcome::Cancelled;
    EXPECT_FALSE(s.applyProgramming(p).message);
    p.outcome = Outcome::Ok;
    p.nothingToDo = true;
    EXPECT_FALSE(s.applyProgramming(p).message);

    const ReadBackResult never{Outcome::NeverProgrammed, {}, {}, {}};
    EXPECT_EQ(s.applyReadBack(never).message->text, "The transducer was not ever parametriert.");
    EXPECT_EQ(s.jobFailed().message->text, "Check the dataconnection and try again!");
}

TEST_F(SessionTest, SettingsAreReadAtStartAndWrittenWhole) {
    const char* const keys[] = {"MainLeft", "MainTop", "MainWidth", "MainHeight",
                                "COM",      "RS",      "Adr",       "Sprache"};
    const char* const values[] = {"1500", "900", "9000", "7200", "3", "485", "7", "True"};
    for (int k = 0; k < 8; ++k) store.set(keys[k], values[k]);
    Session& s = start();
    EXPECT_EQ(s.language(), Language::English);
    EXPECT_EQ(s.portText() + "|" + s.rsText() + "|" + s.addressText(), "COM 3|RS-485|Adr. 7");
    EXPECT_EQ(s.portInUse(), 3);

    s.selectRs(232);
    s.selectCom(5);
    s.setStandardAddress("12");
    s.saveSettings(1, 2, 3, 4);
    const char* const written[] = {"1", "2", "3", "4", "5", "232", "12", "True"};
    for (int k = 0; k < 8; ++k) EXPECT_EQ(store.values[keys[k]], written[k]) << keys[k];
}

// A language or a port named for one run is not stored; the port is shown until a COM port is
// chosen, and the toolbar's language choice is stored.
TEST_F(SessionTest, ALanguageOrPortForOneRunIsNotStored) {
    store.set("Sprache", "False");
    Session& s = start();
    s.useLanguageForThisRun(Language::English);
    s.usePortForThisRun("Simulator");
    EXPECT_EQ(s.language(), Language::English);
    EXPECT_EQ(s.portInUse(), 0);
    EXPECT_EQ(s.portText(), "Simulator");
    s.saveSettings(0, 0, 0, 0);
    EXPECT_EQ(store.values["Sprache"], "False");
    EXPECT_EQ(store.values["COM"], "1");
    s.selectNetwork({"10.0.0.20", 4001});
    EXPECT_EQ(s.portText(), "tcp://10.0.0.20:4001");
    EXPECT_EQ(s.portInUse(), Session::kNetworkPortInUse);
    EXPECT_EQ(store.values["Netz1"], "tcp://10.0.0.20:4001");
    s.selectCom(2);
    EXPECT_EQ(s.portText(), "COM 2");
    EXPECT_EQ(s.portInUse(), 2);
    s.chooseLanguage(Language::English);
    s.saveSettings(0, 0, 0, 0);
    EXPECT_EQ(store.values["Sprache"], "True");
    // The dialect is the parameter dialog's: the program itself stays German.
    s.useLanguageForThisRun(Language::Dialect);
    EXPECT_EQ(s.language(), Language::German);
}

TEST_F(SessionTest, ASubscriptionEndsWithItsObject) {
    Session& s = start();
    s.selectRs(485);
    EXPECT_EQ(notices, 1);
    subscription.reset();
    s.selectRs(232);
    EXPECT_EQ(notices, 1);
}

}  // namespace
}  // namespace kalvo
