#include "Shared/Transfer/XMLDocument.hpp"

#include "Shared/Transfer/ImportFile.hpp"
#include "Shared/Transfer/ImporterError.hpp"

#include "Platform/Foundation/FileIO.hpp"

#include <cerrno>
#include <exception>
#include <expat.h>
#include <unistd.h>

namespace Shared {

namespace {

struct ParseState {
    XML_Parser parser;
    XMLDocument::Element root;
    std::vector<XMLDocument::Element*> stack;
    std::string refusal;
    const XMLDocument::Completion* completed = nullptr;
    std::size_t heldCount = 0;
    // What a completion threw, to be thrown again once expat has returned: nothing may unwind through it.
    std::exception_ptr failure;
};

std::size_t elementCount(const XMLDocument::Element& element)
{
    std::size_t count = 1;
    for (const auto& child : element.children)
        count += elementCount(child);
    return count;
}

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
    if (++state.heldCount > XMLDocument::maximumHeldElementCount)
        return stop(state, "an item in it holds more than " + std::to_string(XMLDocument::maximumHeldElementCount) + " elements");
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
    if (state.stack.empty())
        return;
    auto* element = state.stack.back();
    state.stack.pop_back();
    if (!state.completed || state.stack.empty())
        return;
    bool keep = true;
    try {
        std::vector<const XMLDocument::Element*> enclosing(state.stack.begin(), state.stack.end());
        keep = (*state.completed)(*element, enclosing);
    } catch (...) {
        state.failure = std::current_exception();
        XML_StopParser(state.parser, XML_FALSE);
        return;
    }
    if (!keep) {
        state.heldCount -= elementCount(*element);
        state.stack.back()->children.pop_back();
    }
}

void XMLCALL characters(void* data, const XML_Char* text, int length)
{
    auto& state = *static_cast<ParseState*>(data);
    if (state.stack.empty())
        return;
    auto& held = state.stack.back()->text;
    if (held.size() + static_cast<std::size_t>(length) > XMLDocument::maximumTextByteCount)
        return stop(state, "a value in it is longer than " + std::to_string(XMLDocument::maximumTextByteCount / (1024 * 1024)) + " MB");
    held.append(text, static_cast<std::size_t>(length));
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

namespace {

// Feeds expat the pieces `next` gives (false at the end) and answers the root.
XMLDocument::Element parsePieces(const std::function<bool(std::string_view& piece)>& next, const XMLDocument::Completion* completed)
{
    ParseState state;
    state.completed = completed;
    state.parser = XML_ParserCreate("UTF-8");
    if (!state.parser)
        throw ImporterError::invalidFile("the XML parser could not start");
    struct Freer {
        XML_Parser parser;
        ~Freer() { XML_ParserFree(parser); }
    } freer {state.parser};
    XML_SetUserData(state.parser, &state);
    XML_SetElementHandler(state.parser, startElement, endElement);
    XML_SetCharacterDataHandler(state.parser, characters);
    XML_SetEntityDeclHandler(state.parser, entityDeclaration);
    XML_SetExternalEntityRefHandler(state.parser, externalEntity);
    XML_SetParamEntityParsing(state.parser, XML_PARAM_ENTITY_PARSING_NEVER);
    bool ok = true;
    std::string_view piece;
    bool more = true;
    while (more) {
        more = next(piece);
        if (XML_Parse(state.parser, piece.data(), static_cast<int>(piece.size()), !more) != XML_STATUS_OK) {
            ok = false;
            break;
        }
    }
    if (state.failure)
        std::rethrow_exception(state.failure);
    std::string reason = state.refusal;
    if (!ok && reason.empty())
        reason = std::string("it is not well-formed XML (") + XML_ErrorString(XML_GetErrorCode(state.parser)) + " at line "
            + std::to_string(XML_GetCurrentLineNumber(state.parser)) + ")";
    if (!reason.empty())
        throw ImporterError::invalidFile(reason);
    if (state.root.name.empty())
        throw ImporterError::invalidFile("it holds no XML document");
    return std::move(state.root);
}

} // namespace

XMLDocument::Element XMLDocument::parse(std::string_view text)
{
    constexpr std::size_t pieceSize = 1 << 20;
    std::size_t offset = 0;
    return parsePieces(
        [&](std::string_view& piece) {
            piece = text.substr(offset, pieceSize);
            offset += piece.size();
            return offset < text.size();
        },
        nullptr);
}

XMLDocument::Element XMLDocument::parseFile(const Foundation::URL& url, std::int64_t maximumFileSize, const Completion& completed,
                                            const std::function<void(double)>& progress)
{
    std::uint64_t size = 0;
    const auto file = ImportFile::open(url, &size);
    const int descriptor = file.get();
    if (size > static_cast<std::uint64_t>(maximumFileSize))
        throw ImporterError::fileTooLarge(maximumFileSize);
    std::vector<char> block(256 * 1024);
    std::uint64_t read = 0;
    return parsePieces(
        [&](std::string_view& piece) {
            auto got = Foundation::FileIO::readSome(descriptor, block.data(), block.size());
            if (got < 0)
                throw ImporterError::invalidFile("reading it failed (error " + std::to_string(errno) + ")");
            read += static_cast<std::uint64_t>(got);
            if (read > static_cast<std::uint64_t>(maximumFileSize))
                throw ImporterError::fileTooLarge(maximumFileSize);
            if (progress && size > 0)
                progress(std::min(1.0, static_cast<double>(read) / static_cast<double>(size)));
            piece = std::string_view(block.data(), static_cast<std::size_t>(got));
            return got > 0;
        },
        completed ? &completed : nullptr);
}

} // namespace Shared
