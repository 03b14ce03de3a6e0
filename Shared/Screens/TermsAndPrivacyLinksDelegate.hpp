#pragma once

namespace Shared {

class TermsAndPrivacyLinks;

// Told which of the two links was chosen.
class TermsAndPrivacyLinksDelegate {
public:
    virtual ~TermsAndPrivacyLinksDelegate() = default;
    virtual void didSelectTermsOfUse(TermsAndPrivacyLinks& termsAndPrivacyLinks) = 0;
    virtual void didSelectPrivacyPolicy(TermsAndPrivacyLinks& termsAndPrivacyLinks) = 0;
};

} // namespace Shared
