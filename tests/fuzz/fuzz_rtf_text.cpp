// Reads arbitrary bytes as a rich-text document. Besides memory errors and hangs it stops on a
// broken promise: the text holds line breaks only as CR LF pairs, the reader stops soon after
// the limit, and the note made from it is canonical and within what a note holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "document/text_store.h"
#include "exchange/import_file.h"
#include "exchange/rtf_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    constexpr std::size_t kLimit = 64;
    const std::string text = quillora::RtfToText(bytes, kLimit);
    if (text.size() > kLimit + 2) std::abort();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')) std::abort();
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) std::abort();
    }
    const std::string note = quillora::NoteTextOfBytes(bytes, true);
    if (!quillora::line_text::IsCanonical(note)) std::abort();
    if (note.size() > quillora::kMaxImportLength + 2) std::abort();
    return 0;
}
