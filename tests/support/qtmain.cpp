// The main of the window tests: a QApplication on the offscreen platform.
// Qt's warnings, and those of QAbstractItemModelTester, fail the test that
// caused them.
#include <QApplication>
#include <QString>
#include <gtest/gtest.h>

namespace {

// Warnings the offscreen platform itself prints, whatever the program does.
constexpr const char* kPlatformNoise[] = {
    "QStandardPaths: XDG_RUNTIME_DIR not set",
    "This plugin does not support",
};

void failOnWarning(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    for (const char* noise : kPlatformNoise) {
        if (message.startsWith(QLatin1String(noise)))
            return;
    }
    ADD_FAILURE() << "Qt warned: " << message.toStdString();
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(failOnWarning);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
