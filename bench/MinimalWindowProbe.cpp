// The least a Qt program does to paint a window of the desktop program's first size: the
// reference of the start-up benchmark.
#include "FirstPaint.h"

#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CFirstPaint::Watch();
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Wavsmith"), &window));
    window.setGeometry(60, 30, 640, 520);
    window.show();
    return QApplication::exec();
}
