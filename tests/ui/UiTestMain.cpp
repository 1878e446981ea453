// The window tests need one application object for the whole program, on the offscreen
// platform so they run without a display.
#include <QApplication>
#include <gtest/gtest.h>

namespace {
// The offscreen platform says so each time a window asks for what it cannot do (size
// hints, opacity); those lines would bury the tests' own output.
void DropPlatformNotices(QtMsgType type, const QMessageLogContext& context,
                         const QString& strMessage) {
    if (strMessage.startsWith(QStringLiteral("This plugin does not support")))
        return;
    qt_message_output(type, context, strMessage);
}
} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(DropPlatformNotices);
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
