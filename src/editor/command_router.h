#pragma once
// The one table from command id to handler. A command whose handler is not there
// is simply absent: its menu item shows disabled and dispatching it does nothing.

#include <functional>
#include <map>

namespace vodirev {

class CommandRouter {
public:
    using Handler = std::function<void()>;

    // Routes id to handler, replacing an earlier route; an empty handler unroutes.
    void Route(int commandId, Handler handler);
    void Unroute(int commandId);
    bool IsRouted(int commandId) const;
    // Runs the handler of id; false when the id is not routed.
    bool Dispatch(int commandId) const;

    // Every dispatch then runs through wrapper, which calls the handler (the undo
    // history brackets each command so).
    using Wrapper = std::function<void(int commandId, const Handler& handler)>;
    void SetDispatchWrapper(Wrapper wrapper) { m_wrapper = std::move(wrapper); }

private:
    std::map<int, Handler> m_handlers;
    Wrapper m_wrapper;
};

}  // namespace vodirev
