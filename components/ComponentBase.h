// Common base of the browser feature components. The browser view owns each component
// through this base for the life of the browser and destroys them in creation order;
// components install their handlers in their constructors. Window thread only.
#pragma once

namespace korventa {

class ComponentBase {
public:
    ComponentBase() = default;
    virtual ~ComponentBase() = default;
    ComponentBase(const ComponentBase&) = delete;
    ComponentBase& operator=(const ComponentBase&) = delete;
};

}  // namespace korventa
