// A second program that drags, for the drop target's tests: it shows a 60 x 60 window at the top-left
// corner of the screen and, when pressed there, drags its first argument: the file when one of that
// name exists, else the words as plain text. It writes "shown" into the file named by its second
// argument once its window is on the screen, and "dropped" or "refused" when the drag has ended.
#include <QApplication>
#include <QDrag>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace {

void Report(const QString& reportFile, const char* text) {
    QFile file(reportFile);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write(text);
}

class DragSource : public QWidget {
public:
    DragSource(QString dragged, QString reportFile)
        : QWidget(nullptr, Qt::FramelessWindowHint), dragged_(std::move(dragged)), reportFile_(std::move(reportFile)) {
        setGeometry(0, 0, 60, 60);
    }

protected:
    void showEvent(QShowEvent*) override {
        QTimer::singleShot(0, this, [this] { Report(reportFile_, "shown"); });
    }
    void mousePressEvent(QMouseEvent*) override {
        auto* data = new QMimeData;
        if (QFile::exists(dragged_))
            data->setUrls({QUrl::fromLocalFile(dragged_)});
        else
            data->setText(dragged_);
        QDrag drag(this);
        drag.setMimeData(data);
        const Qt::DropAction action = drag.exec(Qt::CopyAction);
        Report(reportFile_, action == Qt::CopyAction ? "dropped" : "refused");
    }

private:
    QString dragged_;
    QString reportFile_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 3) return 2;
    DragSource source(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    source.show();
    return app.exec();
}
