#include "Platform/CloudKit/AssetFolder.hpp"

#include "Platform/CloudKit/CKAsset.hpp"
#include "Platform/Foundation/FileIO.hpp"
#include "Platform/Foundation/UUID.hpp"

#include <filesystem>
#include <sys/stat.h>

namespace CloudKit {
namespace {

bool isAssetName(const std::string& name)
{
    if (name.empty() || name.size() > 255 || name.front() == '.')
        return false;
    for (char c : name) {
        bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
        if (!allowed)
            return false;
    }
    return true;
}

bool hasFile(const std::shared_ptr<CKAsset>& asset)
{
    struct stat info {};
    return asset && asset->fileURL() && ::stat(asset->fileURL()->path().utf8().c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

std::string AssetFolder::import(const CKAsset& asset) const
{
    std::filesystem::path source(asset.fileURL()->path().utf8());
    auto name = source.filename().string();
    if (Foundation::FileIO::parentDirectory(source.string()) == m_path && isAssetName(name))
        return name;
    auto extension = source.extension().string();
    auto stored = Foundation::UUID().uuidString().utf8() + (isAssetName("x" + extension) ? extension : std::string());
    Foundation::FileIO::writeFile(m_path + "/" + stored, Foundation::FileIO::readFile(source.string()), true);
    return stored;
}

std::shared_ptr<CKAsset> AssetFolder::named(const std::string& name) const
{
    if (!isAssetName(name))
        return nullptr;
    return Foundation::make<CKAsset>(Foundation::URL::fileURLWithPath(m_path + "/" + name));
}

CKRecordValue AssetFolder::importing(const CKRecordValue& value) const
{
    if (auto list = value.list()) {
        CKRecordValue::List imported;
        for (const auto& element : *list)
            imported.push_back(importing(element));
        return imported;
    }
    if (auto asset = value.as<std::shared_ptr<CKAsset>>(); asset && *asset)
        return named(import(**asset));
    return value;
}

bool AssetFolder::hasFiles(const CKRecordValue& value)
{
    if (auto list = value.list()) {
        for (const auto& element : *list) {
            if (!hasFiles(element))
                return false;
        }
        return true;
    }
    auto asset = value.as<std::shared_ptr<CKAsset>>();
    return !asset || hasFile(*asset);
}

} // namespace CloudKit
