#pragma once

#include <string>
#include <vector>

namespace zorbel {

// The standard brush pictures in their fixed order: the stored "BrushIndex"
// is a position in this table, and the brush picker shows them in it.
const std::vector<std::string>& brushTable();

} // namespace zorbel
