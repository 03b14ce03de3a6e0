#include "Platform/UIKit/UICollectionView.hpp"

#include "Platform/UIKit/UINib.hpp"

namespace UIKit {

UICollectionView::UICollectionView(const CGRect& frame, std::shared_ptr<UICollectionViewLayout> collectionViewLayout)
    : UIScrollView(frame)
    , m_layout(std::move(collectionViewLayout))
{
}

void UICollectionView::registerCell(const std::shared_ptr<UINib>& nib, const Foundation::String& forCellWithReuseIdentifier)
{
    m_cellFactories[forCellWithReuseIdentifier] = [nib]() -> std::shared_ptr<UICollectionViewCell> {
        auto objects = nib->instantiate(nullptr);
        return objects.empty() ? nullptr : std::dynamic_pointer_cast<UICollectionViewCell>(objects.front());
    };
}

std::shared_ptr<UICollectionViewCell> UICollectionView::dequeueReusableCell(const Foundation::String& withReuseIdentifier,
                                                                            const Foundation::IndexPath&)
{
    auto factory = m_cellFactories.find(withReuseIdentifier);
    if (factory == m_cellFactories.end())
        return nullptr;
    auto cell = factory->second();
    if (cell)
        cell->m_reuseIdentifier = withReuseIdentifier;
    return cell;
}

void UICollectionView::initialize()
{
    UIScrollView::initialize();
    setCollectionViewLayout(m_layout);
}

void UICollectionView::setCollectionViewLayout(std::shared_ptr<UICollectionViewLayout> layout)
{
    m_layout = std::move(layout);
    if (m_layout) {
        m_layout->m_collectionView = sharedSelf(this);
        m_layout->invalidateLayout();
    }
}

void UICollectionView::setDataSource(std::weak_ptr<UICollectionViewDataSource> dataSource)
{
    m_dataSource = std::move(dataSource);
    reloadData();
}

void UICollectionView::setDelegate(std::weak_ptr<UICollectionViewDelegateFlowLayout> delegate)
{
    m_delegate = std::move(delegate);
    reloadData();
}

std::int64_t UICollectionView::numberOfSections() const
{
    auto source = m_dataSource.lock();
    return source ? source->numberOfSections(*this) : 0;
}

std::int64_t UICollectionView::numberOfItems(std::int64_t inSection) const
{
    auto source = m_dataSource.lock();
    if (!source || inSection < 0 || inSection >= numberOfSections())
        return 0;
    return source->numberOfItemsInSection(*this, inSection);
}

void UICollectionView::reloadData()
{
    if (m_layout)
        m_layout->invalidateLayout();
}

} // namespace UIKit
