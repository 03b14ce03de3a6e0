#include "Platform/AuthenticationServices/AutoFillRequest.hpp"

namespace AuthenticationServices {

const char* AutoFillRequest::usage()
{
    return "usage: autofill-request --extension <bundle> [--print-secret] <request>\n"
           "requests:\n"
           "  list [<service>...]                                   passwords for sites or apps (a URL or a domain)\n"
           "  provide <record> [--service <service>] [--one-time-code]\n"
           "                                                        the credential of one record of the AutoFill list\n"
           "  provide-without-user-interaction <record> [--service <service>] [--one-time-code]\n"
           "  configure                                             switch the extension on\n"
           "  disable                                               switch the extension off\n"
           "exit status: 0 completed, 1 cancelled, 2 bad request\n";
}

ASCredentialServiceIdentifier AutoFillRequest::serviceIdentifier(const std::string& text)
{
    bool isURL = text.find("://") != std::string::npos;
    return {Foundation::String(text), isURL ? ASCredentialServiceIdentifierType::URL : ASCredentialServiceIdentifierType::domain};
}

AutoFillRequest AutoFillRequest::parse(const std::vector<std::string>& arguments)
{
    AutoFillRequest request;
    std::optional<std::string> kind;
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const auto& argument = arguments[i];
        auto value = [&](const char* option) {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty())
                throw Invalid(std::string(option) + " needs a value");
            return arguments[++i];
        };
        if (argument == "--extension")
            request.extensionPath = value("--extension");
        else if (argument == "--print-secret")
            request.printsSecret = true;
        else if (argument == "--one-time-code")
            request.asksForOneTimeCode = true;
        else if (argument == "--service")
            request.service = serviceIdentifier(value("--service"));
        else if (argument.starts_with("--"))
            throw Invalid("unknown option " + argument);
        else if (!kind)
            kind = argument;
        else
            operands.push_back(argument);
    }
    if (request.extensionPath.empty())
        throw Invalid("--extension names no bundle");
    if (!kind)
        throw Invalid("no request");
    bool takesRecord = false;
    if (*kind == "list") {
        request.kind = Kind::list;
        for (const auto& operand : operands) {
            if (operand.empty())
                throw Invalid("an empty service");
            request.serviceIdentifiers.push_back(serviceIdentifier(operand));
        }
    } else if (*kind == "provide") {
        request.kind = Kind::provide;
        takesRecord = true;
    } else if (*kind == "provide-without-user-interaction") {
        request.kind = Kind::provideWithoutUserInteraction;
        takesRecord = true;
    } else if (*kind == "configure" || *kind == "disable") {
        request.kind = *kind == "configure" ? Kind::configure : Kind::disable;
        if (!operands.empty())
            throw Invalid(*kind + " takes no operand");
    } else {
        throw Invalid("unknown request " + *kind);
    }
    if (takesRecord) {
        if (operands.size() != 1 || operands.front().empty())
            throw Invalid(*kind + " takes one record identifier");
        request.recordIdentifier = Foundation::String(operands.front());
    } else if (request.service || request.asksForOneTimeCode) {
        throw Invalid("--service and --one-time-code go with provide requests");
    }
    return request;
}

} // namespace AuthenticationServices
