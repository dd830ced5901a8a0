// The window `Handbuch`: the user guide (docs/user-guide.md) as Qt's Markdown reader shows it,
// its pictures loaded from beside the file. F1 and "?" -> "Handbuch" open it.
#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <cstdio>

#include "text/language.h"

class QTextBrowser;

namespace kalvo {

class Handbuch : public QWidget {
    Q_OBJECT
  public:
    Handbuch(QWidget* owner, Language language);

    void setLanguage(Language language);
    // Shows the guide at `file`; false (and a line saying where it was looked for) when there
    // is none.
    bool load(const QString& file);
    // The pictures the guide names that could not be loaded.
    QStringList missingPictures() const;

  private:
    QTextBrowser* Text_;
};

// The user guide of this installation (see guideFileFor).
QString installedGuideFile();

// `kalvo --paths`: prints where the wiring pictures, the product data and the user guide are
// found, each missing file (or guide picture) on `err`; true when nothing is missing.
bool reportInstallation(std::FILE* out, std::FILE* err);

}  // namespace kalvo
