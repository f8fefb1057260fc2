#include <QGuiApplication>
#include <QStandardPaths>
#include <clocale>
#include <gtest/gtest.h>

#include "support/private_home.h"

// The Qt parts both front ends share need fonts and images, not widgets.
int main(int argc, char** argv)
{
    const CPrivateHome home;
    QStandardPaths::setTestModeEnabled(true);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
