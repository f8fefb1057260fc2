#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/ui_services.h"

// A user interface for tests: records what the program shows and answers
// message boxes from a script (Ok when the script is empty).
class CScriptedUi : public CUiServices {
public:
    std::vector<std::string> messages;
    std::deque<Answer> answers;
    std::vector<std::string> status = std::vector<std::string>(8);
    int invalidated = 0;

    Answer MessageBox(std::string_view text, Buttons, Icon) override
    {
        messages.emplace_back(text);
        if (answers.empty())
            return Answer::Ok;
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void SetStatusText(int pane, std::string_view text) override
    {
        if (pane >= 0 && pane < static_cast<int>(status.size()))
            status[pane] = std::string(text);
    }
    void Invalidate() override { ++invalidated; }
};
