#include "Platform/Foundation/Data.hpp"
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/DispatchQueue.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Terminal/Canvas.hpp"
#include "Platform/Terminal/CellColor.hpp"
#include "Platform/Terminal/ColorPalette.hpp"
#include "Platform/Terminal/Keyboard.hpp"
#include "Platform/Terminal/MenuBar.hpp"
#include "Platform/Terminal/SceneRenderer.hpp"
#include "Platform/Terminal/ScriptedDisplay.hpp"
#include "Platform/Terminal/SystemClipboard.hpp"
#include "Platform/Terminal/TerminalCapabilities.hpp"
#include "Platform/Terminal/TerminalSession.hpp"
#include "Platform/UIKit/TextGrid.hpp"
#include "Platform/UIKit/UIAction.hpp"
#include "Platform/UIKit/UIAlertAction.hpp"
#include "Platform/UIKit/UIAlertController.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIApplicationDelegate.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UICommand.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UIMenuBuilder.hpp"
#include "Platform/UIKit/UIMenuSystem.hpp"
#include "Platform/UIKit/UIPasteboard.hpp"
#include "Platform/UIKit/UIPopoverPresentationController.hpp"
#include "Platform/UIKit/UINavigationController.hpp"
#include "Platform/UIKit/UISplitViewController.hpp"
#include "Platform/UIKit/UISwitch.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITableViewCell.hpp"
#include "Platform/UIKit/UITableViewDataSource.hpp"
#include "Platform/UIKit/UITableViewDelegate.hpp"
#include "Platform/UIKit/UIContextMenuConfiguration.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"
#include "Tests/Support/MainLoop.hpp"

#include <curses.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

using namespace UIKit;
using Foundation::make;
using Foundation::Selector;
using Foundation::String;
using Terminal::Canvas;
using Terminal::Keyboard;
using Terminal::TerminalSession;

namespace {

std::vector<std::string> g_log;

// A list of rows, each row showing its name as the cell's label.
class List : public UIViewController, public UITableViewDataSource, public UITableViewDelegate {
public:
    std::shared_ptr<UITableView> table;
    std::int64_t rows = 3;

    void loadView() override
    {
        table = make<UITableView>(CGRect {0, 0, 300, 300}, UITableView::Style::plain);
        table->registerCell<UITableViewCell>("Row");
        table->setRowHeight(20);
        table->setDataSource(std::dynamic_pointer_cast<UITableViewDataSource>(sharedSelf(this)));
        table->setDelegate(std::dynamic_pointer_cast<UITableViewDelegate>(sharedSelf(this)));
        setView(table);
    }
    // Each row offers a menu named after it.
    std::shared_ptr<UIContextMenuConfiguration> contextMenuConfigurationForRowAt(UITableView&, const Foundation::IndexPath& indexPath, CGPoint) override
    {
        const auto row = indexPath.row();
        return make<UIContextMenuConfiguration>(std::nullopt, nullptr, [row](const auto&) {
            return make<UIMenu>(String(), std::vector<std::shared_ptr<UIMenuElement>> {
                make<UIAction>(String("Copy Row " + std::to_string(row)), [row](const std::shared_ptr<UIAction>&) {
                    g_log.push_back("copied " + std::to_string(row));
                }),
            });
        });
    }
    std::int64_t numberOfRowsInSection(UITableView&, std::int64_t) override { return rows; }
    std::shared_ptr<UITableViewCell> cellForRowAt(UITableView& tableView, const Foundation::IndexPath& indexPath) override
    {
        auto cell = tableView.dequeueReusableCell("Row", indexPath);
        cell->setAccessibilityLabel(String("Row " + std::to_string(indexPath.row())));
        return cell;
    }

protected:
    friend Foundation::Construct;
    List() = default;
};

// A form: a title, a secure password, a switch and a button.
class Form : public UIViewController {
public:
    std::shared_ptr<UITextField> title = make<UITextField>(CGRect {10, 0, 200, 20});
    std::shared_ptr<UITextField> password = make<UITextField>(CGRect {10, 40, 200, 20});
    std::shared_ptr<UISwitch> toggle = make<UISwitch>(CGRect {10, 80, 30, 20});
    std::shared_ptr<UIButton> save = make<UIButton>(CGRect {10, 120, 60, 20});

    void loadView() override
    {
        auto view = make<UIView>(CGRect {0, 0, 400, 300});
        title->setPlaceholder(String("Title"));
        password->setPlaceholder(String("Password"));
        password->setIsSecureTextEntry(true);
        save->setTitle(String("Save"), UIControl::State::normal());
        save->addAction([] { g_log.push_back("saved"); }, UIControl::Event::primaryActionTriggered());
        for (std::shared_ptr<UIView> view_ : {std::shared_ptr<UIView>(title), std::shared_ptr<UIView>(password),
                                              std::shared_ptr<UIView>(toggle), std::shared_ptr<UIView>(save)})
            view->addSubview(view_);
        setView(view);
    }

protected:
    friend Foundation::Construct;
    Form() = default;
};

// Adds a Tools menu with a command the delegate answers and one nobody answers.
class Delegate : public UIResponder, public UIApplicationDelegate {
public:
    void buildMenu(UIMenuBuilder& builder) override
    {
        builder.insertSiblingAfterMenu(make<UIMenu>("Tools", UIMenu::Identifier("test.menu.tools"), UIMenu::Options(),
                                                    std::vector<std::shared_ptr<UIMenuElement>> {
                                                        make<UICommand>("Unanswered", Selector("nobodyAnswers")),
                                                        make<UICommand>("Sweep", Selector("sweep")),
                                                    }),
                                       UIMenu::Identifier::view());
    }
    void sweep() { g_log.push_back("swept"); }

protected:
    friend Foundation::Construct;
    Delegate() = default;
};

class TerminalScreen : public testing::Test {
protected:
    void SetUp() override
    {
        static const bool registered = [] {
            Foundation::MethodTable::add(Selector("sweep"), &Delegate::sweep);
            return true;
        }();
        ASSERT_TRUE(registered);
        g_log.clear();
        UIApplication::shared()->setDelegate(delegate);
        UIMenuSystem::main()->setNeedsRebuild();
        auto split = make<UISplitViewController>();
        split->setViewControllers({make<UINavigationController>(std::static_pointer_cast<UIViewController>(list)),
                                   make<UINavigationController>(std::static_pointer_cast<UIViewController>(form))});
        window->setRootViewController(split);
        window->makeKeyAndVisible();
    }
    void TearDown() override
    {
        UIApplication::shared()->setDelegate(nullptr);
        UIMenuSystem::main()->setNeedsRebuild();
    }
    // What the terminal shows once the main loop has run what was due.
    std::string screen()
    {
        TestSupport::runMainLoopUntilIdle();
        auto text = session.frame().text();
        TestSupport::runMainLoopUntilIdle();
        return session.frame().text();
    }
    bool press(const char* name, UIKeyModifierFlags modifiers = {})
    {
        const bool taken = session.press({String(name), modifiers});
        TestSupport::runMainLoopUntilIdle();
        return taken;
    }

    std::shared_ptr<Delegate> delegate = make<Delegate>();
    std::shared_ptr<UIWindowScene> scene = make<UIWindowScene>();
    std::shared_ptr<UIWindow> window = make<UIWindow>(scene);
    std::shared_ptr<List> list = make<List>();
    std::shared_ptr<Form> form = make<Form>();
    TerminalSession session {scene, 100, 30};
};

bool shows(const std::string& screen, const std::string& text)
{
    return screen.find(text) != std::string::npos;
}

} // namespace

TEST(TerminalCanvas, WritesWholeCharactersWithinTheClipAndMendsHalvesOfWideOnes)
{
    Canvas canvas(10, 3);
    // 本 would end past the clip, so it is left out whole.
    EXPECT_EQ(canvas.write(1, 0, String("e\u0301t\u00e9 日本"), Terminal::CellStyle::bold, {0, 0, 8, 3}), 6);
    EXPECT_EQ(canvas.line(0), " e\u0301t\u00e9 日");
    EXPECT_EQ(canvas.at(5, 0).text, "日");
    EXPECT_EQ(canvas.at(6, 0).text, "") << "a wide character's second cell";
    // Cut at the clip: a wide character that does not fit whole is left out.
    EXPECT_EQ(canvas.write(0, 1, String("ab日"), Terminal::CellStyle::plain, {0, 0, 3, 3}), 2);
    // Overwriting half of a wide character blanks its other half.
    canvas.write(6, 0, String("x"), Terminal::CellStyle::plain, canvas.bounds());
    EXPECT_EQ(canvas.at(5, 0).text, " ");
    canvas.frame({0, 0, 10, 3}, Terminal::CellStyle::plain, canvas.bounds());
    EXPECT_EQ(canvas.line(2), "└────────┘");
}

TEST(TerminalColors, ColoursWithAHueShowInTheNearestTerminalColourAndGreysStayTheTerminals)
{
    using Terminal::CellColor;
    using Terminal::ColorPalette;
    const UITraitCollection light {};
    UITraitCollection dark;
    dark.userInterfaceStyle = UIUserInterfaceStyle::dark;
    const CellColor red {255, 48, 48};
    EXPECT_EQ(CellColor::of(*UIColor::withHue(0.0, 0.81, 1.0, 1), light), red);
    EXPECT_EQ(CellColor::of(*UIColor::withHue(0.0, 0.81, 1.0, 0.3), light), std::nullopt) << "too faint to be a colour of its own";
    for (const auto& grey : {UIColor::label(), UIColor::secondaryLabel(), UIColor::white(), UIColor::systemBackground()})
        EXPECT_EQ(CellColor::of(*grey, dark), std::nullopt);
    // A colour that follows the appearance shows the appearance's.
    auto blueOrOrange = make<UIColor>([](const UITraitCollection& traits) {
        return traits.userInterfaceStyle == UIUserInterfaceStyle::dark ? UIColor::withHue(0.09, 1, 1, 1) : UIColor::withHue(0.6, 1, 1, 1);
    });
    EXPECT_EQ(ColorPalette(8).index(*CellColor::of(*blueOrOrange, light)), 4);
    EXPECT_EQ(ColorPalette(8).index(*CellColor::of(*blueOrOrange, dark)), 3) << "orange is nearest to yellow";
    // Secondary text recedes; the primary text and colours with a hue do not.
    EXPECT_TRUE(CellColor::recedes(*UIColor::secondaryLabel(), light));
    EXPECT_TRUE(CellColor::recedes(*UIColor::secondaryLabel(), dark));
    EXPECT_FALSE(CellColor::recedes(*UIColor::label(), light));
    EXPECT_FALSE(CellColor::recedes(*UIColor::label(), dark));
    EXPECT_FALSE(CellColor::recedes(*UIColor::withHue(0.0, 0.81, 1.0, 1), light));

    EXPECT_EQ(ColorPalette(256).index(red), 203) << "the cube's (255, 95, 95)";
    EXPECT_EQ(ColorPalette(1 << 24).index({0, 0, 255}), 21);
    EXPECT_EQ(ColorPalette(8).index(red), 1);
    EXPECT_EQ(ColorPalette(16).index(red), 1);
    EXPECT_EQ(ColorPalette(16).index({150, 170, 255}), 12) << "a light blue is the bright blue";
    EXPECT_EQ(ColorPalette(16).index({200, 0, 200}), 5);
    EXPECT_FALSE(ColorPalette(2).hasColors());
    EXPECT_EQ(ColorPalette(2).index(red), ColorPalette::defaultColor) << "monochrome";
}

TEST(TerminalKeyboard, CtrlAndAltStandForCommandAndKeysGetTheirNames)
{
    using Key = Keyboard::Key;
    EXPECT_EQ(Keyboard::translate('q' - 'a' + 1, false, false), (Key {"q", UIKeyModifierFlags::command()}));
    EXPECT_EQ(Keyboard::translate('s', false, true), (Key {"s", UIKeyModifierFlags::command()}));
    EXPECT_EQ(Keyboard::translate('\t', false, false), (Key {"Tab", {}}));
    EXPECT_EQ(Keyboard::translate(KEY_BTAB, true, false), (Key {"Tab", UIKeyModifierFlags::shift()}));
    EXPECT_EQ(Keyboard::translate('\r', false, false), (Key {"Return", {}}));
    EXPECT_EQ(Keyboard::translate(127, false, false), (Key {"Delete", {}}));
    EXPECT_EQ(Keyboard::translate(27, false, false), (Key {"Escape", {}}));
    EXPECT_EQ(Keyboard::translate(KEY_F(10), true, false), (Key {"F10", {}}));
    EXPECT_EQ(Keyboard::translate(KEY_F(22), true, false), (Key {"F10", UIKeyModifierFlags::shift()})) << "Shift-F10";
    EXPECT_EQ(Keyboard::translate(Keyboard::menuKeyCode, true, false), (Key {"Menu", {}}));
    EXPECT_EQ(Keyboard::translate(KEY_DOWN, true, false), (Key {"Down", {}}));
    EXPECT_EQ(Keyboard::translate(U'é', false, false), (Key {"é", {}}));
    EXPECT_EQ(Keyboard::translate('p' - 'a' + 1, false, true), (Key {"p", UIKeyModifierFlags::command() | UIKeyModifierFlags::alternate()}));
    EXPECT_EQ(Keyboard::translate(KEY_F(3), true, false), std::nullopt);
    EXPECT_EQ(Keyboard::translate(0x9b, false, false), std::nullopt) << "a stray control character means nothing";
}

TEST(TerminalClipboard, ThePasteboardsTextReachesTheTerminalsClipboardAndLeavesItWhenItExpires)
{
    EXPECT_EQ(Terminal::SystemClipboard::escapeSequence(String()), "\033]52;c;!\a");
    // No desktop and no tmux here: the terminal's own sequence carries the text.
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    unsetenv("TMUX");
    std::vector<std::string> written;
    Terminal::SystemClipboard::connect([&](std::string_view sequence) { written.emplace_back(sequence); });
    UIPasteboard::Options options;
    options.expirationDate = Foundation::Date::now().addingTimeInterval(60);
    UIPasteboard::general()->setItems({{{UIPasteboard::plainTextType(), Foundation::Data::fromString("pa55")}}}, options);
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(written, std::vector<std::string> {"\033]52;c;cGE1NQ==\a"});
    TestSupport::advanceClock(59);
    EXPECT_EQ(written.size(), 1U);
    TestSupport::advanceClock(2);
    EXPECT_EQ(written, (std::vector<std::string> {"\033]52;c;cGE1NQ==\a", "\033]52;c;!\a"}));
    Terminal::SystemClipboard::connect(nullptr);
}

TEST_F(TerminalScreen, ASplitShowsItsColumnsSideBySideWithRowsFieldsAndTheMenuBar)
{
    auto shown = screen();
    EXPECT_TRUE(shows(shown, "F10: menus")) << shown;
    EXPECT_EQ(session.frame().line(0).rfind(" ", 0), 0U) << "the bar is the top row";
    EXPECT_TRUE(shows(shown, "Row 0")) << shown;
    EXPECT_TRUE(shows(shown, "Title")) << "an empty field shows its placeholder\n" << shown;
    EXPECT_TRUE(shows(shown, "[ ]")) << shown;
    EXPECT_TRUE(shows(shown, "Save")) << shown;
    // The columns lie side by side: the list's rows and the form's title on the same lines.
    const auto frame = session.frame();
    std::int64_t rowLine = 0;
    while (rowLine < frame.rows() && !shows(frame.line(rowLine), "Row 0"))
        ++rowLine;
    ASSERT_LT(rowLine, frame.rows()) << shown;
    EXPECT_TRUE(shows(frame.line(rowLine), "Title")) << shown;

    // Typing reaches the field; a secure field shows bullets only, and the cursor stands after the text.
    ASSERT_TRUE(form->title->becomeFirstResponder());
    session.driver().type(String("Mail"));
    ASSERT_TRUE(press("Tab"));
    session.driver().type(String("s3cret"));
    shown = screen();
    EXPECT_TRUE(shows(shown, "Mail")) << shown;
    EXPECT_TRUE(shows(shown, "••••••")) << shown;
    EXPECT_FALSE(shows(shown, "s3cret")) << shown;
    ASSERT_TRUE(session.frame().cursor().has_value());

    // Arrows select rows, marked on screen; Return presses the focused button.
    ASSERT_TRUE(press("Down"));
    ASSERT_TRUE(press("Down"));
    EXPECT_TRUE(shows(screen(), "› Row 1")) << screen();
    ASSERT_TRUE(session.driver().focus(form->save));
    ASSERT_TRUE(press("Return"));
    EXPECT_EQ(g_log, std::vector<std::string> {"saved"});
}

TEST_F(TerminalScreen, AFieldAsWideAsItsTextShowsItWholeAndGainsACellForTheCaretWhileEdited)
{
    form->title->setText(String("Forum"));
    const auto resting = form->title->intrinsicContentSize();
    form->title->setFrame({10, 0, resting.width, resting.height});
    auto shown = screen();
    EXPECT_TRUE(shows(shown, "Forum")) << shown;

    ASSERT_TRUE(form->title->becomeFirstResponder());
    const auto edited = form->title->intrinsicContentSize();
    EXPECT_EQ(edited.width, resting.width + UIKit::TextGrid::columnWidth);
    form->title->setFrame({10, 0, edited.width, edited.height});
    shown = screen();
    EXPECT_TRUE(shows(shown, "Forum")) << shown;
    ASSERT_TRUE(session.frame().cursor().has_value());
    EXPECT_TRUE(shows(session.frame().line(session.frame().cursor()->second), "Forum"));

    ASSERT_TRUE(form->title->resignFirstResponder());
    EXPECT_EQ(form->title->intrinsicContentSize(), resting);
}

TEST_F(TerminalScreen, ANarrowTerminalCollapsesTheSplitAndAWideOneExpandsItAgain)
{
    EXPECT_TRUE(shows(screen(), "Row 0"));
    session.resize(50, 20);
    auto narrow = screen();
    EXPECT_EQ(scene->traitCollection().horizontalSizeClass, UIUserInterfaceSizeClass::compact);
    EXPECT_FALSE(shows(narrow, "Row 0") && shows(narrow, "Title")) << "one column at a time\n" << narrow;
    EXPECT_EQ(window->frame(), (CGRect {0, 20, 500, 380})) << "the window fills the rows below the bar";
    session.resize(100, 30);
    auto wide = screen();
    EXPECT_TRUE(shows(wide, "Row 0") && shows(wide, "Title")) << wide;
}

TEST_F(TerminalScreen, F10OpensTheMenuBarValidatedAndReturnChoosesAnEntry)
{
    screen();
    ASSERT_TRUE(press("F10"));
    EXPECT_TRUE(session.menuBar().isOpen());
    // Along the bar to Tools.
    for (int i = 0; i < 20 && !shows(screen(), "Unanswered"); ++i)
        press("Right");
    const auto frame = session.frame();
    std::int64_t unansweredRow = -1;
    for (std::int64_t row = 0; row < frame.rows(); ++row)
        if (shows(frame.line(row), "Unanswered"))
            unansweredRow = row;
    ASSERT_GE(unansweredRow, 0) << frame.text();
    // A command nobody answers shows disabled; choosing it does nothing and the menu stays.
    const auto column = static_cast<std::int64_t>(frame.line(unansweredRow).find("Unanswered"));
    ASSERT_GT(column, 0);
    EXPECT_TRUE(Terminal::contains(frame.at(column, unansweredRow).style, Terminal::CellStyle::dim));
    ASSERT_TRUE(press("Return"));
    EXPECT_TRUE(session.menuBar().isOpen());
    ASSERT_TRUE(press("Down"));
    ASSERT_TRUE(press("Return"));
    EXPECT_FALSE(session.menuBar().isOpen());
    EXPECT_EQ(g_log, std::vector<std::string> {"swept"});
    // Escape closes an open menu.
    press("F10");
    press("Escape");
    EXPECT_FALSE(session.menuBar().isOpen());
}

TEST_F(TerminalScreen, MenuEntriesShowTheirStateAndOnlyKeysATerminalCanType)
{
    const auto command = UIKeyModifierFlags::command();
    const auto shift = UIKeyModifierFlags::shift();
    const auto alternate = UIKeyModifierFlags::alternate();
    auto key = [](const char* title, const String& input, UIKeyModifierFlags flags) -> std::shared_ptr<UIMenuElement> {
        return make<UIKeyCommand>(String(title), Selector("sweep"), input, flags);
    };
    auto menu = make<UIMenu>("Item", UIMenu::Identifier("test.menu.item"), UIMenu::Options(),
                             std::vector<std::shared_ptr<UIMenuElement>> {
                                 key("Quit", String("q"), command),
                                 key("Hide", String("h"), command),
                                 key("Copy Password", String("c"), command | shift),
                                 key("Open", String("\r"), command),
                                 key("First", UIKeyCommand::inputUpArrow(), command),
                                 key("Hide Others", String("p"), command | alternate),
                                 key("Hide Helpers", String("h"), command | alternate),
                                 key("Copy Code", String("c"), command | alternate | shift),
                                 key("Full Screen", String("f"), command | UIKeyModifierFlags::control()),
                                 make<UIAction>(String("Always Dark"), [](const std::shared_ptr<UIAction>&) {}, std::nullopt, UIMenuElement::Attributes {},
                                                UIMenuElement::State::on),
                             });
    std::vector<std::string> shortcuts;
    for (const auto& entry : Terminal::MenuBar::entries(menu))
        shortcuts.push_back(entry.shortcut.utf8());
    EXPECT_EQ(shortcuts, (std::vector<std::string> {"Ctrl-Q", "Alt-H", "Alt-Shift-C", "Alt-Return", "Alt-Up", "Ctrl-Alt-P", "", "", "", ""}))
        << "Ctrl-H is Backspace; terminals pass no Shift with Ctrl, and no Control of its own";
    EXPECT_EQ(Terminal::MenuBar::entries(menu).back().state, UIMenuElement::State::on);
}

TEST_F(TerminalScreen, AnAlertStandsInAFrameAndTheKeyboardAnswersIt)
{
    screen();
    auto alert = make<UIAlertController>(std::optional<String>("Delete item?"), std::optional<String>("It cannot be undone."),
                                         UIAlertController::Style::alert);
    alert->addAction(make<UIAlertAction>(std::optional<String>("Cancel"), UIAlertAction::Style::cancel,
                                         [](const auto&) { g_log.push_back("kept"); }));
    alert->addAction(make<UIAlertAction>(std::optional<String>("Delete"), UIAlertAction::Style::destructive,
                                         [](const auto&) { g_log.push_back("deleted"); }));
    window->rootViewController()->present(alert, true);
    auto shown = screen();
    EXPECT_TRUE(shows(shown, "Delete item?")) << shown;
    EXPECT_TRUE(shows(shown, "┌")) << shown;
    EXPECT_TRUE(shows(shown, "Cancel")) << shown;
    ASSERT_TRUE(press("Escape"));
    shown = screen();
    EXPECT_FALSE(shows(shown, "Delete item?")) << shown;
    EXPECT_EQ(g_log, std::vector<std::string> {"kept"});
}

TEST_F(TerminalScreen, AClickTapsWhereItLandsAndTheBarsTitlesOpenTheirMenus)
{
    const auto frame = session.frame();
    std::int64_t saveRow = -1;
    for (std::int64_t row = 1; row < frame.rows(); ++row)
        if (shows(frame.line(row), "Save"))
            saveRow = row;
    ASSERT_GE(saveRow, 0) << frame.text();
    EXPECT_TRUE(session.click(static_cast<std::int64_t>(frame.line(saveRow).find("Save")) + 1, saveRow));
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(g_log, std::vector<std::string> {"saved"});
    EXPECT_EQ(session.driver().focusedView(), form->save) << "the click moved the focus";
    // While a field is edited, a click on a button presses it and the editing goes on.
    ASSERT_TRUE(form->password->becomeFirstResponder());
    EXPECT_TRUE(session.click(static_cast<std::int64_t>(frame.line(saveRow).find("Save")) + 1, saveRow));
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(g_log, (std::vector<std::string> {"saved", "saved"}));
    EXPECT_TRUE(form->password->isFirstResponder());
    EXPECT_TRUE(session.click(1, 0));
    EXPECT_TRUE(session.menuBar().isOpen());
}

TEST_F(TerminalScreen, AScriptDrivesTheSceneAndPrintsItsFrames)
{
    ASSERT_TRUE(form->title->becomeFirstResponder());
    std::istringstream script("# fill the form\ntype New mail\nkey Tab\ntype x y\nscreen\nkey Down\nscreen\n");
    std::ostringstream out;
    ASSERT_TRUE(Terminal::ScriptedDisplay::run(scene, script, out));
    const auto frames = out.str();
    const auto first = frames.substr(0, frames.find("--\n"));
    EXPECT_TRUE(shows(first, "New mail")) << frames;
    EXPECT_TRUE(shows(first, "•••")) << "typed into the secure field\n" << frames;
    EXPECT_TRUE(shows(frames.substr(first.size()), "› Row 0")) << frames;
    EXPECT_EQ(form->password->text(), "x y");

    // What another thread finishes shows in its own time: the script waits for it.
    Foundation::DispatchQueue::global()->async([this] {
        Foundation::DispatchQueue::main()->async([this] { form->title->setText(String("Fetched")); });
    });
    std::istringstream waiting("wait Fetched\nscreen\n");
    out.str("");
    ASSERT_TRUE(Terminal::ScriptedDisplay::run(scene, waiting, out)) << out.str();
    EXPECT_TRUE(shows(out.str(), "Fetched")) << out.str();

    // A script sets how long its waits may last: one that cannot wait gives up on a text not shown.
    std::istringstream impatient("limit 0\nwait Never there\nscreen\n");
    out.str("");
    EXPECT_FALSE(Terminal::ScriptedDisplay::run(scene, impatient, out));
    EXPECT_TRUE(shows(out.str(), "Never shown: Never there")) << out.str();

    std::istringstream unknown("jump\n");
    EXPECT_FALSE(Terminal::ScriptedDisplay::run(scene, unknown, out));
    EXPECT_TRUE(shows(out.str(), "Unknown command: jump"));
}

TEST_F(TerminalScreen, AWindowInFrontWithoutABackgroundShowsOnlyItsViewsOverTheKeyWindow)
{
    auto bannerWindow = make<UIWindow>(scene);
    bannerWindow->setWindowLevel(UIWindow::Level::alert());
    auto banner = make<UILabel>(CGRect {400, 100, 200, 20});
    banner->setText(String("Copied"));
    banner->setBackgroundColor(UIColor::white());
    bannerWindow->addSubview(banner);
    bannerWindow->setIsHidden(false);
    auto shown = screen();
    EXPECT_FALSE(bannerWindow->isKeyWindow());
    EXPECT_TRUE(shows(shown, "Copied")) << shown;
    EXPECT_TRUE(shows(shown, "Row 0")) << "the key window shows around the banner\n" << shown;
}

TEST_F(TerminalScreen, TextAndBackgroundsShowTheirColoursAndSecondaryTextIsDimmed)
{
    form->save->setTintColor(UIColor::withHue(0.0, 1, 1, 1));
    auto note = make<UILabel>(CGRect {10, 160, 200, 20});
    note->setText(String("Last synced"));
    note->setTextColor(UIColor::secondaryLabel());
    auto banner = make<UIView>(CGRect {10, 200, 200, 20});
    banner->setBackgroundColor(UIColor::withHue(0.33, 1, 0.8, 1));
    auto copied = make<UILabel>(CGRect {0, 0, 100, 20});
    copied->setText(String("Copied"));
    banner->addSubview(copied);
    form->view()->addSubview(note);
    form->view()->addSubview(banner);
    screen();
    const auto frame = session.frame();
    auto find = [&](const std::string& text) -> const Canvas::Cell& {
        for (std::int64_t row = 0; row < frame.rows(); ++row)
            if (auto column = frame.line(row).find(text); column != std::string::npos)
                return frame.at(static_cast<std::int64_t>(column), row);
        ADD_FAILURE() << text << " is not shown\n" << frame.text();
        return frame.at(0, 0);
    };
    EXPECT_EQ(find("Save").foreground, (Terminal::CellColor {255, 0, 0})) << "a button's title in its tint";
    EXPECT_EQ(find("Last synced").foreground, std::nullopt);
    EXPECT_TRUE(Terminal::contains(find("Last synced").style, Terminal::CellStyle::dim));
    EXPECT_EQ(find("Title").foreground, std::nullopt) << "what has no colour keeps the terminal's";
    // A label over a coloured view keeps the view's background.
    EXPECT_EQ(find("Copied").background, (Terminal::CellColor {4, 204, 0}));
    EXPECT_EQ(find("Row 0").background, std::nullopt);

    form->save->setIsEnabled(false);
    screen();
    EXPECT_EQ(session.frame().text(), frame.text());
    EXPECT_NE(session.frame(), frame) << "the disabled button lost its colour";
    // A title wider than its button ends in an ellipsis instead of running into what follows.
    form->save->setTitle(String("Save Changes"), UIControl::State::normal());
    const auto shown = screen();
    EXPECT_TRUE(shows(shown, "Save …") || shows(shown, "Save…")) << shown;
    EXPECT_FALSE(shows(shown, "Changes")) << shown;
}

TEST(TerminalCapabilities, ATerminalThatCannotPlaceItsCursorOrIsUnknownCannotShowTheDisplay)
{
    using Terminal::TerminalCapabilities;
    EXPECT_EQ(TerminalCapabilities::whyDisplayCannotShow("xterm-256color"), std::nullopt);
    EXPECT_EQ(TerminalCapabilities::whyDisplayCannotShow("screen-256color"), std::nullopt);
    const auto dumb = TerminalCapabilities::whyDisplayCannotShow("dumb");
    ASSERT_TRUE(dumb);
    EXPECT_TRUE(shows(*dumb, "\"dumb\"") && shows(*dumb, "cannot move its cursor")) << *dumb;
    EXPECT_EQ(dumb->find('\n'), std::string::npos) << "one line";
    EXPECT_TRUE(shows(TerminalCapabilities::whyDisplayCannotShow("no-such-terminal").value_or(""), "unknown"));
    EXPECT_TRUE(shows(TerminalCapabilities::whyDisplayCannotShow(nullptr).value_or(""), "TERM is not set"));
    EXPECT_TRUE(TerminalCapabilities::whyDisplayCannotShow(""));
}

TEST_F(TerminalScreen, AWindowTooSmallSaysSoTakesNoKeysAndShowsTheSceneAgainOnceItGrows)
{
    screen();
    for (const auto& [columns, rows] : {std::pair {20, 10}, std::pair {39, 30}, std::pair {100, 11}, std::pair {5, 2}}) {
        session.resize(columns, rows);
        const auto shown = screen();
        EXPECT_TRUE(shows(shown, "too small") || columns < 16) << shown;
        EXPECT_FALSE(shows(shown, "Row 0")) << "nothing of the scene overprints the message\n" << shown;
        EXPECT_FALSE(shows(shown, "F10")) << shown;
        EXPECT_FALSE(press("Tab"));
        EXPECT_FALSE(session.click(1, 1));
        // The windows keep the smallest size a picture can have, rather than being laid out into a few cells.
        EXPECT_GE(window->frame().size.width, Terminal::TerminalSession::minimumColumns * TextGrid::columnWidth);
        EXPECT_GE(window->frame().size.height, (Terminal::TerminalSession::minimumRows - 1) * TextGrid::lineHeight);
    }
    session.resize(20, 10);
    EXPECT_TRUE(shows(screen(), "20 x 10")) << screen();
    session.resize(Terminal::TerminalSession::minimumColumns, Terminal::TerminalSession::minimumRows);
    const auto shown = screen();
    EXPECT_TRUE(shows(shown, "Row 0")) << shown;
    EXPECT_FALSE(shows(shown, "too small")) << shown;
}

TEST_F(TerminalScreen, ContextMenusOpenOnASecondaryClickAndFromTheKeyboardAtTheFocusedRow)
{
    auto shown = screen();
    // A secondary click on a row opens that row's menu, whatever views lie under the pointer.
    auto frame = session.frame();
    std::int64_t row1 = -1;
    for (std::int64_t row = 0; row < frame.rows(); ++row)
        if (shows(frame.line(row), "Row 1"))
            row1 = row;
    ASSERT_GE(row1, 0) << shown;
    ASSERT_TRUE(session.click(static_cast<std::int64_t>(frame.line(row1).find("Row 1")) + 1, row1, true));
    shown = screen();
    EXPECT_TRUE(shows(shown, "Copy Row 1")) << shown;
    ASSERT_TRUE(press("Return"));
    EXPECT_EQ(g_log, std::vector<std::string> {"copied 1"});
    EXPECT_FALSE(shows(screen(), "Copy Row")) << screen();

    // Shift-F10 and the Menu key open the menu of the focused table's selected row.
    ASSERT_TRUE(session.driver().focus(list->table));
    ASSERT_TRUE(press("Down"));
    ASSERT_TRUE(press("Down"));
    ASSERT_TRUE(press("Down"));
    ASSERT_TRUE(press("F10", UIKeyModifierFlags::shift()));
    shown = screen();
    EXPECT_TRUE(shows(shown, "Copy Row 2")) << shown;
    EXPECT_FALSE(session.menuBar().isOpen() && !session.menuBar().isShowingShownMenu()) << "Shift-F10 is not the menu bar";
    ASSERT_TRUE(press("Escape"));
    EXPECT_FALSE(shows(screen(), "Copy Row")) << screen();
    ASSERT_TRUE(press("Up"));
    ASSERT_TRUE(press("Menu"));
    shown = screen();
    EXPECT_TRUE(shows(shown, "Copy Row 1")) << shown;
    ASSERT_TRUE(press("Return"));
    EXPECT_EQ(g_log, (std::vector<std::string> {"copied 1", "copied 1"}));
    // A focused control without a menu opens nothing.
    ASSERT_TRUE(session.driver().focus(form->save));
    EXPECT_FALSE(press("Menu"));
}

TEST(TerminalClipboard, InsideTmuxACopyIsABufferOfItsOwnThatAClearDeletes)
{
    if (std::system("command -v tmux >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "tmux is not installed";
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    // A tmux server of the test's own: nothing of the person's tmux is touched.
    const std::string socket = std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/clipboard-tmux";
    const std::string tmux = "tmux -S '" + socket + "' -f /dev/null ";
    ASSERT_EQ(std::system((tmux + "new-session -d -x 80 -y 20 'sleep 60'").c_str()), 0);
    setenv("TMUX", (socket + ",0,0").c_str(), 1);
    auto run = [&](const std::string& command) {
        std::string output;
        if (FILE* pipe = popen((tmux + command + " 2>/dev/null").c_str(), "r")) {
            char buffer[256];
            while (const auto count = fread(buffer, 1, sizeof buffer, pipe))
                output.append(buffer, count);
            pclose(pipe);
        }
        return output;
    };
    std::vector<std::string> written;
    Terminal::SystemClipboard::connect([&](std::string_view sequence) { written.emplace_back(sequence); });
    UIPasteboard::Options options;
    options.expirationDate = Foundation::Date::now().addingTimeInterval(30);
    UIPasteboard::general()->setItems({{{UIPasteboard::plainTextType(), Foundation::Data::fromString("s3cret pass")}}}, options);
    TestSupport::runMainLoopUntilIdle();
    EXPECT_EQ(run("show-buffer"), "s3cret pass") << "what a paste in tmux gives";
    TestSupport::advanceClock(31);
    EXPECT_FALSE(shows(run("list-buffers -F '#{buffer_sample}'"), "s3cret")) << run("list-buffers");
    EXPECT_TRUE(written.empty()) << "tmux itself carries the text";
    Terminal::SystemClipboard::connect(nullptr);
    unsetenv("TMUX");
    run("kill-server");
}

TEST_F(TerminalScreen, AnAlertAColumnPresentsIsAModalBoxThatReturnAndEscapeAnswer)
{
    screen();
    // A confirmation of a destructive step, presented from the list's column rather than the root.
    auto sheet = make<UIAlertController>(std::optional<String>("Delete Permanently?"), std::optional<String>("This cannot be undone."),
                                         UIAlertController::Style::actionSheet);
    sheet->addAction(make<UIAlertAction>(std::optional<String>("Delete Permanently"), UIAlertAction::Style::destructive,
                                         [](const auto&) { g_log.push_back("deleted"); }));
    sheet->addAction(make<UIAlertAction>(std::optional<String>("Cancel"), UIAlertAction::Style::cancel, [](const auto&) { g_log.push_back("kept"); }));
    if (auto popover = sheet->popoverPresentationController())
        popover->setSourceView(list->view());
    list->present(sheet, true);
    auto shown = screen();
    ASSERT_EQ(session.driver().alert(), sheet);
    EXPECT_EQ(window->topViewController(), sheet);
    // Drawn in a box that hides the rows behind it, framed within the window.
    const auto frame = session.frame();
    std::int64_t titleRow = -1;
    for (std::int64_t row = 1; row < frame.rows(); ++row)
        if (shows(frame.line(row), "Delete Permanently?"))
            titleRow = row;
    ASSERT_GT(titleRow, 1) << shown;
    const auto cells = Terminal::SceneRenderer::cells(*sheet->view());
    EXPECT_EQ(frame.at(cells.column - 1, cells.row - 1).text, "┌") << shown;
    EXPECT_GE(cells.row - 1, 1) << "the frame stays below the menu bar\n" << shown;
    for (auto row = cells.row; row < cells.bottom(); ++row)
        EXPECT_FALSE(shows(frame.line(row), "Row ")) << shown;
    // The keyboard stays in it.
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(press("Tab"));
        ASSERT_TRUE(session.driver().focusedView());
        EXPECT_TRUE(cells.contains(Terminal::SceneRenderer::cells(*session.driver().focusedView()).column,
                                   Terminal::SceneRenderer::cells(*session.driver().focusedView()).row))
            << screen();
    }
    // Return takes its one action that does not cancel, even with a button focused behind it before.
    sheet->dismiss(false);
    TestSupport::advanceClock(1);
    screen();
    auto again = make<UIAlertController>(std::optional<String>("Delete Permanently?"), std::nullopt, UIAlertController::Style::actionSheet);
    again->addAction(make<UIAlertAction>(std::optional<String>("Delete Permanently"), UIAlertAction::Style::destructive,
                                         [](const auto&) { g_log.push_back("deleted"); }));
    again->addAction(make<UIAlertAction>(std::optional<String>("Cancel"), UIAlertAction::Style::cancel, [](const auto&) { g_log.push_back("kept"); }));
    ASSERT_TRUE(session.driver().focus(form->save));
    list->present(again, true);
    screen();
    ASSERT_TRUE(press("Return"));
    TestSupport::advanceClock(1);
    screen();
    EXPECT_EQ(g_log, std::vector<std::string> {"deleted"});

    // A notice has no Cancel: Escape closes it with its one button.
    auto notice = make<UIAlertController>(std::optional<String>("Limit Reached"), std::nullopt, UIAlertController::Style::alert);
    notice->addAction(make<UIAlertAction>(std::optional<String>("OK"), UIAlertAction::Style::default_, [](const auto&) { g_log.push_back("ok"); }));
    form->present(notice, true);
    screen();
    ASSERT_TRUE(press("Escape"));
    TestSupport::advanceClock(1);
    screen();
    EXPECT_EQ(g_log, (std::vector<std::string> {"deleted", "ok"}));
    EXPECT_FALSE(session.driver().alert());
}
