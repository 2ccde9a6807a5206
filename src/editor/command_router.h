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

private:
    std::map<int, Handler> m_handlers;
};

}  // namespace vodirev
