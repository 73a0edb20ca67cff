#pragma once

namespace quillora {

// Runs the program from start to end and returns its exit code.
int RunQuillora(int argc, char** argv);

}  // namespace quillora
