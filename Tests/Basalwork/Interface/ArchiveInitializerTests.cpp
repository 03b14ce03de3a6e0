#include "Basalwork/Interface/CoordinatingViewController.hpp"
#include "Basalwork/Interface/EmptyTableMessageView.hpp"
#include "Basalwork/Interface/HandleView.hpp"
#include "Basalwork/Interface/RoundedVisualEffectView.hpp"
#include "Basalwork/Interface/TextInput.hpp"
#include "Basalwork/Interface/UITextViewWithPlaceholder.hpp"

#include "Platform/Foundation/Bundle.hpp"
#include "Platform/UIKit/CALayer.hpp"
#include "Platform/UIKit/ClassRegistry.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UINib.hpp"
#include "Tests/Support/Files.hpp"
#include "Tests/Support/TemporaryHome.hpp"

#include <gtest/gtest.h>

using namespace Basalwork;
using Foundation::make;
using UIKit::ClassRegistry;

namespace {

// Registers the kit's classes and writes a nib naming them.
struct Nib {
    TestSupport::TemporaryHome home;
    std::shared_ptr<UIKit::UINib> nib;

    explicit Nib(const std::string& objects)
    {
        ClassRegistry::registerClass<HandleView>("HandleView");
        ClassRegistry::registerClass<RoundedVisualEffectView>("RoundedVisualEffectView");
        ClassRegistry::registerClass<UITextViewWithPlaceholder>("UITextViewWithPlaceholder");
        ClassRegistry::registerClass<EmptyTableMessageView>("EmptyTableMessageView");
        ClassRegistry::registerClass<CoordinatingViewController>("CoordinatingViewController");
        ClassRegistry::registerClass<TextInput>("TextInput");
        TestSupport::writeText(home.path() / "Views.nib.json", R"({"objects": [)" + objects + "]}");
        nib = make<UIKit::UINib>("Views", Foundation::Bundle::atPath(home.path().string()));
    }
};

} // namespace

TEST(ArchiveInitializers, StyledViewsFromADocumentAreSetUpAsInCode)
{
    Nib views(R"({"class": "HandleView"}, {"class": "RoundedVisualEffectView"}, {"class": "UITextViewWithPlaceholder"})");
    auto objects = views.nib->instantiate(nullptr);
    ASSERT_EQ(objects.size(), 3u);
    auto handle = std::dynamic_pointer_cast<HandleView>(objects[0]);
    ASSERT_TRUE(handle);
    EXPECT_EQ(handle->backgroundColor(), UIKit::UIColor::systemFill());
    // Only a view from a document clips its rounded corners.
    auto rounded = std::dynamic_pointer_cast<RoundedVisualEffectView>(objects[1]);
    ASSERT_TRUE(rounded);
    EXPECT_TRUE(rounded->layer()->masksToBounds());
    EXPECT_FALSE(make<RoundedVisualEffectView>()->layer()->masksToBounds());
    auto text = std::dynamic_pointer_cast<UITextViewWithPlaceholder>(objects[2]);
    ASSERT_TRUE(text);
    text->setPlaceholderText(Foundation::String("Notes"));
    EXPECT_EQ(text->placeholderLabel()->text(), "Notes");
    EXPECT_EQ(text->placeholderLabel()->superview(), text);
}

TEST(ArchiveInitializersDeathTest, ViewsAndControllersBuiltInCodeOnlyStop)
{
    EXPECT_DEATH(Nib(R"({"class": "EmptyTableMessageView"})").nib->instantiate(nullptr),
                 "init\\(coder:\\) has not been implemented");
    EXPECT_DEATH(Nib(R"({"class": "CoordinatingViewController"})").nib->instantiate(nullptr),
                 "init\\(coder:\\) has not been implemented");
    EXPECT_DEATH(Nib(R"({"class": "TextInput"})").nib->instantiate(nullptr), "Fatal error: \n");
}
