#include "components/MessageDialogForm.h"

#include "components/ApplicationTitle.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>
#include <vector>

namespace components {

namespace {

constexpr int kMarginPx = 8;
constexpr int kIconSizePx = 32;
constexpr int kIconTextGapPx = 10;
constexpr int kTextButtonsGapPx = 12;
constexpr int kButtonWidthPx = 75;
constexpr int kButtonHeightPx = 25;
constexpr int kButtonGapPx = 8;
constexpr int kFallbackMaxTextWidthPx = 640;

QString DefaultCaption(TMsgDlgType type) {
    switch (type) {
        case mtWarning: return QStringLiteral("Warning");
        case mtError: return QStringLiteral("Error");
        case mtInformation: return QStringLiteral("Information");
        case mtConfirmation: return QStringLiteral("Confirm");
        case mtCustom: break;
    }
    return ApplicationTitle();
}

QStyle::StandardPixmap IconOf(TMsgDlgType type) {
    switch (type) {
        case mtWarning: return QStyle::SP_MessageBoxWarning;
        case mtError: return QStyle::SP_MessageBoxCritical;
        case mtInformation: return QStyle::SP_MessageBoxInformation;
        case mtConfirmation: return QStyle::SP_MessageBoxQuestion;
        case mtCustom: break;
    }
    return QStyle::SP_CustomBase;  // none
}

// The texts of the system use CR LF and lone CR as line breaks.
QString WithLineFeeds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

int MaxTextWidth() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) return std::max(200, screen->geometry().width() / 2);
    return kFallbackMaxTextWidthPx;
}

}  // namespace

TMessageDialogForm::TMessageDialogForm(const QString& text, TMsgDlgType type, TMsgDlgButtonSet buttons,
                                       QWidget* parent)
    : QDialog(parent), type_(type) {
    setWindowTitle(DefaultCaption(type));

    int textLeft = kMarginPx;
    int iconHeight = 0;
    if (type != mtCustom) {
        auto* icon = new QLabel(this);
        icon->setObjectName(QStringLiteral("Image"));
        icon->setPixmap(style()->standardIcon(IconOf(type), nullptr, this).pixmap(kIconSizePx, kIconSizePx));
        icon->setGeometry(kMarginPx, kMarginPx, kIconSizePx, kIconSizePx);
        textLeft += kIconSizePx + kIconTextGapPx;
        iconHeight = kIconSizePx;
    }

    const QString shownText = WithLineFeeds(text);
    const QRect textRect = QFontMetrics(font()).boundingRect(QRect(0, 0, MaxTextWidth(), 0),
                                                             Qt::AlignLeft | Qt::TextWordWrap, shownText);
    auto* message = new QLabel(shownText, this);
    message->setObjectName(QStringLiteral("Message"));
    message->setWordWrap(true);
    message->setGeometry(textLeft, kMarginPx, textRect.width() + 1, textRect.height());

    struct ButtonDef {
        const char* name;
        const char* caption;
        int result;
    };
    std::vector<ButtonDef> defs{{"OK", "OK", kModalResultOk}};
    if (buttons != mbOK) defs.push_back({"Cancel", "Cancel", kModalResultCancel});
    if (buttons == mbOKCancelNo) defs.push_back({"No", "No", kModalResultNo});

    const int n = static_cast<int>(defs.size());
    const int buttonsWidth = n * kButtonWidthPx + (n - 1) * kButtonGapPx;
    const int width = std::max(textLeft + textRect.width() + 1, kMarginPx + buttonsWidth) + kMarginPx;
    const int buttonsTop = kMarginPx + std::max(iconHeight, textRect.height()) + kTextButtonsGapPx;

    int x = (width - buttonsWidth) / 2;
    QPushButton* first = nullptr;
    for (const ButtonDef& def : defs) {
        auto* button = new QPushButton(QString::fromLatin1(def.caption), this);
        button->setObjectName(QString::fromLatin1(def.name));
        button->setGeometry(x, buttonsTop, kButtonWidthPx, kButtonHeightPx);
        const int result = def.result;
        connect(button, &QPushButton::clicked, this, [this, result] { done(result); });
        x += kButtonWidthPx + kButtonGapPx;
        if (!first) first = button;
    }
    first->setDefault(true);
    first->setFocus();
    setFixedSize(width, buttonsTop + kButtonHeightPx + kMarginPx);
}

void TMessageDialogForm::reject() { done(kModalResultCancel); }

void TMessageDialogForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (onShow_) onShow_();
}

}  // namespace components
