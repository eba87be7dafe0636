// The viewer's HTTP server, on Boost.Beast and Boost.Asio: one thread, on
// the loopback address only. It answers the page's own requests, keeps a
// bounded number of connections and of event streams, looks at the files
// every 100 ms and, when they changed, builds anew and tells every open
// page through its event stream. Ctrl+C ends it.
#pragma once

#include <cstddef>
#include <string>

#include "tool/commands/tool.h"
#include "tool/view/file_watch.h"
#include "tool/view/view_model.h"

namespace scenario {

struct ViewLimits {
    std::size_t connections = 32;  // open at once; more are closed unanswered
    std::size_t streams = 8;       // event streams among them; more are answered 503
};

// Serves until interrupted and returns the exit status: 0 after Ctrl+C, 1
// when the port cannot be had. The URL goes to `ctx.out` once listening.
int serve_view(ViewModel& model, FileWatch& watch, ToolContext& ctx, unsigned short port,
               const ViewLimits& limits = {});

}  // namespace scenario
