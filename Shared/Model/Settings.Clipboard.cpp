#include "Shared/Model/Settings.Clipboard.hpp"

namespace Shared {

std::optional<double> Settings::Clipboard::seconds(AutoClear autoClear)
{
    switch (autoClear) {
    case AutoClear::thirtySeconds:
        return 30;
    case AutoClear::oneMinute:
        return 60;
    case AutoClear::twoMinutes:
        return 120;
    case AutoClear::fiveMinutes:
        return 300;
    case AutoClear::never:
        return std::nullopt;
    }
    return std::nullopt;
}

} // namespace Shared
