#include <QApplication>
#include <QStandardPaths>
#include <clocale>
#include <gtest/gtest.h>

#include "support/private_home.h"

int main(int argc, char** argv)
{
    // The windows keep recent files and settings through QSettings: the
    // tests' own go to a private folder, never into the user's.
    const CPrivateHome home;
    QStandardPaths::setTestModeEnabled(true);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Named as the program's main names it: the windows show the name.
    QApplication::setApplicationName(QStringLiteral("Vorel Ridizav"));
    QApplication::setOrganizationName(QApplication::applicationName());
    QApplication::setApplicationVersion(QStringLiteral(RIDIZAV_VERSION));
    std::setlocale(LC_NUMERIC, "C");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
