// libFuzzer target for shl::load_text: every input becomes a file's content,
// and the loader's result must equal a second reading of the same rule made
// here from the raw bytes, without streams.
#include "gl/shaderloader.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

// The rule, read straight off the bytes: every word (a run of bytes that are
// not whitespace in the C locale) followed by one space, and one more space
// when the content is empty or ends in whitespace; nothing at all for a
// content over the largest text.
std::string ExpectedText(const uint8_t* bytes, size_t size)
{
    std::string text;
    if (size > shl::largestText)
        return text;
    std::string word;
    for (size_t at = 0; at < size; ++at) {
        if (std::isspace(bytes[at])) {
            if (!word.empty()) {
                text += word;
                text += ' ';
                word.clear();
            }
        } else {
            word += char(bytes[at]);
        }
    }
    if (!word.empty()) {
        text += word;
        text += ' ';
    }
    if (size == 0 || std::isspace(bytes[size - 1]))
        text += ' ';
    return text;
}

std::string WriteInput(const uint8_t* bytes, size_t size)
{
    char path[] = "/tmp/fuzz_load_text.XXXXXX";
    const int descriptor = mkstemp(path);
    if (descriptor < 0)
        abort();
    size_t written = 0;
    while (written < size) {
        const ssize_t count = write(descriptor, bytes + written, size - written);
        if (count <= 0)
            abort();
        written += size_t(count);
    }
    close(descriptor);
    return path;
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    const std::string path = WriteInput(bytes, size);
    const std::string loaded = shl::load_text(path);
    unlink(path.c_str());
    if (loaded != ExpectedText(bytes, size)) {
        std::fprintf(stderr, "load_text gave %zu bytes, the rule gives %zu\n", loaded.size(),
                     ExpectedText(bytes, size).size());
        abort();
    }
    // A path that cannot be opened reads as nothing at all.
    if (!shl::load_text(path).empty())
        abort();
    return 0;
}
