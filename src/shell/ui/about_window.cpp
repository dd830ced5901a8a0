#include "shell/ui/about_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QVBoxLayout>

#include "platform/qt/qt_canvas.h"
#include "shell/system_info.h"
#include "text/about_texts.h"
#include "widgets/apply_texts.h"
#include "widgets/qt_text.h"

namespace kalvo {

namespace {

#ifdef Q_OS_WIN
// The two registry places where Windows names its system information program.
std::optional<std::string> fromRegistry() {
    const QSettings msinfo(
        QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
        QSettings::NativeFormat);
    const QString path = msinfo.value(QStringLiteral("PATH")).toString();
    if (!path.isEmpty() && QFileInfo::exists(path)) return path.toStdString();
    const QSettings location(
        QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Shared Tools Location"),
        QSettings::NativeFormat);
    const QString folder = location.value(QStringLiteral("MSINFO")).toString();
    const QString program = folder + QStringLiteral("\\MSINFO32.EXE");
    if (!folder.isEmpty() && QFileInfo::exists(program)) return program.toStdString();
    return std::nullopt;
}
#endif

}  // namespace

SystemInfoAccess platformSystemInfo() {
    SystemInfoAccess access;
    access.find = []() -> std::optional<std::string> {
#ifdef Q_OS_WIN
        if (auto program = fromRegistry()) return program;
#endif
        return findSystemInfoProgram([](std::string_view name) -> std::optional<std::string> {
            const QString path = QStandardPaths::findExecutable(qs(name));
            if (path.isEmpty()) return std::nullopt;
            return path.toStdString();
        });
    };
    access.start = [](const std::string& program) {
        return QProcess::startDetached(qs(program), {});
    };
    return access;
}

ProductInfo installedProductInfo() {
    const QString path = QDir(QString::fromStdString(dataFolder())).filePath(qs(kProductFileName));
    return loadProductInfo(QDir::toNativeSeparators(path).toStdString());
}

frmAbout::frmAbout(const ProductInfo& info, Language language, QWidget* owner)
    : QDialog(owner), info_(info), systemInfo_(platformSystemInfo()) {
    setObjectName(QStringLiteral("frmAbout"));
    QGridLayout* texts = productTexts();
    auto* rule = new QFrame(this);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    QHBoxLayout* buttons = buttonRow();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(texts);
    layout->addStretch(1);
    layout->addWidget(rule);
    layout->addLayout(buttons);
    setLanguage(language);
    resize(440, 280);
}

// The icon beside the title, the version and the maker's contact lines.
QGridLayout* frmAbout::productTexts() {
    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(QPixmap(QStringLiteral(":/icons/kalvo.png"))
                           .scaled(48, 48, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    lblTitle_ = new QLabel(this);
    lblTitle_->setObjectName(QStringLiteral("lblTitle"));
    lblTitle_->setWordWrap(true);
    QFont bold = lblTitle_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.15);
    lblTitle_->setFont(bold);
    auto* lblVersion = new QLabel(qs(versionText()), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    QStringList lines;
    for (const std::string& line : contactLines(info_)) lines << qs(line);
    auto* lblDescription = new QLabel(lines.join(QLatin1Char('\n')), this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->addWidget(picIcon, 0, 0, 3, 1, Qt::AlignTop);
    grid->addWidget(lblTitle_, 0, 1);
    grid->addWidget(lblVersion, 1, 1);
    grid->addWidget(lblDescription, 2, 1);
    grid->setColumnStretch(1, 1);
    return grid;
}

// OK and the system information. Escape ends in reject() by itself, so cmdOK is both the
// default and the cancel button.
QHBoxLayout* frmAbout::buttonRow() {
    auto* cmdOK = new QPushButton(this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    auto* cmdSysInfo = new QPushButton(this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::StartSysInfo);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(cmdOK);
    row->addWidget(cmdSysInfo);
    return row;
}

void frmAbout::setLanguage(Language language) {
    applyCaptions(this, aboutCaptions(), language);
    lblTitle_->setText(qs(aboutTitle(info_, language)));
}

void frmAbout::setMessagePresenter(MessagePresenter* presenter) {
    messages_ = presenter != nullptr ? presenter : &defaultMessages_;
}

void frmAbout::setSystemInfo(SystemInfoAccess access) {
    systemInfo_ = access.find && access.start ? std::move(access) : platformSystemInfo();
}

void frmAbout::StartSysInfo() {
    const auto program = systemInfo_.find();
    if (program && systemInfo_.start(*program)) return;
    messages_->show(this,
                    MessageText{std::string(kProductName), std::string(kSysInfoMissing), false});
}

}  // namespace kalvo
