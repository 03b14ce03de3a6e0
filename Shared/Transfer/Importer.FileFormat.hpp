#pragma once

#include "Shared/Model/Setting.hpp"
#include "Shared/Transfer/Importer.App.hpp"

#include "Platform/Foundation/String.hpp"
#include "Platform/UniformTypeIdentifiers/UTType.hpp"

#include <optional>
#include <vector>

namespace Shared {

// The export files the importer knows (Importer::FileFormat), grouped under their apps. Cases 17 and
// 18 are this program's own exports, which come with a folder of attachments.
enum class ImporterFileFormat {
    onePassword1PUX,
    onePassword1PIF,
    onePasswordCSV,
    bitwardenCSV,
    bitwardenOrganizationCSV,
    bitwardenJSON,
    braveCSV,
    chromeCSV,
    dashlaneCredentialsCSV,
    dashlaneSecureNotesCSV,
    dashlaneJSON,
    edgeCSV,
    elpassExport,
    enpassJSON,
    firefoxCSV,
    keeperJSON,
    keeperCSV,
    corvendaleJSON,
    corvendaleCSV,
    keePassXCCSV,
    lastPassCSV,
    nordPassCSV,
    operaCSV,
    protonPassCSV,
    roboFormCSV,
    vivaldiCSV,
    safariCSV,
    passwordsAppCSV,
    keePassCSV,
    passwordSafeText,
    splashIDCSV,
    keePassXML,
    splashIDExport,
    passwordSafeXML,
    dashlanePaymentsCSV,
    dashlaneIDsCSV,
    dashlanePersonalInfoCSV,
    enpassCSV,
    onePassword7CSV,
    googlePasswordManagerCSV,
    customCSV,
};

ImporterApp app(ImporterFileFormat format);
// The format as the import page names it ("CSV (.csv)").
Foundation::String titleText(ImporterFileFormat format);
// The kind of file the picker offers.
UniformTypeIdentifiers::UTType utType(ImporterFileFormat format);
// The case-sensitive labels the first row must hold; empty for files that are not CSV or have no header.
std::vector<Foundation::String> requiredCSVColumnLabels(ImporterFileFormat format);
// Why the importer cannot read the format, for the few it cannot.
std::optional<Foundation::String> unsupportedReason(ImporterFileFormat format);
// Whether the export comes with a folder of attachments beside it.
bool acceptsAttachmentsFolder(ImporterFileFormat format);
std::vector<ImporterFileFormat> allImporterFileFormats();

template <>
struct Setting<ImporterFileFormat> {
    using T = ImporterFileFormat;
    static constexpr SettingCase<T> cases[] = {
        {T::onePassword1PUX, "onePassword1PUX", "1PUX (.1pux)"},
        {T::onePassword1PIF, "onePassword1PIF", "1PIF (.1pif)"},
        {T::onePasswordCSV, "onePasswordCSV", "CSV (.csv)"},
        {T::bitwardenCSV, "bitwardenCSV", "CSV (.csv)"},
        {T::bitwardenOrganizationCSV, "bitwardenOrganizationCSV", "Organization CSV (.csv)"},
        {T::bitwardenJSON, "bitwardenJSON", "JSON (.json)"},
        {T::braveCSV, "braveCSV", "CSV (.csv)"},
        {T::chromeCSV, "chromeCSV", "CSV (.csv)"},
        {T::dashlaneCredentialsCSV, "dashlaneCredentialsCSV", "Credentials CSV (.csv)"},
        {T::dashlaneSecureNotesCSV, "dashlaneSecureNotesCSV", "Secure Notes CSV (.csv)"},
        {T::dashlaneJSON, "dashlaneJSON", "JSON (.json)"},
        {T::edgeCSV, "edgeCSV", "CSV (.csv)"},
        {T::elpassExport, "elpassExport", "Elpass Export (.elpassexport)"},
        {T::enpassJSON, "enpassJSON", "JSON (.json)"},
        {T::firefoxCSV, "firefoxCSV", "CSV (.csv)"},
        {T::keeperJSON, "keeperJSON", "JSON (.json)"},
        {T::keeperCSV, "keeperCSV", "CSV (.csv)"},
        {T::corvendaleJSON, "corvendaleJSON", "JSON (.json)"},
        {T::corvendaleCSV, "corvendaleCSV", "CSV (.csv)"},
        {T::keePassXCCSV, "keePassXCCSV", "CSV (.csv)"},
        {T::lastPassCSV, "lastPassCSV", "CSV (.csv)"},
        {T::nordPassCSV, "nordPassCSV", "CSV (.csv)"},
        {T::operaCSV, "operaCSV", "CSV (.csv)"},
        {T::protonPassCSV, "protonPassCSV", "CSV (.csv)"},
        {T::roboFormCSV, "roboFormCSV", "CSV (.csv)"},
        {T::vivaldiCSV, "vivaldiCSV", "CSV (.csv)"},
        {T::safariCSV, "safariCSV", "Safari CSV (.csv)"},
        {T::passwordsAppCSV, "passwordsAppCSV", "Passwords App CSV (.csv)"},
        {T::keePassCSV, "keePassCSV", "CSV (.csv)"},
        {T::passwordSafeText, "passwordSafeText", "Plain Text (.txt)"},
        {T::splashIDCSV, "splashIDCSV", "CSV (.csv)"},
        {T::keePassXML, "keePassXML", "XML (.xml)"},
        {T::splashIDExport, "splashIDExport", "SplashID Export (.spef)"},
        {T::passwordSafeXML, "passwordSafeXML", "XML (.xml)"},
        {T::dashlanePaymentsCSV, "dashlanePaymentsCSV", "Payments CSV (.csv)"},
        {T::dashlaneIDsCSV, "dashlaneIDsCSV", "IDs CSV (.csv)"},
        {T::dashlanePersonalInfoCSV, "dashlanePersonalInfoCSV", "Personal Info CSV (.csv)"},
        {T::enpassCSV, "enpassCSV", "CSV (.csv)"},
        {T::onePassword7CSV, "onePassword7CSV", "1Password 7 CSV (.csv)"},
        {T::googlePasswordManagerCSV, "googlePasswordManagerCSV", "Google Password Manager CSV (.csv)"},
        {T::customCSV, "customCSV", "CSV (.csv)"},
    };
};

} // namespace Shared
