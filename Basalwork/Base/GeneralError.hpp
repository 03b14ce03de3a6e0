#pragma once

#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Enumeration.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"

#include <variant>
#include <vector>

namespace Basalwork {

// The kit's general error. It has no text of its own: what a user or a log sees comes from the payload.
class GeneralError : public Foundation::ErrorOf<GeneralError>, public Foundation::Enumeration<GeneralError> {
public:
    struct FailedWithMessage {
        Foundation::String message;
    };
    struct Failed {
        std::vector<Foundation::ErrorPtr> withErrors;
    };
    struct FailedToEncodeUTF8String {
        Foundation::String string;
    };
    struct FailedToDecodeUTF8StringFromData {
        Foundation::Data data;
    };
    struct FailedToUnarchive {
        Foundation::String type;
        Foundation::Data fromData;
    };
    struct NoResult { };
    struct UserDidCancel { };
    // Cases in declared order; the payload cases come first, so the index is also the bridged code.
    using Case = std::variant<FailedWithMessage, Failed, FailedToEncodeUTF8String, FailedToDecodeUTF8StringFromData,
                              FailedToUnarchive, NoResult, UserDidCancel>;

    static GeneralError failedWithMessage(Foundation::String message) { return GeneralError(FailedWithMessage {std::move(message)}); }
    static GeneralError failed(std::vector<Foundation::ErrorPtr> withErrors) { return GeneralError(Failed {std::move(withErrors)}); }
    static GeneralError failedToEncodeUTF8String(Foundation::String string) { return GeneralError(FailedToEncodeUTF8String {std::move(string)}); }
    static GeneralError failedToDecodeUTF8StringFromData(Foundation::Data data) { return GeneralError(FailedToDecodeUTF8StringFromData {std::move(data)}); }
    static GeneralError failedToUnarchive(Foundation::String type, Foundation::Data fromData) { return GeneralError(FailedToUnarchive {std::move(type), std::move(fromData)}); }
    static GeneralError noResult() { return GeneralError(NoResult {}); }
    static GeneralError userDidCancel() { return GeneralError(UserDidCancel {}); }

    const Case& value() const { return m_case; }

    std::string domain() const override { return "Basalwork.GeneralError"; }
    std::int64_t code() const override { return index(); }
    std::string description() const override;

private:
    explicit GeneralError(Case value)
        : m_case(std::move(value))
    {
    }
    Case m_case;
};

} // namespace Basalwork
