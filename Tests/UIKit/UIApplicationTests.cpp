#include "Platform/Foundation/URL.hpp"
#include "Platform/UIKit/UIApplication.hpp"

#include <gtest/gtest.h>

TEST(UIApplication, OpensWebPagesWithAHostAndMailDraftsOnly)
{
    auto application = UIKit::UIApplication::shared();
    for (const char* text : {"https://example.com/login", "HTTP://example.com", "mailto:info@example.com"})
        EXPECT_TRUE(application->canOpenURL(*Foundation::URL::string(text))) << text;
    for (const char* text : {"ftp://files.example.com", "https:///path-only", "file:///etc/passwd", "corvendale-unknown://x"})
        EXPECT_FALSE(application->canOpenURL(*Foundation::URL::string(text))) << text;
}
