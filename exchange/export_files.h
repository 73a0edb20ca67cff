#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "base/file_io.h"
#include "document/notes_document.h"

namespace quillora {

// A title as a file name: every character that is not an ASCII letter or digit, "_", "-", "&",
// " " or "!" becomes "_" (every byte from 128 to 255 among them). The length stays.
std::string SafeFileTitle(std::string_view title);

// The file of every title, in the order given: `folder` (ending with its separator) + the safe
// title + ".txt". A name already given (compared without regard to case) gets the title's
// ordinal (1 for the first) after the safe title; when that name too is taken, "_2", "_3" ...
// follow until it is free, so no two files are ever the same.
std::vector<std::string> ExportFileNames(std::string_view folder,
                                         const std::vector<std::string>& titles);

// `folder` with the separator at its end that the names are appended to.
std::string WithTrailingSeparator(std::string_view folder);

// Writes a text file holding exactly `canonical_text` (Windows-1252, every line ended by CR
// LF). It is written under a temporary name beside the target and renamed over it, so a
// failure leaves no half-written file, and a pipe or device of that name is replaced, never
// opened.
ReplaceStatus WriteTextFile(const std::string& path, std::string_view canonical_text,
                            const WriteFaults& faults = {});

// Whether something of that name exists (a file, a folder, a pipe ...).
bool PathExists(const std::string& path);

enum class OverwriteAnswer { Yes, No, Cancel };

// What the export of all nodes tells its window, and asks it.
struct ExportAllCallbacks {
    // Before the i-th node (from 0) gets its name, and before it is written.
    std::function<void(int index)> naming;
    std::function<void(int index, NodeId node)> writing;
    // After the node's file is written, skipped or left out for its empty text.
    std::function<void(int index)> handled;
    // The node's file exists and Overwrite Files is off: write it (Yes), skip the node (No) or
    // end the export (Cancel). Without an answer, the file is skipped.
    std::function<OverwriteAnswer(const std::string& path)> ask_overwrite;
};

enum class ExportEnd { Finished, Cancelled, WriteFailed };

struct ExportAllResult {
    ExportEnd end = ExportEnd::Finished;
    std::string failed_path;  // the file that could not be written
    int written = 0;
};

// Injected failures: the `fail_file`-th file written (from 0) fails with `faults`.
struct ExportFaults {
    int fail_file = -1;
    WriteFaults faults;
};

// Writes every node of `doc` with a non-empty text to its own file in `folder` (ending with its
// separator), named by ExportFileNames over the titles in display order; all names are made
// before the first file is written. The caller has stored the pane's text. A file that cannot
// be written ends the export at once; the files written before it stay.
ExportAllResult ExportAll(const NotesDocument& doc, const std::string& folder, bool overwrite,
                          const ExportAllCallbacks& callbacks, const ExportFaults& faults = {});

}  // namespace quillora
