#pragma once

#include "Shared/Model/Settings.hpp"

#include <vector>

namespace Shared {

struct Settings::Items {
    enum class ListStyle { standard, standardWithoutSubtitle, compactWithSubtitle, compactWithoutSubtitle };
    // Which texts of an item a search looks at.
    enum class SearchableFields {
        titleTags,
        titleSubtitleTags,
        titleSubtitleUsernameTags,
        titleSubtitleUsernameWebsitesTags,
        titleSubtitleUsernameTagsNotes,
    };
    enum class DuplicateConfirmation { enabled, disabled };
    enum class ArchiveConfirmation { enabled, disabled };
    enum class MoveToTrashConfirmation { enabled, disabled };
    // Whether the list's search field takes the keyboard once the vault is unlocked.
    enum class SearchFocus { enabled, disabled };

    enum class SortMethod { alphabetical, alphabeticalDesc, modifiedAtDesc, modifiedAt, createdAtDesc, createdAt, unsorted };
    struct SortMethodGroup;

    static constexpr SortMethod defaultSortMethod = SortMethod::alphabetical;
};

// The sort methods as menus group them: by title, by date last edited, by date added.
struct Settings::Items::SortMethodGroup {
    enum class Case { title, modifiedAt, createdAt };
    static std::vector<Case> allCases() { return {Case::title, Case::modifiedAt, Case::createdAt}; }
    static std::vector<SortMethod> sortMethods(Case group);
};

template <>
struct Setting<Settings::Items::ListStyle> {
    using T = Settings::Items::ListStyle;
    static constexpr SettingCase<T> cases[] = {
        {T::standard, "standard", "Standard"},
        {T::standardWithoutSubtitle, "standardWithoutSubtitle", "Standard without Subtitle"},
        {T::compactWithSubtitle, "compactWithSubtitle", "Compact with Subtitle"},
        {T::compactWithoutSubtitle, "compactWithoutSubtitle", "Compact without Subtitle"},
    };
};

template <>
struct Setting<Settings::Items::SearchableFields> {
    using T = Settings::Items::SearchableFields;
    static constexpr SettingCase<T> cases[] = {
        {T::titleTags, "titleTags", "Title and Tags"},
        {T::titleSubtitleTags, "titleSubtitleTags", "Title, Subtitle and Tags"},
        {T::titleSubtitleUsernameTags, "titleSubtitleUsernameTags", "Title, Subtitle, Username and Tags"},
        {T::titleSubtitleUsernameWebsitesTags, "titleSubtitleUsernameWebsitesTags", "Title, Subtitle, Username, Websites and Tags"},
        {T::titleSubtitleUsernameTagsNotes, "titleSubtitleUsernameTagsNotes", "Title, Subtitle, Username, Websites, Tags and Notes"},
    };
};

template <>
struct Setting<Settings::Items::DuplicateConfirmation> {
    using T = Settings::Items::DuplicateConfirmation;
    static constexpr SettingCase<T> cases[] = {{T::enabled, "enabled", "Enabled"}, {T::disabled, "disabled", "Disabled"}};
};

template <>
struct Setting<Settings::Items::ArchiveConfirmation> {
    using T = Settings::Items::ArchiveConfirmation;
    static constexpr SettingCase<T> cases[] = {{T::enabled, "enabled", "Enabled"}, {T::disabled, "disabled", "Disabled"}};
};

template <>
struct Setting<Settings::Items::MoveToTrashConfirmation> {
    using T = Settings::Items::MoveToTrashConfirmation;
    static constexpr SettingCase<T> cases[] = {{T::enabled, "enabled", "Enabled"}, {T::disabled, "disabled", "Disabled"}};
};

template <>
struct Setting<Settings::Items::SearchFocus> {
    using T = Settings::Items::SearchFocus;
    static constexpr SettingCase<T> cases[] = {{T::enabled, "enabled", "Enabled"}, {T::disabled, "disabled", "Disabled"}};
};

template <>
struct Setting<Settings::Items::SortMethod> {
    using T = Settings::Items::SortMethod;
    static constexpr SettingCase<T> cases[] = {
        {T::alphabetical, "alphabetical", "A to Z"},
        {T::alphabeticalDesc, "alphabeticalDesc", "Z to A"},
        {T::modifiedAtDesc, "modifiedAtDesc", "Most Recent on Top"},
        {T::modifiedAt, "modifiedAt", "Oldest on Top"},
        {T::createdAtDesc, "createdAtDesc", "Most Recent on Top"},
        {T::createdAt, "createdAt", "Oldest on Top"},
        {T::unsorted, "unsorted", "No Sort Order"},
    };
};

} // namespace Shared
