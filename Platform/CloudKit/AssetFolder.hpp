#pragma once

#include "Platform/CloudKit/CKRecordValue.hpp"

#include <memory>
#include <string>

namespace CloudKit {

class CKAsset;

// The files of a database's assets. Each is a copy made when its record was saved, named by a fresh
// identifier (keeping the extension) and never changed afterwards.
class AssetFolder {
public:
    explicit AssetFolder(std::string path)
        : m_path(std::move(path))
    {
    }

    const std::string& path() const { return m_path; }

    // Copies the asset's file in, unless it is one of this folder's; answers the file's name.
    std::string import(const CKAsset& asset) const;
    // The asset of a file in the folder; null for a name that could reach outside it.
    std::shared_ptr<CKAsset> named(const std::string& name) const;
    // The value with each of its assets (in a list too) replaced by its copy in the folder.
    CKRecordValue importing(const CKRecordValue& value) const;

    // Whether every asset of the value has its file.
    static bool hasFiles(const CKRecordValue& value);

private:
    std::string m_path;
};

} // namespace CloudKit
