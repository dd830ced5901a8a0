#include "shell/messages.h"

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
        case Outcome::Ok:
        case Outcome::Cancelled:
            return std::nullopt;
    }
    return std::nullopt;
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
