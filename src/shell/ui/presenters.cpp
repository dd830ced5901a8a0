#include "shell/ui/presenters.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

namespace kalvo {

namespace {

QString joinFilters(const std::vector<std::string>& filters) {
    QStringList list;
    for (const std::string& f : filters) list << QString::fromStdString(f);
    return list.join(QStringLiteral(";;"));
}

QString firstFilter(const std::vector<std::string>& filters) {
    return filters.empty() ? QString() : QString::fromStdString(filters.front());
}

}  // namespace

void QtMessagePresenter::show(QWidget* parent, const MessageText& message) {
    QMessageBox box(message.critical ? QMessageBox::Critical : QMessageBox::Information,
                    QString::fromStdString(message.title), QString::fromStdString(message.text),
                    QMessageBox::Ok, parent);
    box.exec();
}

std::string QtFileDialogs::openFile(QWidget* parent, const std::string& title,
                                    const std::vector<std::string>& filters) {
    QString selected = firstFilter(filters);
    const QString path = QFileDialog::getOpenFileName(parent, QString::fromStdString(title),
                                                      QString(), joinFilters(filters), &selected);
    return path.toStdString();
}

std::string QtFileDialogs::saveFile(QWidget* parent, const std::string& title,
                                    const std::string& presetName,
                                    const std::vector<std::string>& filters) {
    QString selected = firstFilter(filters);
    const QString path = QFileDialog::getSaveFileName(parent, QString::fromStdString(title),
                                                      QString::fromStdString(presetName),
                                                      joinFilters(filters), &selected);
    return path.toStdString();
}

}  // namespace kalvo
