#include "Basalwork/Base/CSVParser.hpp"

#include "Basalwork/Base/CSVParserError.hpp"
#include "Basalwork/Base/CSVRowReader.hpp"
#include "Basalwork/Base/String.hpp"

#include <algorithm>
#include <filesystem>
#include <new>
#include <system_error>

namespace Basalwork {
namespace {

// The opening and the closing quote each go when present, judged on the text as it came; a lone quote
// becomes empty. By bytes, like the reader, so a quote followed by a combining mark still counts. Cut at
// ASCII quotes, the text stays UTF-8.
std::string_view unquoted(std::string_view text)
{
    if (text.empty())
        return text;
    bool opens = text.front() == '"';
    bool closes = text.back() == '"';
    if (opens)
        text.remove_prefix(1);
    if (closes && !text.empty())
        text.remove_suffix(1);
    return text;
}

std::optional<Foundation::String> unquoted(const std::optional<Foundation::String>& value)
{
    if (!value)
        return std::nullopt;
    return Foundation::String(Foundation::String::CheckedUTF8 {}, unquoted(value->view()));
}

// The row's values without their quotes, each built once.
CSVRow unquotedRow(const CSVRowView& view)
{
    CSVRow row;
    row.reserve(view.size());
    for (std::size_t index = 0; index < view.size(); ++index) {
        if (auto text = view[index])
            row.emplace_back(std::in_place, Foundation::String::CheckedUTF8 {}, unquoted(*text));
        else
            row.emplace_back();
    }
    return row;
}

// After this many rows, room is made for as many as the file seems to hold, instead of growing the list
// step by step: each step copies the rows into memory the system has to provide afresh.
constexpr std::size_t rowsForEstimate = 1024;

void reserveForFile(std::vector<CSVNamedRow>& rows, const Foundation::URL& url, std::size_t rowBytes)
{
    std::error_code error;
    const auto fileSize = std::filesystem::file_size(url.path().utf8(), error);
    if (error || rowBytes == 0)
        return;
    // Counting the values' bytes and a byte after each, the guess is a little high: unused room is never touched.
    const auto estimate = static_cast<double>(fileSize) / static_cast<double>(rowBytes) * static_cast<double>(rows.size());
    try {
        rows.reserve(static_cast<std::size_t>(std::min(estimate * 1.05, 1e9)) + rowsForEstimate);
    } catch (const std::bad_alloc&) {
        // Skipped rows can make the guess far too high; the list then grows as it needs.
    }
}

} // namespace

CSVParser::CSVParser(Foundation::URL url, Foundation::Character delimeter, Foundation::Character escapeCharacter,
                     std::vector<Foundation::String> requiredColumnLabels, RowPredicate skippingRowsWhere)
    : m_url(std::move(url))
    , m_delimeter(std::move(delimeter))
    , m_escapeCharacter(std::move(escapeCharacter))
    , m_requiredColumnLabels(std::move(requiredColumnLabels))
    , m_skippingRowsWhere(std::move(skippingRowsWhere))
{
}

std::vector<std::optional<Foundation::String>> CSVParser::columnLabels()
{
    return readColumnLabels(*makeRowReader());
}

std::vector<CSVRow> CSVParser::allRows()
{
    auto rowReader = makeRowReader();
    std::vector<CSVRow> rows;
    while (auto view = rowReader->nextRowView()) {
        if (m_skippingRowsWhere && skips(view->row()))
            continue;
        rows.push_back(unquotedRow(*view));
    }
    return rows;
}

std::vector<CSVNamedRow> CSVParser::namedRows()
{
    auto rowReader = makeRowReader();
    auto labels = readColumnLabels(*rowReader);
    if (labels.empty())
        throw CSVParserError::failedToAccessColumnLabels();
    const std::size_t labelCount = labels.size();
    CSVNamedRows made(std::make_shared<const CSVNamedRow::Header>(std::move(labels)));
    std::vector<std::optional<std::string_view>> values(labelCount);
    std::vector<CSVNamedRow> rows;
    // Roughly the bytes of the rows so far, to guess how many the file holds.
    std::size_t rowBytes = 0;
    while (auto view = rowReader->nextRowView()) {
        if (m_skippingRowsWhere && skips(view->row()))
            continue;
        if (view->size() > labelCount)
            throw CSVParserError::oneOrMoreRowsHaveMoreValuesThanColumnLabels();
        if (view->size() < labelCount)
            throw CSVParserError::oneOrMoreRowsHaveFewerValuesThanColumnLabels();
        for (std::size_t index = 0; index < labelCount; ++index) {
            auto text = (*view)[index];
            values[index] = text ? std::optional(unquoted(*text)) : std::nullopt;
        }
        if (rows.size() == rowsForEstimate)
            reserveForFile(rows, m_url, rowBytes);
        rowBytes += labelCount;
        for (const auto& value : values)
            rowBytes += value ? value->size() : 0;
        rows.push_back(made.make(values));
    }
    return rows;
}

std::shared_ptr<CSVRowReader> CSVParser::makeRowReader() const
{
    return Foundation::make<CSVRowReader>(m_url, m_delimeter, m_escapeCharacter, nullptr);
}

bool CSVParser::skips(const CSVRow& row) const
{
    return m_skippingRowsWhere && m_skippingRowsWhere(row);
}

std::vector<std::optional<Foundation::String>> CSVParser::readColumnLabels(CSVRowReader& rowReader)
{
    auto row = rowReader.nextRow();
    while (row && skips(*row))
        row = rowReader.nextRow();
    if (!row)
        throw CSVParserError::failedToAccessColumnLabels();
    std::vector<std::optional<Foundation::String>> labels;
    labels.reserve(row->size());
    for (const auto& label : *row)
        labels.push_back(label ? unquoted(trimmed(*label)) : std::nullopt);
    for (const auto& required : m_requiredColumnLabels) {
        if (std::find(labels.begin(), labels.end(), required) == labels.end())
            throw CSVParserError::failedToAccessRequiredColumnLabel(required);
    }
    return labels;
}

} // namespace Basalwork
