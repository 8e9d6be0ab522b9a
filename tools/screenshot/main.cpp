// Saves a picture of the whole X display: the demo uses it to show the client running under Xvfb.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTextStream>

int main(int argc, char *argv[]) {
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        QTextStream(stderr) << "usage: lorvane-screenshot FILE.png\n";
        return 2;
    }
    const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(0);
    if (picture.isNull() || !picture.save(QString::fromLocal8Bit(argv[1]))) {
        QTextStream(stderr) << "could not save a screenshot to " << argv[1] << "\n";
        return 1;
    }
    return 0;
}
