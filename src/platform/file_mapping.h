#pragma once
// What FileBytes asks of the system's part of MapWholeFile about a mapping it holds.

#include "platform/file_bytes.h"

namespace luma {

// Whether the mapping's guard stood zeros in for pages the file lost.
bool MappingChangedUnderneath(const FileMapping& mapping) noexcept;

}  // namespace luma
