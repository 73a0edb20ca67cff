// Export All of the whole document next to writing the same files with plain open, write and
// close; the conversion of a 5 MB rich-text document next to reading its bytes.

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "base/file_io.h"
#include "bench_sections.h"
#include "bench_util.h"
#include "exchange/export_files.h"
#include "exchange/import_file.h"
#include "exchange/rtf_text.h"

namespace quillora::bench {

namespace {

constexpr double kExportGoal = 1.5;
constexpr double kRtfGoal = 3.0;

void EmptyFolder(const std::filesystem::path& folder) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
}

void PlainWrite(const std::string& path, const std::string& bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) throw std::runtime_error("cannot create " + path);
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        throw std::runtime_error("cannot write " + path);
    }
    ::close(fd);
}

void RunExportAll(const Options& options) {
    auto doc = std::make_unique<NotesDocument>();
    MakeBenchDocument(*doc, options.quick ? QuickShape() : FullShape());
    const std::filesystem::path measured_dir = options.work_dir / "export";
    const std::filesystem::path floor_dir = options.work_dir / "export-floor";
    const std::vector<NodeId> order = doc->tree.DisplayOrder();
    std::vector<std::string> titles;
    for (NodeId n : order) titles.push_back(doc->tree.Title(n));
    const std::vector<std::string> floor_names = ExportFileNames(floor_dir.string() + "/", titles);

    ExportAllResult result;
    const Timing timing = MeasurePair(
        options.repetitions,
        [&] { result = ExportAll(*doc, measured_dir.string() + "/", false, {}); },
        [&] {
            for (std::size_t i = 0; i < order.size(); ++i) {
                const std::string& text = doc->TextOf(order[i]);
                if (!text.empty()) PlainWrite(floor_names[i], text);
            }
        },
        [&] {
            EmptyFolder(measured_dir);
            EmptyFolder(floor_dir);
        });
    if (result.end != ExportEnd::Finished) throw std::runtime_error("export all failed");
    std::printf("export all: %d files, %s\n", result.written,
                Megabytes(static_cast<double>(TotalTextBytes(*doc))).c_str());
    PrintRatio("export all", timing, kExportGoal);
    std::filesystem::remove_all(measured_dir);
    std::filesystem::remove_all(floor_dir);
}

// A document as a word processor writes one with pictures: paragraphs of formatted text (less
// than a note holds, so that the reader must go through all of it) between pictures in hex.
std::string PictureDocument(std::size_t target_bytes) {
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times;}"
        "{\\f1\\fswiss\\fcharset204 Arial;}}{\\colortbl;\\red0\\green0\\blue0;}\n";
    const std::string picture_line(128, 'a');
    std::size_t paragraph = 0;
    while (rtf.size() < target_bytes) {
        rtf += "\\pard\\plain\\f0\\fs24 Paragraph " + std::to_string(paragraph++) +
               " with {\\b bold} and {\\i caf\\'e9} text, {\\f1 \\u1055\\'cf\\u1088\\'f0}.\\par\n";
        rtf += "{\\*\\shppict{\\pict\\pngblip\\picw100\\pich100\n";
        for (int i = 0; i < 400; ++i) rtf += picture_line + "\n";
        rtf += "}}\n";
    }
    return rtf + "}";
}

void RunRtf(const Options& options) {
    const std::size_t size = options.quick ? (std::size_t{1} << 20) : (std::size_t{5} << 20);
    const std::string rtf = PictureDocument(size);
    const std::string path = (options.work_dir / "pictures.rtf").string();
    if (ReplaceFile(path, rtf) != ReplaceStatus::Ok) throw std::runtime_error("cannot write rtf");
    std::string text;
    FileContents raw;
    const Timing convert = MeasurePair(
        options.repetitions, [&] { text = RtfToText(rtf, kMaxImportLength); },
        [&] { raw = ReadRegularFile(path, kMaxRtfImportBytes); });
    if (!raw.ok() || raw.bytes.size() != rtf.size() || text.empty()) {
        throw std::runtime_error("rtf conversion failed");
    }
    std::printf("rtf: %s document, %zu characters of text\n",
                Megabytes(static_cast<double>(rtf.size())).c_str(), text.size());
    PrintRatio("rtf to text", convert, kRtfGoal);
    ImportedFile imported;
    const Timing import = MeasurePair(
        options.repetitions, [&] { imported = ReadImportFile(path); },
        [&] { raw = ReadRegularFile(path, kMaxRtfImportBytes); });
    PrintRatio("rtf import (read and convert)", import, 1.0 + kRtfGoal);
}

}  // namespace

void RunExchangeBench(const Options& options) {
    RunExportAll(options);
    RunRtf(options);
}

}  // namespace quillora::bench
