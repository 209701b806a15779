// Stands in for a file manager in scripts/drag-and-drop.sh: a window that
// drags the files named on its command line as file URLs, the way a file
// manager offers them to other programs.
//   larkspan-file-drag-source FILE...

#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>

namespace {

class FileDragSource : public QLabel {
public:
    explicit FileDragSource(QList<QUrl> urls) : QLabel(QStringLiteral("drag me")), urls_(std::move(urls))
    {
        setWindowTitle(QStringLiteral("file drag source"));
        setAlignment(Qt::AlignCenter);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override { pressedAt_ = event->position().toPoint(); }

    void mouseMoveEvent(QMouseEvent* event) override
    {
        if (!(event->buttons() & Qt::LeftButton) ||
            (event->position().toPoint() - pressedAt_).manhattanLength() < QApplication::startDragDistance())
            return;
        auto* data = new QMimeData;
        data->setUrls(urls_);
        auto* drag = new QDrag(this);
        drag->setMimeData(data);
        drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
    }

private:
    QList<QUrl> urls_;
    QPoint pressedAt_;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    QList<QUrl> urls;
    for (const QString& path : QApplication::arguments().mid(1))
        urls << QUrl::fromLocalFile(path);
    FileDragSource source(urls);
    source.resize(200, 100);
    source.show();
    return QApplication::exec();
}
