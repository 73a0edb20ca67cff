#include "base/string_growth.h"

namespace quillora {

void ResizeForOverwrite(std::string& text, std::size_t n) {
#if defined(__cpp_lib_string_resize_and_overwrite)
    // The length is `n` whatever size the library hands over: GCC 12's library hands over the
    // new capacity when the string grows past its inline buffer.
    text.resize_and_overwrite(n, [n](char*, std::size_t) { return n; });
#else
    text.resize(n);
#endif
}

}  // namespace quillora
