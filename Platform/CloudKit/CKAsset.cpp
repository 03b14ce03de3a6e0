#include "Platform/CloudKit/CKAsset.hpp"

namespace CloudKit {

std::string CKAsset::description() const
{
    return "<CKAsset: " + (m_fileURL ? m_fileURL->path().utf8() : std::string("no file")) + ">";
}

} // namespace CloudKit
