#include "Shared/Syncwright/CloudKitChangeToken.hpp"

#include "Platform/CloudKit/CKServerChangeToken.hpp"
#include "Platform/CoreData/NSEntityDescription.hpp"
#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/Foundation/Error.hpp"
#include "Platform/Foundation/NSKeyedArchiver.hpp"
#include "Platform/Foundation/NSKeyedUnarchiver.hpp"

namespace Syncwright {

namespace {

constexpr const char* keyKey = "key";
constexpr const char* tokenKey = "token";

} // namespace

std::shared_ptr<CoreData::NSEntityDescription> CloudKitChangeToken::makeEntityDescription()
{
    auto entity = Foundation::make<CoreData::NSEntityDescription>(entityName());
    entity->addAttribute({keyKey, CoreData::NSAttributeType::integer64, false, std::int64_t(0), true});
    entity->addAttribute({tokenKey, CoreData::NSAttributeType::binaryData});
    entity->setManagedObjectClass<CloudKitChangeToken>();
    return entity;
}

CoreData::NSFetchRequest<CloudKitChangeToken> CloudKitChangeToken::all()
{
    return CoreData::NSFetchRequest<CloudKitChangeToken>();
}

CoreData::NSFetchRequest<CloudKitChangeToken> CloudKitChangeToken::with(CKServerChangeToken::Key key)
{
    CoreData::NSFetchRequest<CloudKitChangeToken> request;
    request.setPredicate(CoreData::key(keyKey) == static_cast<std::int64_t>(key));
    return request;
}

std::shared_ptr<CloudKitChangeToken> CloudKitChangeToken::fetchFirstOrInsertNew(CKServerChangeToken::Key key,
                                                                                 CoreData::NSManagedObjectContext& context)
{
    auto request = with(key);
    request.setFetchLimit(1);
    auto found = context.fetch(request);
    if (!found.empty())
        return found.front();
    auto token = context.insertNewObject<CloudKitChangeToken>();
    token->setKey(key);
    return token;
}

std::optional<CKServerChangeToken::Key> CloudKitChangeToken::key() const
{
    auto raw = value<std::int64_t>(keyKey);
    if (raw && (*raw == 0 || *raw == 1))
        return static_cast<CKServerChangeToken::Key>(*raw);
    return std::nullopt;
}

void CloudKitChangeToken::setKey(CKServerChangeToken::Key key)
{
    setValue(static_cast<std::int64_t>(key), keyKey);
}

std::shared_ptr<CloudKit::CKServerChangeToken> CloudKitChangeToken::token() const
{
    auto archive = value<Foundation::Data>(tokenKey);
    if (!archive)
        return nullptr;
    try {
        return Foundation::NSKeyedUnarchiver::unarchivedObject<CloudKit::CKServerChangeToken>(*archive);
    } catch (const Foundation::Error&) {
        return nullptr;
    }
}

void CloudKitChangeToken::setToken(const std::shared_ptr<CloudKit::CKServerChangeToken>& token)
{
    if (!token)
        return setValue(std::nullopt, tokenKey);
    setValue(Foundation::NSKeyedArchiver::archivedData(token, true), tokenKey);
}

} // namespace Syncwright
