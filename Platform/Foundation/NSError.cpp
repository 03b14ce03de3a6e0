#include "Platform/Foundation/NSError.hpp"

namespace Foundation {

NSError::NSError(std::string domain, std::int64_t code, std::map<std::string, std::string> userInfo,
                 ErrorPtr underlyingError)
    : m_domain(std::move(domain))
    , m_code(code)
    , m_userInfo(std::move(userInfo))
    , m_underlyingError(std::move(underlyingError))
{
}

std::string NSError::localizedDescription() const
{
    if (auto it = m_userInfo.find(NSLocalizedDescriptionKey); it != m_userInfo.end())
        return it->second;
    return Error::localizedDescription();
}

std::string NSError::description() const
{
    std::string text = "Error Domain=" + m_domain + " Code=" + std::to_string(m_code) + " \"" + localizedDescription() + "\"";
    if (!m_userInfo.empty() || m_underlyingError) {
        text += " UserInfo={";
        bool first = true;
        for (const auto& [key, value] : m_userInfo) {
            text += (first ? "" : ", ") + key + "=" + value;
            first = false;
        }
        if (m_underlyingError)
            text += std::string(first ? "" : ", ") + "NSUnderlyingError=" + m_underlyingError->description();
        text += "}";
    }
    return text;
}

} // namespace Foundation
