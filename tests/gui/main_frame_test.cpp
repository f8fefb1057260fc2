#include "gui/main_frame.h"

#include <QApplication>
#include <gtest/gtest.h>

#include "gui_test_main.h"

TEST(MainFrame, IsTitledWithTheProgramName)
{
    CMainFrame frame;
    EXPECT_EQ(frame.windowTitle(), QStringLiteral("Vorel Ridizav"));
}
