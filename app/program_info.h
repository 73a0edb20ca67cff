#pragma once

namespace quillora {

// The version the program shows: the project's version, set in CMake.
inline constexpr char kVersionText[] = QUILLORA_VERSION_TEXT;

// The product's home page, opened in the web browser; set when configuring the build
// (-DQUILLORA_HOME_PAGE=...).
inline constexpr char kHomePageAddress[] = QUILLORA_HOME_PAGE_ADDRESS;

}  // namespace quillora
