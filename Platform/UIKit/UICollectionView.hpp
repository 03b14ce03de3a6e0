#pragma once

#include "Platform/UIKit/UICollectionViewDataSource.hpp"
#include "Platform/UIKit/UICollectionViewDelegateFlowLayout.hpp"
#include "Platform/UIKit/UICollectionViewLayout.hpp"
#include "Platform/UIKit/UIScrollView.hpp"

#include <cstdint>
#include <memory>

namespace UIKit {

// A scroll view of items placed by its layout. Only counts and geometry are modelled: no cells are made.
class UICollectionView : public UIScrollView {
public:
    const std::shared_ptr<UICollectionViewLayout>& collectionViewLayout() const { return m_layout; }
    void setCollectionViewLayout(std::shared_ptr<UICollectionViewLayout> layout);

    std::weak_ptr<UICollectionViewDataSource> dataSource() const { return m_dataSource; }
    void setDataSource(std::weak_ptr<UICollectionViewDataSource> dataSource);
    std::weak_ptr<UICollectionViewDelegateFlowLayout> delegate() const { return m_delegate; }
    void setDelegate(std::weak_ptr<UICollectionViewDelegateFlowLayout> delegate);

    // Counts from the data source; none without one.
    std::int64_t numberOfSections() const;
    std::int64_t numberOfItems(std::int64_t inSection) const;
    // Asks the layout again.
    void reloadData();

protected:
    friend Foundation::Construct;
    UICollectionView(const CGRect& frame, std::shared_ptr<UICollectionViewLayout> collectionViewLayout);
    void initialize() override;

private:
    std::shared_ptr<UICollectionViewLayout> m_layout;
    std::weak_ptr<UICollectionViewDataSource> m_dataSource;
    std::weak_ptr<UICollectionViewDelegateFlowLayout> m_delegate;
};

} // namespace UIKit
