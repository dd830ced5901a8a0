// The About box `frmAbout` ("Info Kalvo"): title sentence in the current language, the
// version, the maker's contact lines; "&System-Info..." starts the platform's system
// information program.
#pragma once

#include <QDialog>

#include <functional>
#include <optional>
#include <string>

#include "shell/product_info.h"
#include "text/language.h"
#include "widgets/presenters.h"

class QGridLayout;
class QHBoxLayout;
class QLabel;

namespace kalvo {

// How the About box finds and starts the system information program.
struct SystemInfoAccess {
    // The program to start; nullopt when the system has none.
    std::function<std::optional<std::string>()> find;
    // Starts it without waiting; false when it could not be started.
    std::function<bool(const std::string& program)> start;
};

// The platform's: on Windows the program the registry names ("PATH" under
// HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO, else the folder "MSINFO" under
// HKLM\SOFTWARE\Microsoft\Shared Tools Location + "\MSINFO32.EXE" when that file exists); then,
// on every platform, the first known program on the search path (shell/system_info.h). It is
// started detached.
SystemInfoAccess platformSystemInfo();

// The product data of this installation: product.ini in the program's folder, or the built-in
// defaults.
ProductInfo installedProductInfo();

// picIcon, lblTitle, lblVersion, lblDescription (contact lines, one a line), cmdOK (default
// and cancel button: Return and Escape close the box), cmdSysInfo.
class frmAbout : public QDialog {
    Q_OBJECT
  public:
    frmAbout(const ProductInfo& info, Language language, QWidget* owner = nullptr);

    void setLanguage(Language language);
    // Replace the message box and the system information access (tests). Not owned; null
    // restores the platform's.
    void setMessagePresenter(MessagePresenter* presenter);
    void setSystemInfo(SystemInfoAccess access);

    // Starts the system information program, or says "Systeminformationsprogramm zur Zeit
    // nicht verfügbar." (OK only, titled with the program title) when there is none or it
    // does not start.
    void StartSysInfo();

  private:
    QGridLayout* productTexts();
    QHBoxLayout* buttonRow();

    ProductInfo info_;
    QLabel* lblTitle_;
    QtMessagePresenter defaultMessages_;
    MessagePresenter* messages_ = &defaultMessages_;
    SystemInfoAccess systemInfo_;
};

}  // namespace kalvo
