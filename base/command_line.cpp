#include "base/command_line.h"

namespace quillora {

namespace {
bool IsSwitch(const std::string& argument) {
    return !argument.empty() && argument[0] == '/' && argument.find('/', 1) == std::string::npos;
}

std::string Trim(const std::string& s) {
    const char* blanks = " \t\r\n\v\f";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}
}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments) {
    CommandLine result;
    std::string joined;
    for (const std::string& argument : arguments) {
        if (argument == "/max") result.maximize = true;
        if (argument.empty() || IsSwitch(argument)) continue;
        if (!joined.empty()) joined += ' ';
        joined += argument;
    }
    result.file = Trim(joined);
    return result;
}

}  // namespace quillora
