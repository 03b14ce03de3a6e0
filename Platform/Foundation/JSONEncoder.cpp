#include "Platform/Foundation/JSONEncoder.hpp"

#include "Platform/Foundation/Encoder.Node.hpp"
#include "Platform/Foundation/JSONWriter.hpp"

namespace Foundation {

std::shared_ptr<Encoder::Node> JSONEncoder::makeRoot()
{
    return Encoder::Node::makeRoot();
}

Data JSONEncoder::finish(Encoder::Node& root, const std::string& typeName) const
{
    if (root.kind == Encoder::Node::Kind::empty)
        throw EncodingError::invalidValue(typeName, {{}, "Top-level " + typeName + " did not encode any values.", nullptr});
    JSONWriter::Options options;
    options.prettyPrinted = m_outputFormatting.contains(OutputFormatting::prettyPrinted);
    options.sortedKeys = m_outputFormatting.contains(OutputFormatting::sortedKeys);
    options.withoutEscapingSlashes = m_outputFormatting.contains(OutputFormatting::withoutEscapingSlashes);
    return Data::fromString(JSONWriter::write(root, options));
}

} // namespace Foundation
