#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URLResourceKey.hpp"
#include "Platform/Foundation/URLResourceValues.hpp"

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace Foundation {

// A URL kept as its parts: scheme, authority, path, query and fragment, each in its percent-encoded
// form as it appears in the absolute string. File URLs are built from file-system paths; the path of a
// directory ends in "/" so that the URL can tell (`hasDirectoryPath`). Equality and hashing compare the
// absolute string, as the platform does.
class URL {
public:
    // A file URL for a file-system path. A relative path is resolved against the current directory.
    // The URL is a directory URL when `isDirectory` says so, or, when it is not given, when the path
    // ends in "/" or names an existing directory.
    static URL fileURLWithPath(const String& path, std::optional<bool> isDirectory = std::nullopt);
    // URL(string:): nothing when the text is not a valid URL (spaces, stray "%", characters outside
    // the URL alphabet). A text without a scheme is a relative reference with only a path.
    static std::optional<URL> string(const String& text);

    const std::string& scheme() const { return m_scheme; }
    std::optional<String> host() const;
    std::optional<std::int64_t> port() const;
    // Percent-decoded; without the trailing "/" of a directory, except for the root itself.
    String path() const;
    std::optional<String> query() const;
    std::optional<String> fragment() const;
    String absoluteString() const;
    String description() const { return absoluteString(); }

    bool isFileURL() const { return m_scheme == "file"; }
    bool hasDirectoryPath() const;

    // "/" first for an absolute path, then each non-empty piece, decoded.
    std::vector<String> pathComponents() const;
    String lastPathComponent() const;
    // The text after the last "." of the last component; empty when there is none, or when the only
    // dot starts the component (".profile").
    String pathExtension() const;

    // Without `isDirectory`, a component that ends in "/" makes a directory URL. Nothing happens for an
    // empty component.
    URL appendingPathComponent(const String& component, std::optional<bool> isDirectory = std::nullopt) const;
    void appendPathComponent(const String& component, std::optional<bool> isDirectory = std::nullopt);
    // Nothing happens for an empty extension, one containing "/", or a URL with no last component.
    URL appendingPathExtension(const String& pathExtension) const;
    void appendPathExtension(const String& pathExtension);
    // The parent, as a directory URL; the root stays the root.
    URL deletingLastPathComponent() const;
    void deleteLastPathComponent();
    URL deletingPathExtension() const;
    void deletePathExtension();
    // "." and ".." pieces of the path resolved.
    URL standardized() const;

    // The values of a file URL's item for the keys asked; failures throw NSError in NSCocoaErrorDomain.
    URLResourceValues resourceValues(const std::set<URLResourceKey>& forKeys) const;
    // Nothing here is sandboxed, so no URL needs security-scoped access and none is ever started.
    bool startAccessingSecurityScopedResource() const { return false; }
    void stopAccessingSecurityScopedResource() const { }

    friend bool operator==(const URL& lhs, const URL& rhs) { return lhs.absoluteString() == rhs.absoluteString(); }
    std::size_t hash() const;

private:
    URL() = default;
    // The last component's range in the encoded path; empty when the path has none.
    struct Span {
        std::size_t begin = 0;
        std::size_t end = 0;
    };
    Span lastComponentSpan() const;

    std::string m_scheme;
    std::optional<std::string> m_authority;
    std::string m_path;
    std::optional<std::string> m_query;
    std::optional<std::string> m_fragment;
};

} // namespace Foundation

template <>
struct std::hash<Foundation::URL> {
    std::size_t operator()(const Foundation::URL& url) const { return url.hash(); }
};
