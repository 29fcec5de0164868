// The About box: a borderless window in the shape of its octagonal coloured frame, centred on the
// screen, with the logo, the program name, the version line, the processor line (measured at each
// showing, which holds the window for about half a second), the copyright line, two link labels and
// the OK colour button. The link labels are made afresh at each showing from the look of URLLabel and
// MailLabel; the web address opens as shown, the contact label opens it with "/contact/".
#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>

#include "app/windows/about_box/CpuInfo.h"
#include "app/windows/base/ShellOpen.h"

class QLabel;

namespace components {
class TColorButton;
class TColorFrames;
}  // namespace components

namespace app {

class TMouseSensitiveLabel;

class TAboutForm : public QDialog {
public:
    static constexpr const char* kProgramName = "Framewick";
    static constexpr const char* kWebAddress = "https://www.quillmar.example";
    static constexpr const char* kContactPath = "/contact/";

    using TCpuProbe = std::function<TCpuInfo()>;

    explicit TAboutForm(QWidget* parent = nullptr, TShellOpener openUrl = DesktopShellOpener(),
                        TCpuProbe probeCpu = ProbeCpu);
    ~TAboutForm() override;

    components::TColorFrames* Frame() const { return frame_; }
    QLabel* Label1() const { return label1_; }
    QLabel* ApplicationLabel() const { return applicationLabel_; }
    QLabel* VersionLabel() const { return versionLabel_; }
    QLabel* CopyrightLabel() const { return copyrightLabel_; }
    QLabel* CPULabel() const { return cpuLabel_; }
    QLabel* URLLabel() const { return urlLabel_; }
    QLabel* MailLabel() const { return mailLabel_; }
    QWidget* ButtonPanel() const { return buttonPanel_; }
    components::TColorButton* OKButton() const { return okButton_; }
    // The link labels of the current showing (none before the first).
    TMouseSensitiveLabel* UrlLink() const { return urlLink_; }
    TMouseSensitiveLabel* MailLink() const { return mailLink_; }

protected:
    void showEvent(QShowEvent* event) override;  // FormShow

private:
    void CenterOnScreen();
    TMouseSensitiveLabel* MakeLinkLabel(const QLabel& model, const QString& address);

    TShellOpener openUrl_;
    TCpuProbe probeCpu_;
    components::TColorFrames* frame_;
    QLabel* logo_;
    QLabel* label1_;
    QLabel* applicationLabel_;
    QLabel* versionLabel_;
    QLabel* cpuLabel_;
    QLabel* copyrightLabel_;
    QLabel* creditsLabel_;
    QLabel* mailLabel_;
    QLabel* urlLabel_;
    QWidget* buttonPanel_;
    components::TColorButton* okButton_;
    QPointer<TMouseSensitiveLabel> urlLink_;
    QPointer<TMouseSensitiveLabel> mailLink_;
};

}  // namespace app
