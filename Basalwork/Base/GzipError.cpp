#include "Basalwork/Base/GzipError.hpp"

#include "Platform/Foundation/Describe.hpp"

#include <optional>

#include <zlib.h>

namespace Basalwork {

GzipError::Kind GzipError::Kind::withStatus(int status)
{
    switch (status) {
    case Z_STREAM_ERROR: return stream();
    case Z_DATA_ERROR: return data();
    case Z_MEM_ERROR: return memory();
    case Z_BUF_ERROR: return buffer();
    case Z_VERSION_ERROR: return version();
    default: return unknown(status);
    }
}

std::string GzipError::Kind::description() const
{
    struct Describer {
        std::string operator()(const Unknown& c) const { return "unknown(code: " + std::to_string(c.code) + ")"; }
        std::string operator()(const Stream&) const { return "stream"; }
        std::string operator()(const Data&) const { return "data"; }
        std::string operator()(const Memory&) const { return "memory"; }
        std::string operator()(const Buffer&) const { return "buffer"; }
        std::string operator()(const Version&) const { return "version"; }
    };
    return std::visit(Describer {}, m_case);
}

GzipError::GzipError(Kind kind, Foundation::String message)
    : m_kind(std::make_shared<const Kind>(std::move(kind)))
    , m_message(std::move(message))
{
}

GzipError GzipError::withStatus(int status, const char* message)
{
    std::optional<Foundation::String> text = message ? Foundation::String::fromUTF8(message) : std::nullopt;
    return GzipError(Kind::withStatus(status), text.value_or("Unknown gzip error"));
}

const GzipError::Kind& GzipError::kind() const
{
    return *m_kind;
}

std::string GzipError::description() const
{
    return "GzipError(kind: Basalwork.GzipError.Kind." + m_kind->description() + ", message: " + Foundation::debugQuoted(m_message.view()) + ")";
}

} // namespace Basalwork
