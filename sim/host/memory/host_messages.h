#pragma once

// Outlook's own wording of the failures the in-memory Outlook reports.
namespace qor::host::memory::messages {

inline constexpr const char* kIndexOutOfBounds = "Array index out of bounds.";
inline constexpr const char* kObjectNotFound = "The attempted operation failed.  An object could not be found.";
inline constexpr const char* kItemMovedOrDeleted = "The item has been moved or deleted.";
inline constexpr const char* kCannotOpenItem = "Could not open the item. Try again.";
inline constexpr const char* kCannotMoveItems = "Cannot move the items.";
inline constexpr const char* kOperationFailed = "The operation failed.";
inline constexpr const char* kInvalidParameter =
    "Could not complete the operation. One or more parameter values are not valid.";

}  // namespace qor::host::memory::messages
