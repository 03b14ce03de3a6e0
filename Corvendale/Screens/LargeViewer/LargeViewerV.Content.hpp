#pragma once

#include "Shared/Model/TOTP.hpp"

#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/String.hpp"

#include <variant>

namespace Corvendale {

// What the large-type viewer shows (LargeViewerV.Content): a password or PIN character by character, a
// plain text, or a one-time password's changing code.
class LargeViewerVContent : public Foundation::Enumeration<LargeViewerVContent> {
public:
    struct Password {
        Foundation::String text;
        friend bool operator==(const Password&, const Password&) = default;
    };
    struct PIN {
        Foundation::String text;
        friend bool operator==(const PIN&, const PIN&) = default;
    };
    struct Text {
        Foundation::String text;
        friend bool operator==(const Text&, const Text&) = default;
    };
    struct TOTP {
        Shared::TOTP totp;
        friend bool operator==(const TOTP&, const TOTP&) = default;
    };
    // Cases in declared order.
    using Case = std::variant<Password, PIN, Text, TOTP>;

    static LargeViewerVContent password(Foundation::String text) { return LargeViewerVContent(Password {std::move(text)}); }
    static LargeViewerVContent pin(Foundation::String text) { return LargeViewerVContent(PIN {std::move(text)}); }
    static LargeViewerVContent text(Foundation::String text) { return LargeViewerVContent(Text {std::move(text)}); }
    static LargeViewerVContent totp(Shared::TOTP totp) { return LargeViewerVContent(TOTP {std::move(totp)}); }

    const Case& value() const { return m_case; }
    friend bool operator==(const LargeViewerVContent&, const LargeViewerVContent&) = default;

private:
    explicit LargeViewerVContent(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Corvendale
