#include "Platform/UIKit/ViewDrawing.hpp"

#include "Platform/UIKit/UIColor.hpp"

namespace UIKit {
namespace {

// Drawing happens on the main thread only.
ViewDrawing* currentDrawing = nullptr;

} // namespace

ViewDrawing::ViewDrawing()
    : m_previous(currentDrawing)
{
    currentDrawing = this;
}

ViewDrawing::~ViewDrawing()
{
    currentDrawing = m_previous;
}

ViewDrawing* ViewDrawing::current()
{
    return currentDrawing;
}

} // namespace UIKit
