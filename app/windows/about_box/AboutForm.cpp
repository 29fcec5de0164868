#include "app/windows/about_box/AboutForm.h"

#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QLocale>
#include <QPainter>
#include <QScreen>
#include <QUrl>

#include "app/windows/about_box/MouseSensitiveLabel.h"
#include "common/version_info.h"
#include "components/ColorButton.h"
#include "components/ColorFrames.h"
#include "engine/util/path_utils.h"

namespace app {

namespace {

using components::TColor;

constexpr int kWindowWidthPx = 400;
constexpr int kWindowHeightPx = 290;
constexpr int kFrameEdgePx = 24;
constexpr int kFrameBevelPx = 6;
constexpr int kMarginPx = 30;
constexpr int kTextWidthPx = kWindowWidthPx - 2 * kMarginPx;
constexpr int kLogoSizePx = 64;
constexpr int kNameLeftPx = kMarginPx + kLogoSizePx + 14;
constexpr int kNameShadowOffsetPx = 2;
constexpr int kLineHeightPx = 18;
constexpr int kButtonPanelHeightPx = 30;
constexpr int kOkButtonWidthPx = 90;
constexpr int kOkButtonHeightPx = 26;
constexpr int kOkButtonBandRings = 4;

// The looks of the windows' button panels (normal, mouse over, pressed) on the frame and its OK button.
constexpr TColor kFaceColor = 0xF2F2F2;
constexpr TColor kBandOuterColor = 0x999999;
constexpr TColor kHoverOuterColor = 0xCCBABA;
constexpr TColor kHoverInnerColor = 0xFFFFFF;
constexpr TColor kDownOuterColor = 0xAA6666;
constexpr TColor kDownInnerColor = 0xFFE8E8;
constexpr TColor kCaptionColor = 0x800000;
constexpr TColor kCaptionDownColor = 0xFFFF00;
constexpr TColor kNameShadowColor = 0xC0C0C0;
constexpr TColor kTextColor = 0x000000;

const char* const kCredits =
    "Encoding by libVLC. Built with Qt, Boost, libcurl, pugixml, zlib, libpng and libjpeg-turbo.";

QPixmap MakeLogo() {
    QPixmap logo(kLogoSizePx, kLogoSizePx);
    logo.fill(Qt::transparent);
    QPainter painter(&logo);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient fill(0, 0, kLogoSizePx, kLogoSizePx);
    fill.setColorAt(0, components::ToQColor(kCaptionColor));
    fill.setColorAt(1, components::ToQColor(kDownOuterColor));
    painter.setBrush(fill);
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(2, 2, kLogoSizePx - 4, kLogoSizePx - 4), 12, 12);
    QFont letter = painter.font();
    letter.setBold(true);
    letter.setPixelSize(kLogoSizePx * 2 / 3);
    painter.setFont(letter);
    painter.setPen(Qt::white);
    painter.drawText(logo.rect(), Qt::AlignCenter, QStringLiteral("F"));
    return logo;
}

QLabel* MakeLabel(QWidget* parent, const char* name, QRect geometry, TColor color) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setGeometry(geometry);
    QPalette colours = label->palette();
    colours.setColor(QPalette::WindowText, components::ToQColor(color));
    label->setPalette(colours);
    return label;
}

void SetupFrame(components::TColorFrames& frame) {
    frame.BevelMain().SetbmShape(components::bsPolyButton);
    frame.BevelMain().SetbmEdge(kFrameEdgePx);
    frame.BevelMain().SetbmBkgndColor(kFaceColor);
    frame.BevelOuterSub().SetbpFill(components::bfSymm);
    frame.BevelOuterSub().SetbpColor1(kDownOuterColor);
    frame.BevelOuterSub().SetbpColor2(kDownInnerColor);
    frame.BevelOuterSub().SetbpWidth(kFrameBevelPx);
    frame.SetFormAlign(true);
}

// Straight open sides and a gradient band: the band runs as lines along the top and bottom only.
void SetupOkButton(components::TColorButton& button) {
    button.resize(kOkButtonWidthPx, kOkButtonHeightPx);
    button.SetCaption(QStringLiteral("OK"));
    button.ButtonMain().SetbmShape(components::bsVariable);
    button.ButtonMain().SetbmBkgndColor(kFaceColor);
    auto& sub = button.ButtonSub();
    sub.SetbpLeftSide(components::fdOpen);
    sub.SetbpRightSide(components::fdOpen);
    sub.SetbpFill(true);
    sub.SetbpWidth(kOkButtonBandRings);
    sub.SetbpColor1(kBandOuterColor);
    sub.SetbpColor2(kFaceColor);
    sub.SetbpDownColor1(kDownOuterColor);
    sub.SetbpDownColor2(kDownInnerColor);
    button.ButtonAction().SetacColor1(kHoverOuterColor);
    button.ButtonAction().SetacColor2(kHoverInnerColor);
    button.ButtonAction().SetacOn(true);
    auto& caption = button.CaptionSub();
    caption.SetcaColor(kCaptionColor);
    caption.SetcaActionColor(kCaptionColor);
    caption.SetcaClickColor(kCaptionDownColor);
    QFont font = button.font();
    font.setBold(true);
    button.setFont(font);
}

}  // namespace

TAboutForm::TAboutForm(QWidget* parent, TShellOpener openUrl, TCpuProbe probeCpu)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      openUrl_(std::move(openUrl)),
      probeCpu_(std::move(probeCpu)),
      frame_(new components::TColorFrames(this)) {
    setObjectName(QStringLiteral("AboutForm"));
    setFixedSize(kWindowWidthPx, kWindowHeightPx);
    SetupFrame(*frame_);

    // Everything lies on the frame, so the frame's outline clips it and nothing covers it.
    logo_ = MakeLabel(frame_, "Logo_Image", QRect(kMarginPx, kMarginPx, kLogoSizePx, kLogoSizePx), kCaptionColor);
    logo_->setPixmap(MakeLogo());

    const QRect nameRect(kNameLeftPx, kMarginPx, kWindowWidthPx - kNameLeftPx - kMarginPx, 36);
    label1_ = MakeLabel(frame_, "Label1", nameRect.translated(kNameShadowOffsetPx, kNameShadowOffsetPx),
                        kNameShadowColor);
    applicationLabel_ = MakeLabel(frame_, "Application_Label", nameRect, kCaptionColor);
    for (QLabel* name : {label1_, applicationLabel_}) {
        QFont big = name->font();
        big.setBold(true);
        big.setPixelSize(28);
        name->setFont(big);
    }
    versionLabel_ = MakeLabel(frame_, "VersionLabel", QRect(kNameLeftPx, kMarginPx + 40, nameRect.width(),
                                                            kLineHeightPx), kCaptionColor);
    int y = kMarginPx + kLogoSizePx + 14;
    cpuLabel_ = MakeLabel(frame_, "CPULabel", QRect(kMarginPx, y, kTextWidthPx, kLineHeightPx), kTextColor);
    y += kLineHeightPx + 4;
    copyrightLabel_ = MakeLabel(frame_, "Copyright_Label", QRect(kMarginPx, y, kTextWidthPx, kLineHeightPx),
                                kTextColor);
    y += kLineHeightPx + 6;
    creditsLabel_ = MakeLabel(frame_, "Credits_Label", QRect(kMarginPx, y, kTextWidthPx, 2 * kLineHeightPx + 4),
                              kTextColor);
    creditsLabel_->setWordWrap(true);
    creditsLabel_->setText(QString::fromLatin1(kCredits));
    y += 2 * kLineHeightPx + 10;
    mailLabel_ = MakeLabel(frame_, "MailLabel", QRect(kMarginPx, y, kTextWidthPx, kLineHeightPx), kCaptionColor);
    mailLabel_->setText(QStringLiteral("Contact"));
    y += kLineHeightPx;
    urlLabel_ = MakeLabel(frame_, "URLLabel", QRect(kMarginPx, y, kTextWidthPx, kLineHeightPx), kCaptionColor);
    urlLabel_->setText(QString::fromLatin1(kWebAddress));
    for (QLabel* link : {mailLabel_, urlLabel_}) link->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);

    buttonPanel_ = new QWidget(frame_);
    buttonPanel_->setObjectName(QStringLiteral("Button_Panel"));
    buttonPanel_->resize(kTextWidthPx, kButtonPanelHeightPx);
    okButton_ = new components::TColorButton(buttonPanel_);
    okButton_->setObjectName(QStringLiteral("OK_Button"));
    SetupOkButton(*okButton_);
    okButton_->move((kTextWidthPx - kOkButtonWidthPx) / 2, (kButtonPanelHeightPx - kOkButtonHeightPx) / 2);
    okButton_->OnClick = [this](QWidget*) { accept(); };
}

TAboutForm::~TAboutForm() = default;

void TAboutForm::CenterOnScreen() {
    const QScreen* target = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!target) return;
    const QRect area = target->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

TMouseSensitiveLabel* TAboutForm::MakeLinkLabel(const QLabel& model, const QString& address) {
    auto* link = new TMouseSensitiveLabel(model.parentWidget());
    link->setAlignment(model.alignment());
    link->setGeometry(model.geometry());
    link->setText(model.text());
    link->setFont(model.font());
    link->setCursor(Qt::PointingHandCursor);
    link->ApplyLook(link->NormalLook());
    link->OnClick = [this, address] {
        if (openUrl_) openUrl_(QUrl(address));
    };
    link->show();
    return link;
}

void TAboutForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CenterOnScreen();
    const QString name = QString::fromLatin1(kProgramName);
    label1_->setText(name);
    applicationLabel_->setText(name);
    logo_->show();

    // One pair of link labels per showing: the pair of the last showing goes first. The models stay
    // hidden under them (a label paints no background, so both texts would show).
    delete urlLink_;
    delete mailLink_;
    const QString address = urlLabel_->text();
    mailLink_ = MakeLinkLabel(*mailLabel_, address + QString::fromLatin1(kContactPath));
    urlLink_ = MakeLinkLabel(*urlLabel_, address);
    mailLabel_->hide();
    urlLabel_->hide();

    cpuLabel_->setText(CpuLineText(probeCpu_ ? probeCpu_() : TCpuInfo{}, QLocale()));

    TMyFileInfo info;  // stays empty without a version block
    ReadVersionInfo(engine::ProgramFilePath(), info);
    versionLabel_->setText(QStringLiteral("version ") + QString::fromStdString(info.FileVersion));
    copyrightLabel_->setText(QString::fromStdString(info.LegalCopyright));

    buttonPanel_->move(urlLabel_->x(), urlLabel_->y() + urlLabel_->height() + 1);
}

}  // namespace app
