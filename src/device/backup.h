// The backup a programming run makes of the configuration a unit held before: a project file
// in a folder of its own, named by time, address and variant.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

#include "config/record.h"
#include "files/project_file.h"
#include "platform/clock.h"

namespace kalvo {

// "2026-12-07_0915_adr0_2A5D.cfg": local date and time to the minute, the unit's address and
// its variant.
std::string backupFileName(const std::tm& local, std::string_view address, int analog, int binary);

// Makes the folder (and its parents) when it is missing and checks that a file can be
// created in it; CannotWrite when not. Nothing is left behind.
FileError prepareBackupFolder(const std::string& folder);

struct BackupWrite {
    FileError error = FileError::None;
    std::string path;  // the file written, or the one that could not be
};

// Saves `record` in `folder` under backupFileName(); an earlier backup of the same name is
// never replaced: the new one gets "_2", "_3" ... before ".cfg".
BackupWrite writeBackup(const std::string& folder, const Record& record, std::string_view address,
                        const std::tm& local, char decimal);

}  // namespace kalvo
