// wavsmith: the desktop program.
#include "app/WavsmithApp.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CWavsmithApp app;
    return app.Run();
}
