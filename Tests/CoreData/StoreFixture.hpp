#pragma once

#include "Platform/CoreData/NSManagedObjectContext.hpp"
#include "Platform/CoreData/NSPersistentContainer.hpp"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace CoreDataTests {

using namespace CoreData;
using Foundation::Data;
using Foundation::Date;
using Foundation::String;
using Foundation::UUID;

// An item as a subclass with named accessors, as the record store writes them.
class Item : public NSManagedObject {
public:
    static String entityName() { return "Item"; }
    String title() const { return value<String>("title").value_or(""); }
    void setTitle(const String& title) { setValue(title, "title"); }

protected:
    friend Foundation::Construct;
    Item() = default;
    void awakeFromInsert() override { setValue(UUID(), "uuid"); }
};

// Vaults hold items (deleting a vault with items is refused), items hold attachments (deleted with them).
inline std::shared_ptr<NSManagedObjectModel> makeModel()
{
    auto vault = Foundation::make<NSEntityDescription>("Vault");
    vault->addAttribute({"name", NSAttributeType::string});
    vault->addRelationship(NSRelationshipDescription::toMany("items", "Item", "vault", NSDeleteRule::deny));

    auto item = Foundation::make<NSEntityDescription>("Item");
    item->setManagedObjectClass<Item>();
    item->addAttribute({"uuid", NSAttributeType::uuid, false, {}, true});
    item->addAttribute({"title", NSAttributeType::string, false, String(""), true});
    item->addAttribute({"notes", NSAttributeType::string});
    item->addAttribute({"count", NSAttributeType::integer64, false, 0});
    item->addAttribute({"score", NSAttributeType::double_});
    item->addAttribute({"isFavorite", NSAttributeType::boolean, false, false});
    item->addAttribute({"modified", NSAttributeType::date});
    item->addAttribute({"payload", NSAttributeType::binaryData});
    item->addRelationship(NSRelationshipDescription::toOne("vault", "Vault", "items"));
    item->addRelationship(NSRelationshipDescription::toMany("attachments", "Attachment", "item", NSDeleteRule::cascade));

    auto attachment = Foundation::make<NSEntityDescription>("Attachment");
    attachment->addAttribute({"name", NSAttributeType::string});
    attachment->addRelationship(NSRelationshipDescription::toOne("item", "Item", "attachments"));

    auto model = Foundation::make<NSManagedObjectModel>();
    model->setEntities({vault, item, attachment});
    return model;
}

inline std::shared_ptr<NSPersistentContainer> makeContainer(const std::string& path = ":memory:", double timeout = 10)
{
    auto container = Foundation::make<NSPersistentContainer>("Items", makeModel());
    NSPersistentStoreDescription description(Foundation::URL::fileURLWithPath(path, false));
    description.setTimeout(timeout);
    container->setPersistentStoreDescriptions({description});
    Foundation::ErrorPtr failure;
    container->loadPersistentStores([&](const auto&, Foundation::ErrorPtr error) { failure = error; });
    if (failure)
        failure->raise();
    return container;
}

inline std::shared_ptr<Item> insertItem(NSManagedObjectContext& context, const String& title, std::int64_t count = 0)
{
    auto item = context.insertNewObject<Item>();
    item->setTitle(title);
    item->setValue(count, "count");
    return item;
}

inline std::vector<std::string> titles(const std::vector<std::shared_ptr<Item>>& items)
{
    std::vector<std::string> result;
    for (const auto& item : items)
        result.push_back(item->title().utf8());
    return result;
}

inline NSFetchRequest<Item> itemsWhere(std::optional<NSPredicate> predicate, std::vector<NSSortDescriptor> sort = {NSSortDescriptor("title")})
{
    NSFetchRequest<Item> request;
    request.setPredicate(std::move(predicate));
    request.setSortDescriptors(std::move(sort));
    return request;
}

} // namespace CoreDataTests
