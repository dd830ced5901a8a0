#include "device/backup.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/file_path.h"

namespace kalvo {

namespace {

namespace fs = std::filesystem;

}  // namespace

std::string backupFileName(const std::tm& local, std::string_view address, int analog, int binary) {
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d_%02d%02d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
    return std::string(stamp) + "_adr" + std::string(address) + "_" + std::to_string(analog) + "A" +
           std::to_string(binary) + "D.cfg";
}

FileError prepareBackupFolder(const std::string& folder) {
    const fs::path dir = pathFromUtf8(folder);
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!fs::is_directory(dir, ec)) return FileError::CannotWrite;
    // A folder can exist and still refuse new files (permissions, a read-only medium).
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path probe = dir / (".kalvo-probe" + std::to_string(attempt));
        if (fs::exists(probe, ec)) continue;
        bool made = false;
        {
            std::ofstream out(probe, std::ios::binary);
            made = out.is_open();
        }
        fs::remove(probe, ec);
        return made ? FileError::None : FileError::CannotWrite;
    }
    return FileError::CannotWrite;
}

BackupWrite writeBackup(const std::string& folder, const Record& record, std::string_view address,
                        const std::tm& local, char decimal) {
    BackupWrite w;
    const fs::path dir = pathFromUtf8(folder);
    const std::string name =
        backupFileName(local, address, record.Anzahl_Analog, record.Anzahl_Binaer);
    const std::string stem = name.substr(0, name.size() - 4);  // without ".cfg"
    fs::path target = dir / name;
    std::error_code ec;
    for (int n = 2; fs::exists(target, ec) || ec; ++n) {
        if (ec || n > 999) {
            w.error = FileError::CannotWrite;
            w.path = utf8FromPath(target);
            return w;
        }
        target = dir / (stem + "_" + std::to_string(n) + ".cfg");
    }
    w.path = utf8FromPath(target);
    w.error = Projekt_speichern(record, w.path, decimal);
    return w;
}

}  // namespace kalvo
