#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

namespace Shared {

// The framework's constants beside Basalwork's Global: who the program is and where it is reached.
struct Global {
    // The product name shown in texts.
    static Foundation::String corvendale();

    struct App {
        // The application group the program and its AutoFill extension share.
        static Foundation::String appGroupIdentifier();
        // The account's container the program syncs with (the program's default container).
        static Foundation::String ubiquityContainerIdentifier();
    };
    struct Website {
        static Foundation::URL url();
    };
    struct Help {
        static Foundation::URL url();
    };
    struct TermsOfUse {
        static Foundation::URL url();
    };
    struct PrivacyPolicy {
        static Foundation::URL url();
    };
    struct Contact {
        static Foundation::String infoEmailAddress();
    };
    struct AppStore {
        static Foundation::URL listing();
        static Foundation::URL review();
    };

    // The names the screens give the program's features.
    struct AutoFill {
        static Foundation::String name();
        // The start of a sentence that says what the feature does.
        static Foundation::String description();
        // Copying an item's one-time password once AutoFill has filled in its password.
        struct AutoCopyOTPs {
            // The question of the option, without its question mark.
            static Foundation::String description();
            // Under the option: what tells the user that a code was copied.
            static Foundation::String notificationExplanation();
            // Under the option, while copying is on and notifications are not allowed.
            static Foundation::String allowNotificationsMessage();
        };
    };
    struct ImportItems {
        static Foundation::String name();
    };
    struct ExportItems {
        static Foundation::String name();
    };
    struct SafeForInspection {
        static Foundation::String mode();
        static Foundation::String description();
        // What the mode's password is called within a sentence, and the name of the password itself.
        static Foundation::String title();
        static Foundation::String password();
    };
};

} // namespace Shared
