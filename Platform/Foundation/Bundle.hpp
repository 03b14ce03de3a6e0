#pragma once

#include "Platform/Foundation/AnyClass.hpp"
#include "Platform/Foundation/NSObject.hpp"
#include "Platform/Foundation/PropertyListValue.hpp"
#include "Platform/Foundation/String.hpp"
#include "Platform/Foundation/URL.hpp"

#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <typeinfo>

namespace Foundation {

// A folder with an information dictionary, kept as "Info.json" in the folder. The main bundle is the
// folder of the running executable; plug-ins live in its "PlugIns" folder. The file's JSON null values
// have no property-list kind and are left out.
//
// A plug-in's code is the shared object its "CFBundleExecutable" names (a path inside the folder),
// loaded once with dlopen and never unloaded. It exports the entry point below with C linkage; given the
// name "NSPrincipalClass" holds, it answers that class's type, whose class methods (registered in the
// `MethodTable` when the code loads) are the plug-in's messages.
class Bundle : public NSObject {
public:
    using InfoDictionary = PropertyListValue::Dictionary;
    using PrincipalClassEntryPoint = const std::type_info* (*)(const char* className);
    static constexpr const char* principalClassEntryPointName = "FoundationBundlePrincipalClass";

    static std::shared_ptr<Bundle> main();
    // Tests install a main bundle of their own; nothing restores the executable's folder.
    static void setMain(std::shared_ptr<Bundle> bundle);
    // Nothing when the folder does not exist. A missing or unreadable "Info.json" gives no dictionary.
    static std::shared_ptr<Bundle> atPath(const std::string& path);
    static std::shared_ptr<Bundle> withInfoDictionary(std::optional<InfoDictionary> infoDictionary,
                                                      std::string path = "");

    const std::string& bundlePath() const { return m_path; }
    std::string builtInPlugInsPath() const { return m_path + "/PlugIns"; }
    URL builtInPlugInsURL() const;
    const std::optional<InfoDictionary>& infoDictionary() const { return m_infoDictionary; }
    std::optional<PropertyListValue> object(const String& forInfoDictionaryKey) const;
    std::optional<String> bundleIdentifier() const;
    // path(forResource:ofType:): the file "<name>.<type>" in the bundle's folder (just "<name>" without a
    // type); nothing when there is no such file, or when the name would leave the folder.
    std::optional<std::string> path(const String& forResource, const std::optional<String>& ofType) const;

    // Loads the code; false when the bundle names none, or it does not load. Safe from any thread.
    bool load();
    bool isLoaded() const;
    // Loads the code first; none when that fails, when the bundle names no principal class, or when the
    // code does not answer for it.
    std::optional<AnyClass> principalClass();

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
    mutable std::mutex m_loadMutex;
    void* m_handle = nullptr;
};

} // namespace Foundation
