#pragma once

#include "Shared/Screens/TermsAndPrivacyLinksDelegate.hpp"

namespace UIKit {
class UILabel;
}

namespace Corvendale {

class AppVersionCell;

class AppVersionCellDelegate : public Shared::TermsAndPrivacyLinksDelegate {
public:
    virtual void didSelectVersionLabel(UIKit::UILabel& versionLabel, AppVersionCell& appVersionCell) = 0;
};

} // namespace Corvendale
