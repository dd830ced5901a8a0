#include "shell/messages.h"

#include "config/param_flow.h"
#include "link/port_name.h"
#include "text/safety_texts.h"

namespace kalvo {

std::optional<MessageText> messageFor(Outcome outcome, Language language) {
    switch (outcome) {
        case Outcome::LinkFailure:
        case Outcome::BadReply:
            return msg(language);
        case Outcome::WrongTransducer:
            return msg_prog_err(language);
        case Outcome::NeverProgrammed:
            return msg_para(language);
        case Outcome::BadRecord:
            return recordFaultMessage(RecordFault::None, language);
        case Outcome::Ok:
        case Outcome::Cancelled:
            return std::nullopt;
    }
    return std::nullopt;
}

std::optional<MessageText> messageFor(Outcome outcome, const std::string& portError,
                                      Language language) {
    std::optional<MessageText> m = messageFor(outcome, language);
    if (m && !portError.empty()) {
        m->text += "\n\n";
        m->text += kPortErrorLine.in(language);
        m->text += portErrorIn(portError, language);
    }
    return m;
}

MessageText recordFaultMessage(RecordFault fault, Language language, const CellFault& cell) {
    std::string what;
    switch (fault) {
        case RecordFault::None:
            break;
        case RecordFault::AnalogCount:
            what = kRecordAnalogCount.in(language);
            break;
        case RecordFault::BinaryCount:
            what = kRecordBinaryCount.in(language);
            break;
        case RecordFault::VoltageClass:
            what = kRecordVoltageClass.in(language);
            break;
        case RecordFault::CurrentClass:
            what = kRecordCurrentClass.in(language);
            break;
        case RecordFault::VoltageRatio:
            what = kRecordVoltageRatio.in(language);
            break;
        case RecordFault::CurrentRatio:
            what = kRecordCurrentRatio.in(language);
            break;
        case RecordFault::Cell:
            what = cellFaultText(cell, language) + " (" + cellPageText(cell, language) + ").";
            break;
    }
    MessageText m = msg(language);  // the title every failed sequence has
    m.text = fillIn(kRecordNotSendable.in(language), what);
    return m;
}

std::optional<MessageText> programmingMessage(const ProgramResult& result, Language language) {
    if (result.backupError != FileError::None) {
        MessageText m;
        m.title = std::string(kFileErrorTitle.in(language));
        m.text = fillIn(kBackupCannotWrite.in(language), "\"" + result.backupPath + "\"");
        return m;
    }
    if (!result.differences.empty()) {  // the differences themselves are listed apart
        MessageText m;
        m.title = std::string(kVerifyTitle.in(language));
        m.text = kVerifyDiffers.in(language);
        return m;
    }
    if (result.outcome == Outcome::BadRecord) {
        return recordFaultMessage(result.fault, language, result.cell);
    }
    if (result.outcome != Outcome::Ok) {
        return messageFor(result.outcome, result.portError, language);
    }
    if (result.nothingToDo) return std::nullopt;
    return programmingDone(language);
}

std::optional<MessageText> fileErrorMessage(FileError error, const std::string& path, bool saving,
                                            Language language) {
    Text pattern;
    switch (error) {
        case FileError::None:
            return std::nullopt;
        case FileError::CannotOpen:
            pattern = kFileCannotOpen;
            break;
        case FileError::Malformed:
            pattern = kFileMalformed;
            break;
        case FileError::CannotWrite:
            pattern = kFileCannotWrite;
            break;
        case FileError::TooLong:
            pattern = kFileTooLong;
            break;
    }
    MessageText m;
    m.critical = true;
    m.title = std::string(kFileErrorTitle.in(language));
    m.text = fillIn(pattern.in(language), "\"" + path + "\"");
    m.text += (saving ? kNotSaved : kNotChanged).in(language);
    return m;
}

std::string_view progrCaption(Stage stage, Language language) {
    switch (stage) {
        case Stage::Hardware:
            return kProgrHardware.in(language);
        case Stage::Programming:
            return kProgrProgramming.in(language);
        case Stage::ReadBack:
        case Stage::Measuring:
            break;
    }
    return kProgrReadBack.in(language);
}

}  // namespace kalvo
