// Drives the reader of the user's node bitmaps over arbitrary bytes. Besides memory errors it
// stops on a broken promise: a picture it accepts is a real picture within the size limits, and
// one it refuses comes without a picture.
#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "gui/icons/user_bitmap.h"

namespace {
void Check(bool condition) {
    if (!condition) std::abort();
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const quillora::UserBitmap bitmap = quillora::DecodeUserBitmap(bytes);
    if (bitmap.status == quillora::UserBitmapStatus::kOk) {
        Check(!bitmap.image.isNull());
        Check(bitmap.image.width() <= quillora::kMaxUserBitmapSide);
        Check(bitmap.image.height() <= quillora::kMaxUserBitmapSide);
    } else {
        Check(bitmap.image.isNull());
    }
    return 0;
}
