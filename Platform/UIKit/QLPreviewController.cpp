#include "Platform/UIKit/QLPreviewController.hpp"

#include "Platform/Foundation/MethodTable.hpp"
#include "Platform/UIKit/QLPreviewControllerDataSource.hpp"
#include "Platform/UIKit/UIButton.hpp"
#include "Platform/UIKit/UIKeyCommand.hpp"
#include "Platform/UIKit/UILabel.hpp"
#include "Platform/UIKit/UIStackView.hpp"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>

namespace UIKit {
namespace {

// A text file is shown whole up to this size; a larger one shows how much of it is left out.
constexpr std::uintmax_t shownTextLimit = 64 * 1024;

std::optional<Foundation::String> textContents(const std::string& path, std::uintmax_t size)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string bytes(std::min(size, shownTextLimit), '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    // A cut may fall inside a character: drop the partial one.
    if (size > shownTextLimit)
        while (!bytes.empty() && (static_cast<unsigned char>(bytes.back()) & 0xC0) == 0x80)
            bytes.pop_back();
    if (size > shownTextLimit && !bytes.empty() && static_cast<unsigned char>(bytes.back()) >= 0xC0)
        bytes.pop_back();
    if (bytes.find('\0') != std::string::npos)
        return std::nullopt;
    auto text = Foundation::String::fromUTF8(bytes);
    if (text && size > shownTextLimit)
        text->append(Foundation::String("\n…"));
    return text;
}

Foundation::String fileSummary(const Foundation::URL& url, std::uintmax_t size)
{
    auto extension = url.pathExtension().utf8();
    std::ranges::transform(extension, extension.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    const auto type = extension.empty() ? std::string("Document") : extension + " file";
    return Foundation::String(url.lastPathComponent().utf8() + "\n" + std::to_string(size) + " bytes\n" + type);
}

} // namespace

void QLPreviewController::initialize()
{
    UIViewController::initialize();
    static std::once_flag registered;
    std::call_once(registered, [] { Foundation::MethodTable::add(Foundation::Selector("closePreview"), &QLPreviewController::close); });
}

void QLPreviewController::viewDidLoad()
{
    UIViewController::viewDidLoad();
    auto stack = Foundation::make<UIStackView>();
    stack->setAxis(NSLayoutConstraint::Axis::vertical);
    stack->setSpacing(20);
    m_label = Foundation::make<UILabel>();
    m_label->setNumberOfLines(0);
    m_label->setAccessibilityIdentifier(Foundation::String("QLPreviewContents"));
    auto done = Foundation::make<UIButton>();
    done->setTitle(Foundation::String("Done"), UIControl::State::normal());
    std::weak_ptr<QLPreviewController> weak = sharedSelf(this);
    done->addAction(
        [weak] {
            if (auto self = weak.lock())
                self->close();
        },
        UIControl::Event::primaryActionTriggered());
    stack->addArrangedSubview(m_label);
    stack->addArrangedSubview(done);
    stack->setTranslatesAutoresizingMaskIntoConstraints(false);
    view()->addSubview(stack);
    NSLayoutConstraint::activate({stack->leadingAnchor().constraintEqualTo(view()->leadingAnchor(), 20),
                                  stack->trailingAnchor().constraintEqualTo(view()->trailingAnchor(), -20),
                                  stack->topAnchor().constraintEqualTo(view()->topAnchor(), 20)});
    reloadData();
}

void QLPreviewController::viewDidAppear(bool animated)
{
    UIViewController::viewDidAppear(animated);
    becomeFirstResponder();
}

void QLPreviewController::reloadData()
{
    m_shownText.reset();
    auto source = dataSource();
    if (source && source->numberOfPreviewItems(*this) > 0) {
        const auto url = source->previewItemAt(*this, 0);
        std::error_code error;
        const auto size = std::filesystem::file_size(url.path().utf8(), error);
        if (!error)
            m_shownText = textContents(url.path().utf8(), size).value_or(fileSummary(url, size));
    }
    if (m_label)
        m_label->setText(m_shownText.value_or(Foundation::String("No file to preview")));
}

std::optional<std::vector<std::shared_ptr<UIKeyCommand>>> QLPreviewController::keyCommands() const
{
    return std::vector {Foundation::make<UIKeyCommand>(Foundation::String("Close"), Foundation::Selector("closePreview"), UIKeyCommand::inputEscape(),
                                                       UIKeyModifierFlags())};
}

void QLPreviewController::close()
{
    auto presenter = presentingViewController();
    if (!presenter || isBeingDismissed())
        return;
    presenter->dismiss(true);
}

void QLPreviewController::viewDidDisappear(bool animated)
{
    UIViewController::viewDidDisappear(animated);
    if (!isBeingDismissed() || m_hasReportedDismissal)
        return;
    m_hasReportedDismissal = true;
    if (auto delegate = this->delegate())
        delegate->previewControllerDidDismiss(*this);
}

} // namespace UIKit
