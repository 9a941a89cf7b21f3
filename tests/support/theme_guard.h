#pragma once
// Sets the process-wide theme for one test and puts the previous one back.
#include "core/ui/widgets.h"

namespace tw::test {

class ThemeGuard {
public:
    explicit ThemeGuard(bool light, uint32_t accent = kDefaultAccent) : saved_(theme_state()) {
        theme_state().light = light;
        theme_state().accent = accent;
    }
    ~ThemeGuard() { theme_state() = saved_; }
    ThemeGuard(const ThemeGuard&) = delete;
    ThemeGuard& operator=(const ThemeGuard&) = delete;

private:
    ThemeState saved_;
};

}  // namespace tw::test
