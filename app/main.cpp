#include "app/startup.h"

int main(int argc, char** argv) {
    return quillora::RunQuillora(argc, argv);
}
