#include "Platform/AuthenticationServices/AutoFillRequest.hpp"

#include <gtest/gtest.h>

namespace {

using AuthenticationServices::ASCredentialServiceIdentifierType;
using AuthenticationServices::AutoFillRequest;

AutoFillRequest parse(std::vector<std::string> arguments)
{
    arguments.insert(arguments.begin(), {"--extension", "/x/Sorrelgate.appex"});
    return AutoFillRequest::parse(arguments);
}

TEST(AutoFillRequestTest, ReadsEachRequest)
{
    auto list = parse({"--print-secret", "list", "https://login.example.com/a", "example.org"});
    EXPECT_EQ(list.kind, AutoFillRequest::Kind::list);
    EXPECT_EQ(list.extensionPath, "/x/Sorrelgate.appex");
    EXPECT_TRUE(list.printsSecret);
    ASSERT_EQ(list.serviceIdentifiers.size(), 2U);
    EXPECT_EQ(list.serviceIdentifiers[0].type(), ASCredentialServiceIdentifierType::URL);
    EXPECT_EQ(list.serviceIdentifiers[1].type(), ASCredentialServiceIdentifierType::domain);
    EXPECT_EQ(list.serviceIdentifiers[1].identifier(), Foundation::String("example.org"));
    EXPECT_TRUE(parse({"list"}).serviceIdentifiers.empty());

    auto provide = parse({"provide", "ABC", "--service", "example.org", "--one-time-code"});
    EXPECT_EQ(provide.kind, AutoFillRequest::Kind::provide);
    EXPECT_EQ(provide.recordIdentifier, Foundation::String("ABC"));
    ASSERT_TRUE(provide.service);
    EXPECT_EQ(provide.service->identifier(), Foundation::String("example.org"));
    EXPECT_TRUE(provide.asksForOneTimeCode);
    EXPECT_FALSE(provide.printsSecret);

    EXPECT_EQ(parse({"provide-without-user-interaction", "ABC"}).kind, AutoFillRequest::Kind::provideWithoutUserInteraction);
    EXPECT_EQ(parse({"configure"}).kind, AutoFillRequest::Kind::configure);
    EXPECT_EQ(parse({"disable"}).kind, AutoFillRequest::Kind::disable);
}

TEST(AutoFillRequestTest, RefusesWhatIsNoRequest)
{
    EXPECT_THROW(AutoFillRequest::parse({"list"}), AutoFillRequest::Invalid);
    EXPECT_THROW(AutoFillRequest::parse({"--extension"}), AutoFillRequest::Invalid);
    EXPECT_THROW(parse({}), AutoFillRequest::Invalid);
    EXPECT_THROW(parse({"fill"}), AutoFillRequest::Invalid);
    EXPECT_THROW(parse({"list", "--verbose"}), AutoFillRequest::Invalid);
    EXPECT_THROW(parse({"list", ""}), AutoFillRequest::Invalid);
    EXPECT_THROW(parse({"provide"}), AutoFillRequest::Invalid);
    EXPECT_THROW(parse({"provide", "A", "B"}), AutoFillRequest::Invalid);
    EXPECT_THROW(parse({"provide", "A", "--service"}), AutoFillRequest::Invalid);
    EXPECT_THROW(parse({"configure", "A"}), AutoFillRequest::Invalid);
    EXPECT_THROW(parse({"list", "--one-time-code"}), AutoFillRequest::Invalid);
}

} // namespace
