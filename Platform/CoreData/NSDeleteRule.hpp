#pragma once

namespace CoreData {

// What deleting an object does to the objects a relationship leads to: clear their link back to it,
// delete them too, or refuse the deletion (the save fails) while any remain.
enum class NSDeleteRule { nullify, cascade, deny };

} // namespace CoreData
