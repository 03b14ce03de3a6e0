#include "Shared/Model/Settings.Items.hpp"

namespace Shared {

std::vector<Settings::Items::SortMethod> Settings::Items::SortMethodGroup::sortMethods(Case group)
{
    switch (group) {
    case Case::title:
        return {SortMethod::alphabetical, SortMethod::alphabeticalDesc, SortMethod::unsorted};
    case Case::modifiedAt:
        return {SortMethod::modifiedAtDesc, SortMethod::modifiedAt};
    case Case::createdAt:
        return {SortMethod::createdAtDesc, SortMethod::createdAt};
    }
    return {};
}

} // namespace Shared
