// Which box each outcome and file error gets, in both languages.
#include "shell/messages.h"

#include <gtest/gtest.h>

namespace kalvo {
namespace {

TEST(Messages, BothLanguagesAndOneBoxPerFailedOutcome) {
    const struct {
        MessageText message;
        const char* title;
        const char* text;
        bool critical;
    } cases[] = {
        {msg(Language::German), "Aktion abgebrochen!",
         "Überprüfen Sie die Datenverbindung und versuchen Sie es nochmals!", true},
        {*messageFor(Outcome::LinkFailure, Language::English), "Action cancelled!",
         "Check the dataconnection and try again!", true},
        {msg_para(Language::German), nullptr, "Der Messumformer wurde noch nie parametriert.",
         true},
        {*messageFor(Outcome::WrongTransducer, Language::German), nullptr,
         "falscher Messumformer!!", true},
        {programmingDone(Language::German), "Information",
         "Programmierung erfolgreich abgeschlossen!", false},
    };
    for (const auto& c : cases) {
        if (c.title) {
            EXPECT_EQ(c.message.title, c.title);
        }
        EXPECT_EQ(c.message.text, c.text);
        EXPECT_EQ(c.message.critical, c.critical) << c.text;
    }
    EXPECT_FALSE(messageFor(Outcome::Ok, Language::German));
    EXPECT_FALSE(messageFor(Outcome::Cancelled, Language::English));
}

TEST(Messages, FileErrorsNameTheFileAndSayWhatBecameOfTheProject) {
    const auto open = fileErrorMessage(FileError::Malformed, "/tmp/x.cfg", false, Language::German);
    ASSERT_TRUE(open);
    EXPECT_EQ(open->title, "Dateifehler");
    EXPECT_EQ(open->text,
              "Die Datei \"/tmp/x.cfg\" ist keine gültige Projektdatei. Das Projekt wurde nicht "
              "geändert.");
    const auto save = fileErrorMessage(FileError::CannotWrite, "a.cfg", true, Language::English);
    ASSERT_TRUE(save);
    EXPECT_EQ(save->text, "The file \"a.cfg\" could not be written. The project was not saved.");
    EXPECT_FALSE(fileErrorMessage(FileError::None, "a.cfg", true, Language::English));
}

TEST(Messages, ARecordThatCannotBeSentSaysWhatIsWrong) {
    const MessageText de = recordFaultMessage(RecordFault::CurrentRatio, Language::German);
    EXPECT_EQ(de.title, "Aktion abgebrochen!");
    EXPECT_EQ(de.text,
              "Die Konfiguration kann nicht programmiert werden: Der Stromwandler hat kein "
              "gültiges Übersetzungsverhältnis (Primär- oder Sekundärwert 0).");
    EXPECT_TRUE(de.critical);
    EXPECT_EQ(recordFaultMessage(RecordFault::AnalogCount, Language::English).text,
              "The configuration cannot be programmed: The number of analog outputs is not 1 "
              "to 4.");
    const CellFault place{Table::Analog, 1, Analog::Place, CellProblem::UnknownCode, "10"};
    EXPECT_EQ(recordFaultMessage(RecordFault::Cell, Language::English, place).text,
              "The configuration cannot be programmed: Measuring place 10 does not exist (Analog "
              "output 2).");
    const CellFault unit{Table::Binary, 0, Binary::Unit, CellProblem::ControlCharacter, "\r"};
    EXPECT_EQ(recordFaultMessage(RecordFault::Cell, Language::German, unit).text,
              "Die Konfiguration kann nicht programmiert werden: Einheit enthält ein Steuerzeichen "
              "(Binärausgang 1).");
}

}  // namespace
}  // namespace kalvo
