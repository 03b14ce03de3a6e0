#pragma once

#include "Basalwork/Base/Collection.hpp"
#include "Basalwork/Interface/Array.hpp"
#include "Basalwork/Interface/ChangeSet.hpp"
#include "Basalwork/Interface/DiffableTableSection.hpp"
#include "Basalwork/Interface/EmptyTableMessageView.hpp"
#include "Basalwork/Interface/ItemHeightCache.hpp"
#include "Basalwork/Interface/UITableView.hpp"

#include "Platform/Foundation/FatalError.hpp"
#include "Platform/Foundation/Logger.hpp"
#include "Platform/Foundation/NotificationCenter.hpp"
#include "Platform/UIKit/UINavigationBarAppearance.hpp"
#include "Platform/UIKit/UINavigationItem.hpp"
#include "Platform/UIKit/UITableViewController.hpp"
#include "Platform/UIKit/UIWindow.hpp"

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace Basalwork {

// A table screen whose content is an array of sections of identifiable rows. Handing it new sections
// animates the table from the old content to the new, or reloads it when the table is not on screen;
// rows measure themselves and the heights they were shown at are cached per row and width.
template <DiffableTableSection Section>
class DiffableTableViewController : public UIKit::UITableViewController {
public:
    using Item = typename Section::Item;
    using RowAnimation = UIKit::UITableView::RowAnimation;

    const std::vector<Section>& sections() const { return m_sections; }
    void setSections(std::vector<Section> sections) { m_sections = std::move(sections); }
    const std::shared_ptr<ItemHeightCache<Section>>& itemHeightCache() const { return m_itemHeightCache; }
    const std::shared_ptr<EmptyTableMessageView>& emptyTableMessageView() const { return m_emptyTableMessageView; }

    void viewDidLoad() override
    {
        UITableViewController::viewDidLoad();
        setupNavigation();
        setupTableView();
        setupEmptyTableMessageView();
    }

    void viewDidLayoutSubviews() override
    {
        UITableViewController::viewDidLayoutSubviews();
        updateEmtpyMessageViewLayout();
    }

    virtual void update(std::vector<Section> sections, bool animated, RowAnimation rowRemoveAnimation,
                        RowAnimation rowInsertAnimation, bool includeSectionHeaderAndFooters,
                        const std::optional<EmptyTableMessageView::Config>& emptyTableMessageConfig,
                        std::function<void(bool)> completion)
    {
        loadViewIfNeeded();
        m_emptyTableMessageView->update(emptyTableMessageConfig);
        auto table = tableView();
        if (animated && table->window()) {
            const ChangeSet changeSet(m_sections, sections);
            performBatchUpdates(
                *table, changeSet, [&] { m_sections = std::move(sections); }, rowRemoveAnimation, rowInsertAnimation,
                [this, table](const Foundation::IndexPath& indexPath) {
                    if (auto row = item(m_sections, indexPath))
                        row->updateCell(*table, indexPath, true);
                },
                std::move(completion));
            if (includeSectionHeaderAndFooters)
                updateVisibleSectionHeadersAndFooters();
            return;
        }
        m_sections = std::move(sections);
        table->reloadData();
        if (completion)
            completion(true);
    }

    virtual void updateWithoutUpdatingViews(std::vector<Section> sections) { m_sections = std::move(sections); }

    virtual void updateVisibleCells(bool animated)
    {
        auto table = tableView();
        for (const auto& indexPath : table->indexPathsForVisibleRows().value_or(std::vector<Foundation::IndexPath> {})) {
            auto row = item(m_sections, indexPath);
            if (!row)
                return;
            row->updateCell(*table, indexPath, animated);
        }
    }

    virtual void updateAllCells(bool animated)
    {
        auto table = tableView();
        table->performBatchUpdates([&] {
            for (std::size_t s = 0; s < m_sections.size(); ++s) {
                std::int64_t i = 0;
                for (const auto& row : m_sections[s].items())
                    row.updateCell(*table, Foundation::IndexPath::withRow(i++, static_cast<std::int64_t>(s)), animated);
            }
        });
    }

    virtual void scrollToSection(const Foundation::String& withID, UIKit::UITableView::ScrollPosition position, bool animated)
    {
        if (auto index = indexOfElement(m_sections, withID))
            scrollTo(*index, position, animated);
    }

    virtual void scrollToItem(const Foundation::String& withID, UIKit::UITableView::ScrollPosition position, bool animated)
    {
        if (auto indexPath = indexPathOfItem(m_sections, withID)) {
            loadViewIfNeeded();
            tableView()->scrollToRow(*indexPath, position, animated);
        }
    }

    virtual void clearItemHeightCache() { m_itemHeightCache->clear(std::optional<std::vector<Foundation::String>> {}); }

    // Table callbacks. Rows are asked for only where the sections have them: the data source and the
    // table change together.
    std::int64_t numberOfSections(UIKit::UITableView&) override { return static_cast<std::int64_t>(m_sections.size()); }
    std::int64_t numberOfRowsInSection(UIKit::UITableView&, std::int64_t section) override
    {
        return static_cast<std::int64_t>(std::ranges::ssize(m_sections[static_cast<std::size_t>(section)].items()));
    }
    std::shared_ptr<UIKit::UITableViewCell> cellForRowAt(UIKit::UITableView& tableView,
                                                         const Foundation::IndexPath& indexPath) override
    {
        if (auto cell = rowAt(indexPath).dequeueUpdatedCell(tableView, indexPath))
            return cell;
        return UITableViewController::cellForRowAt(tableView, indexPath);
    }
    UIKit::CGFloat heightForHeaderInSection(UIKit::UITableView& tableView, std::int64_t section) override
    {
        auto height = m_sections[static_cast<std::size_t>(section)].heightForHeader(adjustedContentWidth(tableView));
        if (!height)
            return UITableViewController::heightForHeaderInSection(tableView, section);
        // A grouped table sets its first section off from the top.
        if (section == 0 && tableView.style() == UIKit::UITableView::Style::grouped)
            return *height + 20.0;
        return *height;
    }
    std::shared_ptr<UIKit::UIView> viewForHeaderInSection(UIKit::UITableView& tableView, std::int64_t section) override
    {
        return m_sections[static_cast<std::size_t>(section)].dequeueUpdatedHeaderView(tableView);
    }
    UIKit::CGFloat heightForFooterInSection(UIKit::UITableView& tableView, std::int64_t section) override
    {
        auto height = m_sections[static_cast<std::size_t>(section)].heightForFooter(adjustedContentWidth(tableView));
        return height ? *height : UITableViewController::heightForFooterInSection(tableView, section);
    }
    std::shared_ptr<UIKit::UIView> viewForFooterInSection(UIKit::UITableView& tableView, std::int64_t section) override
    {
        return m_sections[static_cast<std::size_t>(section)].dequeueUpdatedFooterView(tableView);
    }
    UIKit::CGFloat estimatedHeightForRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath) override
    {
        const auto width = adjustedContentWidth(tableView);
        const auto& row = rowAt(indexPath);
        if (auto cached = m_itemHeightCache->height(row, width))
            return *cached;
        return row.estimatedHeight(width).value_or(UIKit::UITableView::automaticDimension);
    }
    UIKit::CGFloat heightForRowAt(UIKit::UITableView& tableView, const Foundation::IndexPath& indexPath) override
    {
        const auto width = adjustedContentWidth(tableView);
        const auto& row = rowAt(indexPath);
        if (auto cached = m_itemHeightCache->height(row, width))
            return *cached;
        if (auto required = row.heightRequired(width)) {
            m_itemHeightCache->set(*required, row, width);
            return *required;
        }
        return UIKit::UITableView::automaticDimension;
    }
    void willDisplay(UIKit::UITableView& tableView, UIKit::UITableViewCell& cell, const Foundation::IndexPath& indexPath) override
    {
        m_itemHeightCache->set(cell.bounds().size.height, rowAt(indexPath), adjustedContentWidth(tableView));
    }

protected:
    friend Foundation::Construct;
    explicit DiffableTableViewController(UIKit::UITableView::Style style)
        : UITableViewController(style)
        , m_log("app.basalwork.DiffableTableViewController", "CellHeight")
    {
    }
    // Built in code only.
    explicit DiffableTableViewController(Foundation::NSCoder& /*coder*/)
        : DiffableTableViewController(UIKit::UITableView::Style::plain)
    {
        Foundation::fatalError("init(coder:) has not been implemented");
    }

    void initialize() override
    {
        UITableViewController::initialize();
        m_itemHeightCache = Foundation::make<ItemHeightCache<Section>>(Foundation::NotificationCenter::defaultCenter());
        m_emptyTableMessageView = Foundation::make<EmptyTableMessageView>();
    }

private:
    // The row must exist: the table only asks for rows the sections hold.
    Item rowAt(const Foundation::IndexPath& indexPath) const
    {
        auto row = item(m_sections, indexPath);
        Foundation::precondition(static_cast<bool>(row), "No row at " + indexPath.description());
        return *row;
    }

    // The message sits half-way between the top and bottom content insets.
    virtual void updateEmtpyMessageViewLayout()
    {
        const auto inset = tableView()->contentInset();
        m_emptyTableMessageView->setCenterYOffset(0.5 * inset.top - 0.5 * inset.bottom);
    }

    // One appearance with the default background, for every bar height and scroll position.
    virtual void setupNavigation()
    {
        auto appearance = Foundation::make<UIKit::UINavigationBarAppearance>();
        appearance->configureWithDefaultBackground();
        auto item = navigationItem();
        item->setStandardAppearance(appearance);
        item->setCompactAppearance(appearance);
        item->setScrollEdgeAppearance(appearance);
    }

    virtual void setupTableView()
    {
        auto table = tableView();
        auto self = this->sharedSelf(this);
        table->setDataSource(std::static_pointer_cast<UIKit::UITableViewDataSource>(self));
        table->setDelegate(std::static_pointer_cast<UIKit::UITableViewDelegate>(self));
        Section::registerReusableViews(*table);
        Item::registerReusableViews(*table);
        table->setEstimatedSectionHeaderHeight(0);
        table->setEstimatedSectionFooterHeight(0);
        table->setRowHeight(UIKit::UITableView::automaticDimension);
        table->setKeyboardDismissMode(UIKit::UIScrollView::KeyboardDismissMode::interactive);
        table->setTableFooterView(Foundation::make<UIKit::UIView>());
    }

    virtual void setupEmptyTableMessageView()
    {
        loadViewIfNeeded();
        tableView()->setBackgroundView(m_emptyTableMessageView);
    }

    virtual void updateVisibleSectionHeadersAndFooters()
    {
        auto table = tableView();
        table->performBatchUpdates([&] {
            for (std::size_t s = 0; s < m_sections.size(); ++s) {
                if (auto header = table->headerView(static_cast<std::int64_t>(s)))
                    m_sections[s].updateHeaderView(*header);
                if (auto footer = table->footerView(static_cast<std::int64_t>(s)))
                    m_sections[s].updateFooterView(*footer);
            }
        });
    }

    // The index must exist; a section without rows has nothing to scroll to.
    virtual void scrollTo(std::int64_t sectionIndex, UIKit::UITableView::ScrollPosition position, bool animated)
    {
        if (!hasElements(m_sections[static_cast<std::size_t>(sectionIndex)].items()))
            return;
        loadViewIfNeeded();
        tableView()->scrollToRow(Foundation::IndexPath::withRow(0, sectionIndex), position, animated);
    }

    std::vector<Section> m_sections;
    std::shared_ptr<ItemHeightCache<Section>> m_itemHeightCache;
    std::shared_ptr<EmptyTableMessageView> m_emptyTableMessageView;
    Foundation::Logger m_log;
};

} // namespace Basalwork
