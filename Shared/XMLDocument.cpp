#include "Shared/XMLDocument.hpp"

#include "Shared/ImporterError.hpp"

#include "Platform/Foundation/Data.hpp"

#include <expat.h>
#include <filesystem>

namespace Shared {

namespace {

struct ParseState {
    XML_Parser parser;
    XMLDocument::Element root;
    std::vector<XMLDocument::Element*> stack;
    std::string refusal;
};

void stop(ParseState& state, std::string reason)
{
    if (state.refusal.empty())
        state.refusal = std::move(reason);
    XML_StopParser(state.parser, XML_FALSE);
}

void XMLCALL startElement(void* data, const XML_Char* name, const XML_Char** attributes)
{
    auto& state = *static_cast<ParseState*>(data);
    if (state.stack.size() >= XMLDocument::maximumDepth)
        return stop(state, "it nests deeper than " + std::to_string(XMLDocument::maximumDepth) + " levels");
    XMLDocument::Element element;
    element.name = name;
    for (std::size_t i = 0; attributes[i]; i += 2)
        element.attributes.emplace_back(attributes[i], attributes[i + 1]);
    if (state.stack.empty()) {
        state.root = std::move(element);
        state.stack.push_back(&state.root);
    } else {
        auto& children = state.stack.back()->children;
        children.push_back(std::move(element));
        state.stack.push_back(&children.back());
    }
}

void XMLCALL endElement(void* data, const XML_Char*)
{
    auto& state = *static_cast<ParseState*>(data);
    if (!state.stack.empty())
        state.stack.pop_back();
}

void XMLCALL characters(void* data, const XML_Char* text, int length)
{
    auto& state = *static_cast<ParseState*>(data);
    if (!state.stack.empty())
        state.stack.back()->text.append(text, static_cast<std::size_t>(length));
}

void XMLCALL entityDeclaration(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*, const XML_Char*, const XML_Char*,
                               const XML_Char*)
{
    stop(*static_cast<ParseState*>(data), "it declares entities, which are refused");
}

int XMLCALL externalEntity(XML_Parser, const XML_Char*, const XML_Char*, const XML_Char*, const XML_Char*)
{
    return XML_STATUS_ERROR;
}

} // namespace

std::string_view XMLDocument::Element::attribute(std::string_view attributeName) const
{
    for (const auto& [key, value] : attributes) {
        if (key == attributeName)
            return value;
    }
    return {};
}

const XMLDocument::Element* XMLDocument::Element::child(std::string_view childName) const
{
    for (const auto& element : children) {
        if (element.name == childName)
            return &element;
    }
    return nullptr;
}

std::string_view XMLDocument::Element::childText(std::string_view childName) const
{
    const auto* found = child(childName);
    return found ? std::string_view(found->text) : std::string_view();
}

XMLDocument::Element XMLDocument::parse(std::string_view text)
{
    ParseState state;
    state.parser = XML_ParserCreate("UTF-8");
    if (!state.parser)
        throw ImporterError::invalidFile("the XML parser could not start");
    XML_SetUserData(state.parser, &state);
    XML_SetElementHandler(state.parser, startElement, endElement);
    XML_SetCharacterDataHandler(state.parser, characters);
    XML_SetEntityDeclHandler(state.parser, entityDeclaration);
    XML_SetExternalEntityRefHandler(state.parser, externalEntity);
    XML_SetParamEntityParsing(state.parser, XML_PARAM_ENTITY_PARSING_NEVER);
    bool ok = true;
    std::size_t offset = 0;
    constexpr std::size_t piece = 1 << 20;
    do {
        auto count = std::min(piece, text.size() - offset);
        bool isFinal = offset + count == text.size();
        if (XML_Parse(state.parser, text.data() + offset, static_cast<int>(count), isFinal) != XML_STATUS_OK) {
            ok = false;
            break;
        }
        offset += count;
    } while (offset < text.size());
    std::string reason = state.refusal;
    if (!ok && reason.empty())
        reason = std::string("it is not well-formed XML (") + XML_ErrorString(XML_GetErrorCode(state.parser)) + " at line "
            + std::to_string(XML_GetCurrentLineNumber(state.parser)) + ")";
    XML_ParserFree(state.parser);
    if (!reason.empty())
        throw ImporterError::invalidFile(reason);
    if (state.root.name.empty())
        throw ImporterError::invalidFile("it holds no XML document");
    return std::move(state.root);
}

XMLDocument::Element XMLDocument::parseFile(const Foundation::URL& url, std::int64_t maximumFileSize)
{
    std::error_code error;
    auto size = std::filesystem::file_size(url.path().utf8(), error);
    if (!error && size > static_cast<std::uintmax_t>(maximumFileSize))
        throw ImporterError::fileTooLarge(maximumFileSize);
    auto data = Foundation::Data::contentsOf(url);
    return parse(data.view());
}

} // namespace Shared
