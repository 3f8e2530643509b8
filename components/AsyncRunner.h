// Where the components queue work for later on the window thread; the browser view
// implements it. A queued callable runs once, or never when its runner is gone first.
#pragma once

#include <functional>

namespace korventa {

class AsyncRunner {
public:
    virtual ~AsyncRunner() = default;
    virtual void RunAsync(std::function<void()> callable) = 0;
};

}  // namespace korventa
