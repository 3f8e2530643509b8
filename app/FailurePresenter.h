// Where failure texts are shown to the user. The window supplies a message box; tests supply
// a recorder. Called on the window thread; show() returns when the user has closed the text.
#pragma once

#include "core/Text.h"

namespace korventa {

class FailurePresenter {
public:
    virtual ~FailurePresenter() = default;
    virtual void show(const WString& text) = 0;
};

}  // namespace korventa
