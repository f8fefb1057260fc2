#pragma once

#include <string_view>

#include "platform/ui_services.h"

class QWidget;

// The program's message box over `parent`, for the view and the window
// alike: the text is Windows-1252, as the model gives it.
CUiServices::Answer ShowMessageBox(QWidget* parent, std::string_view text,
    CUiServices::Buttons buttons = CUiServices::Buttons::Ok,
    CUiServices::Icon icon = CUiServices::Icon::Warning);
