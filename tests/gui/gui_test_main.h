#pragma once
// The GUI tests share one QApplication, made in gui_test_main.cpp.
