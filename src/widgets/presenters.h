// What the windows ask of the user through the platform's standard boxes and dialogs. Kept
// behind small interfaces so widget tests capture messages and supply file names instead of
// opening modal boxes.
#pragma once

#include <string>
#include <vector>

#include "text/messages.h"

class QString;
class QWidget;

namespace kalvo {

// The answer to "save the changes?".
enum class SaveChoice { Save, Discard, Cancel };

class MessagePresenter {
  public:
    virtual ~MessagePresenter() = default;
    // One modal box with an OK button: critical or information icon, title and text.
    virtual void show(QWidget* parent, const MessageText& message) = 0;
    // A question with Yes and No, No the default; true for Yes.
    virtual bool ask(QWidget* parent, const MessageText& question) = 0;
    // A question with Yes (save), No (discard) and Cancel, Yes the default.
    virtual SaveChoice askSave(QWidget* parent, const MessageText& question) {
        return ask(parent, question) ? SaveChoice::Save : SaveChoice::Discard;
    }
};

class FileDialogs {
  public:
    virtual ~FileDialogs() = default;
    // The chosen path, or empty when the user cancelled. Filters are "Name (*.ext)" texts,
    // the first one preselected.
    virtual std::string openFile(QWidget* parent, const std::string& title,
                                 const std::vector<std::string>& filters) = 0;
    virtual std::string saveFile(QWidget* parent, const std::string& title,
                                 const std::string& presetName,
                                 const std::vector<std::string>& filters) = 0;
};

// QMessageBox.
class QtMessagePresenter final : public MessagePresenter {
  public:
    void show(QWidget* parent, const MessageText& message) override;
    bool ask(QWidget* parent, const MessageText& question) override;
    SaveChoice askSave(QWidget* parent, const MessageText& question) override;
};

// The filter string handed to QFileDialog for a filter caption like "Alle Dateien (*.*)". Qt
// takes a filter's patterns from its last parentheses; outside Windows "*.*" would hide every
// file without a dot in its name, so there the patterns follow the caption once more in a group
// of their own ("*.*" becoming "*"), and the dialog shows only the caption.
QString dialogFilter(const std::string& caption, bool windows);

// QFileDialog, without changing the current directory and without an overwrite question of its
// own beyond the platform's. Saving adds the first filter's suffix to a name typed without one.
class QtFileDialogs final : public FileDialogs {
  public:
    std::string openFile(QWidget* parent, const std::string& title,
                         const std::vector<std::string>& filters) override;
    std::string saveFile(QWidget* parent, const std::string& title, const std::string& presetName,
                         const std::vector<std::string>& filters) override;
};

}  // namespace kalvo
