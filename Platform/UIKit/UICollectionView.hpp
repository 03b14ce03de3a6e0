#pragma once

#include "Platform/UIKit/UICollectionViewDataSource.hpp"
#include "Platform/UIKit/UICollectionViewDelegateFlowLayout.hpp"
#include "Platform/UIKit/UICollectionViewLayout.hpp"
#include "Platform/UIKit/UIScrollView.hpp"

#include "Platform/Foundation/IndexPath.hpp"
#include "Platform/Foundation/String.hpp"

#include <cstdint>
#include <functional>
#include <memory>
#include <unordered_map>

namespace UIKit {

class UICollectionViewCell;
class UINib;

// A scroll view of items placed by its layout. Only counts and geometry are modelled: the view shows no
// cells of its own; it makes them when its data source dequeues them.
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

    // register(_:forCellWithReuseIdentifier:), by class or with a nib whose first top-level object is the
    // cell. Registering an identifier again replaces what it makes.
    template <class Cell>
    void registerCell(const Foundation::String& forCellWithReuseIdentifier)
    {
        m_cellFactories[forCellWithReuseIdentifier] = [] {
            return std::shared_ptr<UICollectionViewCell>(Foundation::make<Cell>());
        };
    }
    void registerCell(const std::shared_ptr<UINib>& nib, const Foundation::String& forCellWithReuseIdentifier);
    // dequeueReusableCell(withReuseIdentifier:for:): a new cell of the registered kind; nothing for an
    // identifier never registered, or a nib whose first object is no cell.
    std::shared_ptr<UICollectionViewCell> dequeueReusableCell(const Foundation::String& withReuseIdentifier,
                                                              const Foundation::IndexPath& for_);

protected:
    friend Foundation::Construct;
    UICollectionView(const CGRect& frame, std::shared_ptr<UICollectionViewLayout> collectionViewLayout);
    void initialize() override;

private:
    std::shared_ptr<UICollectionViewLayout> m_layout;
    std::weak_ptr<UICollectionViewDataSource> m_dataSource;
    std::weak_ptr<UICollectionViewDelegateFlowLayout> m_delegate;
    std::unordered_map<Foundation::String, std::function<std::shared_ptr<UICollectionViewCell>()>> m_cellFactories;
};

} // namespace UIKit

#include "Platform/UIKit/UICollectionViewCell.hpp"
