#pragma once

#include <string>
#include <string_view>

// What the program's logic asks of the user interface. The GUI implements
// it with Qt; tests script it.
class CUiServices {
public:
    enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
    enum class Answer { Ok, Cancel, Yes, No };
    enum class Icon { None, Information, Warning, Error, Question };

    virtual ~CUiServices() = default;

    // A message box with Windows-1252 text; returns the button chosen.
    virtual Answer MessageBox(std::string_view text, Buttons buttons = Buttons::Ok,
                              Icon icon = Icon::Warning) = 0;
    // The text of a status-bar pane (0 is the message pane).
    virtual void SetStatusText(int pane, std::string_view text) = 0;
    // The view needs painting again.
    virtual void Invalidate() = 0;
};
