#include "gl/shaderloader.h"

#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file's bytes, at most largestText of them. False when the path is not
// a regular file or a directory (a FIFO or a device could block or never
// end), cannot be opened, or holds more than largestText bytes. A read that
// fails ends the bytes there, as the stream would.
bool ReadBounded(const char* path, std::string* bytes)
{
    // Non-blocking, so that opening a FIFO with no writer returns at once;
    // the kind is then read from the opened file itself, not from the path.
    const int file = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (file < 0)
        return false;
    struct stat status {};
    const bool readable = fstat(file, &status) == 0 && (S_ISREG(status.st_mode) || S_ISDIR(status.st_mode));
    char block[65536];
    while (readable && bytes->size() <= shl::largestText) {
        const ssize_t count = read(file, block, sizeof(block));
        if (count <= 0)
            break;
        bytes->append(block, size_t(count));
    }
    close(file);
    return readable && bytes->size() <= shl::largestText;
}

}

std::string shl::load_text(std::string const& path)
{
    std::string bytes;
    if (!ReadBounded(path.c_str(), &bytes))
        return std::string();
    std::istringstream file(bytes);
    std::string text;
    // Formatted extraction turns every run of whitespace into the one space
    // appended per word; the read that finds the end adds its space as well.
    while (file.good()) {
        std::string word;
        file >> word;
        text += word;
        text += ' ';
    }
    return text;
}
