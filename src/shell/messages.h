// Which box a situation gets: the outcome of a device sequence, a project file that could not
// be read or written, and the progress window's caption for a stage.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "device/programming.h"
#include "files/project_file.h"
#include "link/link.h"
#include "link/outcome.h"
#include "text/messages.h"

namespace kalvo {

// The box for a failed outcome; nullopt for Ok and Cancelled.
std::optional<MessageText> messageFor(Outcome outcome, Language language);

// The box for a failed outcome; when the port itself failed, `portError` (the system's words)
// follows on a line of its own.
std::optional<MessageText> messageFor(Outcome outcome, const std::string& portError,
                                      Language language);

// The box for a record that cannot be programmed, naming what is wrong with it (for
// RecordFault::Cell the field, its page and what is wrong with the cell).
MessageText recordFaultMessage(RecordFault fault, Language language, const CellFault& cell = {});

// The box for the end of a programming run: the failure's box, the success box, or nothing
// (a record without configuration, or a cancelled run). A backup that could not be written
// names its file; a verify that found differences says so (the caller lists them).
std::optional<MessageText> programmingMessage(const ProgramResult& result, Language language);

// The box for a project file that could not be read (loading) or written (saving); it names
// the file. Nullopt for FileError::None.
std::optional<MessageText> fileErrorMessage(FileError error, const std::string& path, bool saving,
                                            Language language);

// The caption of the progress window while a sequence is in a stage.
std::string_view progrCaption(Stage stage, Language language);

}  // namespace kalvo
