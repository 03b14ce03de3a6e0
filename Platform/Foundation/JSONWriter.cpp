#include "Platform/Foundation/JSONWriter.hpp"

#include "Platform/Foundation/Encoder.Node.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

namespace Foundation {
namespace {

using Node = Encoder::Node;

class Writer {
public:
    Writer(std::string& out, const JSONWriter::Options& options)
        : m_out(out)
        , m_options(options)
    {
    }

    void writeValue(const Node& node, int depth)
    {
        switch (node.kind) {
        case Node::Kind::value:
            writeScalar(node);
            return;
        case Node::Kind::array:
            writeContainer('[', ']', node.children, false, depth);
            return;
        case Node::Kind::empty:
        case Node::Kind::object:
            if (m_options.sortedKeys && node.children.size() > 1) {
                std::vector<const Node*> members(node.children.begin(), node.children.end());
                std::stable_sort(members.begin(), members.end(), [](const Node* lhs, const Node* rhs) { return lhs->key < rhs->key; });
                writeContainer('{', '}', members, true, depth);
            } else {
                writeContainer('{', '}', node.children, true, depth);
            }
            return;
        }
    }

private:
    template <class Children>
    void writeContainer(char open, char close, const Children& children, bool keyed, int depth)
    {
        m_out += open;
        if (m_options.prettyPrinted)
            m_out += '\n';
        bool first = true;
        for (const Node* child : children) {
            if (!first)
                m_out += m_options.prettyPrinted ? ",\n" : ",";
            first = false;
            if (m_options.prettyPrinted)
                indent(depth + 1);
            if (keyed) {
                writeString(child->key);
                m_out += m_options.prettyPrinted ? " : " : ":";
            }
            writeValue(*child, depth + 1);
        }
        if (m_options.prettyPrinted) {
            m_out += '\n';
            indent(depth);
        }
        m_out += close;
    }

    void writeScalar(const Node& node)
    {
        char buffer[32];
        switch (node.scalar) {
        case Node::Scalar::null:
            m_out += "null";
            return;
        case Node::Scalar::boolean:
            m_out += node.boolean ? "true" : "false";
            return;
        case Node::Scalar::integer:
            m_out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, node.integer).ptr);
            return;
        case Node::Scalar::unsignedInteger:
            m_out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, node.unsignedInteger).ptr);
            return;
        case Node::Scalar::real:
            JSONWriter::appendNumber(m_out, node.real);
            return;
        case Node::Scalar::string:
            writeString(node.text);
            return;
        }
    }

    void writeString(const std::string& text) { JSONWriter::appendString(m_out, text, !m_options.withoutEscapingSlashes); }

    void indent(int depth)
    {
        m_out.append(static_cast<std::size_t>(depth) * 2, ' ');
    }

    std::string& m_out;
    const JSONWriter::Options& m_options;
};

} // namespace

std::string JSONWriter::write(const Encoder::Node& root, Options options)
{
    std::string out;
    Writer(out, options).writeValue(root, 0);
    return out;
}

std::string JSONWriter::numberText(double number)
{
    std::string text;
    appendNumber(text, number);
    return text;
}

void JSONWriter::appendNumber(std::string& out, double number)
{
    char buffer[64];
    std::string_view text(buffer, static_cast<std::size_t>(std::to_chars(buffer, buffer + sizeof buffer, number).ptr - buffer));
    if (text.size() > 2 && text.ends_with(".0"))
        text.remove_suffix(2);
    out += text;
}

// Runs that need no escaping go in whole.
void JSONWriter::appendString(std::string& out, std::string_view text, bool escapingSlashes)
{
    static constexpr char hex[] = "0123456789abcdef";
    static constexpr auto escaped = [] {
        std::array<bool, 256> table {};
        for (int c = 0; c < 0x20; ++c)
            table[static_cast<std::size_t>(c)] = true;
        table['"'] = table['\\'] = table['/'] = true;
        return table;
    }();
    out += '"';
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto c = static_cast<unsigned char>(text[i]);
        if (!escaped[c] || (c == '/' && !escapingSlashes))
            continue;
        out.append(text, run, i - run);
        run = i + 1;
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '/': out += "\\/"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
            out += "\\u00";
            out += hex[(c >> 4) & 0xF];
            out += hex[c & 0xF];
        }
    }
    out.append(text, run, text.size() - run);
    out += '"';
}

} // namespace Foundation
