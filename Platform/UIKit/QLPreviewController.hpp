#pragma once

#include "Platform/Foundation/String.hpp"
#include "Platform/UIKit/UIViewController.hpp"

#include <memory>
#include <optional>

namespace UIKit {

class QLPreviewControllerDataSource;
class QLPreviewControllerDelegate;
class UILabel;

// A preview of the data source's first item: a text file shows its contents, any other file its name,
// size and type. Done or Escape closes it; however it goes (also when what presents it goes), the
// delegate hears of it once, when it has gone.
class QLPreviewController : public UIViewController {
public:
    std::shared_ptr<QLPreviewControllerDataSource> dataSource() const { return m_dataSource.lock(); }
    void setDataSource(const std::shared_ptr<QLPreviewControllerDataSource>& dataSource) { m_dataSource = dataSource; }
    std::shared_ptr<QLPreviewControllerDelegate> delegate() const { return m_delegate.lock(); }
    void setDelegate(const std::shared_ptr<QLPreviewControllerDelegate>& delegate) { m_delegate = delegate; }

    // What the preview shows now; none without an item.
    const std::optional<Foundation::String>& shownText() const { return m_shownText; }
    // Reads the item again.
    void reloadData();
    void close();

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;
    bool canBecomeFirstResponder() const override { return true; }
    std::optional<std::vector<std::shared_ptr<UIKeyCommand>>> keyCommands() const override;

protected:
    friend Foundation::Construct;
    QLPreviewController() = default;
    void initialize() override;

private:
    std::weak_ptr<QLPreviewControllerDataSource> m_dataSource;
    std::weak_ptr<QLPreviewControllerDelegate> m_delegate;
    std::shared_ptr<UILabel> m_label;
    std::optional<Foundation::String> m_shownText;
    bool m_hasReportedDismissal = false;
};

} // namespace UIKit
