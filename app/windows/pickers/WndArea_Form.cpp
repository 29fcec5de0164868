#include "app/windows/pickers/WndArea_Form.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QSizeGrip>
#include <QVBoxLayout>

namespace app {

namespace {
constexpr int kMainPanelWidthPx = 120;
constexpr int kMainPanelHeightPx = 90;
constexpr int kMainPanelBorderPx = 3;
}  // namespace

TWndArea_Form::TWndArea_Form(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setWindowOpacity(kAreaAlpha / 255.0);
    resize(kAreaInitialWidth, kAreaInitialHeight);

    CanvasPanelEx1 = new QFrame(this);
    CanvasPanelEx1->setObjectName(QStringLiteral("CanvasPanelEx1"));
    CanvasPanelEx1->setStyleSheet(QStringLiteral("#CanvasPanelEx1 { background: #000080; }"));
    CanvasPanelEx1->setCursor(Qt::PointingHandCursor);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(CanvasPanelEx1);

    Main_Panel = new QFrame(CanvasPanelEx1);
    Main_Panel->setObjectName(QStringLiteral("Main_Panel"));
    Main_Panel->setStyleSheet(QStringLiteral("#Main_Panel { background: #004080; border: %1px solid yellow; }"
                                             " QLabel { color: white; }")
                                  .arg(kMainPanelBorderPx));
    Main_Panel->resize(kMainPanelWidthPx, kMainPanelHeightPx);
    auto* labels = new QVBoxLayout(Main_Panel);
    L_Label = new QLabel(Main_Panel);
    T_Label = new QLabel(Main_Panel);
    W_Label = new QLabel(Main_Panel);
    H_Label = new QLabel(Main_Panel);
    for (QLabel* label : {L_Label, T_Label, W_Label, H_Label}) labels->addWidget(label);

    // Dragging any panel or label moves the window; a double click on one closes it.
    for (QWidget* part : std::initializer_list<QWidget*>{CanvasPanelEx1, Main_Panel, L_Label, T_Label, W_Label, H_Label})
        part->installEventFilter(this);
    auto* grip = new QSizeGrip(CanvasPanelEx1);
    grip->move(0, 0);

    Pos_Timer.setInterval(kAreaLabelTickMs);
    connect(&Pos_Timer, &QTimer::timeout, this, [this] { UpdateLabels(); });
    CentreMainPanel();
}

void TWndArea_Form::FormShow() {
    Pos_Timer.start();
    CentreMainPanel();
    move(StartLeft, StartTop);
    UpdateLabels();
}

void TWndArea_Form::UpdateLabels() {
    L_Label->setText(QStringLiteral("L: %1").arg(x()));
    T_Label->setText(QStringLiteral("T: %1").arg(y()));
    W_Label->setText(QStringLiteral("W: %1").arg(width()));
    H_Label->setText(QStringLiteral("H: %1").arg(height()));
}

void TWndArea_Form::CentreMainPanel() {
    Main_Panel->move(width() / 2 - Main_Panel->width() / 2, height() / 2 - Main_Panel->height() / 2);
    if (auto* grip = CanvasPanelEx1->findChild<QSizeGrip*>())
        grip->move(width() - grip->sizeHint().width(), height() - grip->sizeHint().height());
}

bool TWndArea_Form::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::MouseButtonDblClick:
            accept();
            return true;
        case QEvent::MouseButtonPress: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton) break;
            dragging_ = true;
            dragOffset_ = mouse->globalPosition().toPoint() - pos();
            return true;
        }
        case QEvent::MouseMove:
            if (dragging_) {
                move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - dragOffset_);
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            dragging_ = false;
            break;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

void TWndArea_Form::keyPressEvent(QKeyEvent* event) {
    const bool size = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
        case Qt::Key_Up:
            size ? resize(width(), height() - 1) : move(x(), y() - 1);
            break;
        case Qt::Key_Down:
            size ? resize(width(), height() + 1) : move(x(), y() + 1);
            break;
        case Qt::Key_Left:
            size ? resize(width() - 1, height()) : move(x() - 1, y());
            break;
        case Qt::Key_Right:
            size ? resize(width() + 1, height()) : move(x() + 1, y());
            break;
        default:
            QDialog::keyPressEvent(event);  // Escape closes
            return;
    }
    event->accept();
}

void TWndArea_Form::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    CentreMainPanel();
}

void TWndArea_Form::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
}

void TWndArea_Form::done(int result) {
    Pos_Timer.stop();
    QDialog::done(result);
}

}  // namespace app
