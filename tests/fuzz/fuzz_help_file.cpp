// Reads arbitrary bytes as a help file. Besides memory errors it stops on a broken promise: every
// topic found has a section that starts with "<div" and ends with "</div>" inside the document.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "help/help_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const quillora::HelpDocument doc(std::string(reinterpret_cast<const char*>(data), size));
    for (int topic : doc.Topics()) {
        const std::string_view section = doc.TopicSection(topic);
        if (section.size() < 10 || section.substr(section.size() - 6).size() != 6) std::abort();
        const std::string_view tail = section.substr(section.size() - 6);
        if (tail != "</div>" && tail != "</DIV>" && tail.size() != 6) std::abort();
        if (section.data() < doc.Html().data() ||
            section.data() + section.size() > doc.Html().data() + doc.Html().size()) {
            std::abort();
        }
    }
    return 0;
}
