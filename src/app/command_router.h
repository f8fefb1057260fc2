#pragma once

#include <functional>
#include <map>
#include <vector>

// What a command's update handler reports.
struct CCommandState {
    bool enabled = false;
    bool checked = false;

    friend bool operator==(const CCommandState&, const CCommandState&) = default;
};

// The commands one part of the program handles (the view, the document, the
// main window), each with its action and its update handler.
class CCommandHandlers {
public:
    using Execute = std::function<void()>;
    using Update = std::function<CCommandState()>;

    // Without an update handler the command is always enabled, never ticked.
    void On(int id, Execute execute, Update update = {});
    void Remove(int id);

private:
    friend class CCommandRouter;
    struct Handler {
        Execute execute;
        Update update;
    };
    std::map<int, Handler> handlers;
};

// Carries a command to the first of its targets that handles it, the way a
// command first reaches the active view, then its document, then the main
// window. A command that no target handles is disabled.
class CCommandRouter {
public:
    // Puts a target in front of those already there (the most specific
    // target is added last). The router does not own it.
    void AddTarget(const CCommandHandlers& target);
    void RemoveTarget(const CCommandHandlers& target);

    CCommandState Update(int id) const;
    // Runs the command when it is enabled; returns whether it ran.
    bool Execute(int id) const;

private:
    const CCommandHandlers::Handler* Find(int id) const;
    std::vector<const CCommandHandlers*> targets; // first is asked first
};
