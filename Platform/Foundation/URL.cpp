#include "Platform/Foundation/URL.hpp"

#include "Platform/Foundation/PercentEncoding.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/Hex.hpp"
#include "Platform/Foundation/URLAuthority.hpp"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sys/stat.h>

namespace Foundation {
namespace {

bool isURLCharacter(char c)
{
    auto byte = static_cast<unsigned char>(c);
    return byte > 0x20 && byte < 0x7F && !std::strchr("\"<>\\^`{|}", c);
}

bool isValidURLText(std::string_view text)
{
    bool inFragment = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (!isURLCharacter(c))
            return false;
        if (c == '%' && (i + 2 >= text.size() || hexDigitValue(text[i + 1]) < 0 || hexDigitValue(text[i + 2]) < 0))
            return false;
        if (c == '#') {
            if (inFragment)
                return false;
            inFragment = true;
        }
    }
    return true;
}

std::size_t schemeLength(std::string_view text)
{
    if (text.empty() || !std::isalpha(static_cast<unsigned char>(text[0])))
        return 0;
    std::size_t i = 1;
    while (i < text.size() && (std::isalnum(static_cast<unsigned char>(text[i])) || std::strchr("+-.", text[i])))
        ++i;
    return i < text.size() && text[i] == ':' ? i : 0;
}

// "." and ".." resolved, runs of "/" collapsed; a path that named a directory keeps its trailing "/".
std::string removingDotSegments(std::string_view path)
{
    bool absolute = !path.empty() && path.front() == '/';
    std::vector<std::string_view> kept;
    bool endsInDirectory = !path.empty() && path.back() == '/';
    std::size_t start = 0;
    while (start <= path.size()) {
        auto end = path.find('/', start);
        if (end == std::string_view::npos)
            end = path.size();
        auto segment = path.substr(start, end - start);
        bool last = end == path.size();
        if (segment == "." || segment == "..") {
            if (segment == "..") {
                if (!kept.empty() && kept.back() != "..")
                    kept.pop_back();
                else if (!absolute)
                    kept.push_back(segment);
            }
            if (last)
                endsInDirectory = true;
        } else if (!segment.empty()) {
            kept.push_back(segment);
        }
        start = end + 1;
    }
    std::string result = absolute ? "/" : "";
    for (std::size_t i = 0; i < kept.size(); ++i)
        result += std::string(kept[i]) + (i + 1 < kept.size() ? "/" : "");
    if (endsInDirectory && !kept.empty())
        result += '/';
    return result;
}

std::string currentDirectory()
{
    std::error_code error;
    auto path = std::filesystem::current_path(error);
    return error ? "/" : path.string();
}

bool isExistingDirectory(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::size_t extensionDot(std::string_view component)
{
    auto dot = component.rfind('.');
    if (dot == std::string_view::npos || dot == 0 || dot + 1 == component.size())
        return std::string_view::npos;
    return dot;
}

} // namespace

URL URL::fileURLWithPath(const String& path, std::optional<bool> isDirectory)
{
    std::string absolute = path.utf8();
    if (absolute.empty() || absolute.front() != '/')
        absolute = currentDirectory() + "/" + absolute;
    std::string collapsed;
    for (char c : absolute)
        if (c != '/' || collapsed.empty() || collapsed.back() != '/')
            collapsed += c;

    bool directory = isDirectory ? *isDirectory : (collapsed.back() == '/' || isExistingDirectory(collapsed));
    if (directory && collapsed.back() != '/')
        collapsed += '/';
    else if (!directory && collapsed.size() > 1 && collapsed.back() == '/')
        collapsed.pop_back();

    URL url;
    url.m_scheme = "file";
    url.m_authority = "";
    url.m_path = percentEncoded(collapsed, CharacterSet::urlPathAllowed());
    return url;
}

std::optional<URL> URL::string(const String& text)
{
    std::string_view rest = text.view();
    if (rest.empty() || !isValidURLText(rest))
        return std::nullopt;
    URL url;
    if (auto length = schemeLength(rest)) {
        url.m_scheme = std::string(rest.substr(0, length));
        rest.remove_prefix(length + 1);
    }
    if (auto hash = rest.find('#'); hash != std::string_view::npos) {
        url.m_fragment = std::string(rest.substr(hash + 1));
        rest = rest.substr(0, hash);
    }
    if (auto question = rest.find('?'); question != std::string_view::npos) {
        url.m_query = std::string(rest.substr(question + 1));
        rest = rest.substr(0, question);
    }
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        auto slash = rest.find('/');
        auto authority = rest.substr(0, slash);
        // What reads as two hosts, or as a host only once decoded, is no URL.
        auto parsed = URLAuthority::parse(authority);
        if (!parsed || !parsed->decodedHost())
            return std::nullopt;
        url.m_authority = std::string(authority);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
    }
    url.m_path = std::string(rest);
    return url;
}

std::optional<String> URL::host() const
{
    if (!m_authority)
        return std::nullopt;
    auto authority = URLAuthority::parse(*m_authority);
    auto host = authority ? authority->decodedHost() : std::nullopt;
    if (!host || host->empty())
        return std::nullopt;
    return String(std::move(*host));
}

std::optional<std::int64_t> URL::port() const
{
    if (!m_authority)
        return std::nullopt;
    auto authority = URLAuthority::parse(*m_authority);
    return authority ? authority->port : std::nullopt;
}

String URL::path() const
{
    std::string decoded = percentDecoded(m_path);
    if (decoded.size() > 1 && decoded.back() == '/')
        decoded.pop_back();
    return String(std::move(decoded));
}

std::optional<String> URL::query() const
{
    return m_query ? std::optional<String>(String(*m_query)) : std::nullopt;
}

std::optional<String> URL::fragment() const
{
    return m_fragment ? std::optional<String>(String(*m_fragment)) : std::nullopt;
}

String URL::absoluteString() const
{
    std::string text;
    if (!m_scheme.empty())
        text += m_scheme + ":";
    if (m_authority)
        text += "//" + *m_authority;
    text += m_path;
    if (m_query)
        text += "?" + *m_query;
    if (m_fragment)
        text += "#" + *m_fragment;
    return String(std::move(text));
}

bool URL::hasDirectoryPath() const
{
    return !m_path.empty() && m_path.back() == '/';
}

std::vector<String> URL::pathComponents() const
{
    std::vector<String> components;
    std::string decoded = percentDecoded(m_path);
    if (decoded.starts_with('/'))
        components.emplace_back("/");
    std::size_t start = 0;
    while (start < decoded.size()) {
        auto end = decoded.find('/', start);
        if (end == std::string::npos)
            end = decoded.size();
        if (end > start)
            components.emplace_back(decoded.substr(start, end - start));
        start = end + 1;
    }
    return components;
}

URL::Span URL::lastComponentSpan() const
{
    std::size_t end = m_path.size();
    if (end > 0 && m_path[end - 1] == '/')
        --end;
    auto slash = end == 0 ? std::string::npos : m_path.rfind('/', end - 1);
    std::size_t begin = slash == std::string::npos ? 0 : slash + 1;
    return {begin, std::max(begin, end)};
}

String URL::lastPathComponent() const
{
    auto span = lastComponentSpan();
    if (span.begin == span.end)
        return m_path.starts_with('/') ? String("/") : String();
    return String(percentDecoded(std::string_view(m_path).substr(span.begin, span.end - span.begin)));
}

String URL::pathExtension() const
{
    auto span = lastComponentSpan();
    auto component = std::string_view(m_path).substr(span.begin, span.end - span.begin);
    auto dot = extensionDot(component);
    if (dot == std::string_view::npos)
        return String();
    return String(percentDecoded(component.substr(dot + 1)));
}

URL URL::appendingPathComponent(const String& component, std::optional<bool> isDirectory) const
{
    URL url = *this;
    url.appendPathComponent(component, isDirectory);
    return url;
}

void URL::appendPathComponent(const String& component, std::optional<bool> isDirectory)
{
    if (component.isEmpty())
        return;
    std::string encoded = percentEncoded(component.view(), CharacterSet::urlPathAllowed());
    auto firstNonSlash = encoded.find_first_not_of('/');
    encoded.erase(0, firstNonSlash == std::string::npos ? encoded.size() : firstNonSlash);
    if (m_path.empty() ? m_authority.has_value() : m_path.back() != '/')
        m_path += '/';
    m_path += encoded;
    if (isDirectory && *isDirectory && !hasDirectoryPath())
        m_path += '/';
    else if (isDirectory && !*isDirectory)
        while (m_path.size() > 1 && m_path.back() == '/')
            m_path.pop_back();
}

URL URL::appendingPathExtension(const String& pathExtension) const
{
    URL url = *this;
    url.appendPathExtension(pathExtension);
    return url;
}

void URL::appendPathExtension(const String& pathExtension)
{
    auto span = lastComponentSpan();
    if (pathExtension.isEmpty() || pathExtension.contains("/") || span.begin == span.end)
        return;
    m_path.insert(span.end, "." + percentEncoded(pathExtension.view(), CharacterSet::urlPathAllowed()));
}

URL URL::deletingLastPathComponent() const
{
    URL url = *this;
    url.deleteLastPathComponent();
    return url;
}

void URL::deleteLastPathComponent()
{
    auto span = lastComponentSpan();
    if (span.begin == span.end)
        return;
    m_path.erase(span.begin);
    if (m_path.empty())
        m_path = "./";
}

URL URL::deletingPathExtension() const
{
    URL url = *this;
    url.deletePathExtension();
    return url;
}

void URL::deletePathExtension()
{
    auto span = lastComponentSpan();
    auto dot = extensionDot(std::string_view(m_path).substr(span.begin, span.end - span.begin));
    if (dot != std::string_view::npos)
        m_path.erase(span.begin + dot, span.end - span.begin - dot);
}

URL URL::standardized() const
{
    URL url = *this;
    url.m_path = removingDotSegments(m_path);
    return url;
}

std::size_t URL::hash() const
{
    return std::hash<std::string> {}(absoluteString().utf8());
}

} // namespace Foundation
