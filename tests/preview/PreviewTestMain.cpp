// GoogleTest main with a Qt application object: device notices are Qt events.

#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("TSQ_AUDIO_DEVICE", "null");
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
