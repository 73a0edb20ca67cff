// Reads arbitrary bytes as the info file of a recovery copy. Besides memory errors it stops when
// an info that was accepted does not come back the same after being written out again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "document/recovery_store.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::optional<quillora::RecoveryInfo> info = quillora::ParseRecoveryInfo(bytes);
    if (!info) return 0;
    const std::optional<quillora::RecoveryInfo> again =
        quillora::ParseRecoveryInfo(quillora::FormatRecoveryInfo(*info));
    if (!again || again->document_path != info->document_path ||
        again->written_at != info->written_at || !(again->base == info->base)) {
        std::abort();
    }
    return 0;
}
