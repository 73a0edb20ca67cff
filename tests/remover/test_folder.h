#pragma once

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "remover/removal.h"

namespace quillora::remover::testing {

// A fresh folder under the system's temporary folder, removed at the end of the test.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

private:
    std::filesystem::path path_;
};

void WriteFile(const std::filesystem::path& path, std::string_view bytes = "x");
std::string ReadFile(const std::filesystem::path& path);

// Every file, link and folder below `root`, as paths relative to it ("a", "a/b.txt").
std::set<std::string> TreeBelow(const std::filesystem::path& root);

// Answers the question from a preset and records every call in order.
class ScriptedRemoverUi : public RemoverUi {
public:
    explicit ScriptedRemoverUi(bool answer_yes) : answer_yes_(answer_yes) {}
    bool AskToRemove(std::string_view text) override;
    void ShowDone(std::string_view text) override;
    void OpenFolder(const std::filesystem::path& folder) override;

    std::vector<std::string> calls;  // "ask:<text>", "done:<text>", "open:<path>"

private:
    bool answer_yes_;
};

}  // namespace quillora::remover::testing
