#pragma once

#include "Shared/Model/Setting.hpp"

#include "Platform/Foundation/String.hpp"

#include <vector>

namespace Shared {

enum class ImporterFileFormat;

// The apps whose exports the importer reads (Importer::App), in the order the import page lists them.
// Case 10 is this program itself, case 18 the desktop browser whose passwords also live in the system's
// password app, case 22 a CSV file the user lays out by hand.
enum class ImporterApp {
    onePassword,
    bitwarden,
    brave,
    chrome,
    dashlane,
    edge,
    elpass,
    enpass,
    firefox,
    keeper,
    corvendale,
    keePassXC,
    lastPass,
    nordPass,
    opera,
    protonPass,
    roboForm,
    vivaldi,
    safari,
    keePass,
    passwordSafe,
    splashID,
    customCSV,
};

// The display name.
Foundation::String name(ImporterApp app);
// The app's formats, in case order.
std::vector<ImporterFileFormat> availableFileFormats(ImporterApp app);
std::vector<ImporterApp> allImporterApps();
// Every app's name but the hand-made CSV's, for the sentence that lists where items can come from.
std::vector<Foundation::String> allImporterAppNames();

template <>
struct Setting<ImporterApp> {
    using T = ImporterApp;
    static constexpr SettingCase<T> cases[] = {
        {T::onePassword, "onePassword", "1Password"},
        {T::bitwarden, "bitwarden", "Bitwarden"},
        {T::brave, "brave", "Brave"},
        {T::chrome, "chrome", "Chrome"},
        {T::dashlane, "dashlane", "Dashlane"},
        {T::edge, "edge", "Edge"},
        {T::elpass, "elpass", "Elpass"},
        {T::enpass, "enpass", "Enpass"},
        {T::firefox, "firefox", "Firefox"},
        {T::keeper, "keeper", "Keeper"},
        {T::corvendale, "corvendale", "Corvendale"},
        {T::keePassXC, "keePassXC", "KeePassXC"},
        {T::lastPass, "lastPass", "LastPass"},
        {T::nordPass, "nordPass", "NordPass"},
        {T::opera, "opera", "Opera"},
        {T::protonPass, "protonPass", "Proton Pass"},
        {T::roboForm, "roboForm", "RoboForm"},
        {T::vivaldi, "vivaldi", "Vivaldi"},
        {T::safari, "safari", "Safari"},
        {T::keePass, "keePass", "KeePass"},
        {T::passwordSafe, "passwordSafe", "Password Safe"},
        {T::splashID, "splashID", "SplashID"},
        {T::customCSV, "customCSV", "Other (CSV)"},
    };
};

} // namespace Shared
