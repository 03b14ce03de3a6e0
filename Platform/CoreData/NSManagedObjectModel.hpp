#pragma once

#include "Platform/CoreData/NSEntityDescription.hpp"
#include "Platform/Foundation/NSObject.hpp"

#include <memory>
#include <string_view>
#include <vector>

namespace CoreData {

// The entities a store keeps. A coordinator checks the model when it takes it (names, relationships and
// their inverses); from then on the model and its entities do not change.
class NSManagedObjectModel : public Foundation::NSObject {
public:
    const std::vector<std::shared_ptr<NSEntityDescription>>& entities() const { return m_entities; }
    void setEntities(std::vector<std::shared_ptr<NSEntityDescription>> entities);
    // Nothing when the model has no entity of that name.
    std::shared_ptr<NSEntityDescription> entity(std::string_view name) const;

    // Checks and freezes the model; a malformed model is a programming error and stops the program.
    void freeze();
    bool isFrozen() const { return m_isFrozen; }

protected:
    friend Foundation::Construct;
    NSManagedObjectModel() = default;

private:
    std::vector<std::shared_ptr<NSEntityDescription>> m_entities;
    bool m_isFrozen = false;
};

} // namespace CoreData
