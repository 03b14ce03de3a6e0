#include "Shared/Transfer/Importer.FileFormat.hpp"

#include "Shared/Transfer/CSVImportReader.hpp"
#include "Shared/Transfer/VaultDocument.hpp"

namespace Shared {

namespace {

using F = ImporterFileFormat;
using A = ImporterApp;

struct FormatInfo {
    F format;
    A app;
    const char* utType;
};

// The picker's types: the system's own where there is one, else ours for the other apps' extensions.
constexpr const char* csv = "public.comma-separated-values-text";
constexpr const char* json = "public.json";
constexpr const char* xml = "public.xml";
constexpr const char* text = "public.plain-text";

constexpr FormatInfo formats[] = {
    {F::onePassword1PUX, A::onePassword, "com.corvendale.import.1pux"},
    {F::onePassword1PIF, A::onePassword, "com.corvendale.import.1pif"},
    {F::onePasswordCSV, A::onePassword, csv},
    {F::bitwardenCSV, A::bitwarden, csv},
    {F::bitwardenOrganizationCSV, A::bitwarden, csv},
    {F::bitwardenJSON, A::bitwarden, json},
    {F::braveCSV, A::brave, csv},
    {F::chromeCSV, A::chrome, csv},
    {F::dashlaneCredentialsCSV, A::dashlane, csv},
    {F::dashlaneSecureNotesCSV, A::dashlane, csv},
    {F::dashlaneJSON, A::dashlane, json},
    {F::edgeCSV, A::edge, csv},
    {F::elpassExport, A::elpass, "com.corvendale.import.elpassexport"},
    {F::enpassJSON, A::enpass, json},
    {F::firefoxCSV, A::firefox, csv},
    {F::keeperJSON, A::keeper, json},
    {F::keeperCSV, A::keeper, csv},
    {F::corvendaleJSON, A::corvendale, json},
    {F::corvendaleCSV, A::corvendale, csv},
    {F::keePassXCCSV, A::keePassXC, csv},
    {F::lastPassCSV, A::lastPass, csv},
    {F::nordPassCSV, A::nordPass, csv},
    {F::operaCSV, A::opera, csv},
    {F::protonPassCSV, A::protonPass, csv},
    {F::roboFormCSV, A::roboForm, csv},
    {F::vivaldiCSV, A::vivaldi, csv},
    {F::safariCSV, A::safari, csv},
    {F::passwordsAppCSV, A::safari, csv},
    {F::keePassCSV, A::keePass, csv},
    {F::passwordSafeText, A::passwordSafe, text},
    {F::splashIDCSV, A::splashID, csv},
    {F::keePassXML, A::keePass, xml},
    {F::splashIDExport, A::splashID, "com.corvendale.import.spef"},
    {F::passwordSafeXML, A::passwordSafe, xml},
    {F::dashlanePaymentsCSV, A::dashlane, csv},
    {F::dashlaneIDsCSV, A::dashlane, csv},
    {F::dashlanePersonalInfoCSV, A::dashlane, csv},
    {F::enpassCSV, A::enpass, csv},
    {F::onePassword7CSV, A::onePassword, csv},
    {F::googlePasswordManagerCSV, A::chrome, csv},
    {F::customCSV, A::customCSV, csv},
};

static_assert(std::size(formats) == 41);

const FormatInfo& info(F format)
{
    return formats[static_cast<std::size_t>(format)];
}

} // namespace

ImporterApp app(ImporterFileFormat format)
{
    return info(format).app;
}

Foundation::String titleText(ImporterFileFormat format)
{
    return Setting<ImporterFileFormat>::cases[static_cast<std::size_t>(format)].title;
}

UniformTypeIdentifiers::UTType utType(ImporterFileFormat format)
{
    return {info(format).utType};
}

std::vector<Foundation::String> requiredCSVColumnLabels(ImporterFileFormat format)
{
    if (format == F::corvendaleCSV)
        return VaultDocument::requiredCSVColumnLabels();
    return CSVImportReader::requiredColumnLabels(format);
}

std::optional<Foundation::String> unsupportedReason(ImporterFileFormat format)
{
    switch (format) {
    // No documented layout to read them by: guessing at another app's private format could lose or
    // garble items, so the user is sent to the app's CSV export instead.
    case F::dashlaneJSON:
    case F::elpassExport:
    case F::splashIDExport:
        return Foundation::String("there is no documented layout to read these files by. Please export to CSV from " + name(app(format)).utf8()
                                  + " instead and import that file.");
    default:
        return std::nullopt;
    }
}

bool acceptsAttachmentsFolder(ImporterFileFormat format)
{
    return format == F::corvendaleJSON || format == F::corvendaleCSV;
}

std::vector<ImporterFileFormat> allImporterFileFormats()
{
    return allOptions<ImporterFileFormat>();
}

Foundation::String name(ImporterApp app)
{
    return titleText(app);
}

std::vector<ImporterFileFormat> availableFileFormats(ImporterApp app)
{
    std::vector<ImporterFileFormat> result;
    for (const auto& format : formats) {
        if (format.app == app)
            result.push_back(format.format);
    }
    return result;
}

std::vector<ImporterApp> allImporterApps()
{
    return allOptions<ImporterApp>();
}

std::vector<Foundation::String> allImporterAppNames()
{
    std::vector<Foundation::String> names;
    for (auto app : allImporterApps()) {
        if (app != A::customCSV && app != A::corvendale)
            names.push_back(name(app));
    }
    return names;
}

} // namespace Shared
