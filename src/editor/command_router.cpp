#include "editor/command_router.h"

namespace vodirev {

void CommandRouter::Route(int commandId, Handler handler) {
    if (!handler) {
        Unroute(commandId);
        return;
    }
    m_handlers[commandId] = std::move(handler);
}

void CommandRouter::Unroute(int commandId) {
    m_handlers.erase(commandId);
}

bool CommandRouter::IsRouted(int commandId) const {
    return m_handlers.contains(commandId);
}

bool CommandRouter::Dispatch(int commandId) const {
    const auto it = m_handlers.find(commandId);
    if (it == m_handlers.end()) {
        return false;
    }
    // A copy, so a handler that reroutes its own id does not destroy itself mid-call.
    const Handler handler = it->second;
    if (m_wrapper) {
        m_wrapper(commandId, handler);
    } else {
        handler();
    }
    return true;
}

}  // namespace vodirev
