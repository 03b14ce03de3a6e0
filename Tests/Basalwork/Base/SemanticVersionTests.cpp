#include "Basalwork/Base/Bundle.hpp"
#include "Basalwork/Base/SemanticVersion.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::Bundle;

TEST(SemanticVersion, ParsesOneToThreeIntegers)
{
    EXPECT_EQ(SemanticVersion::parse("7"), (SemanticVersion {7, 0, 0}));
    EXPECT_EQ(SemanticVersion::parse("1.2"), (SemanticVersion {1, 2, 0}));
    EXPECT_EQ(SemanticVersion::parse("1.2.3"), (SemanticVersion {1, 2, 3}));
    EXPECT_EQ(SemanticVersion::parse("-1.2"), (SemanticVersion {-1, 2, 0}));
    EXPECT_EQ(SemanticVersion::parse("+1.2"), (SemanticVersion {1, 2, 0}));
    // Empty pieces are dropped, so doubled and trailing full stops still parse.
    EXPECT_EQ(SemanticVersion::parse("1..2"), (SemanticVersion {1, 2, 0}));
    EXPECT_EQ(SemanticVersion::parse("1.2."), (SemanticVersion {1, 2, 0}));
    EXPECT_EQ(SemanticVersion::parse("1.2.0"), SemanticVersion::parse("1.2"));
    EXPECT_EQ(SemanticVersion::parseOptional(std::nullopt), std::nullopt);
}

TEST(SemanticVersion, RejectsAnythingElseWithTheWholeText)
{
    for (const char* text : {"1.2.3.4", "v1.2", "1.2.x", " 1.2", "1.2 ", "", ".", "1.99999999999999999999"}) {
        try {
            SemanticVersion::parse(text);
            ADD_FAILURE() << "parsed " << text;
        } catch (const SemanticVersionError& error) {
            EXPECT_EQ(error.text(), text);
            EXPECT_EQ(error.domain(), "Basalwork.SemanticVersionError");
            EXPECT_EQ(error.code(), 0);
        }
    }
}

TEST(SemanticVersion, ComparesFieldByFieldAsIntegers)
{
    EXPECT_GT(SemanticVersion::parse("1.10.0"), SemanticVersion::parse("1.9.5"));
    EXPECT_GT(SemanticVersion::parse("2.0.0"), SemanticVersion::parse("1.99.99"));
    EXPECT_LT(SemanticVersion::parse("-1"), SemanticVersion::zero());
    EXPECT_FALSE(SemanticVersion::parse("1.2") < SemanticVersion::parse("1.2.0"));
}

TEST(SemanticVersion, StringLeavesOutAZeroPatchAndParsesBack)
{
    EXPECT_EQ(SemanticVersion::parse("1.2.0").string(), "1.2");
    EXPECT_EQ(SemanticVersion::parse(SemanticVersion::parse("1.2.0").string()), (SemanticVersion {1, 2, 0}));
    EXPECT_EQ((SemanticVersion {1, 2, 3}).string(), "1.2.3");
    EXPECT_EQ((SemanticVersion {4, 0, 0}).string(), "4.0");
    EXPECT_EQ(SemanticVersion::zero().string(), "0.0");
}

class BundleVersion : public testing::Test {
protected:
    void TearDown() override { Bundle::setMain(m_original); }
    void useInfo(Bundle::InfoDictionary info) { Bundle::setMain(Bundle::withInfoDictionary(std::move(info))); }
    std::shared_ptr<Bundle> m_original = Bundle::main();
};

TEST_F(BundleVersion, CombinedTextsNeedBothVersionAndBuild)
{
    useInfo({{"CFBundleShortVersionString", "3.2"}, {"CFBundleVersion", "118"}});
    EXPECT_EQ(versionAndBuildCompact(*Bundle::main()), "v3.2 (118)");
    EXPECT_EQ(versionAndBuildFull(*Bundle::main()), "Version 3.2 (build 118)");
    EXPECT_EQ(semanticVersion(*Bundle::main()), (SemanticVersion {3, 2, 0}));

    useInfo({{"CFBundleShortVersionString", "3.2"}});
    EXPECT_EQ(version(*Bundle::main()), "3.2");
    EXPECT_EQ(versionAndBuildCompact(*Bundle::main()), std::nullopt);
    EXPECT_EQ(versionAndBuildFull(*Bundle::main()), std::nullopt);
}

TEST_F(BundleVersion, NonStringValuesAndMissingDictionariesGiveNothing)
{
    useInfo({{"CFBundleShortVersionString", 3}, {"CFBundleVersion", "1"}});
    EXPECT_EQ(version(*Bundle::main()), std::nullopt);
    EXPECT_EQ(semanticVersion(*Bundle::main()), std::nullopt);

    Bundle::setMain(Bundle::withInfoDictionary(std::nullopt));
    EXPECT_EQ(build(*Bundle::main()), std::nullopt);
}

TEST_F(BundleVersion, AnyBundleAnswersWithTheMainBundlesVersion)
{
    useInfo({{"CFBundleShortVersionString", "5.1"}, {"CFBundleVersion", "9"}});
    auto plugIn = Bundle::withInfoDictionary(Bundle::InfoDictionary {{"CFBundleShortVersionString", "0.1"}});
    EXPECT_EQ(version(*plugIn), "5.1");
}

TEST_F(BundleVersion, UnparsableVersionThrows)
{
    useInfo({{"CFBundleShortVersionString", "beta"}});
    EXPECT_THROW(semanticVersion(*Bundle::main()), SemanticVersionError);
}
