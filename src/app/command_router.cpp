#include "app/command_router.h"

#include <algorithm>

void CCommandHandlers::On(int id, Execute execute, Update update)
{
    handlers[id] = {std::move(execute), std::move(update)};
}

void CCommandHandlers::Remove(int id)
{
    handlers.erase(id);
}

void CCommandRouter::AddTarget(const CCommandHandlers& target)
{
    RemoveTarget(target);
    targets.insert(targets.begin(), &target);
}

void CCommandRouter::RemoveTarget(const CCommandHandlers& target)
{
    std::erase(targets, &target);
}

const CCommandHandlers::Handler* CCommandRouter::Find(int id) const
{
    for (const CCommandHandlers* target : targets) {
        const auto it = target->handlers.find(id);
        if (it != target->handlers.end())
            return &it->second;
    }
    return nullptr;
}

CCommandState CCommandRouter::Update(int id) const
{
    const auto* handler = Find(id);
    if (!handler)
        return {};
    if (!handler->update)
        return {true, false};
    return handler->update();
}

bool CCommandRouter::Execute(int id) const
{
    const auto* handler = Find(id);
    if (!handler || !handler->execute)
        return false;
    if (handler->update && !handler->update().enabled)
        return false;
    // A command may close the very window whose handlers hold it.
    const CCommandHandlers::Execute execute = handler->execute;
    execute();
    return true;
}
