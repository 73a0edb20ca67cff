#pragma once

#include <QImage>
#include <QString>

namespace quillora {

// Reading a bitmap file the user names for a node image. Only Windows bitmaps are read, and only
// files of a sensible size whose pictures are of sensible dimensions, so a damaged or hostile
// file can neither stall the program nor exhaust its memory.
enum class UserBitmapStatus {
    kOk,
    kNotFound,   // no file of that name, or not a regular file
    kTooLarge,   // the file, or the picture it claims to hold, is too large
    kNotBitmap,  // not a Windows bitmap
    kDamaged,    // a bitmap that cannot be decoded
};

struct UserBitmap {
    UserBitmapStatus status = UserBitmapStatus::kNotFound;
    QImage image;  // null unless status is kOk
};

// The largest file and the largest picture accepted.
inline constexpr qint64 kMaxUserBitmapBytes = qint64{16} << 20;
inline constexpr int kMaxUserBitmapSide = 4096;

UserBitmap ReadUserBitmap(const QString& path);

// Reads a bitmap from bytes in memory under the same limits (the file's own check of its size
// aside).
UserBitmap DecodeUserBitmap(const QByteArray& bytes);

}  // namespace quillora
