#include "widgets/presenters.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace kalvo {

namespace {

#ifdef Q_OS_WIN
constexpr bool kWindows = true;
#else
constexpr bool kWindows = false;
#endif

QString joinFilters(const std::vector<std::string>& filters) {
    QStringList list;
    for (const std::string& f : filters) list << dialogFilter(f, kWindows);
    return list.join(QStringLiteral(";;"));
}

QString firstFilter(const std::vector<std::string>& filters) {
    return filters.empty() ? QString() : dialogFilter(filters.front(), kWindows);
}

// The caption is shown as written; the patterns Qt uses come after it.
constexpr auto kDialogOptions = QFileDialog::HideNameFilterDetails;

}  // namespace

QString dialogFilter(const std::string& caption, bool windows) {
    const QString text = QString::fromStdString(caption);
    const qsizetype open = text.lastIndexOf(QLatin1Char('('));
    if (windows || open < 0 || !text.endsWith(QLatin1Char(')'))) return text;
    QStringList patterns =
        text.mid(open + 1).chopped(1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QString& p : patterns) {
        if (p == QStringLiteral("*.*")) p = QStringLiteral("*");
    }
    return text + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

void QtMessagePresenter::show(QWidget* parent, const MessageText& message) {
    QMessageBox box(message.critical ? QMessageBox::Critical : QMessageBox::Information,
                    QString::fromStdString(message.title), QString::fromStdString(message.text),
                    QMessageBox::Ok, parent);
    box.exec();
}

bool QtMessagePresenter::ask(QWidget* parent, const MessageText& question) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(question.title),
                    QString::fromStdString(question.text), QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

SaveChoice QtMessagePresenter::askSave(QWidget* parent, const MessageText& question) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(question.title),
                    QString::fromStdString(question.text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    switch (box.exec()) {
        case QMessageBox::Yes:
            return SaveChoice::Save;
        case QMessageBox::No:
            return SaveChoice::Discard;
        default:
            return SaveChoice::Cancel;
    }
}

std::string QtFileDialogs::openFile(QWidget* parent, const std::string& title,
                                    const std::vector<std::string>& filters) {
    QString selected = firstFilter(filters);
    const QString path =
        QFileDialog::getOpenFileName(parent, QString::fromStdString(title), QString(),
                                     joinFilters(filters), &selected, kDialogOptions);
    return path.toStdString();
}

// A name typed without a suffix gets the first filter's ("cfg" for "... (*.cfg)") from the
// dialog itself, so the platform's overwrite question asks about the file that is written.
std::string QtFileDialogs::saveFile(QWidget* parent, const std::string& title,
                                    const std::string& presetName,
                                    const std::vector<std::string>& filters) {
    QFileDialog dialog(parent, QString::fromStdString(title), QString::fromStdString(presetName),
                       joinFilters(filters));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOptions(kDialogOptions);
    dialog.selectNameFilter(firstFilter(filters));
    const QString first = filters.empty() ? QString() : QString::fromStdString(filters.front());
    const qsizetype dot = first.lastIndexOf(QStringLiteral("*."));
    const QString suffix = dot < 0 ? QString() : first.mid(dot + 2).chopped(1);
    if (!suffix.isEmpty() && suffix != QStringLiteral("*")) dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted) return {};
    const QStringList chosen = dialog.selectedFiles();
    return chosen.isEmpty() ? std::string() : chosen.front().toStdString();
}

}  // namespace kalvo
