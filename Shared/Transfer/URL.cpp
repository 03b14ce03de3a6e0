#include "Shared/Transfer/URL.hpp"

#include "Shared/Model/EntryShareLink.hpp"
#include "Shared/Transfer/BackupStore.hpp"
#include "Shared/Transfer/Importer.FileFormat.hpp"

#include "Platform/Foundation/CharacterSet.hpp"
#include "Platform/Foundation/FileManager.hpp"
#include "Platform/Foundation/PercentEncoding.hpp"
#include "Platform/Foundation/URL.hpp"

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

namespace Shared {

namespace {

std::string lowercasedASCII(std::string text)
{
    for (auto& character : text)
        character = static_cast<char>(std::tolower(static_cast<unsigned char>(character)));
    return text;
}

// The extensions of the files the importer's formats come in.
const std::set<std::string>& importableExtensions()
{
    static const std::set<std::string> extensions = [] {
        std::set<std::string> result;
        const std::string ownPrefix = "com.corvendale.import.";
        for (auto format : allImporterFileFormats()) {
            const std::string identifier = utType(format).identifier.utf8();
            if (identifier == "public.comma-separated-values-text")
                result.insert("csv");
            else if (identifier == "public.json")
                result.insert("json");
            else if (identifier == "public.xml")
                result.insert("xml");
            else if (identifier == "public.plain-text")
                result.insert("txt");
            else if (identifier.starts_with(ownPrefix))
                result.insert(identifier.substr(ownPrefix.size()));
        }
        return result;
    }();
    return extensions;
}

std::optional<Foundation::String> nonBlank(const Foundation::String& text)
{
    auto trimmed = text.trimmingCharacters(Foundation::CharacterSet::whitespacesAndNewlines());
    if (trimmed.isEmpty())
        return std::nullopt;
    return trimmed;
}

struct OTPAuthLabel {
    std::optional<Foundation::String> prefix;
    std::optional<Foundation::String> account;
    std::optional<Foundation::String> issuerParameter;
};

std::optional<OTPAuthLabel> otpAuthLabel(const Foundation::URL& url)
{
    if (!isOTPAuthURL(url))
        return std::nullopt;
    OTPAuthLabel result;
    auto label = url.path();
    if (label.hasPrefix("/"))
        label = label.substring(label.index(label.startIndex()), label.endIndex());
    if (auto separator = label.range(":")) {
        result.prefix = nonBlank(label.substring(label.startIndex(), separator->lowerBound));
        result.account = nonBlank(label.substring(separator->upperBound, label.endIndex()));
    } else {
        result.account = nonBlank(label);
    }
    if (auto query = url.query()) {
        std::string_view rest(query->utf8());
        while (!rest.empty()) {
            auto end = rest.find('&');
            auto pair = rest.substr(0, end);
            auto equals = pair.find('=');
            if (equals != std::string_view::npos && lowercasedASCII(std::string(pair.substr(0, equals))) == "issuer" && !result.issuerParameter)
                result.issuerParameter = nonBlank(Foundation::String(Foundation::percentDecoded(pair.substr(equals + 1))));
            if (end == std::string_view::npos)
                break;
            rest.remove_prefix(end + 1);
        }
    }
    return result;
}

} // namespace

bool isImportableFileURL(const Foundation::URL& url)
{
    if (!url.isFileURL() || url.hasDirectoryPath())
        return false;
    return importableExtensions().contains(lowercasedASCII(url.pathExtension().utf8()));
}

bool isFolder(const Foundation::URL& url)
{
    if (!url.isFileURL())
        return false;
    bool isDirectory = false;
    return Foundation::FileManager::defaultManager()->fileExists(url.path(), isDirectory) && isDirectory;
}

bool isCorvendaleBackupURL(const Foundation::URL& url)
{
    return url.isFileURL() && !url.hasDirectoryPath() && lowercasedASCII(url.pathExtension().utf8()) == BackupStore::fileExtension;
}

bool isCorvendaleShareURL(const Foundation::URL& url)
{
    auto host = url.host();
    return lowercasedASCII(url.scheme()) == EntryShareLink::scheme && host && lowercasedASCII(host->utf8()) == EntryShareLink::host;
}

bool isOTPAuthURL(const Foundation::URL& url)
{
    auto host = url.host();
    return lowercasedASCII(url.scheme()) == "otpauth" && host && lowercasedASCII(host->utf8()) == "totp";
}

std::optional<Foundation::String> otpAuthServiceName(const Foundation::URL& url)
{
    auto label = otpAuthLabel(url);
    if (!label)
        return std::nullopt;
    return label->prefix ? label->prefix : label->issuerParameter;
}

std::optional<Foundation::String> otpAuthUsername(const Foundation::URL& url)
{
    auto label = otpAuthLabel(url);
    return label ? label->account : std::nullopt;
}

std::optional<Foundation::String> otpAuthIssuer(const Foundation::URL& url)
{
    auto label = otpAuthLabel(url);
    if (!label)
        return std::nullopt;
    return label->issuerParameter ? label->issuerParameter : label->prefix;
}

} // namespace Shared
