// The desktop program's start, as its main() does it with no files given, up to the first
// painted window: the probe the start-up benchmark times.
#include "FirstPaint.h"
#include "app/WavsmithApp.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CFirstPaint::Watch();
    CWavsmithApp app;
    return app.Run({});
}
