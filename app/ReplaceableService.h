#pragma once
// A service with a built-in implementation that another one can replace: later converters install theirs,
// tests install fakes; nullptr restores the built-in one.
#include "platform/ui/UiService.h"

namespace velmora {

template <class Service>
class ReplaceableService {
public:
    explicit ReplaceableService(Service& builtIn) : builtIn_(builtIn) {}
    Service& get() const { return installed_ ? *installed_ : builtIn_; }
    void install(Service* service) { installed_ = service; }

private:
    Service& builtIn_;
    Service* installed_ = nullptr;
};

// What a conversion that is not built yet does: it says so and fails, so that nothing is reported as
// converted before it can be.
inline bool conversionUnavailable(const char* message) {
    ui::message(message, "ﾒｯｾｰｼﾞ", ui::Icon::Exclamation);
    return false;
}

}  // namespace velmora
