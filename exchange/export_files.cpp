#include "exchange/export_files.h"

#include <sys/stat.h>

#include <unordered_set>

namespace quillora {

namespace {

bool IsSafeFileChar(unsigned char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '-' || c == '&' || c == ' ' || c == '!';
}

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

}  // namespace

std::string SafeFileTitle(std::string_view title) {
    std::string safe(title);
    for (char& c : safe) {
        if (!IsSafeFileChar(static_cast<unsigned char>(c))) c = '_';
    }
    return safe;
}

std::string WithTrailingSeparator(std::string_view folder) {
    std::string out(folder);
    if (out.empty() || out.back() != '/') out += '/';
    return out;
}

std::vector<std::string> ExportFileNames(std::string_view folder,
                                         const std::vector<std::string>& titles) {
    std::vector<std::string> names;
    names.reserve(titles.size());
    // The folder is the same for every name, so the names are told apart by what follows it.
    std::unordered_set<std::string> taken;
    taken.reserve(titles.size() * 2);
    for (std::size_t i = 0; i < titles.size(); ++i) {
        const std::string safe = SafeFileTitle(titles[i]);
        std::string base = safe;
        if (taken.count(LowerAscii(base)) != 0) {
            base = safe + std::to_string(i + 1);
            const std::string numbered = base;
            for (int k = 2; taken.count(LowerAscii(base)) != 0; ++k) {
                base = numbered + "_" + std::to_string(k);
            }
        }
        taken.insert(LowerAscii(base));
        names.push_back(std::string(folder) + base + ".txt");
    }
    return names;
}

ReplaceStatus WriteTextFile(const std::string& path, std::string_view canonical_text,
                            const WriteFaults& faults) {
    // Exported files are copies of what the document holds: they are not synced one by one,
    // which would make an export of thousands of files many times slower.
    ReplaceOptions options;
    options.sync = false;
    options.remove_stale = false;
    return ReplaceFile(path, canonical_text, faults, options);
}

bool PathExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

ExportAllResult ExportAll(const NotesDocument& doc, const std::string& folder, bool overwrite,
                          const ExportAllCallbacks& callbacks, const ExportFaults& faults) {
    const std::vector<NodeId> order = doc.tree.DisplayOrder();
    std::vector<std::string> titles;
    titles.reserve(order.size());
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (callbacks.naming) callbacks.naming(static_cast<int>(i));
        titles.push_back(doc.tree.Title(order[i]));
    }
    const std::vector<std::string> names = ExportFileNames(folder, titles);

    ExportAllResult result;
    for (std::size_t i = 0; i < order.size(); ++i) {
        const int index = static_cast<int>(i);
        if (callbacks.writing) callbacks.writing(index, order[i]);
        const std::string& text = doc.TextOf(order[i]);
        bool write = !text.empty();
        if (write && !overwrite && PathExists(names[i])) {
            const OverwriteAnswer answer =
                callbacks.ask_overwrite ? callbacks.ask_overwrite(names[i]) : OverwriteAnswer::No;
            if (answer == OverwriteAnswer::Cancel) {
                result.end = ExportEnd::Cancelled;
                return result;
            }
            write = answer == OverwriteAnswer::Yes;
        }
        if (write) {
            const WriteFaults injected =
                result.written == faults.fail_file ? faults.faults : WriteFaults{};
            if (WriteTextFile(names[i], text, injected) != ReplaceStatus::Ok) {
                result.end = ExportEnd::WriteFailed;
                result.failed_path = names[i];
                return result;
            }
            ++result.written;
        }
        if (callbacks.handled) callbacks.handled(index);
    }
    return result;
}

}  // namespace quillora
