#include "base/string_growth.h"

namespace quillora {

void ResizeForOverwrite(std::string& text, std::size_t n) {
#if defined(__cpp_lib_string_resize_and_overwrite)
    text.resize_and_overwrite(n, [](char*, std::size_t size) { return size; });
#else
    text.resize(n);
#endif
}

}  // namespace quillora
