#include "Shared/Screens/EntryDetailsVC.hpp"

#include "Shared/Model/Settings.ItemDetails.hpp"
#include "Shared/Screens/EntryDetailsTVC.Cell.hpp"
#include "Shared/Screens/EntryDetailsTVC.hpp"
#include "Shared/Screens/EntryDetailsVCDelegate.hpp"
#include "Shared/Screens/EntryDetailsVHeaderV.hpp"
#include "Shared/Stores/PreferenceStore.hpp"

#include "Basalwork/Interface/UIView.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/UIKit/NSLayoutAnchor.hpp"
#include "Platform/UIKit/NSLayoutConstraint.hpp"
#include "Platform/UIKit/UITableView.hpp"

namespace Shared {

EntryDetailsVC::EntryDetailsVC(Foundation::NSCoder& coder)
    : UIViewController(coder)
{
    Foundation::fatalError("init(coder:) has not been implemented");
}

void EntryDetailsVC::initialize()
{
    UIViewController::initialize();
    m_entryDetailsTVC = Foundation::make<EntryDetailsTVC>();
    m_headerV = Foundation::make<EntryDetailsVHeaderV>();
    std::weak_ptr<EntryDetailsVC> weak = sharedSelf(this);
    m_headerV->onHeaderItem = [weak](const MenuSource& source, const std::shared_ptr<UIKit::UIView>& button) {
        auto self = weak.lock();
        auto delegate = self ? self->delegate() : nullptr;
        if (delegate)
            delegate->didSelect(source, button, button->bounds(), *self->m_entryDetailsTVC);
    };
}

void EntryDetailsVC::setDelegate(const std::shared_ptr<EntryDetailsVCDelegate>& delegate)
{
    m_delegate = delegate;
    m_entryDetailsTVC->setDelegate(delegate);
    m_headerV->setDelegate(delegate);
}

void EntryDetailsVC::loadView()
{
    auto view = Foundation::make<UIKit::UIView>();
    view->setAccessibilityIdentifier(Foundation::String("EntryDetailsVC"));
    addChild(m_entryDetailsTVC);
    auto table = m_entryDetailsTVC->view();
    for (const auto& subview : {std::static_pointer_cast<UIKit::UIView>(m_headerV), table}) {
        subview->setTranslatesAutoresizingMaskIntoConstraints(false);
        view->addSubview(subview);
        subview->leadingAnchor().constraintEqualTo(view->leadingAnchor())->setIsActive(true);
        subview->trailingAnchor().constraintEqualTo(view->trailingAnchor())->setIsActive(true);
    }
    m_headerV->topAnchor().constraintEqualTo(view->topAnchor())->setIsActive(true);
    table->topAnchor().constraintEqualTo(m_headerV->bottomAnchor())->setIsActive(true);
    table->bottomAnchor().constraintEqualTo(view->bottomAnchor())->setIsActive(true);
    m_entryDetailsTVC->didMove(sharedSelf(this));
    setView(view);
    m_headerV->show(m_state, m_isMainWindowPinned);
    m_entryDetailsTVC->show(entryDetailsSections(m_state, m_generatorSettings, m_showsInlineGenerator));
}

void EntryDetailsVC::update(State state, const AppExecutionContext& appExecutionContext, const std::shared_ptr<PreferenceStore>& preferenceStore,
                            const std::shared_ptr<RecordStore>& recordStore, bool isMainWindowPinned, bool /*animated*/,
                            std::function<void()> completion)
{
    updateWithoutReloading(std::move(state), appExecutionContext, preferenceStore, recordStore, isMainWindowPinned);
    if (completion)
        completion();
}

void EntryDetailsVC::updateWithoutReloading(State state, const AppExecutionContext&, const std::shared_ptr<PreferenceStore>& preferenceStore,
                                            const std::shared_ptr<RecordStore>&, bool isMainWindowPinned)
{
    m_state = std::move(state);
    m_isMainWindowPinned = isMainWindowPinned;
    if (preferenceStore) {
        m_generatorSettings = preferenceStore->passwordGenerator();
        m_showsInlineGenerator = preferenceStore->inlineGenerator() == Settings::ItemDetails::InlineGenerator::enabled;
    }
    loadViewIfNeeded();
    m_headerV->show(m_state, m_isMainWindowPinned);
    m_entryDetailsTVC->show(entryDetailsSections(m_state, m_generatorSettings, m_showsInlineGenerator));
}

void EntryDetailsVC::stateDidChange()
{
    if (!isViewLoaded() || m_state.isEditingCase())
        return;
    if (auto responder = Basalwork::findFirstResponder(*view()))
        responder->resignFirstResponder();
}

void EntryDetailsVC::select(const MenuSource& menuSource, bool animated)
{
    m_entryDetailsTVC->select(menuSource, animated);
}

std::shared_ptr<UIKit::UIView> EntryDetailsVC::sourceView(const MenuSource& menuSource) const
{
    auto screen = viewIfLoaded();
    if (!screen)
        return nullptr;
    for (const auto& cell : m_entryDetailsTVC->tableView()->visibleCells())
        if (auto row = std::dynamic_pointer_cast<EntryDetailsTVCCell>(cell); row && row->row() && row->row()->source == menuSource)
            return row;
    return screen;
}

void EntryDetailsVC::selectNextInput(bool)
{
    m_entryDetailsTVC->selectNextInput(true);
}

void EntryDetailsVC::selectPreviousInput(bool)
{
    m_entryDetailsTVC->selectNextInput(false);
}

void EntryDetailsVC::selectTOTPSecretKeyInput(bool animated)
{
    select(MenuSource::systemField(EntrySystemField::ID::totpSecretKey), animated);
}

void EntryDetailsVC::scrollToTop(bool animated, std::function<void()> completion)
{
    m_entryDetailsTVC->scrollToTop(animated);
    if (completion)
        completion();
}

} // namespace Shared
