#include "test_folder.h"

#include <iterator>
#include <random>
#include <stdexcept>

namespace quillora::remover::testing {

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate =
            fs::temp_directory_path() / ("quillrid-test-" + std::to_string(random()));
        if (fs::create_directory(candidate)) {
            path_ = candidate;
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary folder");
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void WriteFile(const fs::path& path, std::string_view bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::set<std::string> TreeBelow(const fs::path& root) {
    std::set<std::string> entries;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(root, error);
         !error && it != fs::recursive_directory_iterator(); it.increment(error)) {
        entries.insert(it->path().lexically_relative(root).generic_string());
    }
    return entries;
}

bool ScriptedRemoverUi::AskToRemove(std::string_view text) {
    calls.push_back("ask:" + std::string(text));
    return answer_yes_;
}

void ScriptedRemoverUi::ShowDone(std::string_view text) {
    calls.push_back("done:" + std::string(text));
}

void ScriptedRemoverUi::OpenFolder(const fs::path& folder) {
    calls.push_back("open:" + folder.string());
}

}  // namespace quillora::remover::testing
