// A small program of the kit's own views for the terminal display's end-to-end test: a split of a
// searchable list and a form, a menu of its own, a lock sheet and Quit. It writes what its list holds to
// the file named by its first argument when it ends.
#include "Platform/Foundation/Date.hpp"
#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/Terminal/TerminalDisplay.hpp"
#include "Platform/UIKit/UIApplication.hpp"
#include "Platform/UIKit/UIApplicationDelegate.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIColor.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIMenu.hpp"
#include "Platform/UIKit/UIMenuBuilder.hpp"
#include "Platform/UIKit/UIModalPresentationStyle.hpp"
#include "Platform/UIKit/UINavigationController.hpp"
#include "Platform/UIKit/UINavigationItem.hpp"
#include "Platform/UIKit/UIPasteboard.hpp"
#include "Platform/UIKit/UISegmentedControl.hpp"
#include "Platform/UIKit/UISplitViewController.hpp"
#include "Platform/UIKit/UISwitch.hpp"
#include "Platform/UIKit/UITableView.hpp"
#include "Platform/UIKit/UITableViewCell.hpp"
#include "Platform/UIKit/UITableViewDataSource.hpp"
#include "Platform/UIKit/UITableViewDelegate.hpp"
#include "Platform/UIKit/UITextField.hpp"
#include "Platform/UIKit/UIWindow.hpp"
#include "Platform/UIKit/UIWindowScene.hpp"

#include <cstdio>
#include <fstream>
#include <iostream>
#include <utility>
#include <vector>

using namespace UIKit;
using Foundation::make;
using Foundation::Selector;
using Foundation::String;

namespace {

struct Item {
    String title;
    String password;
};
std::vector<Item> g_items {{"Bank", "b4nk-Secret"}, {"Mail", "m41l-Secret"}};

template <class View>
std::shared_ptr<View> field(const char* identifier, const char* placeholder)
{
    auto view = make<View>(CGRect {0, 0, 100, 20});
    view->setAccessibilityIdentifier(String(identifier));
    view->setPlaceholder(String(placeholder));
    return view;
}

std::shared_ptr<UIButton> button(const char* title, std::function<void()> action)
{
    auto view = make<UIButton>(CGRect {0, 0, 100, 20});
    view->setTitle(String(title), UIControl::State::normal());
    view->addAction(std::move(action), UIControl::Event::primaryActionTriggered());
    return view;
}

class ListController : public UIViewController, public UITableViewDataSource, public UITableViewDelegate {
public:
    std::shared_ptr<UITextField> search;
    std::shared_ptr<UITableView> table;
    std::vector<std::size_t> shown;

    void loadView() override
    {
        auto view = make<UIView>(CGRect {0, 0, 300, 400});
        search = field<UITextField>("search", "Search");
        search->addAction([this] { reload(); }, UIControl::Event::editingChanged());
        table = make<UITableView>(CGRect {0, 40, 300, 360}, UITableView::Style::plain);
        table->registerCell<UITableViewCell>("Item");
        table->setRowHeight(20);
        table->setDataSource(std::dynamic_pointer_cast<UITableViewDataSource>(sharedSelf(this)));
        table->setDelegate(std::dynamic_pointer_cast<UITableViewDelegate>(sharedSelf(this)));
        view->addSubview(search);
        view->addSubview(table);
        setView(view);
        reload();
    }
    void viewDidLayoutSubviews() override
    {
        const auto bounds = view()->bounds();
        search->setFrame({10, 0, bounds.size.width - 20, 20});
        table->setFrame({0, 40, bounds.size.width, std::max(0.0, bounds.size.height - 40)});
    }
    void reload()
    {
        shown.clear();
        const auto text = search ? search->text().lowercased() : String();
        for (std::size_t i = 0; i < g_items.size(); ++i)
            if (text.isEmpty() || g_items[i].title.lowercased().contains(text))
                shown.push_back(i);
        if (table)
            table->reloadData();
    }
    std::optional<std::size_t> selectedItem() const
    {
        auto row = table ? table->indexPathForSelectedRow() : std::nullopt;
        if (!row || row->row() >= static_cast<std::int64_t>(shown.size()))
            return std::nullopt;
        return shown[static_cast<std::size_t>(row->row())];
    }
    std::int64_t numberOfRowsInSection(UITableView&, std::int64_t) override { return static_cast<std::int64_t>(shown.size()); }
    std::shared_ptr<UITableViewCell> cellForRowAt(UITableView& tableView, const Foundation::IndexPath& indexPath) override
    {
        auto cell = tableView.dequeueReusableCell("Item", indexPath);
        cell->setAccessibilityLabel(g_items[shown[static_cast<std::size_t>(indexPath.row())]].title);
        return cell;
    }

protected:
    friend Foundation::Construct;
    ListController() { navigationItem()->setTitle(String("Items")); }
};

class FormController : public UIViewController {
public:
    std::function<void()> onAdd;
    std::shared_ptr<UITextField> title;
    std::shared_ptr<UITextField> password;
    std::shared_ptr<UISwitch> reveal;
    std::vector<std::shared_ptr<UIView>> rows;

    void loadView() override
    {
        auto view = make<UIView>(CGRect {0, 0, 400, 400});
        title = field<UITextField>("title", "Title");
        password = field<UITextField>("password", "Password");
        password->setIsSecureTextEntry(true);
        auto generate = button("Generate", [this] { password->setText(String("Tq9#vL2m-xR4z")); });
        generate->setTintColor(UIColor::withHue(0.0, 0.9, 0.9, 1));
        reveal = make<UISwitch>(CGRect {0, 0, 30, 20});
        reveal->setAccessibilityIdentifier(String("reveal"));
        reveal->addAction([this] { password->setIsSecureTextEntry(!reveal->isOn()); }, UIControl::Event::valueChanged());
        auto revealLabel = make<UILabel>(CGRect {0, 0, 60, 20});
        revealLabel->setText(String("Reveal"));
        auto kind = make<UISegmentedControl>(std::vector<String> {"Login", "Note"});
        kind->setSelectedSegmentIndex(0);
        auto add = button("Add", [this] {
            if (onAdd)
                onAdd();
        });
        rows = {title, password, generate, reveal, revealLabel, kind, add};
        for (const auto& row : rows)
            view->addSubview(row);
        setView(view);
    }
    void viewDidLayoutSubviews() override
    {
        const auto width = view()->bounds().size.width - 20;
        rows[0]->setFrame({10, 0, width, 20});
        rows[1]->setFrame({10, 40, width, 20});
        rows[2]->setFrame({10, 80, 80, 20});
        rows[3]->setFrame({110, 80, 30, 20});
        rows[4]->setFrame({150, 80, 60, 20});
        rows[5]->setFrame({10, 120, 120, 20});
        rows[6]->setFrame({10, 160, 40, 20});
    }

protected:
    friend Foundation::Construct;
    FormController() { navigationItem()->setTitle(String("New Item")); }
};

class LockController : public UIViewController {
public:
    std::shared_ptr<UITextField> password;

    void loadView() override
    {
        auto view = make<UIView>(CGRect {0, 0, 300, 100});
        auto label = make<UILabel>(CGRect {10, 0, 280, 20});
        label->setText(String("Locked"));
        password = field<UITextField>("masterPassword", "Master password");
        password->setFrame({10, 40, 280, 20});
        password->setIsSecureTextEntry(true);
        std::weak_ptr<LockController> weakSelf = std::static_pointer_cast<LockController>(sharedSelf(this));
        auto unlock = [weakSelf] {
            auto self = weakSelf.lock();
            if (self && self->password->text() == String("opensesame"))
                self->dismiss(true);
        };
        password->addAction(unlock, UIControl::Event::primaryActionTriggered());
        auto button = ::button("Unlock", unlock);
        button->setFrame({10, 80, 60, 20});
        for (std::shared_ptr<UIView> row : {std::shared_ptr<UIView>(label), std::shared_ptr<UIView>(password), std::shared_ptr<UIView>(button)})
            view->addSubview(row);
        setView(view);
    }
    void viewDidAppear(bool) override { password->becomeFirstResponder(); }

protected:
    friend Foundation::Construct;
    LockController() = default;
};

class Delegate : public UIResponder, public UIApplicationDelegate {
public:
    std::shared_ptr<ListController> list;
    std::shared_ptr<FormController> form;
    std::shared_ptr<UISplitViewController> split;

    void buildMenu(UIMenuBuilder& builder) override
    {
        builder.insertSiblingAfterMenu(
            make<UIMenu>("Item", UIMenu::Identifier("demo.menu.item"), UIMenu::Options(),
                         std::vector<std::shared_ptr<UIMenuElement>> {
                             make<UIKeyCommand>("Copy Password", Selector("copyPassword"), "p", UIKeyModifierFlags::command()),
                             make<UIKeyCommand>("Find", Selector("find"), "f", UIKeyModifierFlags::command()),
                             make<UIKeyCommand>("Lock", Selector("lock"), "l", UIKeyModifierFlags::command()),
                         }),
            UIMenu::Identifier::view());
    }
    void copyPassword()
    {
        if (auto item = list->selectedItem()) {
            UIPasteboard::Options options;
            options.expirationDate = Foundation::Date::now().addingTimeInterval(90);
            UIPasteboard::general()->setItems({{{UIPasteboard::plainTextType(), Foundation::Data::fromString(g_items[*item].password.utf8())}}},
                                              options);
        }
    }
    void find() { list->search->becomeFirstResponder(); }
    void lock()
    {
        auto sheet = make<LockController>();
        sheet->setModalPresentationStyle(UIModalPresentationStyle::formSheet);
        sheet->setPreferredContentSize({300, 100});
        split->present(sheet, true);
    }

protected:
    friend Foundation::Construct;
    Delegate() = default;
};

} // namespace

int main(int argc, char** argv)
{
    Foundation::MethodTable::add(Selector("copyPassword"), &Delegate::copyPassword);
    Foundation::MethodTable::add(Selector("find"), &Delegate::find);
    Foundation::MethodTable::add(Selector("lock"), &Delegate::lock);

    auto delegate = make<Delegate>();
    UIApplication::shared()->setDelegate(delegate);
    auto scene = make<UIWindowScene>();
    auto window = make<UIWindow>(scene);
    delegate->list = make<ListController>();
    delegate->form = make<FormController>();
    delegate->split = make<UISplitViewController>();
    delegate->split->setViewControllers({make<UINavigationController>(std::static_pointer_cast<UIViewController>(delegate->list)),
                                         make<UINavigationController>(std::static_pointer_cast<UIViewController>(delegate->form))});
    delegate->form->onAdd = [list = delegate->list, form = delegate->form] {
        if (form->title->text().isEmpty())
            return;
        g_items.push_back({form->title->text(), form->password->text()});
        list->reload();
    };
    window->setRootViewController(delegate->split);
    window->makeKeyAndVisible();

    // 77: what test drivers take for "skipped", as there is no terminal to show on.
    if (!Terminal::TerminalDisplay::run(scene)) {
        std::cerr << "TerminalDemo: no terminal to show on\n";
        return 77;
    }
    if (argc > 1) {
        std::ofstream out(argv[1]);
        for (const auto& item : g_items)
            out << item.title.utf8() << '\t' << item.password.utf8() << '\n';
    }
    return 0;
}
