#pragma once

#include "Corvendale/Screens/Settings/SettingsPageV.hpp"

#include <memory>

namespace Corvendale {

class ResetVDelegate;
class SettingsVActionV;

// The reset page: clearing the locally cached data and fetching it again, or resetting the whole
// account. Its texts are fixed.
class ResetV : public SettingsPageV {
public:
    struct Config {
        friend bool operator==(const Config&, const Config&) = default;
    };

    std::shared_ptr<ResetVDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<ResetVDelegate>& delegate);

    const std::shared_ptr<SettingsVActionV>& clearLocalCacheV() const { return m_clearLocalCacheV; }
    const std::shared_ptr<SettingsVActionV>& resetAccountV() const { return m_resetAccountV; }

    void update(const Config&) {}
    using SettingsPageV::update;

protected:
    friend Foundation::Construct;
    explicit ResetV(const std::shared_ptr<ResetVDelegate>& delegate);
    void initialize() override;
    void setupPage();

private:
    std::weak_ptr<ResetVDelegate> m_delegate;
    std::shared_ptr<SettingsVActionV> m_clearLocalCacheV;
    std::shared_ptr<SettingsVActionV> m_resetAccountV;
};

} // namespace Corvendale
