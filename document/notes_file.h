#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_io.h"
#include "document/notes_document.h"

namespace quillora {

// Byte layout of a notes file: a 19-byte header, the record count, then one record per node in
// display order (depth, kind, 100-byte title field, text length, text bytes). Integers are
// signed 32-bit little-endian.
namespace notes_file {
constexpr std::size_t kHeaderSize = 19;
constexpr std::size_t kCountOffset = 19;
constexpr std::size_t kTitleFieldSize = 100;
constexpr std::size_t kRecordFixedSize = 112;  // depth, kind, title field, length
constexpr int32_t kMaxRecords = 4000;
// A longer stored text is cut to this many bytes when read; a longer text is cut to this many
// characters before it is written.
constexpr int32_t kMaxTextLength = 65498;
}  // namespace notes_file

// The path a document is known by: `path` made absolute against the working folder, with its
// "." and ".." steps taken out, so that it names the same file from any working folder later.
// Reading and writing give the document this path; the empty path stays empty.
std::string DocumentPath(const std::string& path);

// True when the file starts with the magic "QuilloraApp" and its zero byte. The version is not
// looked at; a file that cannot be opened or is shorter than the header is not a notes file.
bool IsNotesFile(const std::string& path);

enum class ReadStatus {
    Ok,
    CannotOpen,    // the file could not be opened or read
    NotNotesFile,  // wrong magic, or shorter than the header
    WrongVersion,  // right magic, version other than "1.0"
    Damaged,       // the records break the format's limits or the file ends inside one
};

struct ReadCallbacks {
    // Called once the header has been accepted and every record has been read and found sound,
    // before the tree is built. A file that turns out damaged never gets this call, so whatever
    // it triggers (recording the file as recently used) does not happen for such a file.
    std::function<void()> header_accepted;
    // Called with every record index that is a multiple of 10 (0 included), after that record.
    std::function<void(int)> progress;
};

// Reads a notes file into `doc`, which must be empty. On success record i has slot i, the tree
// is built as one bulk change, current_file_name is `path` and the document is unmodified. On
// any failure the document is left empty and untitled. Only a regular file is read; the file is
// streamed: each text is read straight into its own string. A successful read also removes the
// temporary files of earlier interrupted saves of the file.
ReadStatus ReadNotesFile(const std::string& path, NotesDocument& doc, const ReadCallbacks& cb = {});

// One record as the reader takes it from a file, before it is put into a document.
struct ReadRecord {
    int32_t depth = 0;
    int32_t kind = 0;
    std::string title;
    std::string text;
};

// A notes file read and checked before it is opened (while the window waits to open it), with
// the file's identity from before the read. Nothing of it shows in a document, the status bar or
// the re-open list until ReadNotesFile takes it.
struct PreparedNotesFile {
    std::string path;       // as DocumentPath gives it
    FileIdentity identity;  // exists == false when the file changed while it was read
    ReadStatus status = ReadStatus::CannotOpen;
    std::vector<ReadRecord> records;  // the sound records, all of them when status is Ok
    int32_t deepest = 0;
};

// Reads and checks the file at `path` without touching any document; safe on any thread.
PreparedNotesFile PrepareNotesFile(const std::string& path);

// ReadNotesFile that takes `prepared` when it was read from `path` and the file is still as it was
// then (same place, size, modification time and first bytes), and otherwise reads the file
// again. The callbacks are made as a read of the file makes them, in the same order.
ReadStatus ReadNotesFile(const std::string& path, NotesDocument& doc, const ReadCallbacks& cb,
                         PreparedNotesFile&& prepared);

// The same parser over bytes in memory. current_file_name is left empty on success.
ReadStatus ReadNotesBytes(std::string_view bytes, NotesDocument& doc, const ReadCallbacks& cb = {});

enum class WriteStatus { Ok, CannotWrite };

// Writes the whole document in display order. The caller has stored the pane's text first.
// Texts longer than 65498 characters are cut, in the file and (after a successful save) in
// memory. The file is replaced as one step (ReplaceFile), so a failure at any point leaves the
// old file as it was and the document unchanged (still modified). On success current_file_name
// is `path`, the document is unmodified, and the temporary files of earlier interrupted saves of
// the file are gone. A tree nested deeper than the reader accepts is not written.
WriteStatus WriteNotesFile(const std::string& path, NotesDocument& doc,
                           const std::function<void(int)>& progress = {});
WriteStatus WriteNotesFile(const std::string& path, NotesDocument& doc,
                           const std::function<void(int)>& progress, const WriteFaults& faults);

// True when the document's file was replaced or rewritten since the document read or last wrote
// it (another copy of the program, another program). An untitled document, or a file that is no
// longer there, has not changed: saving it loses nothing.
bool ChangedOnDisk(const NotesDocument& doc);

// One record as the file holds it, for writing a document that is not a NotesDocument (a
// snapshot taken for crash recovery).
struct NotesRecord {
    int32_t depth;
    int32_t kind;
    std::string_view title;
    std::string_view text;
};

// Writes a notes file of `records` (in display order) as one atomic replacement; texts are cut
// as when saving.
ReplaceStatus WriteNotesRecords(const std::string& path, const std::vector<NotesRecord>& records,
                                const WriteFaults& faults = {});

// The bytes WriteNotesFile would write, without touching the document (no cut is applied in
// memory). Empty when the tree cannot be written.
std::string NotesFileBytes(const NotesDocument& doc);

}  // namespace quillora
