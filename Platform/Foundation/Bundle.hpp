#pragma once

#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/PropertyListValue.hpp"
#include "Platform/Foundation/String.hpp"

#include <memory>
#include <optional>
#include <string>

namespace Foundation {

// A folder with an information dictionary, kept as "Info.json" in the folder. The main bundle is the
// folder of the running executable; plug-ins live in its "PlugIns" folder. The file's JSON null values
// have no property-list kind and are left out.
class Bundle : public NSObject {
public:
    using InfoDictionary = PropertyListValue::Dictionary;

    static std::shared_ptr<Bundle> main();
    // Tests install a main bundle of their own; nothing restores the executable's folder.
    static void setMain(std::shared_ptr<Bundle> bundle);
    // Nothing when the folder does not exist. A missing or unreadable "Info.json" gives no dictionary.
    static std::shared_ptr<Bundle> atPath(const std::string& path);
    static std::shared_ptr<Bundle> withInfoDictionary(std::optional<InfoDictionary> infoDictionary,
                                                      std::string path = "");

    const std::string& bundlePath() const { return m_path; }
    std::string builtInPlugInsPath() const { return m_path + "/PlugIns"; }
    const std::optional<InfoDictionary>& infoDictionary() const { return m_infoDictionary; }
    std::optional<PropertyListValue> object(const String& forInfoDictionaryKey) const;
    std::optional<String> bundleIdentifier() const;
    // path(forResource:ofType:): the file "<name>.<type>" in the bundle's folder (just "<name>" without a
    // type); nothing when there is no such file, or when the name would leave the folder.
    std::optional<std::string> path(const String& forResource, const std::optional<String>& ofType) const;

protected:
    friend Construct;
    Bundle(std::string path, std::optional<InfoDictionary> infoDictionary)
        : m_path(std::move(path))
        , m_infoDictionary(std::move(infoDictionary))
    {
    }

private:
    std::string m_path;
    std::optional<InfoDictionary> m_infoDictionary;
};

} // namespace Foundation
