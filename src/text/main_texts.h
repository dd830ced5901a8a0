// Texts of the main window and the small windows around it, in German and English: the
// general caption table, the captions of the progress window, and the texts of the file menu.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "files/project_file.h"
#include "text/messages.h"

namespace kalvo {

// One row of the general caption table. `target` names the widget:
//   "Form"               the caption of the window whose objectName is Form
//   "Form.control"       the text of the child with that objectName (menu items, labels, buttons)
//   "Form.tbToolBar#n"   the tool tip of toolbar button n (1-based position, separators count)
// Control arrays are named stem + "_" + index ("mnufile_3").
struct TextRow {
    std::string_view target;
    std::string_view german;
    std::string_view english;
};

// All rows in the order they are written, for the main window, Meldung, Adresse, Direkt,
// standartadr and Anzeilist.
std::span<const TextRow> Texte_allgemein();

// The text of one target in the chosen language; empty when the table has no such row.
std::string_view allgemeinText(std::string_view target, bool english);

// Caption of the progress window for the running sequence.
enum class ProgrStage { Hardware, Programming, ReadBack };
std::string_view progrCaption(ProgrStage stage, bool english);

// The file menu's dialogs. The save filter is spelled the way users of the program know it.
inline constexpr std::string_view kOpenTitle = "Projekt Laden ";
inline constexpr std::string_view kSaveTitle = "Speichern von Projekt";
inline constexpr std::string_view kSaveAsTitle = "Speichern von Projekt unter";
inline constexpr std::string_view kSavePreset = "kalvo.cfg";
inline constexpr std::string_view kOpenFilterCfg = "Konfigurationsdateien (*.cfg)";
inline constexpr std::string_view kSaveFilterCfg = "Konfigurationsdadateien (*.cfg)";
inline constexpr std::string_view kFilterAll = "Alle Dateien (*.*)";

// The box for a project file that could not be read (loading) or written (saving); it names
// the file. Nullopt for FileError::None.
std::optional<MessageText> fileErrorMessage(FileError error, const std::string& path, bool saving,
                                            bool english);

}  // namespace kalvo
