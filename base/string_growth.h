#pragma once

#include <cstddef>
#include <string>

namespace quillora {

// Makes `text` `n` bytes long without zero-filling the new bytes when the standard library
// allows it; the caller overwrites them at once (a read straight into the string). Where the
// library cannot leave them unset, they are zero-filled as by resize.
void ResizeForOverwrite(std::string& text, std::size_t n);

}  // namespace quillora
