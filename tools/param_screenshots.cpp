// Renders each page kind of the parameter dialog to PNG files, offscreen, so anyone can look
// at them: the basic page, an analog page with the kinked characteristic, a binary page in
// limit-value mode, the interface page, the dialog widened to the wiring picture, a basic
// page with a fault, and the basic page with both transformers.
//
//   param-screenshots OUTPUT_DIR [--pictures DIR] [--lang de|en|dialect]
//
// DIR holds the wiring pictures (s4u.sb ...); by default the program's own folder.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QPointer>

#include <cstdio>

#include "config/ui/param_dialog.h"

using namespace kalvo;

namespace {

bool save(QWidget* w, const QDir& dir, const QString& name) {
    QApplication::processEvents();
    const QString path = dir.filePath(name);
    if (!w->grab().save(path)) {
        std::fprintf(stderr, "param-screenshots: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

template <class T>
T* child(QWidget* w, const char* name) {
    T* c = w->findChild<T*>(QString::fromUtf8(name));
    if (c == nullptr) qFatal("no %s", name);
    return c;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 2) {
        std::fprintf(stderr,
                     "usage: param-screenshots OUTPUT_DIR [--pictures DIR] "
                     "[--lang de|en|dialect]\n");
        return 1;
    }
    QDir out(args[1]);
    if (!out.mkpath(QStringLiteral("."))) return 1;
    QString pictures = QCoreApplication::applicationDirPath();
    Language language = Language::German;
    for (int i = 2; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--pictures")) pictures = args[i + 1];
        if (args[i] == QLatin1String("--lang")) {
            language = args[i + 1] == QLatin1String("en")        ? Language::English
                       : args[i + 1] == QLatin1String("dialect") ? Language::Dialect
                                                                 : Language::German;
        }
    }

    Record record = newProject(2, 5, 600, 5);
    DialogFlags flags;
    bool ok = true;
    auto* dialog = new param(record, flags, ',', language, pictures);
    dialog->setCaptionFile(QStringLiteral("kalvo.cfg"));
    dialog->show();
    auto* list = child<QListWidget>(dialog, "Parametrier_List");

    // Basic page with a nominal voltage above the limit: the stop sign and the limit text.
    ok &= save(dialog, out, QStringLiteral("param_basic.png"));

    // Analog output 1: active power, kinked characteristic.
    list->setCurrentRow(1);
    child<QComboBox>(dialog, "Messgrösse_Analog_Combo")->setCurrentIndex(2);
    child<QCheckBox>(dialog, "knick_check")->setChecked(true);
    ok &= save(dialog, out, QStringLiteral("param_analog_kinked.png"));

    // Binary output 1: limit value on the current.
    list->setCurrentRow(3);
    child<QAbstractButton>(dialog, "Signal_off_on_Grenzwert_Option_2")->click();
    child<QComboBox>(dialog, "Messgrösse_Binär_Combo")->setCurrentIndex(1);
    ok &= save(dialog, out, QStringLiteral("param_binary_limit.png"));

    // The interface page.
    list->setCurrentRow(list->count() - 1);
    ok &= save(dialog, out, QStringLiteral("param_interface.png"));

    // Back to the basic page, widened to the wiring picture.
    list->setCurrentRow(0);
    child<QAbstractButton>(dialog, "anbild")->click();
    ok &= save(dialog, out, QStringLiteral("param_diagram.png"));

    // A fault: 400 V on a four-wire connection of the 600 V class.
    child<QAbstractButton>(dialog, "anbild")->click();
    child<QComboBox>(dialog, "Nenneingangsspannung_Combo")->setEditText(QStringLiteral("400"));
    list->setCurrentRow(1);
    ok &= save(dialog, out, QStringLiteral("param_basic_fault.png"));

    // Both transformers.
    child<QAbstractButton>(dialog, "Spannungswandler_Option_1")->click();
    child<QAbstractButton>(dialog, "Stromwandler_Option_1")->click();
    ok &= save(dialog, out, QStringLiteral("param_basic_transformers.png"));

    delete dialog;
    return ok ? 0 : 1;
}
