#include "gui/icons/user_bitmap.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace quillora {

namespace {
// Qt's own limit on the memory of one decoded picture, in megabytes, while a user bitmap is read.
constexpr int kAllocationLimitMb = 80;

// Lowers Qt's allocation limit for one read and puts the earlier one back.
class AllocationLimit {
public:
    explicit AllocationLimit(int megabytes) : before_(QImageReader::allocationLimit()) {
        QImageReader::setAllocationLimit(qMin(before_ > 0 ? before_ : megabytes, megabytes));
    }
    ~AllocationLimit() { QImageReader::setAllocationLimit(before_); }
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;

private:
    int before_;
};
}  // namespace

UserBitmap DecodeUserBitmap(const QByteArray& bytes) {
    QByteArray data = bytes;
    QBuffer buffer(&data);
    if (!buffer.open(QIODevice::ReadOnly)) return {UserBitmapStatus::kDamaged, {}};
    QImageReader reader(&buffer, "bmp");
    reader.setDecideFormatFromContent(false);
    if (!reader.canRead()) return {UserBitmapStatus::kNotBitmap, {}};
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) return {UserBitmapStatus::kDamaged, {}};
    if (size.width() > kMaxUserBitmapSide || size.height() > kMaxUserBitmapSide) {
        return {UserBitmapStatus::kTooLarge, {}};
    }
    const AllocationLimit limit(kAllocationLimitMb);
    QImage image = reader.read();
    if (image.isNull()) return {UserBitmapStatus::kDamaged, {}};
    return {UserBitmapStatus::kOk, image};
}

UserBitmap ReadUserBitmap(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists() || !info.isFile())
        return {UserBitmapStatus::kNotFound, {}};
    if (info.size() > kMaxUserBitmapBytes) return {UserBitmapStatus::kTooLarge, {}};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {UserBitmapStatus::kNotFound, {}};
    // The file may have grown since it was measured: no more than the cap is read.
    const QByteArray bytes = file.read(kMaxUserBitmapBytes + 1);
    if (bytes.size() > kMaxUserBitmapBytes) return {UserBitmapStatus::kTooLarge, {}};
    return DecodeUserBitmap(bytes);
}

}  // namespace quillora
