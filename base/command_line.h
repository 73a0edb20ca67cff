#pragma once

#include <string>
#include <vector>

namespace quillora {

// What the command line asks for: a maximised window and the notes file to open.
struct CommandLine {
    bool maximize = false;
    std::string file;  // empty when none
};

// An argument equal to "/max" maximises. An argument that begins with "/" and holds no further "/"
// is a switch; other switches do nothing. The remaining non-empty arguments are joined with one
// space (a path with spaces passed without quotes) and trimmed.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

}  // namespace quillora
