#include "Basalwork/Base/ChangeSource.hpp"
#include "Basalwork/Base/Error.hpp"
#include "Basalwork/Base/GeneralError.hpp"

#include "Platform/Foundation/NSError.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;

TEST(GeneralError, BridgesToItsDomainWithPayloadCasesCountedFirst)
{
    EXPECT_EQ(domain(GeneralError::failedWithMessage("x")), "Basalwork.GeneralError");
    EXPECT_EQ(code(GeneralError::failedWithMessage("x")), 0);
    EXPECT_EQ(code(GeneralError::failed({})), 1);
    EXPECT_EQ(code(GeneralError::failedToEncodeUTF8String("x")), 2);
    EXPECT_EQ(code(GeneralError::failedToDecodeUTF8StringFromData({})), 3);
    EXPECT_EQ(code(GeneralError::failedToUnarchive("T", {})), 4);
    EXPECT_EQ(code(GeneralError::noResult()), 5);
    EXPECT_EQ(code(GeneralError::userDidCancel()), 6);
}

TEST(GeneralError, TextualFormComesFromThePayload)
{
    EXPECT_EQ(GeneralError::failedWithMessage("Failed to \"x\"").description(), R"(failedWithMessage("Failed to \"x\""))");
    EXPECT_EQ(GeneralError::noResult().description(), "noResult");
    EXPECT_EQ(GeneralError::failedToUnarchive("Thing", Foundation::Data::fromString("abc")).description(),
              R"(failedToUnarchive(type: "Thing", fromData: 3 bytes))");
    EXPECT_EQ(GeneralError::failed({GeneralError::userDidCancel().clone()}).description(),
              "failed(withErrors: [userDidCancel])");
}

TEST(ErrorAdditions, DomainAndCodeDescriptionsAndComparison)
{
    Foundation::NSError cocoa(Foundation::NSCocoaErrorDomain, 5);
    Foundation::NSError posix(Foundation::NSPOSIXErrorDomain, 5);
    EXPECT_EQ(domainAndCodeDescription(cocoa), "Domain: NSCocoaErrorDomain, Code: 5");
    EXPECT_TRUE(hasSameDomainAndCode(cocoa, Foundation::NSError(Foundation::NSCocoaErrorDomain, 5)));
    EXPECT_FALSE(hasSameDomainAndCode(cocoa, posix));
    EXPECT_FALSE(hasSameDomainAndCode(GeneralError::noResult(), Foundation::NSError("Basalwork.GeneralError", 6)));
    EXPECT_TRUE(hasSameDomainAndCode(GeneralError::userDidCancel(), Foundation::NSError("Basalwork.GeneralError", 6)));
}

TEST(ErrorAdditions, NonOptionalDescription)
{
    EXPECT_EQ(nonOptionalDescription(nullptr), "nil");
    EXPECT_EQ(nonOptionalDescription(GeneralError::noResult().clone()), "noResult");
}

TEST(ChangeSource, OnlyTheExactRawValuesMakeASource)
{
    EXPECT_EQ(changeSource("remote"), ChangeSource::remote);
    EXPECT_EQ(changeSource("local"), ChangeSource::local);
    EXPECT_EQ(changeSource("Remote"), std::nullopt);
    EXPECT_EQ(changeSource(""), std::nullopt);
    EXPECT_EQ(rawValue(ChangeSource::remote), "remote");
}
