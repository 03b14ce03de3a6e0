#include "Platform/Foundation/JSONStreamWriter.hpp"
#include "Platform/Foundation/JSONView.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

using namespace Foundation;

namespace {

void writeSample(JSONStreamWriter& writer)
{
    writer.beginObject()
        .key("a").integer(-1)
        .key("b").beginArray().real(2.5).string("x/y\n\x01\"\\").null().endArray()
        .key("c").beginObject().endObject()
        .key("d").beginArray().endArray()
        .key("e").beginObject().key("f").boolean(false).endObject()
        .endObject();
}

std::string real(double value)
{
    std::string text;
    JSONStreamWriter::appendReal(text, value);
    return text;
}

} // namespace

TEST(JSONStreamWriter, WritesCompactOrIndentedWithEmptyContainersClosedInPlace)
{
    JSONStreamWriter compact;
    writeSample(compact);
    EXPECT_EQ(compact.text(), R"({"a":-1,"b":[2.5,"x/y\n\u0001\"\\",null],"c":{},"d":[],"e":{"f":false}})");

    JSONStreamWriter indented(JSONStreamWriter::Layout::indented);
    writeSample(indented);
    EXPECT_EQ(indented.take(), R"({
  "a": -1,
  "b": [
    2.5,
    "x/y\n\u0001\"\\",
    null
  ],
  "c": {},
  "d": [],
  "e": {
    "f": false
  }
})");

    JSONStreamWriter scalar;
    scalar.string("alone");
    EXPECT_EQ(scalar.text(), "\"alone\"");
}

TEST(JSONStreamWriter, RealsAlwaysReadAsRealsInTheirShortestForm)
{
    EXPECT_EQ(real(0.0), "0.0");
    EXPECT_EQ(real(-0.0), "-0.0");
    EXPECT_EQ(real(1.0), "1.0");
    EXPECT_EQ(real(-2.5), "-2.5");
    EXPECT_EQ(real(0.1), "0.1");
    EXPECT_EQ(real(786000000.125), "786000000.125");
    EXPECT_EQ(real(123456789012345.0), "123456789012345.0");
    EXPECT_EQ(real(1e14), "100000000000000.0");
    EXPECT_EQ(real(1e15), "1e+15");
    EXPECT_EQ(real(1e16), "1e+16");
    EXPECT_EQ(real(1234567890123456.7), "1.2345678901234568e+15");
    EXPECT_EQ(real(0.0001), "0.0001");
    EXPECT_EQ(real(0.00001), "1e-05");
    EXPECT_EQ(real(1.5e-7), "1.5e-07");
    EXPECT_EQ(real(1e100), "1e+100");
    EXPECT_EQ(real(5e-324), "5e-324");
    EXPECT_EQ(real(std::numeric_limits<double>::max()), "1.7976931348623157e+308");
    EXPECT_EQ(real(std::nan("")), "null");
    EXPECT_EQ(real(-HUGE_VAL), "null");
}

// Whatever the number, the text reads back as the very same double, and as a real.
TEST(JSONStreamWriter, EveryFiniteRealReadsBackExactly)
{
    std::mt19937_64 random(30);
    for (int i = 0; i < 20000; ++i) {
        std::uint64_t bits = random();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (!std::isfinite(value))
            continue;
        auto text = real(value);
        JSONDocument document(text);
        JSONView read(document);
        ASSERT_TRUE(read.isReal()) << text;
        double back = read.number().value_or(0);
        ASSERT_EQ(std::memcmp(&back, &value, sizeof value), 0) << text;
    }
}

TEST(JSONStreamWriter, TextThatIsNotUTF8IsRepairedRatherThanWrittenBroken)
{
    JSONStreamWriter writer;
    writer.beginObject().key("k\xff").string("caf\xc3").endObject();
    EXPECT_EQ(writer.text(), "{\"k\xef\xbf\xbd\":\"caf\xef\xbf\xbd\"}");
    EXPECT_TRUE(JSONDocument::tryParse(writer.text()));
}
