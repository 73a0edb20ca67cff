#include "document/notes_file.h"

#include <sys/uio.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <utility>
#include <vector>

#include "base/file_io.h"
#include "base/string_growth.h"

namespace quillora {

namespace {

using notes_file::kHeaderSize;
using notes_file::kMaxRecords;
using notes_file::kMaxTextLength;
using notes_file::kRecordFixedSize;
using notes_file::kTitleFieldSize;

constexpr char kMagic[12] = {'Q', 'u', 'i', 'l', 'l', 'o', 'r', 'a', 'A', 'p', 'p', '\0'};
constexpr std::size_t kVersionOffset = 13;
constexpr char kVersion[4] = {'1', '.', '0', '\0'};

int32_t GetInt32(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    const uint32_t v =
        uint32_t{u[0]} | uint32_t{u[1]} << 8 | uint32_t{u[2]} << 16 | uint32_t{u[3]} << 24;
    return static_cast<int32_t>(v);
}

void PutInt32(char* p, int32_t value) {
    const auto v = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// ---------------------------------------------------------------------------------------------
// Reading

// Sequential input for the parser. Read and Skip answer false when the input ends first or
// cannot be read; failed() tells the two apart.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual bool Read(char* dest, std::size_t n) = 0;
    virtual bool Skip(std::size_t n) = 0;
    virtual bool failed() const { return false; }
};

class MemorySource final : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : rest_(bytes) {}
    bool Read(char* dest, std::size_t n) override {
        if (n > rest_.size()) return false;
        if (n > 0) std::memcpy(dest, rest_.data(), n);
        rest_.remove_prefix(n);
        return true;
    }
    bool Skip(std::size_t n) override {
        if (n > rest_.size()) return false;
        rest_.remove_prefix(n);
        return true;
    }

private:
    std::string_view rest_;
};

// Streams a file through a lookahead buffer. When the buffer runs dry during a read, one readv
// fills the caller's destination directly and the buffer with what follows, so the bulk of a
// text is copied once, from the kernel straight into its string. After a long read only a short
// stretch is read ahead: enough for the next record's fixed part and the start of its text, so
// that a long text after it, too, goes straight into its string instead of through the buffer.
// It reads no more than the file's size when it was opened.
class FileSource final : public ByteSource {
public:
    static constexpr std::size_t kBufferSize = 64 * 1024;
    static constexpr std::size_t kLongRead = 4 * 1024;
    static constexpr std::size_t kShortLookahead = 512;

    explicit FileSource(InputFile& file)
        : file_(file), remaining_(file.size()), buffer_(new char[kBufferSize]) {}

    bool Read(char* dest, std::size_t n) override {
        const std::size_t from_buffer = std::min(n, end_ - pos_);
        if (from_buffer > 0) {
            std::memcpy(dest, buffer_.get() + pos_, from_buffer);
            pos_ += from_buffer;
            dest += from_buffer;
            n -= from_buffer;
        }
        while (n > 0) {
            if (remaining_ < n) return false;
            const std::size_t wanted_ahead = n >= kLongRead ? kShortLookahead : kBufferSize;
            const std::size_t ahead =
                static_cast<std::size_t>(std::min<std::uint64_t>(wanted_ahead, remaining_ - n));
            iovec parts[2] = {{dest, n}, {buffer_.get(), ahead}};
            const ssize_t got = ::readv(file_.fd(), parts, ahead > 0 ? 2 : 1);
            if (got < 0) {
                if (errno == EINTR) continue;
                failed_ = true;
                return false;
            }
            if (got == 0) return false;
            const auto g = static_cast<std::size_t>(got);
            remaining_ -= g;
            if (g <= n) {
                dest += g;
                n -= g;
            } else {
                pos_ = 0;
                end_ = g - n;
                n = 0;
            }
        }
        return true;
    }

    bool Skip(std::size_t n) override {
        while (n > 0) {
            if (pos_ == end_ && !Refill()) return false;
            const std::size_t step = std::min(n, end_ - pos_);
            pos_ += step;
            n -= step;
        }
        return true;
    }

    bool failed() const override { return failed_; }

private:
    bool Refill() {
        const auto wanted =
            static_cast<std::size_t>(std::min<std::uint64_t>(kBufferSize, remaining_));
        if (wanted == 0) return false;
        const std::int64_t got = file_.ReadSome(buffer_.get(), wanted);
        if (got < 0) failed_ = true;
        if (got <= 0) return false;
        remaining_ -= static_cast<std::uint64_t>(got);
        pos_ = 0;
        end_ = static_cast<std::size_t>(got);
        return true;
    }

    InputFile& file_;
    std::uint64_t remaining_;
    std::unique_ptr<char[]> buffer_;
    std::size_t pos_ = 0;
    std::size_t end_ = 0;
    bool failed_ = false;
};

// Reads every record and checks it against the format's limits, before any document is
// touched, so a damaged file leaves nothing behind. `records` holds the sound records read.
// NOLINTNEXTLINE(readability-function-size): one pass over the records, each check beside its field
ReadStatus ParseRecords(ByteSource& src, PreparedNotesFile& out,
                        const std::function<void(int)>& progress) {
    const auto ended = [&src] {
        return src.failed() ? ReadStatus::CannotOpen : ReadStatus::Damaged;
    };

    char header[kHeaderSize];
    if (!src.Read(header, kHeaderSize)) {
        return src.failed() ? ReadStatus::CannotOpen : ReadStatus::NotNotesFile;
    }
    if (std::memcmp(header, kMagic, sizeof kMagic) != 0) return ReadStatus::NotNotesFile;
    if (std::memcmp(header + kVersionOffset, kVersion, sizeof kVersion) != 0) {
        return ReadStatus::WrongVersion;
    }

    char count_bytes[4];
    if (!src.Read(count_bytes, 4)) return ended();
    const int32_t count = GetInt32(count_bytes);
    if (count < 0 || count > kMaxRecords) return ReadStatus::Damaged;

    std::vector<ReadRecord>& records = out.records;
    records.reserve(static_cast<std::size_t>(count));
    int32_t previous_depth = -1;
    for (int32_t i = 0; i < count; ++i) {
        char fixed[kRecordFixedSize];
        if (!src.Read(fixed, kRecordFixedSize)) return ended();
        const int32_t depth = GetInt32(fixed);
        const int32_t kind = GetInt32(fixed + 4);
        const char* title = fixed + 8;
        const int32_t length = GetInt32(fixed + 8 + kTitleFieldSize);
        const void* title_end = std::memchr(title, '\0', kTitleFieldSize);
        if (depth < 0 || depth > kMaxDepth || depth > previous_depth + 1 || title_end == nullptr ||
            length < 0) {
            return ReadStatus::Damaged;
        }
        const int32_t kept = std::min(length, kMaxTextLength);
        ReadRecord record{depth, kind, std::string(title, static_cast<const char*>(title_end)), {}};
        // The text is read straight into its string; zero-filling it first would be wasted.
        ResizeForOverwrite(record.text, static_cast<std::size_t>(kept));
        if (!src.Read(record.text.data(), record.text.size())) return ended();
        if (length > kept && !src.Skip(static_cast<std::size_t>(length - kept))) return ended();
        line_text::MakeCanonical(record.text);
        records.push_back(std::move(record));
        previous_depth = depth;
        out.deepest = std::max(out.deepest, depth);
        if (i % 10 == 0 && progress) progress(i);
    }
    return ReadStatus::Ok;
}

// Puts the records of a sound file into the empty `doc`, record i in slot i, as one bulk change.
void BuildDocument(PreparedNotesFile& parsed, NotesDocument& doc) {
    std::vector<ReadRecord>& records = parsed.records;
    doc.tree.BulkChange([&] {
        std::vector<NodeId> last_at_depth(static_cast<std::size_t>(parsed.deepest) + 1, kNoNode);
        for (std::size_t i = 0; i < records.size(); ++i) {
            ReadRecord& record = records[i];
            const auto depth = static_cast<std::size_t>(record.depth);
            const NodeId parent = depth == 0 ? kNoNode : last_at_depth[depth - 1];
            const int32_t image = record.kind == kFolder ? doc.images.folder : doc.images.note;
            const auto slot = static_cast<int32_t>(i);
            last_at_depth[depth] =
                doc.tree.Append(parent, record.title, NodeData{record.kind, slot}, image);
            doc.texts.Occupy(slot, {});
            doc.texts.SetCanonicalText(slot, std::move(record.text));
        }
    });
    records.clear();
    doc.modified = false;
}

// Hands a parse's outcome to `doc`: a sound file after the header_accepted call, anything else
// as an empty document.
ReadStatus Finish(PreparedNotesFile& parsed, NotesDocument& doc, const ReadCallbacks& cb) {
    if (parsed.status != ReadStatus::Ok) {
        doc.Close();
        return parsed.status;
    }
    if (cb.header_accepted) cb.header_accepted();
    BuildDocument(parsed, doc);
    return ReadStatus::Ok;
}

ReadStatus ReadInto(ByteSource& src, NotesDocument& doc, const ReadCallbacks& cb) {
    PreparedNotesFile parsed;
    parsed.status = ParseRecords(src, parsed, cb.progress);
    return Finish(parsed, doc, cb);
}

// ---------------------------------------------------------------------------------------------
// Writing

class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool Write(const char* data, std::size_t n) = 0;
};

class StringSink final : public ByteSink {
public:
    bool Write(const char* data, std::size_t n) override {
        out.append(data, n);
        return true;
    }
    std::string out;
};

// Output into the temporary file of a replacement.
class ReplacementSink final : public ByteSink {
public:
    explicit ReplacementSink(ReplacementWriter& writer) : writer_(writer) {}
    bool Write(const char* data, std::size_t n) override { return writer_.Write(data, n); }

private:
    ReplacementWriter& writer_;
};

struct CutText {
    int32_t slot;
    std::string text;
};

bool WriteHeader(ByteSink& sink, int count) {
    char head[kHeaderSize + 4] = {};
    std::memcpy(head, kMagic, sizeof kMagic);
    std::memcpy(head + kVersionOffset, kVersion, sizeof kVersion);
    PutInt32(head + kHeaderSize, count);
    return sink.Write(head, sizeof head);
}

// Writes one record. A text longer than the limit is written cut; the cut text is left in `cut`.
bool WriteRecord(ByteSink& sink, const NotesRecord& record, std::string& cut) {
    char fixed[kRecordFixedSize] = {};
    PutInt32(fixed, record.depth);
    PutInt32(fixed + 4, record.kind);
    // The field is zero-filled: the title's end is the zero after it.
    std::copy_n(record.title.data(), std::min(record.title.size(), kMaxTitleLength), fixed + 8);
    std::string_view text = record.text;
    if (text.size() > static_cast<std::size_t>(kMaxTextLength)) {
        cut = line_text::Canonical(text.substr(0, kMaxTextLength));
        text = cut;
    }
    PutInt32(fixed + 8 + kTitleFieldSize, static_cast<int32_t>(text.size()));
    return sink.Write(fixed, sizeof fixed) && sink.Write(text.data(), text.size());
}

// Writes the document's bytes to `sink`. Texts longer than the limit are written cut, and the
// cut texts are handed back in `cuts` so that the caller can apply them once the save succeeds.
bool Serialize(const NotesDocument& doc, ByteSink& sink, const std::function<void(int)>& progress,
               std::vector<CutText>* cuts) {
    const int count = doc.tree.Count();
    if (count > kMaxRecords) return false;
    bool ok = WriteHeader(sink, count);

    int index = 0;
    doc.tree.ForEachInDisplayOrder([&](NodeId node, int depth) {
        if (!ok) return;
        // A deeper node could be written, but not read back: refuse rather than make a file
        // that cannot be opened.
        if (depth > kMaxDepth) {
            ok = false;
            return;
        }
        const NodeData& data = doc.tree.Data(node);
        std::string cut;
        ok = WriteRecord(
            sink, {depth, data.Kind, doc.tree.Title(node), doc.texts.TextOf(data.TextIndex)}, cut);
        if (!cut.empty() && cuts != nullptr) cuts->push_back({data.TextIndex, std::move(cut)});
        if (ok && index % 10 == 0 && progress) progress(index);
        ++index;
    });
    return ok;
}

// A notes file that the writer can produce is at most 4000 records of 112 bytes and a text of up
// to 65,500 bytes; one of another program may hold somewhat longer texts, which are cut when read.
// A file far beyond that is no notes file to load whole.
constexpr std::uint64_t kMaxNotesFileBytes = std::uint64_t{512} << 20;

}  // namespace

std::string DocumentPath(const std::string& path) {
    if (path.empty()) return path;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) return path;
    return absolute.lexically_normal().string();
}

bool IsNotesFile(const std::string& path) {
    InputFile file = InputFile::Open(path, kMaxNotesFileBytes);
    if (!file.ok()) return false;
    FileSource src(file);
    char header[kHeaderSize];
    return src.Read(header, kHeaderSize) && std::memcmp(header, kMagic, sizeof kMagic) == 0;
}

namespace {

// The document now holds the file at `path`, as it was when `identity` was taken.
void TakeFileName(const std::string& path, const FileIdentity& identity, NotesDocument& doc) {
    doc.current_file_name = DocumentPath(path);
    doc.disk_identity = identity;
    // Whatever saves of this file were cut short (a killed program, a lost power) left their
    // temporary files here; nothing will ever finish them.
    RemoveStaleTemporaries(path);
}

}  // namespace

ReadStatus ReadNotesFile(const std::string& path, NotesDocument& doc, const ReadCallbacks& cb) {
    InputFile file = InputFile::Open(path, kMaxNotesFileBytes);
    if (!file.ok()) {
        doc.Close();
        return ReadStatus::CannotOpen;
    }
    FileSource src(file);
    const ReadStatus status = ReadInto(src, doc, cb);
    if (status == ReadStatus::Ok) TakeFileName(path, IdentifyFile(path), doc);
    return status;
}

PreparedNotesFile PrepareNotesFile(const std::string& path) {
    PreparedNotesFile prepared;
    prepared.path = DocumentPath(path);
    const FileIdentity before = IdentifyFile(path);
    InputFile file = InputFile::Open(path, kMaxNotesFileBytes);
    if (!file.ok()) return prepared;
    FileSource src(file);
    prepared.status = ParseRecords(src, prepared, {});
    // A file replaced or rewritten while it was read is read again when it is opened.
    if (IdentifyFile(path) == before) prepared.identity = before;
    return prepared;
}

ReadStatus ReadNotesFile(const std::string& path, NotesDocument& doc, const ReadCallbacks& cb,
                         PreparedNotesFile&& prepared) {
    // A read that failed part way may not fail again; only a verdict on the bytes is kept.
    const bool current = prepared.identity.exists && prepared.status != ReadStatus::CannotOpen &&
                         prepared.path == DocumentPath(path) &&
                         IdentifyFile(path) == prepared.identity;
    if (!current) return ReadNotesFile(path, doc, cb);
    if (cb.progress) {
        for (std::size_t i = 0; i < prepared.records.size(); i += 10) {
            cb.progress(static_cast<int>(i));
        }
    }
    const ReadStatus status = Finish(prepared, doc, cb);
    if (status == ReadStatus::Ok) TakeFileName(path, prepared.identity, doc);
    return status;
}

ReadStatus ReadNotesBytes(std::string_view bytes, NotesDocument& doc, const ReadCallbacks& cb) {
    MemorySource src(bytes);
    return ReadInto(src, doc, cb);
}

WriteStatus WriteNotesFile(const std::string& path, NotesDocument& doc,
                           const std::function<void(int)>& progress) {
    return WriteNotesFile(path, doc, progress, WriteFaults{});
}

WriteStatus WriteNotesFile(const std::string& path, NotesDocument& doc,
                           const std::function<void(int)>& progress, const WriteFaults& faults) {
    std::vector<CutText> cuts;
    const ReplaceStatus status = ReplaceFile(
        path,
        [&](ReplacementWriter& writer) {
            ReplacementSink sink(writer);
            return Serialize(doc, sink, progress, &cuts);
        },
        faults);
    if (status != ReplaceStatus::Ok) return WriteStatus::CannotWrite;
    for (CutText& cut : cuts) doc.texts.SetCanonicalText(cut.slot, std::move(cut.text));
    doc.current_file_name = DocumentPath(path);
    doc.disk_identity = IdentifyFile(path);
    doc.modified = false;
    return WriteStatus::Ok;
}

std::string NotesFileBytes(const NotesDocument& doc) {
    StringSink sink;
    if (!Serialize(doc, sink, {}, nullptr)) return {};
    return std::move(sink.out);
}

}  // namespace quillora

namespace quillora {

bool ChangedOnDisk(const NotesDocument& doc) {
    if (doc.IsUntitled()) return false;
    const FileIdentity now = IdentifyFile(doc.current_file_name);
    return now.exists && now != doc.disk_identity;
}

ReplaceStatus WriteNotesRecords(const std::string& path, const std::vector<NotesRecord>& records,
                                const WriteFaults& faults) {
    if (records.size() > static_cast<std::size_t>(kMaxRecords)) return ReplaceStatus::WriteFailed;
    return ReplaceFile(
        path,
        [&](ReplacementWriter& writer) {
            ReplacementSink sink(writer);
            bool ok = WriteHeader(sink, static_cast<int>(records.size()));
            std::string cut;
            for (const NotesRecord& record : records) {
                if (!ok) break;
                if (record.depth < 0 || record.depth > kMaxDepth) return false;
                ok = WriteRecord(sink, record, cut);
            }
            return ok;
        },
        faults);
}

}  // namespace quillora
