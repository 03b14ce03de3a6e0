#pragma once

#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/String.hpp"

#include <string>

namespace Basalwork {

// A failed zlib call: what kind of failure its status names, and zlib's own message about it.
class GzipError : public Foundation::ErrorOf<GzipError> {
public:
    class Kind;

    GzipError(Kind kind, Foundation::String message);
    // From a zlib status and the stream's message; a missing message, or one that is not UTF-8, reads
    // "Unknown gzip error".
    static GzipError withStatus(int status, const char* message);

    const Kind& kind() const;
    const Foundation::String& message() const { return m_message; }

    std::string domain() const override { return "Basalwork.GzipError"; }
    // A structure, not an enumeration, so the platform's default code.
    std::int64_t code() const override { return 1; }
    std::string description() const override;
    std::string localizedDescription() const override { return m_message.utf8(); }

private:
    std::shared_ptr<const Kind> m_kind; // Kind is complete only after this class
    Foundation::String m_message;
};

} // namespace Basalwork

#include "Basalwork/Base/GzipError.Kind.hpp"
